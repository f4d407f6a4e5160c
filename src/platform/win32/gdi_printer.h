// The Windows page device.
#pragma once

#include "platform/platform.h"

// Prints on the system's default printer through GDI and the spooler,
// without a dialog. With no default printer a job prints nothing and says
// nothing.
PageDevice* MakeGdiPrinter();
