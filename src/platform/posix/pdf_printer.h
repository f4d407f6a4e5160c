// Pieces of the PDF page device that other code and tests use.
#pragma once

#include <string>

#include "platform/platform.h"

// Code page 437 text as UTF-8 (control codes become blanks).
std::string Cp437ToUtf8(const std::string& text);
// The paper a name stands for ("iso_a4_210x297mm", "na_letter_8.5x11in",
// "A4", "Letter"); Auto for any other.
Paper PaperOfName(const std::string& name);
// The paper this system prints on: the CUPS default printer's (unless
// KELMO_NO_CUPS is set), else the locale's (LC_PAPER), else Letter; and
// which of them said it.
PaperChoice SystemPaperChoice();
Paper SystemPaper();
// Whether CUPS has a default printer (never with KELMO_NO_CUPS set).
bool HasCupsPrinter();
// The PDF page device (the system's printer on POSIX).
PageDevice* MakePdfPrinter();
