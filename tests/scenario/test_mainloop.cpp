// Start-up and the main loop on the scripted console: the closing and quit
// questions, passes of the loop and the game paths that end early.
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "model/model.h"
#include "shell/kit.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace fs = std::filesystem;

namespace {

// Records what start-up asks of the terminal.
class TerminalConsole : public ScriptedConsole {
public:
    void SetTitle(const std::string& text) override { titles.push_back(text); }
    void SetSize(int columns, int rows) override {
        sizeColumns = columns;
        sizeRows = rows;
    }
    std::vector<std::string> titles;
    int sizeColumns = 0, sizeRows = 0;
};

constexpr int Returned = -1, OutOfKeys = -2;

class LoopTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        P.console = &screen;
        // The suit font where the font check looks for it.
        WriteFile("win/fonts/bridge.ttf", "");
        setenv("windir", (workDir + "/win").c_str(), 1);
        unsetenv("systemroot");
        unsetenv("comspec");
    }
    void TearDown() override {
        unsetenv("windir");
        KelmoTest::TearDown();
    }

    // Runs a routine; the exit code when it ended the program, Returned when
    // it came back, OutOfKeys when the script ran out.
    int ExitOf(const std::function<void()>& routine) {
        try {
            routine();
        } catch (const ProgramExit& exit) {
            return exit.code;
        } catch (const ScriptExhausted&) {
            return OutOfKeys;
        }
        return Returned;
    }

    static bool MainMenuWaits(const ScriptedConsole& c) {
        return c.Shows(14, 29, "(N) New game") && c.Row() == 20 && c.Column() == 43;
    }
    static bool QuitQuestionWaits(const ScriptedConsole& c) {
        return c.Shows(22, 30, " Quit program?  (Y/n) ") && c.Row() == 22 && c.Column() == 47;
    }
    static bool ClosingQuestionWaits(const ScriptedConsole& c) {
        return c.Shows(22, 22, " DONE!  Prepare another game?  (y/N)") && c.Row() == 22 &&
               c.Column() == 56;
    }

    // Counts the moments the program waits at each of the three screens.
    void CountWaits() {
        screen.onReadKey = [this](ScriptedConsole& c) {
            if (MainMenuWaits(c)) menuWaits++;
            if (QuitQuestionWaits(c)) quitWaits++;
            if (ClosingQuestionWaits(c)) closingWaits++;
        };
    }

    TerminalConsole screen;
    int menuWaits = 0, quitWaits = 0, closingWaits = 0;
};

TEST_F(LoopTest, StartUpSetsTheTerminalAndTheModel) {
    ASSERT_EQ(ExitOf(StartUp), Returned);
    EXPECT_EQ(screen.titles, std::vector<std::string>{"Vantry's Card Den"});
    EXPECT_EQ(screen.sizeColumns, 80);
    EXPECT_EQ(screen.sizeRows, 25);
    EXPECT_TRUE(fs::is_directory("GAMEFILE.KM"));
    EXPECT_EQ(G.SettingsFileName, "KELMO.INI");
    EXPECT_EQ(G.SessionName[2], "Afternoon");
}

TEST_F(LoopTest, QuitQuestionScreen) {
    initialize();
    ShowHeader();
    bool checked = false;
    screen.onReadKey = [&](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(22, 30, " Quit program?  (Y/n) ", BRIGHTWHITE, MAGENTA)) << c.Dump();
        EXPECT_EQ(c.Row(), 22);
        EXPECT_EQ(c.Column(), 47);
        EXPECT_TRUE(c.CursorVisible());
        EXPECT_EQ(c.CursorSize(), 30);
        EXPECT_EQ(c.Bg(22, 29), BLUE);
        EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
        checked = true;
    };
    screen.Press(KEY_ENTER);
    EXPECT_EQ(ExitOf(QuitQuestion), 0);
    EXPECT_TRUE(checked);
}

TEST_F(LoopTest, QuitQuestionKeys) {
    initialize();
    for (const std::string& key : {std::string("Y"), std::string("y"), std::string(KEY_ENTER),
                                   std::string(KEY_ESC)}) {
        screen.Press(key);
        EXPECT_EQ(ExitOf(QuitQuestion), 0) << key;
    }
    // Other keys beep; "n" goes on with the abandon flag cleared.
    sound.played.clear();
    G.AbandonFlag = 1;
    screen.Type("x");
    screen.Press(KEY_UP);
    screen.Type("n");
    EXPECT_EQ(ExitOf(QuitQuestion), Returned);
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(sound.Count("beep2"), 3);
}

