// The four game paths end to end with the real solver: the PBN file after a
// new game, none after a recall or a multi-site game, and the PBN import
// with its stored tricks or a new analysis.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/recording_printer.h"
#include "unit/test_analysis_games.h"
#include "web/webpage.h"

namespace fs = std::filesystem;

namespace {

const std::string M(1, (char)ArchiveMarker);
const std::string Board1 = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT";
const std::string Board2 = "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4";
// Double-dummy tricks of those two boards as the solver finds them.
const std::string Tricks1 = "73779738896955469454";
const std::string Tricks2 = "88955789444448844478";

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

class GamePathTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        P.clock = &watch;
        ProvideSuitFont();
        WriteFile("KELMO.INI",
                  "ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\nClubNamePrompt=yes\r\n"
                  "ColorPrinting=no\r\nAutoCreatePBNfile=yes\r\nPBNfilesDirectory=PbnFiles\r\n"
                  "Bridge\r\nFor\r\nKeelward\r\n");
        fs::create_directory("PbnFiles");
        // The analysis shows its "DONE!" during its last pause.
        watch.onPause = [this](int) {
            if (console.Shows(14, 30, "DOUBLE-DUMMY ANALYSIS") && console.Shows(14, 54, "DONE!")) analysed++;
        };
        console.onReadKey = [this](ScriptedConsole& c) {
            if (c.Shows(14, 32, "PRINTING OPTIONS")) atPrinting = true;
            for (auto& check : checks) check(c);
        };
    }
    int RunToEnd() {
        try {
            return RunProgram();
        } catch (const ScriptExhausted&) {
            ADD_FAILURE() << "script ran out:\n" << console.Dump();
            return -2;
        }
    }
    // Two-byte keys are pressed, anything else typed a character at a time.
    void Keys(const std::vector<std::string>& keys) {
        for (const auto& k : keys) k.size() == 2 && k[0] == '\0' ? console.Press(k) : console.Type(k);
    }
    // A new game of 24 boards for 03/07/15 afternoon, entries confirmed.
    void NewGameKeys() { Keys({KeyEnter, "Keelward Club\r", "030715\r", "a", "Pairs\r", "2", KeyEnter}); }
    // Leaves the printing options and answers no to another game.
    void Finish() { Keys({"q", "n"}); }
    // The run ended at the printing options after `runs` analyses.
    void ExpectPrintingAfterAnalyses(int runs) {
        EXPECT_TRUE(atPrinting);
        EXPECT_EQ(analysed, runs);
    }

    WatchingClock watch;
    int analysed = 0;
    bool atPrinting = false;
    std::vector<std::function<void(ScriptedConsole&)>> checks;
};

TEST_F(GamePathTest, NewGameWritesItsPbnFileThenImportsItWithoutAnalysing) {
    NewGameKeys();
    // At the printing options the file is written; keep what the game was.
    std::string written, control, deals[25], pars[25], tricks[25];
    checks.push_back([&](ScriptedConsole& c) {
        if (!c.Shows(14, 32, "PRINTING OPTIONS") || !written.empty()) return;
        ASSERT_EQ(FilesIn("PbnFiles"), std::vector<std::string>{"150307A.pbn"});
        written = ReadFile("PbnFiles/150307A.pbn");
        control = G.ControlString;
        for (int b = 1; b <= 24; b++) deals[b] = G.DealText[b], pars[b] = G.ParText[b], tricks[b] = G.DDTricksText[b];
    });
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(analysed, 1);
    EXPECT_EQ(written.substr(0, 32), "% Created by KELMO, 12-07-2026\r\n");
    EXPECT_NE(written.find("% KM Game Control: " + control + "\r\n"), std::string::npos);
    EXPECT_NE(written.find("[Event \"Pairs\"]\r\n[Site \"Keelward Club\"]\r\n[Date \"2015.03.07\"]\r\n"),
              std::string::npos);
    for (int b = 1; b <= 24; b++) {
        EXPECT_NE(written.find("[Deal \"" + deals[b] + "\"]\r\n[OptimumScore \"" + pars[b] +
                               "\"]\r\n[DoubleDummyTricks \"" + tricks[b] + "\"]\r\n\r\n"),
                  std::string::npos)
            << b;
        EXPECT_FALSE(pars[b].empty());
    }
    EXPECT_EQ(written, PbnFileText("12-07-2026"));
    // The whole chain (control number, deal, solver, par, writer) gives the
    // same bytes on every system the program is built for.
    EXPECT_EQ(written, ReadFile(KELMO_SOURCE_DIR "/tests/golden/newgame-150307A.pbn"));

    // The same file imported in a new run of the program: its own tricks,
    // no analysis, par recomputed.
    ResetGameModel();
    analysed = 0;
    atPrinting = false;
    checks.clear();
    Keys({"p", "030715\r", "a", KeyEnter, KeyEnter});   // entries correct, keep the names
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ExpectPrintingAfterAnalyses(0);
    EXPECT_EQ(G.ClubName, "Keelward Club");
    EXPECT_EQ(G.EventName, "Pairs");
    EXPECT_EQ(G.TotalBoards, 24);
    for (int b = 1; b <= 24; b++) {
        EXPECT_EQ(G.DealText[b], deals[b]);
        EXPECT_EQ(G.ParText[b], pars[b]);
    }
    EncodeDDTricksTexts();
    for (int b = 1; b <= 24; b++) EXPECT_EQ(G.DDTricksText[b], tricks[b]);
    EXPECT_EQ(FilesIn("PbnFiles").size(), 1u);
}

