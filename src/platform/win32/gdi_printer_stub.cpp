// Stand-in until the GDI printer lands: no page device, so the printouts
// run their screens and print nothing.
#include "platform/platform.h"

PageDevice* MakeGdiPrinter() { return nullptr; }
