// Pieces of the PDF page device that other code and tests use.
#pragma once

#include <string>

// Code page 437 text as UTF-8 (control codes become blanks).
std::string Cp437ToUtf8(const std::string& text);
// Where a job's PDF is kept: "PRINTS/" + tag + ".pdf".
std::string JobFileName(const std::string& tag);
