// PBN files in the standard's export format, checked by rules written from
// the PBN 2.1 export format, and read back by our own reader.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "analysis/par.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "pbn/pbnscan.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "unit/test_analysis_games.h"

namespace {

// Every way the bytes break the export rules, one line each; none for a
// good file.
std::vector<std::string> ExportFaults(const std::string& bytes) {
    static const char* const order[15] = {"Event",  "Site",       "Date", "Board",   "West",
                                          "North",  "East",       "South", "Dealer", "Vulnerable",
                                          "Deal",   "Scoring",    "Declarer", "Contract", "Result"};
    static const std::regex tag(R"re(\[([A-Za-z0-9_]+) "((?:[^"\\]|\\.)*)"\])re");
    static const std::regex row(R"([NESW] (NT| [SHDC]) ( \d|1[0-3]))");
    std::vector<std::string> faults;
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    if (at != bytes.size()) faults.push_back("the last line has no CR LF");
    bool version = false, exportMark = false;
    std::vector<std::string> game;   // tag names of the game being read
    int tableRows = -1, games = 0;
    const std::string declarers = "NNNNNSSSSSEEEEEWWWWW";
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        if (line.size() > 255) faults.push_back(where + "longer than 255 characters");
        for (unsigned char ch : line)
            if (ch < 32 || (ch >= 127 && ch < 160)) faults.push_back(where + "a control character");
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos)
            faults.push_back(where + "a lone CR or LF");
        if (!line.empty() && line[0] == '%') {
            version |= line == "% PBN 2.1";
            exportMark |= line == "% EXPORT";
            continue;
        }
        if (tableRows >= 0 && tableRows < 20) {
            if (!std::regex_match(line, row) || line[0] != declarers[(size_t)tableRows])
                faults.push_back(where + "not a result row: " + line);
            tableRows++;
            continue;
        }
        if (line.empty()) {
            if (game.empty()) faults.push_back(where + "an empty line outside a game");
            else if (game.size() < 15) faults.push_back(where + "a game without all the mandatory tags");
            game.clear();
            tableRows = -1;
            continue;
        }
        std::smatch m;
        if (!std::regex_match(line, m, tag)) {
            faults.push_back(where + "not one tag alone: " + line);
            continue;
        }
        const std::string name = m[1], value = m[2];
        if (game.empty()) games++;
        if (game.size() < 15 && name != order[game.size()]) faults.push_back(where + name + " out of order");
        game.push_back(name);
        if (value.find('#') == 0) faults.push_back(where + "an inherited value");
        if (name == "Date" && !std::regex_match(value, std::regex(R"([0-9?]{4}\.[0-9?]{2}\.[0-9?]{2}|\?)")))
            faults.push_back(where + "a date not YYYY.MM.DD");
        if (name == "Board" && !std::regex_match(value, std::regex("[1-9][0-9]*"))) faults.push_back(where + "board");
        if (name == "Dealer" && !std::regex_match(value, std::regex("[NESW]"))) faults.push_back(where + "dealer");
        if (name == "Vulnerable" && !std::regex_match(value, std::regex("None|NS|EW|All")))
            faults.push_back(where + "vulnerability " + value);
        if (name == "Deal" && !DealFaultWords(value).empty()) faults.push_back(where + "deal: " + DealFaultWords(value));
        if (name == "OptimumScore" && !std::regex_match(value, std::regex("(NS|EW) (0|-?[1-9][0-9]*)")))
            faults.push_back(where + "optimum score " + value);
        if (name == "OptimumResultTable") {
            if (value != "Declarer;Denomination\\2R;Result\\2R") faults.push_back(where + "table header " + value);
            tableRows = 0;
        }
    }
    if (!game.empty()) faults.push_back("the last game has no empty line after it");
    if (!version || !exportMark) faults.push_back("no \"% PBN 2.1\" and \"% EXPORT\" lines");
    if (games == 0) faults.push_back("no games");
    return faults;
}

class PbnExportTest : public KelmoTest {};

// Games of 24 and 36 boards, and an imported game of three boards, with
// names that need escapes and letters beyond ASCII: each file keeps the
// rules and reads back with its deals, control number and par.
TEST_F(PbnExportTest, FilesKeepTheExportRulesAndReadBack) {
    struct { int boards; std::vector<int> absent; std::string club; } cases[] = {
        {24, {}, "Keelward Bridge Club"},
        {36, {}, "Club Caf\x82 \"Cr\x8Ame\" \\"},
        {36, {1, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
              31, 32, 33, 34, 35, 36},
         "Harbour"},
    };
    initialize();
    G.PbnExportFormat = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boards);
        FillFixedGame(c.boards);
        G.ClubName = c.club;
        for (int board : c.absent) G.BoardAbsent[board] = 1;
        std::string deals[37];
        for (int b = 1; b <= c.boards; b++) deals[b] = G.DealText[b];
        const std::string text = PbnFileText("12-08-2026");
        const std::vector<std::string> faults = ExportFaults(text);
        EXPECT_TRUE(faults.empty()) << faults.front();

