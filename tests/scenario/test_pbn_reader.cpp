#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analysis/par.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "support/doubles.h"
#include "unit/test_analysis_games.h"

namespace fs = std::filesystem;

namespace {

class PbnReaderTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        G.PBNfilesDirectory = "GAMEFILE.KM";
        G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";
    }

    // Our own file of a fixed game of `boards` boards.
    std::string OwnFile(int boards) {
        FillFixedGame(boards);
        std::string text = PbnFileText("03-07-2015");
        ResetTables();
        return text;
    }

    void ResetTables() {
        for (int board = 0; board <= MaxBoards; board++) {
            G.DealText[board] = G.ParText[board] = G.DDTricksText[board] = "";
            for (auto& seat : G.DDTricks[board])
                for (int& value : seat) value = 0;
        }
    }

    static void Erase(std::string& text, const std::string& what, int times = 1) {
        for (int i = 0; i < times; i++) {
            size_t at = text.find(what);
            ASSERT_NE(at, std::string::npos) << what;
            text.erase(at, what.size());
        }
    }
    static void EraseLinesStarting(std::string& text, const std::string& start, size_t from = 0) {
        for (size_t at = text.find(start, from); at != std::string::npos; at = text.find(start, at))
            text.erase(at, text.find("\r\n", at) + 2 - at);
    }

    // Reads `text` as the game file; returns what stood on row 15 while the
    // reader waited for its key ("" when it did not wait).
    std::string Read(const std::string& text) {
        WriteFile("GAMEFILE.KM/150307A.pbn", text);
        return ReadShown();
    }
    std::string ReadShown() {
        std::string shown;
        console.onReadKey = [&](ScriptedConsole& c) {
            shown = c.RowText(15);
            errorColours = c.Fg(15, 10) == LIGHTRED && c.Fg(15, 24) == YELLOW;
        };
        console.Type(" ");
        Run(readpbnfile);
        return shown;
    }
    static std::string Row15(const std::string& message) {
        std::string row = std::string(9, ' ') + "[File ERROR]  " + message;
        return row + std::string(80 - row.size(), ' ');
    }
    bool errorColours = false;
};

TEST_F(PbnReaderTest, OurOwnFileReadsBackWithItsMarkAndValues) {
    FillFixedGame(36);
    std::string deals[37], pars[37], tricks[37];
    for (int b = 1; b <= 36; b++) deals[b] = G.DealText[b], pars[b] = G.ParText[b], tricks[b] = G.DDTricksText[b];
    std::string text = PbnFileText("03-07-2015");
    ResetTables();
    EXPECT_EQ(Read(text), "");
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.ErrorCode, 0);
    EXPECT_EQ(G.PbnCreatedHere, 1);
    EXPECT_EQ(G.PbnBoardCount, 36);
    EXPECT_EQ(G.PbnEventText, "Tuesday Pairs");
    EXPECT_EQ(G.PbnSiteText, "Keelward Bridge Club");
    EXPECT_EQ(G.PbnDateText, "2015.03.07");
    for (int b = 1; b <= 36; b++) {
        EXPECT_EQ(G.DealText[b], deals[b]) << b;
        EXPECT_EQ(G.ParText[b], pars[b]) << b;
        EXPECT_EQ(G.DDTricksText[b], tricks[b]) << b;
    }
    EXPECT_TRUE(PbnStoredTricksUsable());
    EXPECT_TRUE(console.Shows(15, 33, "Loading data...", LIGHTGREEN, BLUE));
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PbnReaderTest, RoundTripOfA24And36BoardGameGivesTheSameTricksAndPar) {
    for (int boards : {24, 36}) {
        FillFixedGame(boards, 4);
        int tricks[37][5][6];
        std::string deals[37], pars[37];
        for (int b = 1; b <= boards; b++) {
            deals[b] = G.DealText[b];
            pars[b] = G.ParText[b];
            for (int s = 1; s <= 4; s++)
                for (int t = 1; t <= 5; t++) tricks[b][s][t] = G.DDTricks[b][s][t];
        }
        fs::create_directories("GAMEFILE.KM");
        MakePbnFilePath();
        writepbnfile();
        ResetTables();
        G.TotalBoards = 0;
        ReadShown();
        ASSERT_EQ(G.LoadFailed, 0);
        ASSERT_TRUE(PbnStoredTricksUsable());
        G.TotalBoards = G.PbnBoardCount;
        DecodeDDTricksTexts();
        GetParResults();
        ASSERT_EQ(G.TotalBoards, boards);
        for (int b = 1; b <= boards; b++) {
            EXPECT_EQ(G.DealText[b], deals[b]);
            EXPECT_EQ(G.ParText[b], pars[b]);
            for (int s = 1; s <= 4; s++)
                for (int t = 1; t <= 5; t++) EXPECT_EQ(G.DDTricks[b][s][t], tricks[b][s][t]) << b << s << t;
        }
    }
}