// Two games of one date and session in an evening. The second asks before
// it replaces the first's archive ("n" goes back to the entries), and the
// first's PBN file is kept as -2. Each game's printing options show its own
// control number. A recall of the first asks its names again rather than
// show the second's, leaves the second's archive alone, and "Save PBN file"
// rewrites the first's own file. Each game's web page goes with its PBN file.
TEST_F(GamePathTest, TwoGamesOfOneSessionKeepBothFilesAndTheirOwnNames) {
    WriteFile("KELMO.INI", ReadFile("KELMO.INI") + "WebPage=yes\r\n");
    const std::string question = "A game of 03/07/15, Afternoon exists (Pairs). Replace it?  (y/N)";
    std::string controls[2];
    int menus = 0, questions = 0;
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(22, 4 + (74 - (int)question.size()) / 2, question, YELLOW, BLUE) && c.KeysLeft() == 0) {
            // First "n", then the entries again and "y".
            c.Type(questions++ == 0 ? "n" : "y");
            if (questions == 1) Keys({"Keelward Club\r", "030715\r", "a", "Teams\r", "2", KeyEnter});
        }
        if (!c.Shows(14, 32, "PRINTING OPTIONS") || c.KeysLeft() != 0) return;
        const std::string shown = "Control number: " + G.ControlString;
        EXPECT_TRUE(c.Shows(23, 41 - (int)shown.size() / 2, shown, LIGHTCYAN, BLUE)) << c.Dump();
        EXPECT_TRUE(c.Shows(20, 25, "(P) Save PBN file", YELLOW, BLUE));
        if (menus < 2) controls[menus] = G.ControlString;
        if (menus == 0) Keys({"q", "y"}), NewGameKeys();
        if (menus == 1) {
            std::vector<std::string> files = FilesIn("PbnFiles");
            std::sort(files.begin(), files.end());
            EXPECT_EQ(files, (std::vector<std::string>{"150307A-2.html", "150307A-2.pbn", "150307A.html", "150307A.pbn"}));
            // The first game again, from its control number.
            Keys({"q", "y", "r", controls[0].substr(1) + "\r", "y", "Harbour Club\r", "Pairs\r"});
        }
        if (menus == 2) Keys({"p"});
        if (menus == 3) {
            EXPECT_NE(c.Text(22, 1, 80).find(" Saved " + SystemPath("PbnFiles/150307A-2.pbn") + " and ...html "),
                      std::string::npos)
                << c.Dump();
            Keys({"q", "n"});
        }
        menus++;
    });
    NewGameKeys();
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_EQ(menus, 4);
    EXPECT_EQ(questions, 2);
    ASSERT_NE(controls[0], controls[1]);
    EXPECT_EQ(G.ClubName, "Harbour Club");
    EXPECT_EQ(G.EventName, "Pairs");
    // Each game's PBN file holds its own control number; the archive is the
    // second game's still.
    EXPECT_TRUE(PbnFileIsOfGame("PbnFiles/150307A-2.pbn", controls[0]));
    EXPECT_TRUE(PbnFileIsOfGame("PbnFiles/150307A.pbn", controls[1]));
    EXPECT_TRUE(WebPageIsOfGame("PbnFiles/150307A-2.html", controls[0]));
    EXPECT_TRUE(WebPageIsOfGame("PbnFiles/150307A.html", controls[1]));
    EXPECT_EQ(FilesIn("PbnFiles").size(), 4u);
    const std::string M(1, (char)ArchiveMarker);
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307.KMA"), "Keelward Club" + M + "\r\nTeams" + M + "\r\n" + controls[1] + "\r\n");
}

