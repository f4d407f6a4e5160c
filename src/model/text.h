// Text helpers over single-byte (code page 437) strings. Letter case is
// changed for the ASCII letters only: the C library's routines follow the
// locale, which would turn a Turkish "i" into no capital at all, or change
// bytes above 127 that are line drawings and suit symbols here.
#pragma once

#include <string>

std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);
// Leading and trailing blanks (or the characters named) removed.
std::string Trim(const std::string& text, const char* characters = " ");
// Trailing blanks and tabs removed.
std::string TrimTrailing(std::string text);