TEST_F(PbnReaderTest, MissingFileScreen) {
    G.PbnFilePath = "gamefile.km\\150307a.pbn";
    std::string row16, row18;
    console.onReadKey = [&](ScriptedConsole& c) {
        row16 = c.Text(16, 18, 46);
        row18 = c.Text(18, 36, 9);
        EXPECT_EQ(c.Fg(16, 18), BRIGHTWHITE);
        EXPECT_EQ(c.Bg(16, 18), MAGENTA);
        EXPECT_EQ(c.Fg(18, 36), YELLOW);
    };
    console.Type(" ");
    EXPECT_FALSE(Run(readpbnfile));
    EXPECT_EQ(row16, " Filename  GAMEFILE.KM\\150307A.PBN  not found ");
    EXPECT_EQ(row18, "<any key>");
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
}

TEST_F(PbnReaderTest, FileFoundInAnotherLetterCase) {
    std::string text = OwnFile(24);
    WriteFile("PbnFiles/150307a.Pbn", text);
    G.PbnFilePath = "PBNFILES\\150307A.pbn";
    ReadShown();
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnBoardCount, 24);
}

TEST_F(PbnReaderTest, MissingEventSiteOrDateNamesTheLastOneMissing) {
    std::string text = OwnFile(24);
    std::string noEvent = text;
    EraseLinesStarting(noEvent, "[Event");
    EXPECT_EQ(Read(noEvent), Row15("missing [Event] tag or data"));
    EXPECT_TRUE(errorColours);
    EXPECT_EQ(G.ErrorCode, 1);
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});

    std::string noEventNoSite = noEvent;
    EraseLinesStarting(noEventNoSite, "[Site");
    EXPECT_EQ(Read(noEventNoSite), Row15("missing [Site] tag or data"));
    std::string noneOfThem = noEventNoSite;
    EraseLinesStarting(noneOfThem, "[Date");
    EXPECT_EQ(Read(noneOfThem), Row15("missing [Date] tag or data"));
}

TEST_F(PbnReaderTest, OnlyTheFirstEventSiteAndDateAreTaken) {
    std::string text = OwnFile(24);
    std::string emptyEvent = text;
    size_t at = emptyEvent.find("Tuesday Pairs");
    emptyEvent.erase(at, 13);
    // Later blocks name another event: never read.
    size_t later = emptyEvent.find("[Event \"#\"]");
    emptyEvent.replace(later, 11, "[Event \"Other\"]");
    EXPECT_EQ(Read(emptyEvent), "");
    EXPECT_EQ(G.PbnEventText, "----");
    EXPECT_EQ(G.PbnSiteText, "Keelward Bridge Club");
}

TEST_F(PbnReaderTest, MissingDealOptimumScoreTricksOrBoard) {
    std::string text = OwnFile(24);
    std::string noDeal = text;
    Erase(noDeal, "[Deal \"" + std::string(SolvedDeals[5].deal) + "\"]\r\n");
    EXPECT_EQ(Read(noDeal), Row15("missing [Deal] tag"));
    EXPECT_EQ(G.ErrorCode, 2);

    std::string noScore = text;
    size_t at = noScore.find("[OptimumScore", noScore.find("[Board \"9\"]"));
    noScore.erase(at, noScore.find("\r\n", at) + 2 - at);
    EXPECT_EQ(Read(noScore), Row15("missing [OptimumScore] tag"));
    EXPECT_EQ(G.ErrorCode, 3);

    std::string noTricks = text;
    at = noTricks.find("[DoubleDummyTricks", noTricks.find("[Board \"24\"]"));
    noTricks.erase(at, noTricks.find("\r\n", at) + 2 - at);
    EXPECT_EQ(Read(noTricks), Row15("missing [DoubleDummyTricks] tag"));
    EXPECT_EQ(G.ErrorCode, 4);

    // 24 deals but 23 [Board] tags would fail the count; 25 deals on 24
    // boards is a missing [Board] tag.
    std::string extraDeal = text + "[Deal \"" + std::string(SolvedDeals[0].deal) + "\"]\r\n";
    EXPECT_EQ(Read(extraDeal), Row15("missing [Board] tag"));
    EXPECT_EQ(G.ErrorCode, 5);
}