TEST_F(GamePathTest, NewGameStoppedWithEscDuringBoardFiveWritesNoPbnFile) {
    bool quitAsked = false;
    checks.push_back([&](ScriptedConsole& c) { quitAsked |= c.Shows(22, 30, " Quit program?  (Y/n) "); });
    NewGameKeys();
    console.PressDuringWork(KeyEsc, 4);
    console.Press(KeyEnter);   // quit
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(quitAsked);
    EXPECT_FALSE(atPrinting);
    EXPECT_EQ(analysed, 0);
    EXPECT_TRUE(FilesIn("PbnFiles").empty());
    EXPECT_EQ(G.AbandonFlag, 1);
    int solved = 0;
    for (int b = 1; b <= 24; b++) {
        EXPECT_EQ(G.ParText[b], "") << b;
        int sum = 0;
        for (int seat = 1; seat <= 4; seat++)
            for (int strain = 1; strain <= 5; strain++) sum += G.DDTricks[b][seat][strain];
        if (sum > 0) solved = b;
    }
    EXPECT_EQ(solved, 5);
}

// A recall and a multi-site game of the same control number: both analyse
// the deals of the key, neither writes a PBN file.
struct UnwrittenPath {
    const char* name;
    bool archive;
    std::vector<std::string> keys;
};
void PrintTo(const UnwrittenPath& p, std::ostream* os) { *os << p.name; }

class UnwrittenPathTest : public GamePathTest, public ::testing::WithParamInterface<UnwrittenPath> {};

TEST_P(UnwrittenPathTest, AnalysesButWritesNoPbnFile) {
    if (GetParam().archive) WriteFile("GAMEFILE.KM/150307.KMA", "Keelward Club" + M + "\r\nPairs" + M + "\r\n");
    Keys(GetParam().keys);
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ExpectPrintingAfterAnalyses(1);
    EXPECT_EQ(G.AutoCreatePBNfile, 1);
    EXPECT_TRUE(FilesIn("PbnFiles").empty());
    EXPECT_EQ(G.DealText[1], Board1);
    EXPECT_EQ(G.DealText[2], Board2);
    EncodeDDTricksTexts();
    EXPECT_EQ(G.DDTricksText[1], Tricks1);
    EXPECT_EQ(G.DDTricksText[2], Tricks2);
    EXPECT_EQ(G.ParText[1], ParOfBoard(1, G.DDTricks[1]));
    EXPECT_FALSE(G.ParText[24].empty());
}

