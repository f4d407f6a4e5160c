// Pieces of the PDF page device that other code and tests use.
#pragma once

#include <string>

#include "platform/platform.h"

// Code page 437 text as UTF-8 (control codes become blanks).
std::string Cp437ToUtf8(const std::string& text);
// The PDF page device (the system's printer on POSIX).
PageDevice* MakePdfPrinter();
