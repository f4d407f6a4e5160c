#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "dealing/deal.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"
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
    static void EraseLinesStarting(std::string& text, const std::string& start, size_t from = 0) {
        for (size_t at = text.find(start, from); at != std::string::npos; at = text.find(start, at))
            text.erase(at, text.find("\r\n", at) + 2 - at);
    }
    // Erases the first line starting `start` after board `board`'s tag.
    static void EraseLineOfBoard(std::string& text, const std::string& start, int board) {
        size_t at = text.find(start, text.find("[Board \"" + std::to_string(board) + "\"]"));
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
            words = Trim(c.RowText(16));
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
    std::string words;   // row 16 under the fault
};

// Our own file, as written, reads back with its mark, texts and values; the
// tricks decode and the par follows again.
TEST_F(PbnReaderTest, OurOwnFilesOf24And36BoardsReadBackWithTheirMarkAndValues) {
    for (auto [boards, offset] : {std::pair{36, 0}, {24, 4}, {36, 4}}) {
        SCOPED_TRACE(std::to_string(boards) + " boards from deal " + std::to_string(offset));
        FillFixedGame(boards, offset);
        int tricks[37][5][6];
        std::string deals[37], pars[37], texts[37];
        for (int b = 1; b <= boards; b++) {
            deals[b] = G.DealText[b], pars[b] = G.ParText[b], texts[b] = G.DDTricksText[b];
            for (int s = 1; s <= 4; s++)
                for (int t = 1; t <= 5; t++) tricks[b][s][t] = G.DDTricks[b][s][t];
        }
        fs::create_directories("GAMEFILE.KM");
        MakePbnFilePath();
        writepbnfile();
        ResetTables();
        G.TotalBoards = 0;
        sound.played.clear();
        EXPECT_EQ(ReadShown(), "");
        ASSERT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.ErrorCode, 0);
        EXPECT_EQ(G.PbnCreatedHere, 1);
        EXPECT_EQ(G.PbnEventText, "Tuesday Pairs");
        EXPECT_EQ(G.PbnSiteText, "Keelward Bridge Club");
        EXPECT_TRUE(console.Shows(15, 33, "Loading data...", LIGHTGREEN, BLUE));
        EXPECT_TRUE(sound.played.empty());
        ASSERT_TRUE(PbnStoredTricksUsable());
        for (int b = 1; b <= boards; b++) {
            EXPECT_EQ(G.DDTricksText[b], texts[b]) << b;
            EXPECT_EQ(G.ParText[b], pars[b]) << "as read, board " << b;
        }
        G.TotalBoards = G.PbnBoardCount;
        DecodeDDTricksTexts();
        GetParResults();
        ASSERT_EQ(G.TotalBoards, boards);
        for (int b = 1; b <= boards; b++) {
            EXPECT_EQ(G.DealText[b], deals[b]) << b;
            EXPECT_EQ(G.ParText[b], pars[b]) << b;
            for (int s = 1; s <= 4; s++)
                for (int t = 1; t <= 5; t++) EXPECT_EQ(G.DDTricks[b][s][t], tricks[b][s][t]) << b << s << t;
        }
    }
}

TEST_F(PbnReaderTest, MissingFileOrAFolderInItsPlaceGivesTheNotFoundScreen) {
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder in place of the file" : "no file");
        G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";   // shown with this system's separator
        if (folder) fs::create_directories("GAMEFILE.KM/150307A.pbn");
        sound.played.clear();
        console.onReadKey = [](ScriptedConsole& c) { EXPECT_TRUE(MatchesGolden(c, SystemGolden("pbn-not-found"))); };
        console.Type(" ");
        EXPECT_FALSE(Run(readpbnfile));
        EXPECT_EQ(console.KeysLeft(), 0u);
        EXPECT_EQ(G.LoadFailed, 1);
        EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    }
}

TEST_F(PbnReaderTest, FileFoundInAnotherLetterCase) {
    WriteFile("PbnFiles/150307a.Pbn", OwnFile(24));
    G.PbnFilePath = "PBNFILES\\150307A.pbn";
    ReadShown();
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnBoardCount, 24);
}

