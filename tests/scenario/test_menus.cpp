// The main menu, the printing options and the manual on the scripted
// console.
#include <cstdlib>

#include "model/model.h"
#include "shell/kit.h"
#include "shell/menus.h"
#include "support/doubles.h"

namespace {

// Counts the hand-overs of the terminal to another program.
class HandingConsole : public ScriptedConsole {
public:
    void Suspend() override { events.push_back("suspend"); }
    void Resume() override { events.push_back("resume"); }
    std::vector<std::string> events;
};

class MenuTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ShowHeader();
    }
    void TearDown() override {
        unsetenv("comspec");
        KelmoTest::TearDown();
    }
    void ExpectHotKeyLine(const ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(23, 5, "S", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(23, 6, "etup", BROWN, BLUE));
        EXPECT_TRUE(c.Shows(23, 73, "H", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(23, 74, "elp", BROWN, BLUE));
    }
    void ExpectMainMenu(const ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(14, 29, "(N) New game", YELLOW, BLUE)) << c.Dump();
        EXPECT_TRUE(c.Shows(15, 29, "(R) Recall a game", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(16, 29, "(I) Import Hands for a Multi-Site event", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(17, 29, "(P) Import game from a PBN file", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(20, 34, "Select:  N", YELLOW, BLUE));
        ExpectHotKeyLine(c);
        EXPECT_EQ(c.Row(), 20);
        EXPECT_EQ(c.Column(), 43);
        EXPECT_TRUE(c.CursorVisible());
        EXPECT_EQ(c.CursorSize(), 99);
    }
};

TEST_F(MenuTest, MainMenuScreenAndCursor) {
    int checks = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        ExpectMainMenu(c);
        checks++;
    };
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run(MainMenu));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(G.MenuChoice, "NEW GAME");
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(MenuTest, MainMenuKeysInEitherCase) {
    const struct {
        const char* key;
        const char* choice;
        int pbn;
    } cases[] = {{"n", "NEW GAME", 0},        {"N", "NEW GAME", 0},
                 {"r", "OLD GAME", 0},        {"R", "OLD GAME", 0},
                 {"i", "MULTI-SITE GAME", 0}, {"p", "PBN IMPORT", 1},
                 {"P", "PBN IMPORT", 1},      {"s", "SETTINGS", 0},
                 {"h", "HELP", 0},            {"H", "HELP", 0}};
    for (const auto& c : cases) {
        // A P choice of an earlier showing does not last into this one.
        G.PbnImportMode = 1;
        console.Type(c.key);
        ASSERT_FALSE(Run(MainMenu));
        EXPECT_EQ(G.MenuChoice, c.choice) << c.key;
        EXPECT_EQ(G.PbnImportMode, c.pbn) << c.key;
        EXPECT_EQ(G.KeyText, UpperKey(c.key));
    }
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(MenuTest, MainMenuRefusesOtherKeysAndStaysOnScreen) {
    for (const std::string& key : {std::string("5"), std::string("0"), KEY_UP, KEY_F1,
                                   std::string("q"), std::string(" "), std::string(KEY_BACKSPACE)})
        console.Press(key);
    console.Type("r");
    int waits = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        ExpectMainMenu(c);
        EXPECT_EQ(sound.Count("beep2"), waits);
        waits++;
    };
    ASSERT_FALSE(Run(MainMenu));
    EXPECT_EQ(waits, 8);
    EXPECT_EQ(G.MenuChoice, "OLD GAME");
}

TEST_F(MenuTest, MainMenuEscSetsAbandonFlag) {
    G.MenuChoice = "";
    console.Press(KEY_ESC);
    ASSERT_FALSE(Run(MainMenu));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.MenuChoice, "");
}

