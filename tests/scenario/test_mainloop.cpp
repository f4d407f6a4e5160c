// Start-up and the main loop on the scripted console: the closing and quit
// questions, passes of the loop and the game paths that end early.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>

#include "analysis/analysis.h"
#include "console/kit.h"
#include "dealing/deal.h"
#include "game/dealscreens.h"
#include "model/model.h"
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
        ProvideSuitFont();
        unsetenv("comspec");
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

    // Counts the moments the program waits at each of the three screens;
    // `also` looks at the screen at every wait as well.
    void CountWaits(std::function<void(ScriptedConsole&)> also = {}) {
        screen.onReadKey = [this, also](ScriptedConsole& c) {
            if (MainMenuWaits(c)) menuWaits++;
            if (QuitQuestionWaits(c)) quitWaits++;
            if (ClosingQuestionWaits(c)) closingWaits++;
            if (also) also(c);
        };
    }
    // Two-byte keys are pressed, anything else typed a character at a time.
    void Keys(const std::vector<std::string>& keys) {
        for (const auto& k : keys) k.size() == 2 && k[0] == '\0' ? screen.Press(k) : screen.Type(k);
    }
    // Runs the program to its end with exit code 0; -1 leaves a count unchecked.
    void ExpectRunWithWaits(int menu, int quit, int closing) {
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(menuWaits, menu);
        if (quit >= 0) { EXPECT_EQ(quitWaits, quit); }
        if (closing >= 0) { EXPECT_EQ(closingWaits, closing); }
    }

    TerminalConsole screen;
    int menuWaits = 0, quitWaits = 0, closingWaits = 0;
};

// The two questions that end the program or start another pass.
struct Question {
    const char* name;
    void (*ask)();
    int column;
    const char* text;
    int fg, bg, cursorColumn;
    const char* sound;
    std::vector<std::string> endKeys, goOnKeys, goOnSounds;
};

std::vector<Question> Questions() {
    return {{"quit", QuitQuestion, 30, " Quit program?  (Y/n) ", BRIGHTWHITE, MAGENTA, 47, "beep2",
             {"Y", "y", KeyEnter, KeyEsc}, {"x", KeyUp, "n"}, {"beep2", "beep2", "beep2"}},
            {"closing", ClosingQuestion, 22, " DONE!  Prepare another game?  (y/N)", YELLOW, BLUE, 56, "done2",
             {"N", "n", KeyEnter, KeyEsc}, {"q", "y"}, {"done2", "beep2"}}};
}

TEST_F(LoopTest, StartUpSetsTheTerminalAndTheModel) {
    ASSERT_EQ(ExitOf(StartUp), Returned);
    EXPECT_EQ(screen.titles, std::vector<std::string>{"Vantry's Card Den"});
    EXPECT_EQ(screen.sizeColumns, 80);
    EXPECT_EQ(screen.sizeRows, 25);
    EXPECT_TRUE(fs::is_directory("GAMEFILE.KM"));
    EXPECT_EQ(G.SettingsFileName, "KELMO.INI");
    EXPECT_EQ(G.SessionName[2], "Afternoon");
}

