// Code page 437 codes and their Unicode characters.
#pragma once

#include <string>

// The character a terminal shows for a code: 0 and 32 blank, 1..31 and 127
// the PC glyphs (3..6 the suits), 128..255 letters, box drawing and signs.
// Without a Unicode terminal, plain ASCII stand-ins.
wchar_t Cp437Glyph(unsigned char code, bool unicode = true);

// The code for a typed character outside ASCII; -1 when code page 437 has
// none.
int Cp437FromUnicode(wchar_t ch);

// Texts between ISO 8859-1 (the charset of PBN files) and code page 437;
// ASCII passes unchanged, a character the other side lacks becomes "?".
std::string Cp437FromLatin1(const std::string& text);
std::string Latin1FromCp437(const std::string& text);

// Text files that a user may have saved in an editor (KELMO.INI,
// CLUBNAME.KM, an archive file) as code page 437 text: UTF-16 with a
// byte-order mark, UTF-8 with or without one (when the bytes are valid
// UTF-8), else the bytes as the program writes them (latin1: as ISO
// 8859-1, for PBN files). A character code page 437 lacks becomes "?".
std::string Cp437FromTextFile(const std::string& bytes, bool latin1 = false);
// The bytes that Cp437FromTextFile reads back as the text: the text itself,
// unless it would pass for UTF-8; then UTF-8 with a byte-order mark.
std::string TextFileFromCp437(const std::string& text);
// A character of the basic plane as UTF-8, appended.
void AppendUtf8(std::string& out, char32_t ch);
