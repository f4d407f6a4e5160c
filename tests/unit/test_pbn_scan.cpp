// The PBN scanner against files as other programs write them: one row per
// quirk, each file made here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pbn/pbnscan.h"

namespace {

const std::string Deal = "N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765";

const std::string OtherDeal = "N:T98.765.432.AKQJ AKQJ.T98.765.432 432.AKQJ.T98.765 765.432.AKQJ.T98";

std::string Board(int number, const std::string& extra = "", const std::string& deal = Deal) {
    return "[Board \"" + std::to_string(number) + "\"]\n[Deal \"" + deal + "\"]\n" + extra + "\n";
}

// What a scan found, in one line: per game its event, site, date and
// board numbers in file order.
std::string Summary(const PbnFileFound& found) {
    std::string out;
    for (const PbnGameFound& game : found.games) {
        out += "[" + game.event + "|" + game.site + "|" + game.date + ":";
        for (const PbnBoardFound& board : game.boards)
            out += " " + std::to_string(board.number) + (board.label ? "=" + std::to_string(board.label) : "") +
                   (board.deal == Deal ? "" : "?");
        out += "]";
    }
    return out;
}

TEST(PbnScan, FilesAsOtherProgramsWriteThem) {
    const std::string head = "[Event \"E\"]\n[Site \"S\"]\n[Date \"2026.12.08\"]\n";
    struct Case {
        const char* quirk;
        std::string bytes;
        std::string found;
    } cases[] = {
        {"LF lines", head + Board(1) + Board(2), "[E|S|2026.12.08: 1 2]"},
        {"CR LF lines", "[Event \"E\"]\r\n[Board \"1\"]\r\n[Deal \"" + Deal + "\"]\r\n\r\n[Board \"2\"]\r\n[Deal \"" + Deal +
             "\"]\r\n", "[E||: 1 2]"},
        {"CR lines", "[Event \"E\"]\r[Board \"1\"]\r[Deal \"" + Deal + "\"]\r\r[Board \"2\"]\r[Deal \"" + Deal + "\"]\r",
         "[E||: 1 2]"},
        {"several tags on a line, blanks inside the brackets",
         "[ Event \"E\" ][Board \"1\"]  [Deal \"" + Deal + "\" ]\n", "[E||: 1]"},
        {"tags in any order", "[Deal \"" + Deal + "\"]\n[Board \"7\"]\n[Event \"E\"]\n", "[E||: 7]"},
        {"% lines, ; and { } comments, comments over lines",
         "% [Board \"9\"]\n" + head + "{ a note\n\n[Board \"9\"]\n} [Board \"1\"] ; [Board \"8\"]\n[Deal \"" + Deal +
             "\"] {x}\n\n" + Board(2),
         "[E|S|2026.12.08: 1 2]"},
        {"sections passed over", head + Board(1, "[Auction \"N\"]\n1NT Pass 3NT AP\n[Play \"E\"]\nS2 S3 SA S4\n"
                                                 "[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]\nN NT 9\n") +
                                     Board(2),
         "[E|S|2026.12.08: 1 2]"},
        {"# and ## inherited", head + Board(1) + "[Event \"#\"]\n[Site \"##, North\"]\n" + Board(2),
         "[E|S|2026.12.08: 1 2]"},
        {"no empty line between boards", head + "[Board \"1\"]\n[Deal \"" + Deal + "\"]\n[Board \"2\"]\n[Deal \"" + Deal +
                                             "\"]\n",
         "[E|S|2026.12.08: 1 2]"},
        {"boards in text order, with gaps", head + Board(1) + Board(10) + Board(11) + Board(2) + Board(30),
         "[E|S|2026.12.08: 1 10 11 2 30]"},
        {"no board tags: file order", head + "[Deal \"" + Deal + "\"]\n\n[Deal \"" + Deal + "\"]\n", "[E|S|2026.12.08: 1 2]"},
        {"a board past 36: file order, each its own number", head + Board(5) + Board(40), "[E|S|2026.12.08: 1=5 2=40]"},
        {"a board past 99: file order, renumbered", head + Board(101) + Board(102), "[E|S|2026.12.08: 1 2]"},
        {"a deal in lower case", head + "[Board \"1\"]\n[Deal \"n:akqj.t98.765.432 t98.765.432.akqj 765.432.akqj.t98 "
                                        "432.akqj.t98.765\"]\n",
         "[E|S|2026.12.08: 1]"},
        // Once every table's repeat of a board was a game of its own, and a
        // game without names took the game before's.
        {"a board again with its deal (a table's result): the same board",
         head + Board(1) + Board(2) + Board(1, "[Contract \"4S\"]\n") + "[Board \"2\"]\n[Result \"9\"]\n\n",
         "[E|S|2026.12.08: 1 2]"},
        {"a board number again with another deal: another game", head + Board(1) + Board(2) + Board(1, "", OtherDeal),
         "[E|S|2026.12.08: 1 2][||: 1?]"},
        {"another event: another game, its own names", head + Board(1) + "[Event \"F\"]\n" + Board(2),
         "[E|S|2026.12.08: 1][F||: 2]"},
        {"another date: another game", head + Board(1) + "[Date \"2026.12.09\"]\n" + Board(2),
         "[E|S|2026.12.08: 1][||2026.12.09: 2]"},
        {"ISO 8859-1 names", "[Event \"Caf\xE9\"]\n" + Board(1), "[Caf\x82||: 1]"},
        {"UTF-8 names", "[Event \"Bridgef\xC3\xB6rbundet \xE2\x82\xAC\"]\n" + Board(1), "[Bridgef\x94rbundet ?||: 1]"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[Event \"\xC3\xA9\"]\n" + Board(1), "[\x82||: 1]"},
        {"UTF-16 with a byte-order mark", [] {
             std::string narrow = "[Event \"\xE9\"]\n[Board \"1\"]\n[Deal \"" + Deal + "\"]\n", wide = "\xFF\xFE";
             for (char ch : narrow) wide += std::string(1, ch) + '\0';
             return wide; }(), "[\x82||: 1]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quirk);
        EXPECT_EQ(Summary(ScanPbnText(PbnTextFromBytes(c.bytes))), c.found);
    }
    // "##" begins with the value before; the lines of each board's tags.
    const PbnFileFound found = ScanPbnText(head + Board(1) + "[Event \"##, North\"]\n" + Board(2));
    ASSERT_EQ(found.games.size(), 2u);
    EXPECT_EQ(found.games[1].event, "E, North");
    EXPECT_EQ(found.games[0].boards[0].dealLine, 5);
    EXPECT_EQ(found.games[0].highest, 1);
}

TEST(PbnScan, ThirtySevenBoardsAreTwoGames) {
    std::string text;
    for (int b = 1; b <= 37; b++) text += Board(b);
    const PbnFileFound found = ScanPbnText(text);
    ASSERT_EQ(found.games.size(), 2u);
    EXPECT_EQ(found.games[0].boards.size(), 36u);
    EXPECT_EQ(found.games[1].boards[0].number, 1);   // past 36: in file order
}

TEST(PbnScan, WhatIsWrongWithADeal) {
    struct { std::string deal, words; } cases[] = {
        {Deal, ""},
        {"", "no cards"},
        {"N:", "no cards"},
        {"N:... ... ... ...", "no cards"},
        {"X:" + Deal.substr(2), "it does not begin with N:, E:, S: or W:"},
        {"N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 -", "not every hand is given"},
        {"N:AKQJ.T98.765.43 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765", "North holds 12 cards"},
        {"W:AKQJ.T98.765.432 T98.765.432.AKQJ2 765.432.AKQJ.T98 432.AKQJ.T98.765", "North holds 14 cards"},
        {"N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.76A", "the ace of clubs is held twice"},
        {"N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765 A", "it has more than four hands"},
        {"N:AKQJ.T98.765.432.2 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765", "North's hand has more than four suits"},
        {"N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.10", "it holds the character \"1\""},
    };
    for (const auto& c : cases) EXPECT_EQ(DealFaultWords(c.deal), c.words) << c.deal;
}

}  // namespace