// Another Event, a board number again or a 37th board begins another game;
// the director takes one from the list, and its boards keep their numbers.
TEST_F(PbnReaderTest, AFileOfSeveralGamesIsChosenFromAndBoardsKeepTheirNumbers) {
    std::string text = OwnFile(24);
    text.replace(text.find("[Event \"#\"]", text.find("[Board \"13\"]") - 60), 11, "[Event \"Other\"]");
    WriteFile("GAMEFILE.KM/150307A.pbn", text);
    std::vector<std::string> rows;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (rows.empty())
            for (int row = 16; row <= 18; row++) rows.push_back(Trim(c.RowText(row)));
    };
    console.Press(KeyDown);
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(readpbnfile));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], SystemPath("GAMEFILE.KM/150307A.pbn") + " holds 2 games");
    EXPECT_EQ(rows[1].substr(0, 50), "150307A.pbn           Tuesday Pairs               ");
    EXPECT_NE(rows[1].find("2015.03.07  12 boards"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find("Other"), std::string::npos);
    ASSERT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnEventText, "Other");
    EXPECT_EQ(G.PbnSiteText, "Keelward Bridge Club");
    EXPECT_EQ(G.PbnBoardCount, 12);
    EXPECT_EQ(G.PbnHighestBoard, 24);
    for (int b = 1; b <= 24; b++) EXPECT_EQ(G.BoardAbsent[b], b <= 12 ? 1 : 0) << b;

    // Forty boards: the first 36, then the other 4; Esc takes none.
    text = OwnFile(36);
    for (int b = 37; b <= 40; b++)
        text += "[Board \"" + std::to_string(b) + "\"]\r\n[Deal \"" + std::string(SolvedDeals[b].deal) + "\"]\r\n\r\n";
    WriteFile("GAMEFILE.KM/150307A.pbn", text);
    rows.clear();
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(readpbnfile));
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_NE(rows[1].find("36 boards"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find(" 4 boards"), std::string::npos) << rows[2];
}