TEST_F(LoopTest, ClosingQuestionScreen) {
    initialize();
    ShowHeader();
    bool checked = false;
    screen.onReadKey = [&](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(22, 22, " DONE!  Prepare another game?  (y/N)", YELLOW, BLUE))
            << c.Dump();
        EXPECT_EQ(c.Row(), 22);
        EXPECT_EQ(c.Column(), 56);
        EXPECT_TRUE(c.CursorVisible());
        EXPECT_EQ(c.CursorSize(), 30);
        EXPECT_EQ(sound.played, std::vector<std::string>{"done2"});
        checked = true;
    };
    screen.Press(KEY_ENTER);
    EXPECT_EQ(ExitOf(ClosingQuestion), 0);
    EXPECT_TRUE(checked);
}

TEST_F(LoopTest, ClosingQuestionKeys) {
    initialize();
    for (const std::string& key : {std::string("N"), std::string("n"), std::string(KEY_ENTER),
                                   std::string(KEY_ESC)}) {
        screen.Press(key);
        EXPECT_EQ(ExitOf(ClosingQuestion), 0) << key;
    }
    sound.played.clear();
    G.AbandonFlag = 1;
    screen.Type("q");
    screen.Type("y");
    EXPECT_EQ(ExitOf(ClosingQuestion), Returned);
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"done2", "beep2"}));
}

TEST_F(LoopTest, EscAtTheMenuThenEnterEndsTheProgramWithZero) {
    CountWaits();
    screen.Press(KEY_ESC);
    screen.Press(KEY_ENTER);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(menuWaits, 1);
    EXPECT_EQ(quitWaits, 1);
    EXPECT_EQ(closingWaits, 0);
    EXPECT_EQ(screen.KeysLeft(), 0u);
}

TEST_F(LoopTest, NoAtTheQuitQuestionStartsANewPass) {
    CountWaits();
    screen.Press(KEY_ESC);
    screen.Type("n");
    screen.Press(KEY_ESC);
    screen.Type("y");
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(quitWaits, 2);
    // Start-up is not repeated for a new pass.
    EXPECT_EQ(screen.titles.size(), 1u);
}

TEST_F(LoopTest, HelpFromTheMenuOpensTheManualAndShowsTheMenuAgain) {
    CountWaits();
    screen.Type("h");
    screen.Press(KEY_ESC);
    screen.Press(KEY_ENTER);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(process.runs.size(), 1u);
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(closingWaits, 0);
}

TEST_F(LoopTest, NewGameAnsweredNoReturnsToTheMenuWithoutAnArchiveFile) {
    CountWaits();
    screen.Press(KEY_ENTER);          // new game
    screen.Type("Keelward Club");     // club name
    screen.Press(KEY_ENTER);
    screen.Type("030715");            // game date
    screen.Press(KEY_ENTER);
    screen.Type("a");                 // session
    screen.Type("Pairs");             // event name
    screen.Press(KEY_ENTER);
    screen.Type("2");                 // 24 boards
    bool askedToConfirm = false;
    auto counting = screen.onReadKey;
    screen.onReadKey = [&](ScriptedConsole& c) {
        counting(c);
        if (c.Shows(18, 28, "Entries correct?  (Y/n)")) askedToConfirm = true;
    };
    screen.Type("n");                 // entries correct? no
    screen.Press(KEY_ESC);            // the menu again: leave
    screen.Press(KEY_ENTER);          // quit
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(askedToConfirm) << "game entry not built yet?";
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(quitWaits, 1);
    EXPECT_EQ(closingWaits, 0);
    EXPECT_TRUE(fs::is_empty("GAMEFILE.KM"));
}

// A 24-board PBN file as this program writes it, for 03/07/15 afternoon.
std::string PbnFileOfThisProgram() {
    const std::string deals[2] = {
        "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT",
        "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4"};
    std::string text = "% Created by KELMO, 03-07-2015\r\n% KM Game Control: #91722 31459\r\n";
    for (int b = 1; b <= 24; b++) {
        bool first = b == 1;
        text += std::string("[Event \"") + (first ? "Pairs" : "#") + "\"]\r\n";
        text += std::string("[Site \"") + (first ? "Keelward Club" : "#") + "\"]\r\n";
        text += std::string("[Date \"") + (first ? "2015.03.07" : "#") + "\"]\r\n";
        text += "[Board \"" + std::to_string(b) + "\"]\r\n";
        text += "[Deal \"" + deals[(b - 1) % 2] + "\"]\r\n";
        text += "[OptimumScore \"NS 420\"]\r\n";
        text += "[DoubleDummyTricks \"9a9874343a9a98743437\"]\r\n\r\n";
    }
    return text;
}

