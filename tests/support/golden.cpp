#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/cp437.h"

namespace {

const char* const kFgHeading =
    "foreground: 0 BLACK 1 BLUE 2 GREEN 3 CYAN 4 RED 5 MAGENTA 6 BROWN 7 WHITE 8 GREY 9 LIGHTBLUE "
    "A LIGHTGREEN B LIGHTCYAN C LIGHTRED D LIGHTMAGENTA E YELLOW F BRIGHTWHITE";

std::string Utf8(unsigned u) {
    if (u < 0x80) return std::string(1, (char)u);
    if (u < 0x800) return {(char)(0xC0 | (u >> 6)), (char)(0x80 | (u & 0x3F))};
    return {(char)(0xE0 | (u >> 12)), (char)(0x80 | ((u >> 6) & 0x3F)), (char)(0x80 | (u & 0x3F))};
}

// One row of a block: a character per cell between bars, so that trailing
// blanks survive editors and show in a diff.
std::string Row(const ScriptedConsole& c, int row, char block) {
    std::string line = "|";
    for (int col = 1; col <= ScreenColumns; col++) {
        if (block == 't') line += Utf8((unsigned)Cp437Glyph(c.CharAt(row, col)));
        else line += "0123456789ABCDEF"[(block == 'f' ? c.Fg(row, col) : c.Bg(row, col)) & 15];
    }
    return line + "|";
}

// The cells of a line, a UTF-8 sequence each.
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    for (char ch : line) {
        if (((unsigned char)ch & 0xC0) == 0x80 && !cells.empty()) cells.back() += ch;
        else cells.emplace_back(1, ch);
    }
    return cells;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Every line that differs, with a caret under each cell that differs.
std::string Differences(const std::string& expected, const std::string& actual) {
    const char* const blocks[] = {"text", "foreground", "background"};
    std::vector<std::string> want = Lines(expected), got = Lines(actual);
    std::ostringstream out;
    for (size_t i = 0; i < got.size(); i++) {
        std::string line = i < want.size() ? want[i] : "";
        if (line == got[i]) continue;
        std::vector<std::string> a = Cells(line), b = Cells(got[i]);
        std::string carets;
        for (size_t k = 0; k < b.size(); k++) carets += k < a.size() && a[k] == b[k] ? ' ' : '^';
        carets.erase(carets.find_last_not_of(' ') + 1);
        out << blocks[i / (ScreenRows + 1) % 3] << " row " << i % (ScreenRows + 1) << "\n  expected " << line
            << "\n  actual   " << got[i] << "\n           " << carets << "\n";
    }
    return out.str();
}

}  // namespace

std::string GoldenScreenText(const ScriptedConsole& c) {
    std::string text;
    for (char block : {'t', 'f', 'b'}) {
        text += block == 't' ? "text:" : block == 'f' ? kFgHeading : "background:";
        text += "\n";
        for (int row = 1; row <= ScreenRows; row++) text += Row(c, row, block) + "\n";
    }
    return text;
}

namespace {

// The golden file under tests/golden/ against the actual bytes: the update
// mode rewrites a file that differs and still fails, naming it, so that a
// run in that mode never passes for one that compared.
::testing::AssertionResult Compare(const std::string& relative, const std::string& actual,
                                   std::string (*differences)(const std::string&, const std::string&)) {
    const std::string path = std::string(KELMO_SOURCE_DIR) + "/tests/golden/" + relative;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream expected;
    if (in) expected << in.rdbuf();
    if (in && expected.str() == actual) return ::testing::AssertionSuccess();
    const char* update = std::getenv("KELMO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionFailure() << "rewrote " << path << " (review it before committing)";
    }
    if (!in) return ::testing::AssertionFailure() << "no golden file " << path << " (KELMO_UPDATE_GOLDEN=1 writes it)";
    return ::testing::AssertionFailure() << path << " differs\n"
                                         << differences(expected.str(), actual)
                                         << "(KELMO_UPDATE_GOLDEN=1 rewrites the file; review it before committing)";
}

// The first line that differs.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> want = Lines(expected), got = Lines(actual);
    size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) i++;
    return "line " + std::to_string(i + 1) + "\n  expected " + (i < want.size() ? want[i] : "") + "\n  actual   " +
           (i < got.size() ? got[i] : "") + "\n";
}

}  // namespace

::testing::AssertionResult MatchesGolden(const ScriptedConsole& c, const std::string& name) {
    return Compare("screens/" + name + ".txt", GoldenScreenText(c), Differences);
}

::testing::AssertionResult MatchesGoldenFile(const std::string& actual, const std::string& name) {
    return Compare(name, actual, FirstDifference);
}