// Each fault is refused with its message on row 15, its error code and,
// where the fault is in a board, that board and line.
TEST_F(PbnReaderTest, FaultyFilesNameTheFault) {
    const std::string deal3 = SolvedDeals[2].deal;   // board 3, line 29
    struct Case {
        const char* name;
        std::function<std::string()> text;
        std::string message;
        int code, board = 0, line = 0;
        const char* words = nullptr;   // what is wrong, on row 16
    } cases[] = {
        {"no deal", [&] { std::string t = OwnFile(24), line = "[Deal \"" + std::string(SolvedDeals[5].deal) + "\"]\r\n";
             t.erase(t.find(line), line.size()); return t; }, "missing [Deal] tag", 2},
        {"no score", [&] { std::string t = OwnFile(24); EraseLineOfBoard(t, "[OptimumScore", 9); return t; },
         "missing [OptimumScore] tag", 3},
        {"no tricks", [&] { std::string t = OwnFile(24); EraseLineOfBoard(t, "[DoubleDummyTricks", 24); return t; },
         "missing [DoubleDummyTricks] tag", 4},
        // A 25th deal without a board tag or a score: the boards go in file
        // order, and the score is missing.
        {"extra deal", [&] { return OwnFile(24) + "[Deal \"" + std::string(SolvedDeals[0].deal) + "\"]\r\n"; },
         "missing [OptimumScore] tag", 3},
        // Two tricks tags on board 1 (the first counts), none on board 2.
        {"tricks of board 2 on board 1", [&] { std::string t = OwnFile(24);
             size_t at = t.find("[DoubleDummyTricks", t.find("[Board \"2\"]"));
             std::string line = t.substr(at, t.find("\r\n", at) + 2 - at);
             t.erase(at, line.size());
             t.insert(t.find("[DoubleDummyTricks"), line); return t; }, "missing [DoubleDummyTricks] tag", 4},
        // Board 7's deal: line 2 + 10 * 6 + 7, plus the comment line = 70.
        {"deal of wrong length", [&] { std::string t = "% another comment line first\r\n" + OwnFile(24);
             t.erase(t.find(SolvedDeals[6].deal) + 68, 1); return t; },
         "Hand data corrupt on Board 7, Line 70", 6, 7, 70, "East holds 12 cards"},
        {"deal with a stray letter", [&] { std::string t = OwnFile(24), bad = deal3; bad[10] = 'X';
             t.replace(t.find(deal3), deal3.size(), bad); return t; },
         "Hand data corrupt on Board 3, Line 29", 6, 3, 29, "It holds the character \"X\""},
        {"deal of five hands", [&] { std::string t = OwnFile(24), five = deal3; five[deal3.find('.')] = ' ';
             t.replace(t.find(deal3), deal3.size(), five); return t; },
         "Hand data corrupt on Board 3, Line 29", 6, 3, 29, "It has more than four hands"},
        // 69 characters of cards, but no deal: a new analysis would refuse
        // them, so the import does too, our mark or not.
        {"four identical hands", [&] { std::string t = OwnFile(24), hand = "AKQJ.T98.765.432";
             t.replace(t.find(SolvedDeals[0].deal), 69, "N:" + hand + " " + hand + " " + hand + " " + hand);
             return t; }, "Hand data corrupt on Board 1, Line 9", 6, 1, 9, "The ace of spades is held twice"},
        {"a hand of fourteen cards", [&] { std::string t = OwnFile(24), bad = deal3; size_t gap = bad.find(' ');
             std::swap(bad[gap - 1], bad[gap]); t.replace(t.find(deal3), deal3.size(), bad);
             t.erase(0, t.find("\r\n") + 2); return t; },
         "Hand data corrupt on Board 3, Line 28", 6, 3, 28, "South holds 12 cards"},
        // A deal value with no closing quote runs to the end of its line.
        {"deal without closing quote", [&] { std::string t = OwnFile(36);
             t.erase(t.find(SolvedDeals[3].deal) + 69, 1); return t; },
         "Hand data corrupt on Board 4, Line 39", 6, 4, 39},
        // Board 12's tricks: line 2 + 10 * 11 + 9 = 121.
        {"tricks of wrong length", [&] { std::string t = OwnFile(24);
             t.insert(t.find("[DoubleDummyTricks \"", t.find("[Board \"12\"]")) + 20, "7"); return t; },
         "DoubleDummy tricks data corrupt on Board 12, Line 121", 7, 12, 121},
        // Cut after board 30, then break a deal, the tricks and the event:
        // thirty boards are a game, and the first fault in the file is named.
        {"30 boards and other faults", [&] { std::string t = OwnFile(36);
             t.erase(t.find("[Event \"#\"]", t.find("[Board \"30\"]")));
             t.erase(t.find(SolvedDeals[1].deal) + 5, 1);
             t.insert(t.find("[DoubleDummyTricks \"") + 20, "x");
             EraseLinesStarting(t, "[Event"); return t; },
         "DoubleDummy tricks data corrupt on Board 1, Line 10", 7, 1, 10},
        {"empty file", [] { return std::string(); }, "No deals in the file", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sound.played.clear();
        errorColours = false;
        EXPECT_EQ(Read(c.text()), Row15(c.message));
        EXPECT_TRUE(errorColours);
        EXPECT_EQ(G.ErrorCode, c.code);
        EXPECT_EQ(G.LoadFailed, 1);
        EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
        if (c.board) {
            EXPECT_EQ(G.PbnErrorBoard, c.board);
            EXPECT_EQ(G.PbnErrorLine, c.line);
        }
        if (c.code == 6) {
            EXPECT_EQ(G.DealText[c.board], "");
        }
        if (c.code == 8) {
            EXPECT_EQ(G.PbnBoardCount, 0);
        }
        if (c.words) {
            EXPECT_EQ(words, c.words);
        }
    }
}

// Files that read well: whether they are ours, whether their stored tricks
// can be used instead of a new analysis, and whether the names are asked. A
// file without [Date] takes the typed date; one without [Event] or [Site],
// or with "?" or nothing for them, has both names asked.
TEST_F(PbnReaderTest, AcceptedFilesTheirStoredTricksAndNames) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> change;
        int createdHere, ask;
        bool usable;
    } cases[] = {
        {"no scores and tricks at all", [](std::string& t) {
             EraseLinesStarting(t, "[OptimumScore");
             EraseLinesStarting(t, "[DoubleDummyTricks"); }, 1, 0, false},
        {"without our mark", [](std::string& t) { t.erase(0, t.find("\r\n") + 2); }, 0, 0, false},
        {"no date", [](std::string& t) { EraseLinesStarting(t, "[Date"); }, 1, 0, true},
        {"no event", [](std::string& t) { EraseLinesStarting(t, "[Event"); }, 1, 1, true},
        {"no site", [](std::string& t) { EraseLinesStarting(t, "[Site"); }, 1, 1, true},
        {"event ?", [](std::string& t) { t.replace(t.find("Tuesday Pairs"), 13, "?"); }, 1, 1, true},
        {"empty event", [](std::string& t) { t.erase(t.find("Tuesday Pairs"), 13); }, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = OwnFile(24);
        c.change(text);
        EXPECT_EQ(Read(text), "");
        EXPECT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.PbnCreatedHere, c.createdHere);
        EXPECT_EQ(G.PbnAskNames, c.ask);
        EXPECT_EQ(G.PbnBoardCount, 24);
        EXPECT_EQ(PbnStoredTricksUsable(), c.usable);
    }
}