// Temporaries a kill -9 left behind go, in the folders the program writes
// (the PBN folder as the settings name it); nowhere else.
TEST_F(LoopTest, StartUpRemovesStaleTemporariesWhereItWrites) {
    WriteFile("KELMO.INI", "ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\n"
                           "ClubNamePrompt=yes\r\nColorPrinting=no\r\nAutoCreatePBNfile=yes\r\n"
                           "PBNfilesDirectory=PbnOut\r\nBridge\r\nFor\r\nKeelward\r\n");
    const std::pair<std::string, bool> temporaries[] = {
        {".KELMO.INI.aaaaaa", true},           {"GAMEFILE.KM/.090105.KMA.bbbbbb", true},
        {"PbnOut/.090105A.pbn.cccccc", true},  {"PRINTS/.Hands.pdf.dddddd", true},
        {"Other/.090105A.pbn.eeeeee", false}};
    for (const auto& [name, removed] : temporaries) {
        fs::create_directories(fs::path(name).parent_path().empty() ? "." : fs::path(name).parent_path());
        WriteFile(name, "half");
        // Written an hour before this run began.
        fs::last_write_time(name, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    ASSERT_EQ(ExitOf(StartUp), Returned);
    EXPECT_EQ(G.PBNfilesDirectory, "PbnOut");
    for (const auto& [name, removed] : temporaries) EXPECT_EQ(fs::exists(name), !removed) << name;
}

TEST_F(LoopTest, QuitAndClosingQuestionScreens) {
    initialize();
    for (const Question& q : Questions()) {
        SCOPED_TRACE(q.name);
        ShowHeader();
        sound.played.clear();
        bool checked = false;
        screen.onReadKey = [&](ScriptedConsole& c) {
            EXPECT_TRUE(c.Shows(22, q.column, q.text, q.fg, q.bg)) << c.Dump();
            EXPECT_EQ(c.Row(), 22);
            EXPECT_EQ(c.Column(), q.cursorColumn);
            EXPECT_TRUE(c.CursorVisible());
            EXPECT_EQ(c.CursorSize(), 30);
            EXPECT_EQ(c.Bg(22, 29), BLUE);
            EXPECT_EQ(sound.played, std::vector<std::string>{q.sound});
            checked = true;
        };
        screen.Press(KeyEnter);
        EXPECT_EQ(ExitOf(q.ask), 0);
        EXPECT_TRUE(checked);
    }
}

// Each question ends the program on its own keys, beeps at other keys and
// goes on with the abandon flag cleared on the other answer.
TEST_F(LoopTest, QuitAndClosingQuestionKeys) {
    initialize();
    for (const Question& q : Questions()) {
        SCOPED_TRACE(q.name);
        for (const std::string& key : q.endKeys) {
            screen.Press(key);
            EXPECT_EQ(ExitOf(q.ask), 0) << key;
        }
        sound.played.clear();
        G.AbandonFlag = 1;
        Keys(q.goOnKeys);
        EXPECT_EQ(ExitOf(q.ask), Returned);
        EXPECT_EQ(G.AbandonFlag, 0);
        EXPECT_EQ(sound.played, q.goOnSounds);
    }
}

TEST_F(LoopTest, EscAtTheMenuThenEnterEndsTheProgramWithZero) {
    CountWaits();
    Keys({KeyEsc, KeyEnter});
    ExpectRunWithWaits(1, 1, 0);
    EXPECT_EQ(screen.KeysLeft(), 0u);
}

TEST_F(LoopTest, NoAtTheQuitQuestionStartsANewPass) {
    CountWaits();
    Keys({KeyEsc, "n", KeyEsc, "y"});
    ExpectRunWithWaits(2, 2, -1);
    // Start-up is not repeated for a new pass.
    EXPECT_EQ(screen.titles.size(), 1u);
}

TEST_F(LoopTest, HelpFromTheMenuOpensTheManualAndShowsTheMenuAgain) {
    CountWaits();
    Keys({"h", KeyEsc, KeyEnter});
    ExpectRunWithWaits(2, -1, 0);
    EXPECT_EQ(process.runs.size(), 1u);
}

TEST_F(LoopTest, NewGameAnsweredNoReturnsToTheMenuWithoutAnArchiveFile) {
    bool askedToConfirm = false;
    CountWaits([&](ScriptedConsole& c) { askedToConfirm |= c.Shows(18, 28, "Entries correct?  (Y/n)"); });
    // New game, club, date, session, event, 24 boards, not correct; then
    // leave at the menu and quit.
    Keys({KeyEnter, "Keelward Club\r", "030715\r", "a", "Pairs\r", "2", "n", KeyEsc, KeyEnter});
    ExpectRunWithWaits(2, 1, 0);
    EXPECT_TRUE(askedToConfirm) << "game entry not built yet?";
    EXPECT_TRUE(fs::is_empty("GAMEFILE.KM"));
}

// A 24-board PBN file as this program writes it, for 03/07/15 afternoon,
// game 1234 (its deals are the ones its control number deals).
std::string PbnFileOfThisProgram() {
    G.GameYear = 15, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 2, G.GameNumber = 1234;
    ApplyDealingKey();
    DealBoards(1, 24, 0);
    std::string deals[25];
    for (int b = 1; b <= 24; b++) deals[b] = DealTextOfBoard(b);
    std::string text = "% Created by KELMO, 03-07-2015\r\n% KM Game Control: #91722 31459\r\n";
    for (int b = 1; b <= 24; b++) {
        bool first = b == 1;
        text += std::string("[Event \"") + (first ? "Pairs" : "#") + "\"]\r\n";
        text += std::string("[Site \"") + (first ? "Keelward Club" : "#") + "\"]\r\n";
        text += std::string("[Date \"") + (first ? "2015.03.07" : "#") + "\"]\r\n";
        text += "[Board \"" + std::to_string(b) + "\"]\r\n";
        text += "[Deal \"" + deals[b] + "\"]\r\n";
        text += "[OptimumScore \"NS 420\"]\r\n";
        text += "[DoubleDummyTricks \"9a9874343a9a98743437\"]\r\n\r\n";
    }
    return text;
}

// PBN import of 03/07/15 afternoon up to the entries confirmed.
const std::vector<std::string> ImportKeys = {"p", "030715\r", "a", "\r"};

TEST_F(LoopTest, PbnImportFinishesAndYesAtTheClosingQuestionStartsANewPass) {
    fs::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/150307A.pbn", PbnFileOfThisProgram());
    bool sawPrintingOptions = false;
    CountWaits([&](ScriptedConsole& c) { sawPrintingOptions |= c.Shows(14, 32, "PRINTING OPTIONS"); });
    Keys(ImportKeys);
    // Keep the names, leave the printing options, another game, then leave
    // at the menu and quit.
    Keys({KeyEnter, "q", "y", KeyEsc, KeyEnter});
    ExpectRunWithWaits(2, -1, 1);
    EXPECT_TRUE(sawPrintingOptions) << "PBN import not built yet?";
    EXPECT_EQ(G.TotalBoards, 24);
    EXPECT_EQ(G.ClubName, "Keelward Club");
    // The file's own control number, since it is this game's.
    EXPECT_EQ(G.ControlString, "#91722 31459");
    // No archive file on this path.
    EXPECT_EQ(std::distance(fs::directory_iterator("GAMEFILE.KM"), fs::directory_iterator()), 1);
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
    bool told = false;
    CountWaits([&](ScriptedConsole& c) {
        for (int row = 14; row <= 23; row++) told |= c.RowText(row).find("corrupt on Board 3") != std::string::npos;
        EXPECT_FALSE(c.Shows(14, 32, "PRINTING OPTIONS"));
    });
    Keys(ImportKeys);
    Keys({" ", KeyEsc, KeyEnter});   // the message, then leave at the menu and quit
    ExpectRunWithWaits(2, -1, 0);
    EXPECT_TRUE(told);
}

TEST_F(LoopTest, RecallWhoseBoardOneDoesNotMatchStartsUpAgain) {
    bool askedBoardOne = false;
    CountWaits([&](ScriptedConsole& c) {
        if (askedBoardOne || !c.Shows(22, 13, "Does this deal match Board #1")) return;
        askedBoardOne = true;
        // The settings file changes while the program runs.
        WriteFile("KELMO.INI",
                  "ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\n"
                  "ClubNamePrompt=yes\r\nColorPrinting=yes\r\nAutoCreatePBNfile=no\r\n"
                  "PBNfilesDirectory=gamefile.km\r\nBridge\r\nFor\r\nKeelward\r\n");
    });
    // 03/07/15, game 1234, afternoon, 24 boards; board 1 does not match, the
    // notice, then leave at the menu of the new start and quit.
    Keys({"r", "9172231459\r", "n", " ", KeyEsc, KeyEnter});
    ExpectRunWithWaits(2, -1, -1);
    EXPECT_TRUE(askedBoardOne) << "recall check not built yet?";
    EXPECT_EQ(screen.titles.size(), 2u);
    EXPECT_EQ(G.ColorPrinting, 1);
    // Today's date again (the virtual clock's 12/07/26).
    EXPECT_EQ(G.GameMonth, 12);
    EXPECT_EQ(G.GameDay, 7);
    EXPECT_EQ(G.GameYear, 26);
}

}  // namespace
