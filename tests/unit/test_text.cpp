#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "console/kit.h"
#include "model/text.h"
#include "platform/cp437.h"

namespace {

// Every byte 0..255 in order.
std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; b++) bytes += (char)b;
    return bytes;
}

}  // namespace

// Only a..z and A..Z change; "i" is "I" whatever the locale, and the bytes
// of code page 437 above 127 (line drawings, suit symbols) stay as they are.
TEST(TextTest, CaseChangesOnlyTheAsciiLetters) {
    const std::string bytes = AllBytes();
    const std::string upper = AsciiUpper(bytes), lower = AsciiLower(bytes);
    for (int b = 0; b < 256; b++) {
        const bool small = b >= 'a' && b <= 'z', capital = b >= 'A' && b <= 'Z';
        EXPECT_EQ((unsigned char)upper[b], small ? b - 32 : b) << b;
        EXPECT_EQ((unsigned char)lower[b], capital ? b + 32 : b) << b;
        EXPECT_EQ(UpperKey(std::string(1, (char)b)), upper.substr(b, 1)) << b;
    }
    // Keys of two bytes (arrows, function keys) are not letters.
    EXPECT_EQ(UpperKey(std::string("\0h", 2)), std::string("\0h", 2));
}

// The dupe sheet's heading: accented letters once stayed small
// ("\x90PREUVE DES F\x88TES"). The code page's capital where it has one,
// else the plain capital; the rest as it was.
TEST(TextTest, CapitalsTakeTheAccentedLetters) {
    EXPECT_EQ(Cp437Upper("\x82preuve des f\x88tes \xa4" "and\xa3 \x87" "a \x84\x94\x81 \x91 \xe1 \x90 3\xc4"),
              "\x90PREUVE DES FETES \xa5" "ANDU \x80" "A \x8e\x99\x9a \x92 \xe1 \x90 3\xc4");
}

TEST(TextTest, TrimRemovesOuterBlanksOnly) {
    const struct { const char *in, *out; } cases[] = {
        {"", ""}, {"   ", ""}, {"  Club  ", "Club"}, {"A  B", "A  B"}, {"\tTab\t", "\tTab\t"}, {"x", "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(Trim(c.in), c.out) << '"' << c.in << '"';
}

// The C library's case routines follow the locale (under Turkish "i" has no
// single-byte capital); no program source may call them.
TEST(TextTest, NoSourceUsesTheLocaleCaseRoutines) {
    const std::regex call(R"(\b(to|tow)(upper|lower)\s*\()");
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KELMO_SOURCE_DIR "/src")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_FALSE(std::regex_search(text.str(), call)) << entry.path();
        checked++;
    }
    EXPECT_GT(checked, 40);
}

// Files as editors save them: each form of "Caf\xe9" reads as code page 437
// text, and every text the program writes reads back as it was.
TEST(TextTest, TextFilesReadInEveryEncodingAnEditorSaves) {
    const std::pair<std::string, std::string> cases[] = {
        {"Caf\x82\r\n", "Caf\x82\r\n"},                           // the program's own bytes
        {"\xEF\xBB\xBF" "Caf\xC3\xA9\r\n", "Caf\x82\r\n"},        // UTF-8, byte-order mark
        {"Caf\xC3\xA9", "Caf\x82"},                                 // UTF-8 without one
        {"\xEF\xBB\xBFKey=x", "Key=x"},                              // Notepad's ASCII file
        {std::string("\xFF\xFE" "C\0a\0f\0\xE9\0\r\0\n\0", 14), "Caf\x82\r\n"},   // UTF-16 LE
        {std::string("\xFE\xFF\0C\0a\0f\0\xE9", 10), "Caf\x82"},   // UTF-16 BE
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE!\0", 8), "?!"},      // a pair beyond the plane
        {std::string("\xFF\xFE\x00\xDE!\0", 6), "?!"},               // a lone surrogate
        {"\xE2\x84\xA6 \xF0\x9F\x82\xA1", "? ?"},                  // no code page 437 letter
        {"\xE2\x84", "\xE2\x84"},                                     // cut short: not UTF-8
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(Cp437FromTextFile(bytes), text) << bytes;

    EXPECT_EQ(TextFileFromCp437("Caf\x82 \xC4\xC4\r\n"), "Caf\x82 \xC4\xC4\r\n");   // as before
    for (const char* marked : {"\xEF\xBB\xBFK\xA5", "\xFF\xFEK\xA5", "\xFE\xFFK\xA5"})
        EXPECT_EQ(Cp437FromTextFile(TextFileFromCp437(marked)), marked);   // found by the fuzzer
    std::string text(3, ' ');
    for (int a = 0; a < 256; a++)
        for (int b = 0; b < 256; b++)
            for (int c : {0x41, 0x81, 0xA9, 0xBF, 0xFE}) {
                text[0] = (char)a, text[1] = (char)b, text[2] = (char)c;
                ASSERT_EQ(Cp437FromTextFile(TextFileFromCp437(text)), text) << a << " " << b << " " << c;
            }
}