// Names come back whole through our own file: quotes and backslashes
// escaped in it, letters beyond ASCII in ISO 8859-1, and a name holding the
// program's name or "Game Control:" is no mark line.
TEST_F(PbnReaderTest, NamesComeBackWholeThroughTheFile) {
    struct { std::string name, inFile, back = ""; } cases[] = {   // back: "" when whole
        {"Keelward Bridge Club", "Keelward Bridge Club"},
        {"Joe's \"Big\" Club", "Joe's \\\"Big\\\" Club"},
        {"C:\\Clubs\\", "C:\\\\Clubs\\\\"},
        {"\\\"", "\\\\\\\""},
        {"Club Caf\x82 Cr\x8Ame", "Club Caf\xE9 Cr\xE8me"},
        {"Pi \xE3 \xCD", "Pi ? ?", "Pi ? ?"},
        {"KELMO Bridge Club", "KELMO Bridge Club"},
        {"Game Control: #91722 31459", "Game Control: #91722 31459"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FillFixedGame(24);
        G.ClubName = c.name;
        G.EventName = "The " + c.name;
        std::string text = PbnFileText("03-07-2015");
        EXPECT_NE(text.find("\r\n[Site \"" + c.inFile + "\"]\r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\n[Event \"The " + c.inFile + "\"]\r\n"), std::string::npos);
        ResetTables();
        EXPECT_EQ(Read(text), "");
        std::string back = c.back.empty() ? c.name : c.back;
        EXPECT_EQ(G.PbnSiteText, back);
        EXPECT_EQ(G.PbnEventText, "The " + back);
        EXPECT_EQ(G.PbnCreatedHere, 1);
    }
}

// Only the writer's two comment lines mark a file as ours, and a control
// number is kept only when it is the very game of the date, session and
// board count imported; an earlier game's never stays.
TEST_F(PbnReaderTest, OurMarkAndTheControlNumberOfTheImportedGame) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> change;
        int createdHere;
        std::string control;
        int32_t serial = 5179;   // 03/07/15
        int session = 2;
    } cases[] = {
        {"as written", [](std::string&) {}, 1, "#91722 31459"},
        {"without our first line", [](std::string& t) { t.erase(0, t.find("\r\n") + 2); }, 0, ""},
        {"without the control line", [](std::string& t) { EraseLinesStarting(t, "% KM"); }, 1, ""},
        {"the program named in another comment", [](std::string& t) {
             t.replace(0, t.find("\r\n"), "% Converted from KELMO"); }, 0, ""},
        {"another game's control line first", [](std::string& t) {
             t.insert(t.find("% KM"), "% KM Game Control: #90701 1125X\r\n"); }, 1, ""},
        {"another date", [](std::string&) {}, 1, "", 5180},
        {"another session", [](std::string&) {}, 1, "", 5179, 3},
        {"the 36-board control of the game", [](std::string& t) {
             t.replace(t.find("#91722 31459"), 12, "#91726 31457"); }, 1, ""},
        {"a wrong check character", [](std::string& t) {
             t.replace(t.find("#91722 31459"), 12, "#91722 31458"); }, 1, ""},
        {"a file of another program", [](std::string& t) {
             t.replace(0, t.find("[Event"), "% PBN 2.1\r\n% EXPORT\r\n");
             t.replace(t.find("Keelward Bridge Club"), 20, "Club Caf\xE9 \\\"Cr\xE8me\\\""); }, 0, ""},
    };
    // The file of the game the control number deals (game 1234).
    FillFixedGame(24);
    G.GameNumber = 1234;
    ApplyDealingKey();
    DealBoards(1, 24, 0);
    BuildDealTexts();
    const std::string own = PbnFileText("03-07-2015");
    ResetTables();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = own;
        c.change(text);
        G.GameSerial = c.serial;
        G.SessionNumber = c.session;
        G.ControlString = "#90701 1125X";   // of the game before
        EXPECT_EQ(Read(text), "");
        EXPECT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.PbnCreatedHere, c.createdHere);
        EXPECT_EQ(G.ControlString, c.control);
    }
    EXPECT_EQ(G.PbnSiteText, "Club Caf\x82 \"Cr\x8Ame\"");

    // Its deals edited (board 5's first two hands changed places): no
    // control number, the file analysed afresh, and the director told.
    std::string edited = own;
    const size_t deal = edited.find("[Deal \"", edited.find("[Board \"5\"]")) + 9;
    const size_t gap = edited.find(' ', deal), next = edited.find(' ', gap + 1);
    edited.replace(deal, next - deal,
                   edited.substr(gap + 1, next - gap - 1) + " " + edited.substr(deal, gap - deal));
    G.GameSerial = 5179;
    G.SessionNumber = 2;
    std::string warning;
    console.onReadKey = [&](ScriptedConsole& c) { warning = c.Text(22, 1, 80); };
    console.Type(" ");
    WriteFile("GAMEFILE.KM/150307A.pbn", edited);
    ASSERT_FALSE(Run(readpbnfile));
    EXPECT_NE(warning.find(" Deals differ from the file's control number: analysed afresh "), std::string::npos)
        << warning;
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.ControlString, "");
    EXPECT_FALSE(PbnStoredTricksUsable());
}

