// Pieces of the PDF page device that other code and tests use.
#pragma once

#include <string>

// Code page 437 text as UTF-8 (control codes become blanks).
std::string Cp437ToUtf8(const std::string& text);
// Where a job's PDF is kept: "PRINTS/" + tag + ".pdf", or "-partial" after
// the tag for a job cut short; when that file exists already, the first free
// of "-2", "-3"... before ".pdf". A job never replaces an earlier one.
std::string KeptFileName(const std::string& tag, bool complete);