// Board 1 matches; date and session right, the names, entries correct.
INSTANTIATE_TEST_SUITE_P(GamePath, UnwrittenPathTest,
                         ::testing::Values(UnwrittenPath{"Recall", true, {"r", "9172231459\r", "y"}},
                                           UnwrittenPath{"MultiSite", false,
                                                         {"i", "91722 31459\r", "y", "Other Club\r", "Sim Pairs\r",
                                                          "\r"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file in the layout of ours but without our mark, and with tricks that
// are not the deals': it is analysed anew.
TEST_F(GamePathTest, ImportOfAFileWithoutOurMarkAnalysesAndNamesCanChange) {
    FillFixedGame(24, 8);
    std::string deals[25];
    for (int b = 1; b <= 24; b++) {
        deals[b] = G.DealText[b];
        G.DDTricksText[b] = "00000000000000000000";
        G.ParText[b] = "Passout";
    }
    std::string text = PbnFileText("03-07-2015");
    text.erase(0, text.find("\r\n") + 2);
    WriteFile("PbnFiles/150307A.pbn", text);
    ResetGameModel();
    // Entries correct, change the names, not correct: once more with the
    // event name kept, then correct.
    Keys({"p", "030715\r", "a", KeyEnter, "y", "Harbour Club\r", "Open Pairs\r", "n", "Harbour BC\r", KeyEnter,
          KeyEnter});
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ExpectPrintingAfterAnalyses(1);
    EXPECT_EQ(G.PbnCreatedHere, 0);
    EXPECT_EQ(G.ClubName, "Harbour BC");
    EXPECT_EQ(G.EventName, "Open Pairs");
    for (int b = 1; b <= 24; b++) {
        EXPECT_EQ(G.DealText[b], deals[b]);
        for (int i = 0; i < 20; i++) {
            int x = i / 4;
            EXPECT_EQ(G.DDTricks[b][i % 4 + 1][x < 4 ? 4 - x : 5], SolvedDeals[b - 1 + 8].res[i]) << b;
        }
        EXPECT_EQ(G.ParText[b], ParOfBoard(b, G.DDTricks[b]));
    }
    // Import writes neither a PBN nor an archive file.
    EXPECT_EQ(FilesIn("PbnFiles").size(), 1u);
    EXPECT_TRUE(FilesIn("GAMEFILE.KM").empty());
}

}  // namespace

namespace {

// Another program's file, under its own name: taken from the list, three
// boards under their numbers 2, 5 and 30, the names asked since it has
// none. Only those boards are analysed, each as a fresh analysis finds it.
TEST_F(GamePathTest, ImportOfAnotherProgramsFileTakesItsBoardsByNumber) {
    const int numbers[3] = {2, 5, 30};
    std::string text = "% another program\n";
    for (int i = 0; i < 3; i++)
        text += "[Board \"" + std::to_string(numbers[i]) + "\"]\n[Deal \"" + SolvedDeals[i].deal +
                "\"]\n[DoubleDummyTricks \"DDDDDDDDDDDDDDDDDDDD\"]\n\n";
    WriteFile("PbnFiles/club session.pbn", text);
    ResetGameModel();
    Keys({"p", "030715\r", "a", KeyEnter, KeyEnter, "Harbour Club\r", "Open Pairs\r", KeyEnter});
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ExpectPrintingAfterAnalyses(1);
    EXPECT_EQ(G.ClubName, "Harbour Club");
    EXPECT_EQ(G.TotalBoards, 36);
    for (int b = 1; b <= 36; b++) {
        const int* at = std::find(numbers, numbers + 3, b);
        if (at == numbers + 3) {
            EXPECT_FALSE(BoardInGame(b)) << b;
            EXPECT_EQ(G.ParText[b], "") << b;
            continue;
        }
        const SolvedDeal& solved = SolvedDeals[at - numbers];
        for (int i = 0; i < 20; i++) {
            int x = i / 4;
            EXPECT_EQ(G.DDTricks[b][i % 4 + 1][x < 4 ? 4 - x : 5], solved.res[i]) << b;
        }
        EXPECT_EQ(G.ParText[b], ParOfBoard(b, G.DDTricks[b]));
    }
}

// A second session's boards 37 to 39 from a results file that gives each
// board once a table, one deal written from North though East deals: once
// printed as boards 1 to 3 with board 1's dealer, vulnerability and par,
// each table a game of its own. Now one game of three boards under their own
// numbers, dealers and vulnerabilities, on screen, paper and file, each deal
// written dealer first.
TEST_F(GamePathTest, ASecondSessionsBoardsKeepTheirNumbersDealersAndVulnerabilities) {
    const struct { int number; const char* dealer; const char* vul; const SolvedDeal& deal; } boards[] = {
        {37, "N", "NS", SolvedDeals[0]}, {38, "E", "EW", SolvedDeals[4]}, {39, "S", "All", SolvedDeals[2]}};
    std::string text = "[Event \"Individual\"]\n[Site \"Lund\"]\n";
    for (int table = 1; table <= 2; table++)
        for (const auto& b : boards)
            text += "[Board \"" + std::to_string(b.number) + "\"]\n[Dealer \"" + b.dealer + "\"]\n[Vulnerable \"" +
                    b.vul + "\"]\n[Deal \"" + b.deal.deal + "\"]\n[Contract \"3NT\"]\n[Result \"" +
                    std::to_string(8 + table) + "\"]\n\n";
    WriteFile("PbnFiles/indi.pbn", text);
    RecordingPrinter printer;
    P.printer = &printer;
    ResetGameModel();
    Keys({"p", "030715\r", "a", KeyEnter, KeyEnter, KeyEnter, "3", " ", "p"});
    Finish();
    EXPECT_EQ(RunToEnd(), 0);
    ExpectPrintingAfterAnalyses(1);
    ASSERT_EQ(G.PbnBoardCount, 3);
    EXPECT_EQ(G.TotalBoards, 24);
    const std::string written = ReadFile("PbnFiles/150307A.pbn");
    for (int b = 1; b <= 3; b++) {
        SCOPED_TRACE(b);
        EXPECT_EQ(BoardNumberShown(b), boards[b - 1].number);
        EXPECT_EQ(SeatLetters[BoardDealer(b)], boards[b - 1].dealer[0]);
        EXPECT_EQ(G.PbnVulName[BoardVul(b)], boards[b - 1].vul);
        EXPECT_EQ(G.ParText[b], ParOfBoard(b, G.DDTricks[b]));
        EXPECT_EQ(printer.Count(std::to_string(boards[b - 1].number), 0), 1);
        const std::string block = "[Board \"" + std::to_string(boards[b - 1].number) + "\"]\r\n[Dealer \"" +
                                  boards[b - 1].dealer + "\"]\r\n[Vulnerable \"" + boards[b - 1].vul +
                                  "\"]\r\n[Deal \"" + boards[b - 1].dealer + ":";
        EXPECT_NE(written.find(block), std::string::npos) << written;
    }
    // Board 37 is 5 of the cycle: North-South vulnerable, where board 1 is
    // none; a par score that differs with it would have been wrong.
    EXPECT_TRUE(BoardSeatVulnerable(1, 0));
    EXPECT_FALSE(BoardSeatVulnerable(1, 1));
}

}  // namespace