// A file whose boards stand in text order (1, 10, 11, ..., 19, 2, 20, ...)
// puts each under the number its [Board] tag gives it.
TEST_F(PbnReaderTest, BoardsGoUnderTheirBoardTagsInAnyOrder) {
    FillFixedGame(24);
    std::string deals[25];
    for (int b = 1; b <= 24; b++) deals[b] = G.DealText[b];
    const std::string text = PbnFileText("12-07-2026");
    // The two comment lines, then one block per board, each ended by an
    // empty line.
    const size_t first = text.find("[Event");
    std::vector<std::string> blocks;
    for (size_t at = first; at < text.size();) {
        const size_t end = text.find("\r\n\r\n", at) + 4;
        blocks.push_back(text.substr(at, end - at));
        at = end;
    }
    ASSERT_EQ(blocks.size(), 24u);
    std::vector<std::string> names;
    for (int b = 1; b <= 24; b++) names.push_back(std::to_string(b));
    std::sort(names.begin(), names.end());
    std::string sorted = text.substr(0, first);
    for (const std::string& name : names) sorted += blocks[(size_t)std::stoi(name) - 1];
    ResetTables();
    WriteFile("GAMEFILE.KM/150307A.pbn", sorted);
    G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";
    ASSERT_FALSE(Run(readpbnfile));
    ASSERT_EQ(G.LoadFailed, 0);
    for (int b = 1; b <= 24; b++) EXPECT_EQ(G.DealText[b], deals[b]) << b;
}

// Dealer and vulnerability are the file's, in any of PBN's spellings
// ("Love" for None, "Both" for All); a board that gives none takes its
// number's. A name too long for its field is cut, and said so.
TEST_F(PbnReaderTest, BoardsKeepTheDealerAndVulnerabilityTheFileGives) {
    FillFixedGame(24);
    G.ClubName = "The Keelward Duplicate Bridge Club of the North Shore";
    std::string text = PbnFileText("12-07-2026");
    auto change = [&](int board, const std::string& from, const std::string& to) {
        const size_t block = text.find("[Board \"" + std::to_string(board) + "\"]");
        const size_t at = text.find(from, block);
        ASSERT_NE(at, std::string::npos) << board << from;
        text.replace(at, from.size(), to);
    };
    change(1, "[Vulnerable \"None\"]", "[Vulnerable \"Love\"]");
    change(3, "[Dealer \"S\"]", "[Dealer \"N\"]");
    change(5, "[Vulnerable \"NS\"]", "[Vulnerable \"Both\"]");
    change(6, "[Dealer \"E\"]\r\n", "");
    ResetTables();
    WriteFile("GAMEFILE.KM/150307A.pbn", text);
    G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";
    ASSERT_FALSE(Run(readpbnfile));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnBoardCount, 24);
    EXPECT_EQ(console.ReadKeyCalls(), 0);
    EXPECT_EQ(G.PbnVulName[BoardVul(1)], "None");
    EXPECT_EQ(BoardDealer(3), 0);
    EXPECT_EQ(G.PbnVulName[BoardVul(5)], "All");
    EXPECT_EQ(BoardDealer(6), 1);
    EXPECT_EQ(G.ClubName, "The Keelward Duplicate Bridge Club of th");
    EXPECT_EQ(G.PbnNotes, std::vector<std::string>{"The file's club name is cut to its first 40 characters"});
}

