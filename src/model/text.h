// Text helpers over single-byte (code page 437) strings. Letter case is
// changed for the ASCII letters only: the C library's routines follow the
// locale, which would turn a Turkish "i" into no capital at all, or change
// bytes above 127 that are line drawings and suit symbols here.
#pragma once

#include <string>

std::string AsciiUpper(std::string text);
// Capitals of code page 437 text for a heading: ASCII and the accented
// letters, each to the code page's own capital (\x82 e-acute to \x90
// E-acute) or, where it has none, to the plain capital (e-circumflex to E).
std::string Cp437Upper(std::string text);
std::string AsciiLower(std::string text);
// Leading and trailing blanks (or the characters named) removed.
std::string Trim(const std::string& text, const char* characters = " ");
// Trailing blanks and tabs removed.
std::string TrimTrailing(std::string text);