TEST_F(LoopTest, PbnImportFinishesAndYesAtTheClosingQuestionStartsANewPass) {
    fs::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/150307A.pbn", PbnFileOfThisProgram());
    CountWaits();
    bool sawPrintingOptions = false;
    auto counting = screen.onReadKey;
    screen.onReadKey = [&](ScriptedConsole& c) {
        counting(c);
        if (c.Shows(14, 32, "PRINTING OPTIONS")) sawPrintingOptions = true;
    };
    screen.Type("p");            // PBN import
    screen.Type("030715");       // game date
    screen.Press(KEY_ENTER);
    screen.Type("a");            // session
    screen.Press(KEY_ENTER);     // entries correct
    screen.Press(KEY_ENTER);     // change the names? no
    screen.Type("q");            // printing options
    screen.Type("y");            // another game
    screen.Press(KEY_ESC);       // the menu again: leave
    screen.Press(KEY_ENTER);     // quit
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(sawPrintingOptions) << "PBN import not built yet?";
    EXPECT_EQ(closingWaits, 1);
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(G.TotalBoards, 24);
    EXPECT_EQ(G.ClubName, "Keelward Club");
    // No archive file on this path.
    int files = 0;
    for (const auto& entry : fs::directory_iterator("GAMEFILE.KM")) {
        (void)entry;
        files++;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(LoopTest, PbnImportWithADealThatIsNotADealReturnsToTheMenu) {
    // 69 characters, but "X" is no card: the hands must never reach the
    // analysis or the printouts.
    std::string text = PbnFileOfThisProgram();
    size_t at = text.find("[Deal \"", text.find("[Board \"3\"]"));
    ASSERT_NE(at, std::string::npos);
    text[at + 9] = 'X';
    fs::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/150307A.pbn", text);
    CountWaits();
    bool told = false;
    auto counting = screen.onReadKey;
    screen.onReadKey = [&](ScriptedConsole& c) {
        counting(c);
        for (int row = 14; row <= 23; row++)
            if (c.RowText(row).find("corrupt on Board 3") != std::string::npos) told = true;
        EXPECT_FALSE(c.Shows(14, 32, "PRINTING OPTIONS"));
    };
    screen.Type("p");
    screen.Type("030715");
    screen.Press(KEY_ENTER);
    screen.Type("a");
    screen.Press(KEY_ENTER);     // entries correct
    screen.Type(" ");            // the message
    screen.Press(KEY_ESC);       // the menu again: leave
    screen.Press(KEY_ENTER);     // quit
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(told);
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(closingWaits, 0);
}

TEST_F(LoopTest, RecallWhoseBoardOneDoesNotMatchStartsUpAgain) {
    CountWaits();
    auto counting = screen.onReadKey;
    bool askedBoardOne = false;
    screen.onReadKey = [&](ScriptedConsole& c) {
        counting(c);
        if (!askedBoardOne && c.Shows(22, 13, "Does this deal match Board #1")) {
            askedBoardOne = true;
            // The settings file changes while the program runs.
            WriteFile("KELMO.INI",
                      "ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\n"
                      "ClubNamePrompt=yes\r\nColorPrinting=yes\r\nAutoCreatePBNfile=no\r\n"
                      "PBNfilesDirectory=gamefile.km\r\nBridge\r\nFor\r\nKeelward\r\n");
        }
    };
    screen.Type("r");
    screen.Type("9172231459");   // 03/07/15, game 1234, afternoon, 24 boards
    screen.Press(KEY_ENTER);
    screen.Type("n");            // board 1 does not match
    screen.Type(" ");            // the notice
    screen.Press(KEY_ESC);       // the menu after the new start
    screen.Press(KEY_ENTER);     // quit
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(askedBoardOne) << "recall check not built yet?";
    EXPECT_EQ(screen.titles.size(), 2u);
    EXPECT_EQ(menuWaits, 2);
    EXPECT_EQ(G.ColorPrinting, 1);
    // Today's date again (the virtual clock's 12/07/26).
    EXPECT_EQ(G.GameMonth, 12);
    EXPECT_EQ(G.GameDay, 7);
    EXPECT_EQ(G.GameYear, 26);
}

}  // namespace