TEST_F(MenuTest, PrintingOptionsScreen) {
    int checks = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(14, 32, "PRINTING OPTIONS", LIGHTGREEN, BLUE)) << c.Dump();
        EXPECT_EQ(c.Text(15, 4, 74), std::string(74, ' '));
        EXPECT_TRUE(c.Shows(16, 25, "(1) Director's Dupe Sheet", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(17, 25, "(2) Player printouts", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(18, 25, "(3) Hand-Records for duplication", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(19, 25, "(Q) Exit", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(21, 34, "Select:  ", YELLOW, BLUE));
        ExpectHotKeyLine(c);
        EXPECT_EQ(c.Row(), 21);
        EXPECT_EQ(c.Column(), 43);
        EXPECT_TRUE(c.CursorVisible());
        checks++;
    };
    console.Type("Q");
    ASSERT_FALSE(Run(PrintingOptions));
    EXPECT_EQ(checks, 1);
}

TEST_F(MenuTest, PrintingOptionsLeaveWithQOrEscWithoutAbandoning) {
    for (const std::string& key : {std::string("q"), std::string("Q"), std::string(KEY_ESC)}) {
        G.AbandonFlag = 1;
        console.Press(key);
        ASSERT_FALSE(Run(PrintingOptions));
        EXPECT_EQ(G.AbandonFlag, 0);
        EXPECT_EQ(console.KeysLeft(), 0u);
    }
}

TEST_F(MenuTest, PrintingOptionsRefusedKeyBeepsAndRedraws) {
    console.Type("x");
    console.Press(KEY_DOWN);
    console.Type("q");
    int waits = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(14, 32, "PRINTING OPTIONS", LIGHTGREEN, BLUE));
        EXPECT_EQ(sound.Count("beep2"), waits);
        waits++;
    };
    ASSERT_FALSE(Run(PrintingOptions));
    EXPECT_EQ(waits, 3);
}

TEST_F(MenuTest, PrintingOptionsSetupRedrawsTheHeaderWithoutTheFields) {
    G.ClubName = "Keelward Bridge Club";
    G.EventName = "Pairs";
    G.TotalBoards = 24;
    ShowGameFields();
    ASSERT_TRUE(console.Shows(6, 35, "Keelward"));
    // "S" opens the settings; its first "Q" leaves the settings, the second
    // the menu.
    console.Type("sqq");
    bool sawRedrawnMenu = false;
    int menuShowings = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        bool menuWaits = c.Shows(14, 32, "PRINTING OPTIONS") && c.Row() == 21 && c.Column() == 43;
        if (menuWaits && ++menuShowings == 2) {
            EXPECT_TRUE(c.Shows(14, 32, "PRINTING OPTIONS", LIGHTGREEN, BLUE)) << c.Dump();
            EXPECT_TRUE(c.Shows(6, 10, "CLUB NAME", LIGHTCYAN, BLUE));
            EXPECT_EQ(c.Text(6, 35, 40), std::string(40, ' '));
            EXPECT_EQ(c.Text(9, 35, 40), std::string(40, ' '));
            EXPECT_EQ(c.Text(10, 35, 2), "  ");
            sawRedrawnMenu = true;
        }
    };
    Run(PrintingOptions);
    EXPECT_TRUE(sawRedrawnMenu);
}

TEST_F(MenuTest, ManualOpensWithTheDesktopOpenerAroundASuspendedScreen) {
    HandingConsole handing;
    P.console = &handing;
    unsetenv("comspec");
    ShowManual();
    ASSERT_EQ(process.runs.size(), 1u) << "manual not found";
    const auto& argv = process.runs[0];
    ASSERT_EQ(argv.size(), 2u);
    EXPECT_EQ(argv[0], "xdg-open");
    EXPECT_EQ(argv[1].rfind("file:///", 0), 0u) << argv[1];
    const std::string tail = "/Bridge/Software/Manuals/Kelmo-Manual.htm";
    ASSERT_GE(argv[1].size(), tail.size());
    EXPECT_EQ(argv[1].substr(argv[1].size() - tail.size()), tail);
    EXPECT_EQ(handing.events, (std::vector<std::string>{"suspend", "resume"}));
}

TEST_F(MenuTest, ManualThroughTheCommandInterpreterWhenComspecIsSet) {
    setenv("comspec", "C:\\Windows\\system32\\cmd.exe", 1);
    ShowManual();
    ASSERT_EQ(process.runs.size(), 1u);
    const auto& argv = process.runs[0];
    ASSERT_EQ(argv.size(), 4u);
    EXPECT_EQ(argv[0], "C:\\Windows\\system32\\cmd.exe");
    EXPECT_EQ(argv[1], "/c");
    EXPECT_EQ(argv[2], "start");
    EXPECT_NE(argv[3].find("/Bridge/Software/Manuals/Kelmo-Manual.htm"), std::string::npos);
}

TEST_F(MenuTest, ManualFailingToOpenShowsNothing) {
    process.result = 3;
    const std::string before = console.Dump();
    ShowManual();
    EXPECT_EQ(console.Dump(), before);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(MenuTest, ManualAddressEscapesBlanksAndOtherBytes) {
    EXPECT_EQ(FileAddress("/home/club/Kelmo-Manual.htm"), "file:///home/club/Kelmo-Manual.htm");
    EXPECT_EQ(FileAddress("/My Club/a#b%c"), "file:///My%20Club/a%23b%25c");
    EXPECT_EQ(FileAddress("/caf\xc3\xa9"), "file:///caf%C3%A9");
}

}  // namespace
