// Placeholder: replaced by the PDF page device.
#include "platform/platform.h"

PageDevice* MakePdfPrinter() { return nullptr; }