// A stray file of megabytes was read whole at every press of P (a gigabyte
// took two of memory and fifteen seconds). A file over the bound is not
// read: the list names it on row 22 and goes on; taken by its date and
// session, it is refused with its size.
TEST_F(PbnReaderTest, AFileTooBigToBeAGameIsNotRead) {
    WriteFile("GAMEFILE.KM/club.pbn", OwnFile(24));
    {
        std::ofstream big("GAMEFILE.KM/huge.pbn", std::ios::binary);
        big.seekp((std::streamoff)PbnFileLimit);
        big.put('x');
    }
    std::string row22;
    console.onReadKey = [&](ScriptedConsole& c) { row22 = c.Text(MessageRow, 4, 74); };
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(readpbnfile));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnFilePath, "GAMEFILE.KM\\club.pbn");
    EXPECT_NE(row22.find("Passed over as too big to be a game: huge.pbn (9 MB)"), std::string::npos) << row22;

    std::filesystem::rename("GAMEFILE.KM/huge.pbn", "GAMEFILE.KM/150307A.pbn");
    G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";
    console.Type(" ");
    ASSERT_FALSE(Run(readpbnfile));
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_NE(row22.find("150307A.pbn is too big to be a game (9 MB)"), std::string::npos) << row22;
}

TEST_F(PbnReaderTest, DecoderReadsHexDigitsInEitherCase) {
    G.TotalBoards = 24;
    // North: NT 13, S 0, H 1, D 2, C 3; South: 4 5 6 7 8; East: 9 a b c A;
    // West: B ? x 9 z.
    G.DDTricksText[1] = "d0123456789abcAB?x9z";
    G.DDTricksText[2] = "short";
    G.DDTricks[2][1][5] = 9;
    DecodeDDTricksTexts();
    struct { int board, seat, strain, tricks; } cells[] = {
        {1, 1, 5, 13}, {1, 1, 4, 0}, {1, 1, 3, 1}, {1, 1, 1, 3}, {1, 3, 5, 4},
        {1, 2, 5, 9}, {1, 2, 4, 10}, {1, 2, 2, 12},
        {1, 2, 1, 10},   // "A", as other programs write it
        {1, 4, 5, 11}, {1, 4, 3, 0}, {1, 4, 2, 9},
        {2, 1, 5, 0},   // "s" of "short"
        {2, 4, 1, 0},
    };
    for (auto c : cells)
        EXPECT_EQ(G.DDTricks[c.board][c.seat][c.strain], c.tricks) << c.board << c.seat << c.strain;
}

TEST_F(PbnReaderTest, HostileFilesNeverCrashOrWritePastTheTables) {
    std::string own = OwnFile(36);
    // A line of two million characters, NUL bytes and a missing quote.
    std::string hostile = own;
    hostile.insert(hostile.find("[Board \"5\"]"), "[Note \"" + std::string(2000000, 'y') + "\"]\r\n");
    hostile.insert(hostile.find("[Board \"6\"]"), std::string("[Board\0\"x\"]\r\n", 13));
    hostile.insert(hostile.find("[Board \"8\"]"), "[Remark \"no closing quote\r\n");
    hostile += std::string("\0\0\0[Deal\0", 9);
    EXPECT_EQ(Read(hostile), "");
    EXPECT_EQ(G.PbnBoardCount, 36);

    std::string binary;
    for (int i = 0; i < 100000; i++) binary += (char)((i * 7919 + i / 3) & 0xFF);
    Read(binary);
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_GE(G.ErrorCode, 1);
    EXPECT_LE(G.ErrorCode, 8);

    // Lines ended by CR alone read as any others.
    std::string crOnly = own;
    for (size_t p = crOnly.find("\r\n"); p != std::string::npos; p = crOnly.find("\r\n", p)) crOnly.erase(p + 1, 1);
    Read(crOnly);
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.PbnBoardCount, 36);
}

}  // namespace