TEST_F(PbnReaderTest, FileWithoutScoresAndTricksAtAllReadsWell) {
    std::string text = OwnFile(24);
    EraseLinesStarting(text, "[OptimumScore");
    EraseLinesStarting(text, "[DoubleDummyTricks");
    EXPECT_EQ(Read(text), "");
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnCreatedHere, 1);
    // Marked as ours, but no tricks to use: analysed anew.
    EXPECT_FALSE(PbnStoredTricksUsable());
}

TEST_F(PbnReaderTest, DealOfWrongLengthNamesBoardAndLine) {
    std::string text = "% another comment line first\r\n" + OwnFile(24);
    // Board 7's deal: line 2 + 10 * 6 + 7, plus the extra line = 70.
    std::string deal = SolvedDeals[6].deal;
    size_t at = text.find(deal);
    text.erase(at + 68, 1);
    EXPECT_EQ(Read(text), Row15("Hand data corrupt on Board 7, Line 70"));
    EXPECT_EQ(G.ErrorCode, 6);
    EXPECT_EQ(G.PbnErrorBoard, 7);
    EXPECT_EQ(G.PbnErrorLine, 70);
}

TEST_F(PbnReaderTest, DealThatIsNoDealIsCorruptHandData) {
    std::string text = OwnFile(24);
    std::string deal = SolvedDeals[2].deal;   // board 3, line 29
    std::string bad = deal;
    bad[10] = 'X';
    text.replace(text.find(deal), deal.size(), bad);
    EXPECT_EQ(Read(text), Row15("Hand data corrupt on Board 3, Line 29"));
    EXPECT_EQ(G.DealText[3], "");

    std::string fiveHands = OwnFile(24);
    std::string five = deal;
    five[deal.find('.')] = ' ';   // a fifth hand
    fiveHands.replace(fiveHands.find(deal), deal.size(), five);
    EXPECT_EQ(Read(fiveHands), Row15("Hand data corrupt on Board 3, Line 29"));
}

TEST_F(PbnReaderTest, TricksOfWrongLengthNameBoardAndLine) {
    std::string text = OwnFile(24);
    size_t at = text.find("[DoubleDummyTricks \"", text.find("[Board \"12\"]")) + 20;
    text.insert(at, "7");
    // Board 12's tricks: line 2 + 10 * 11 + 9 = 121.
    EXPECT_EQ(Read(text), Row15("DoubleDummy tricks data corrupt on Board 12, Line 121"));
    EXPECT_EQ(G.ErrorCode, 7);
}

TEST_F(PbnReaderTest, BoardCountOtherThan24Or36WinsOverEveryOtherFault) {
    FillFixedGame(36);
    std::string text = PbnFileText("03-07-2015");
    // Cut after board 30, then break a deal, the tricks and the event.
    text.erase(text.find("[Event \"#\"]", text.find("[Board \"30\"]")));
    text.erase(text.find(SolvedDeals[1].deal) + 5, 1);
    text.insert(text.find("[DoubleDummyTricks \"") + 20, "x");
    EraseLinesStarting(text, "[Event");
    ResetTables();
    EXPECT_EQ(Read(text), Row15("Total boards (30) must be 24 or 36"));
    EXPECT_EQ(G.ErrorCode, 8);
    EXPECT_EQ(G.PbnBoardCount, 30);
}

TEST_F(PbnReaderTest, FileWithoutOurMarkIsNotOurs) {
    std::string text = OwnFile(24);
    text.erase(0, text.find("\r\n") + 2);
    EXPECT_EQ(Read(text), "");
    EXPECT_EQ(G.PbnCreatedHere, 0);
    EXPECT_FALSE(PbnStoredTricksUsable());
}

TEST_F(PbnReaderTest, StoredTricksOnlyWhenEveryBoardHasThem) {
    // Two tricks tags on board 1, none on board 2: the counts agree but
    // board 2 has nothing to decode.
    std::string text = OwnFile(24);
    size_t board2 = text.find("[Board \"2\"]");
    size_t at = text.find("[DoubleDummyTricks", board2);
    std::string line = text.substr(at, text.find("\r\n", at) + 2 - at);
    text.erase(at, line.size());
    text.insert(text.find("[DoubleDummyTricks"), line);
    EXPECT_EQ(Read(text), "");
    EXPECT_EQ(G.PbnCreatedHere, 1);
    EXPECT_FALSE(PbnStoredTricksUsable());
}