        const PbnFileFound found = ScanPbnText(PbnTextFromBytes(text));
        ASSERT_EQ(found.games.size(), 1u);
        EXPECT_TRUE(found.createdHere);
        EXPECT_EQ(found.controlWritten, "#91722 31459");
        EXPECT_EQ(found.games[0].site, c.club);
        EXPECT_EQ(found.games[0].boards.size(), (size_t)c.boards - c.absent.size());
        for (const PbnBoardFound& board : found.games[0].boards) {
            EXPECT_EQ(board.deal, deals[board.number]);
            EXPECT_EQ(board.score, StandardOptimumScore(G.ParText[board.number]));
            EXPECT_EQ(board.tricks, G.DDTricksText[board.number]);
        }
    }
    // The same game without the setting: the file as it always was.
    G.PbnExportFormat = 0;
    FillFixedGame(24);
    EXPECT_FALSE(ExportFaults(PbnFileText("12-08-2026")).empty());
}

TEST(PbnExport, ParsAsTheStandardWritesThem) {
    struct { const char* ours; const char* standard; } cases[] = {
        {"N 140", "NS 140"}, {"S -500", "NS -500"}, {"NS 620", "NS 620"}, {"E 130", "EW 130"},
        {"EW -800", "EW -800"}, {"NE 90", "NS 90"}, {"WS 90", "EW 90"}, {"Passout", "NS 0"}, {"", "NS 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(StandardOptimumScore(c.ours), c.standard) << c.ours;
}

// The checker itself finds the faults it is there for.
TEST(PbnExport, TheCheckerFindsBrokenFiles) {
    const std::string head = "% PBN 2.1\r\n% EXPORT\r\n";
    std::string game;
    for (const char* tag : {"Event", "Site", "Date", "Board", "West", "North", "East", "South", "Dealer",
                            "Vulnerable", "Deal", "Scoring", "Declarer", "Contract", "Result"})
        game += std::string("[") + tag + " \"" +
                (std::string(tag) == "Date"    ? "2026.12.08"
                 : std::string(tag) == "Board" ? "1"
                 : std::string(tag) == "Dealer" ? "N"
                 : std::string(tag) == "Vulnerable" ? "None"
                 : std::string(tag) == "Deal" ? "N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765"
                                              : "?") +
                "\"]\r\n";
    EXPECT_TRUE(ExportFaults(head + game + "\r\n").empty()) << ExportFaults(head + game + "\r\n").front();
    const std::string broken[] = {
        game + "\r\n",                                                         // no version lines
        head + game,                                                           // no empty line at the end
        head + game.substr(game.find("[Site")) + "\r\n",                       // Event missing
        head + "[Event \"#\"]\r\n" + game.substr(game.find("[Site")) + "\r\n",  // inherited
        head + game + "\r\n[Board \"2\"]\n\r\n",                                  // LF alone
        head + game.substr(0, game.size() - 2) + "[OptimumScore \"N 140\"]\r\n\r\n",
    };
    for (const std::string& text : broken) EXPECT_FALSE(ExportFaults(text).empty()) << text;
}

}  // namespace
