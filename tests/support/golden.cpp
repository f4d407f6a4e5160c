#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "model/model.h"
#include "platform/cp437.h"

namespace {

using Pair = std::pair<int, int>;   // fg, bg

const char* const kColourNames[16] = {
    "BLACK", "BLUE",      "GREEN",      "CYAN",      "RED",      "MAGENTA",      "BROWN",  "WHITE",
    "GREY",  "LIGHTBLUE", "LIGHTGREEN", "LIGHTCYAN", "LIGHTRED", "LIGHTMAGENTA", "YELLOW", "BRIGHTWHITE"};

std::string PairName(Pair p) { return std::string(kColourNames[p.first & 15]) + " on " + kColourNames[p.second & 15]; }

std::string Utf8(wchar_t ch) {
    unsigned u = (unsigned)ch;
    std::string out;
    if (u < 0x80) {
        out += (char)u;
    } else if (u < 0x800) {
        out += (char)(0xC0 | (u >> 6));
        out += (char)(0x80 | (u & 0x3F));
    } else {
        out += (char)(0xE0 | (u >> 12));
        out += (char)(0x80 | ((u >> 6) & 0x3F));
        out += (char)(0x80 | (u & 0x3F));
    }
    return out;
}

std::string TextRow(const ScriptedConsole& c, int row) {
    std::string line = "|";
    for (int col = 1; col <= ScreenColumns; col++) line += Utf8(Cp437Glyph(c.CharAt(row, col)));
    return line + "|";
}

// Letters follow the first appearance of each pair in reading order, so a
// file reads the same however the colours are numbered.
struct ColourBlock {
    std::vector<std::string> rows;
    std::map<char, Pair> legend;
};

ColourBlock Colours(const ScriptedConsole& c) {
    ColourBlock block;
    std::map<Pair, char> letters{{{WHITE, BLACK}, '.'}};
    const std::string pool = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int row = 1; row <= ScreenRows; row++) {
        std::string line = "|";
        for (int col = 1; col <= ScreenColumns; col++) {
            Pair p{c.Fg(row, col), c.Bg(row, col)};
            auto it = letters.find(p);
            if (it == letters.end()) {
                char letter = letters.size() - 1 < pool.size() ? pool[letters.size() - 1] : '?';
                it = letters.emplace(p, letter).first;
            }
            block.legend[it->second] = p;
            line += it->second;
        }
        block.rows.push_back(line + "|");
    }
    return block;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The expected colours of one golden file, read back through its legend.
bool ReadColours(const std::vector<std::string>& lines, std::vector<std::vector<Pair>>& cells) {
    const size_t first = ScreenRows + 2;   // "text:", 25 rows, "colours:"
    if (lines.size() < first + ScreenRows) return false;
    std::map<char, Pair> legend;
    for (size_t i = first + ScreenRows; i < lines.size(); i++) {
        std::istringstream in(lines[i]);
        std::string letter, eq, fg, on, bg;
        if (!(in >> letter >> eq >> fg >> on >> bg) || letter.size() != 1) return false;
        for (int f = 0; f < 16; f++)
            for (int b = 0; b < 16; b++)
                if (fg == kColourNames[f] && bg == kColourNames[b]) legend[letter[0]] = {f, b};
    }
    for (int row = 0; row < ScreenRows; row++) {
        const std::string& line = lines[first + row];
        if (line.size() != ScreenColumns + 2) return false;
        cells.emplace_back();
        for (int col = 1; col <= ScreenColumns; col++) {
            auto it = legend.find(line[col]);
            if (it == legend.end()) return false;
            cells.back().push_back(it->second);
        }
    }
    return true;
}

std::string Differences(const ScriptedConsole& c, const std::string& expected) {
    std::ostringstream out;
    std::vector<std::string> lines = Lines(expected);
    for (int row = 1; row <= ScreenRows; row++) {
        std::string actual = TextRow(c, row);
        std::string want = row < (int)lines.size() ? lines[row] : "";
        if (actual != want) out << "row " << row << " text\n  expected " << want << "\n  actual   " << actual << "\n";
    }
    std::vector<std::vector<Pair>> cells;
    if (!ReadColours(lines, cells)) return out.str() + "the golden file's colours cannot be read\n";
    for (int row = 1; row <= ScreenRows; row++)
        for (int col = 1; col <= ScreenColumns;) {
            Pair want = cells[row - 1][col - 1], got{c.Fg(row, col), c.Bg(row, col)};
            if (want == got) {
                col++;
                continue;
            }
            int end = col;
            while (end < ScreenColumns && cells[row - 1][end] == want && Pair{c.Fg(row, end + 1), c.Bg(row, end + 1)} == got)
                end++;
            out << "row " << row << " columns " << col << "-" << end << ": expected " << PairName(want) << ", actual "
                << PairName(got) << "\n";
            col = end + 1;
        }
    return out.str();
}

}  // namespace

std::string GoldenScreenText(const ScriptedConsole& c) {
    std::string text = "text:\n";
    for (int row = 1; row <= ScreenRows; row++) text += TextRow(c, row) + "\n";
    ColourBlock colours = Colours(c);
    text += "colours:\n";
    for (const std::string& row : colours.rows) text += row + "\n";
    for (const auto& [letter, pair] : colours.legend) text += std::string(1, letter) + " = " + PairName(pair) + "\n";
    return text;
}

::testing::AssertionResult MatchesGolden(const ScriptedConsole& c, const std::string& name) {
    const std::string path = std::string(KELMO_SOURCE_DIR) + "/tests/golden/screens/" + name + ".txt";
    const std::string actual = GoldenScreenText(c);
    const char* update = std::getenv("KELMO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return ::testing::AssertionFailure() << "no golden screen " << path << " (KELMO_UPDATE_GOLDEN=1 writes it)";
    std::ostringstream expected;
    expected << in.rdbuf();
    if (expected.str() == actual) return ::testing::AssertionSuccess();
    std::string differences = Differences(c, expected.str());
    if (differences.empty()) differences = "the legend differs\n";
    return ::testing::AssertionFailure() << "screen differs from " << path << "\n"
                                         << differences << "(KELMO_UPDATE_GOLDEN=1 rewrites the file after review)";
}