TEST_F(PbnReaderTest, DecoderReadsLowerCaseDigitsOnly) {
    G.TotalBoards = 24;
    G.DDTricksText[1] = "d0123456789abcAB?x9z";
    G.DDTricksText[2] = "short";
    G.DDTricks[2][1][5] = 9;
    DecodeDDTricksTexts();
    // North: NT 13, S 0, H 1, D 2, C 3.
    EXPECT_EQ(G.DDTricks[1][1][5], 13);
    EXPECT_EQ(G.DDTricks[1][1][4], 0);
    EXPECT_EQ(G.DDTricks[1][1][3], 1);
    EXPECT_EQ(G.DDTricks[1][1][1], 3);
    // South: 4 5 6 7 8; East: 9 a b c A; West: B ? x 9 z.
    EXPECT_EQ(G.DDTricks[1][3][5], 4);
    EXPECT_EQ(G.DDTricks[1][2][5], 9);
    EXPECT_EQ(G.DDTricks[1][2][4], 10);
    EXPECT_EQ(G.DDTricks[1][2][2], 12);
    EXPECT_EQ(G.DDTricks[1][2][1], 0);   // "A" is not a digit here
    EXPECT_EQ(G.DDTricks[1][4][5], 0);
    EXPECT_EQ(G.DDTricks[1][4][3], 0);
    EXPECT_EQ(G.DDTricks[1][4][2], 9);
    EXPECT_EQ(G.DDTricks[2][1][5], 0);   // "s" of "short"
    EXPECT_EQ(G.DDTricks[2][4][1], 0);
}

TEST_F(PbnReaderTest, HostileFilesNeverCrashOrWritePastTheTables) {
    std::string own = OwnFile(36);
    // Forty boards: counted, only 36 stored.
    std::string forty = own;
    for (int b = 37; b <= 40; b++)
        forty += "[Board \"" + std::to_string(b) + "\"]\r\n[Deal \"" + std::string(SolvedDeals[b].deal) +
                 "\"]\r\n[OptimumScore \"Passout\"]\r\n[DoubleDummyTricks \"00000000000000000000\"]\r\n";
    EXPECT_EQ(Read(forty), Row15("Total boards (40) must be 24 or 36"));

    // A line of two million characters, NUL bytes and a missing quote.
    std::string hostile = own;
    hostile.insert(hostile.find("[Board \"5\"]"), "[Note \"" + std::string(2000000, 'y') + "\"]\r\n");
    hostile.insert(hostile.find("[Board \"6\"]"), std::string("[Board\0\"x\"]\r\n", 13));
    hostile.insert(hostile.find("[Board \"8\"]"), "[Remark \"no closing quote\r\n");
    hostile += std::string("\0\0\0[Deal\0", 9);
    EXPECT_EQ(Read(hostile), "");
    EXPECT_EQ(G.PbnBoardCount, 36);

    // A deal value with no closing quote runs to the end of its line.
    std::string open = own;
    size_t at = open.find(SolvedDeals[3].deal) + 69;
    open.erase(at, 1);
    EXPECT_EQ(Read(open), Row15("Hand data corrupt on Board 4, Line 39"));

    // Not text at all.
    std::string binary;
    for (int i = 0; i < 100000; i++) binary += (char)((i * 7919 + i / 3) & 0xFF);
    Read(binary);
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_GE(G.ErrorCode, 1);
    EXPECT_LE(G.ErrorCode, 8);

    // An empty file, and one with lone CR line ends.
    EXPECT_EQ(Read(""), Row15("Total boards (0) must be 24 or 36"));
    std::string crOnly = own;
    for (size_t p = crOnly.find("\r\n"); p != std::string::npos; p = crOnly.find("\r\n", p)) crOnly.erase(p + 1, 1);
    Read(crOnly);
    EXPECT_EQ(G.LoadFailed, 1);
}

TEST_F(PbnReaderTest, FolderInPlaceOfTheFileIsNotFound) {
    fs::create_directories("GAMEFILE.KM/150307A.pbn");
    std::string row16;
    console.onReadKey = [&](ScriptedConsole& c) { row16 = c.RowText(16); };
    console.Type(" ");
    EXPECT_FALSE(Run(readpbnfile));
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_NE(row16.find("not found"), std::string::npos) << console.Dump();
}

}  // namespace
