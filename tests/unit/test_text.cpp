#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "model/text.h"
#include "shell/kit.h"

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
