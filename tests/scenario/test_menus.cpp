// The main menu, the printing options and the manual on the scripted
// console.
#include <cstdlib>

#include "console/kit.h"
#include "model/model.h"
#include "platform/files.h"
#include "printing/print.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

// Two-byte keys are pressed, anything else typed a character at a time.
void Keys(ScriptedConsole& c, const std::vector<std::string>& keys) {
    for (const auto& k : keys) k.size() == 2 && k[0] == '\0' ? c.Press(k) : c.Type(k);
}

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
        const char* options[] = {"(N) New game", "(R) Recall a game", "(I) Import Hands for a Multi-Site event",
                                 "(P) Import game from a PBN file"};
        for (int i = 0; i < 4; i++) EXPECT_TRUE(c.Shows(14 + i, 29, options[i], YELLOW, BLUE)) << c.Dump();
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
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(MainMenu));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(G.MenuChoice, "NEW GAME");
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(MenuTest, MainMenuKeysInEitherCase) {
    const struct {
        std::string key;
        const char* choice;
        int pbn;
    } cases[] = {{"n", "NEW GAME", 0},        {"N", "NEW GAME", 0},
                 {"r", "OLD GAME", 0},        {"R", "OLD GAME", 0},
                 {"i", "MULTI-SITE GAME", 0}, {"p", "PBN IMPORT", 1},
                 {"P", "PBN IMPORT", 1},      {"s", "SETTINGS", 0},
                 {"h", "HELP", 0},            {"H", "HELP", 0},
                 {KeyF1, "HELP", 0}};   // the footer says Help: F1 is help too
    for (const auto& c : cases) {
        // A P choice of an earlier showing does not last into this one.
        G.PbnImportMode = 1;
        console.Press(c.key);
        ASSERT_FALSE(Run(MainMenu));
        EXPECT_EQ(G.MenuChoice, c.choice) << c.key;
        EXPECT_EQ(G.PbnImportMode, c.pbn) << c.key;
        EXPECT_EQ(G.KeyText, UpperKey(c.key));
    }
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(MenuTest, MainMenuRefusesOtherKeysAndStaysOnScreen) {
    Keys(console, {"5", "0", KeyUp, FunctionKey(2), "q", " ", KeyBackspace, "r"});
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
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(MainMenu));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.MenuChoice, "");
}

TEST_F(MenuTest, PrintingOptionsScreen) {
    int checks = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(14, 32, "PRINTING OPTIONS", LIGHTGREEN, BLUE)) << c.Dump();
        EXPECT_EQ(c.Text(15, 4, 74), std::string(74, ' '));
        const char* options[] = {"(1) Director's Dupe Sheet", "(2) Player printouts",
                                 "(3) Hand-Records for duplication", "(Q) Exit"};
        for (int i = 0; i < 4; i++) EXPECT_TRUE(c.Shows(16 + i, 25, options[i], YELLOW, BLUE)) << i;
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

// Where the last printout went is said once on row 22, under the menu.
TEST_F(MenuTest, PrintingOptionsSayWhereThePrintoutWentOnce) {
    const struct {
        JobResult result;
        const char* note;
    } cases[] = {
        {{JobResult::Printed, "PRINTS/150307A-dupe.pdf", "kelmotest"}, "Sent to kelmotest; kept PRINTS/150307A-dupe.pdf"},
        {{JobResult::Printed, "", "Club Laser"}, "Sent to Club Laser"},
        {{JobResult::KeptOnly, "PRINTS/150307A-dupe-2.pdf", ""}, "Saved PRINTS/150307A-dupe-2.pdf"},
        {{JobResult::KeptOnly, "", ""}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PrintNote(c.result), c.note);
    G.MenuNote = cases[0].note;
    std::vector<std::string> rows;
    console.onReadKey = [&](ScriptedConsole& c) { rows.push_back(c.Text(22, 4, 74)); };
    console.Type("7Q");
    ASSERT_FALSE(Run(PrintingOptions));
    const std::string shown = " Sent to kelmotest; kept PRINTS/150307A-dupe.pdf ";
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], std::string(12, ' ') + shown + std::string(13, ' '));
    EXPECT_EQ(rows[1], std::string(74, ' '));   // said once
}

// With nowhere for a job to go, each printout says so at once, before any
// question about paper, and nothing is printed.
TEST_F(MenuTest, PrintingOptionsSayThereIsNoPrinterBeforeAnyPaper) {
    RecordingPrinter printer;
    printer.cannotPrint = "No printer is installed: add one in Settings, or Microsoft Print to PDF";
    P.printer = &printer;
    std::vector<std::string> rows;
    console.onReadKey = [&](ScriptedConsole& c) { rows.push_back(c.Text(22, 4, 74) + c.Text(16, 4, 74)); };
    console.Type("1 2 3 Q");
    ASSERT_FALSE(Run(PrintingOptions));
    ASSERT_EQ(rows.size(), 7u);
    for (size_t i : {1u, 3u, 5u}) EXPECT_NE(rows[i].find(" " + printer.cannotPrint + " "), std::string::npos) << rows[i];
    for (const std::string& row : rows)
        for (const char* asked : {"Load paper", "Number of copies", "Printing..."})
            EXPECT_EQ(row.find(asked), std::string::npos) << row;
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(MenuTest, PrintingOptionsLeaveWithQOrEscWithoutAbandoning) {
    for (const std::string& key : {std::string("q"), std::string("Q"), std::string(KeyEsc)}) {
        G.AbandonFlag = 1;
        console.Press(key);
        ASSERT_FALSE(Run(PrintingOptions));
        EXPECT_EQ(G.AbandonFlag, 0);
        EXPECT_EQ(console.KeysLeft(), 0u);
    }
}

TEST_F(MenuTest, PrintingOptionsRefusedKeyBeepsAndRedraws) {
    Keys(console, {"x", KeyDown, "q"});
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
    G.ClubName = "Keelward Bridge Club", G.EventName = "Pairs", G.TotalBoards = 24;
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

// The opener without "comspec", and with it (which only Windows reads).
#ifdef _WIN32
const std::vector<std::string> DefaultOpener = {"cmd.exe", "/c", "start"};
const std::vector<std::string> ComspecOpener = {"C:\\Windows\\system32\\cmd.exe", "/c", "start"};
#else
const std::vector<std::string> DefaultOpener = {"xdg-open"}, ComspecOpener = DefaultOpener;
#endif

TEST_F(MenuTest, ManualOpensWithTheDesktopOpenerOrComspecAroundASuspendedScreen) {
    const std::string cmd = "C:\\Windows\\system32\\cmd.exe";
    const struct { const char* comspec; std::vector<std::string> opener; } cases[] = {
        {nullptr, DefaultOpener}, {cmd.c_str(), ComspecOpener}};
    const std::string tail = "/Bridge/Software/Manuals/Kelmo-Manual.htm";
    HandingConsole handing;
    P.console = &handing;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opener[0]);
        handing.events.clear();
        process.runs.clear();
        if (c.comspec) setenv("comspec", c.comspec, 1);
        else unsetenv("comspec");
        ShowManual();
        ASSERT_EQ(process.runs.size(), 1u) << "manual not found";
        std::vector<std::string> argv = process.runs[0];
        ASSERT_EQ(argv.size(), c.opener.size() + 1);
        const std::string address = argv.back();
        argv.pop_back();
        EXPECT_EQ(argv, c.opener);
        EXPECT_EQ(address.rfind("file:///", 0), 0u) << address;
        ASSERT_GE(address.size(), tail.size());
        EXPECT_EQ(address.substr(address.size() - tail.size()), tail);
        EXPECT_EQ(handing.events, (std::vector<std::string>{"suspend", "resume"}));
    }
}

TEST_F(MenuTest, ManualThatCannotBeOpenedIsSaidByTheMenuAndTheNextKeyActs) {
    // The row names the manual's path, for the director to open it another
    // way; a long path pushes the reason out, and a longer one its start.
    const std::string deep = "a-folder-with-a-rather-long-name/and-another-one-below-it/manual.htm";
    const struct {
        const char* name;
        std::string path;
        int result;   // of the opener
        std::string shown;
    } cases[] = {
        {"missing file", "", 0, "Cannot open the manual: Kelmo-Manual.htm is missing"},
        {"opener did not start", "manual.htm", -1,
         "Cannot open the manual (" + DefaultOpener[0] + " did not start): manual.htm"},
        {"opener failed", "manual.htm", 3,
         "Cannot open the manual (" + DefaultOpener[0] + " ended with code 3): manual.htm"},
        {"long path", "a-folder-with-a-rather-long-name/manual.htm", 3,
         "Open the manual yourself: " + SystemPath("a-folder-with-a-rather-long-name/manual.htm")},
        {"longer path", deep, 3, "Manual: ..." + SystemPath(deep).substr(SystemPath(deep).size() - 61)},
    };
    unsetenv("comspec");
    WriteFile("manual.htm", "<html></html>");
    WriteFile("a-folder-with-a-rather-long-name/manual.htm", "<html></html>");
    WriteFile(deep, "<html></html>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sound.played.clear();
        process.runs.clear();
        process.result = c.result;
        const int reads = console.ReadKeyCalls();
        ASSERT_FALSE(Run([&] { OpenManual(c.path); }));
        EXPECT_EQ(G.MenuNote, c.shown);
        EXPECT_EQ(console.ReadKeyCalls(), reads);   // nothing to dismiss
        EXPECT_EQ(process.runs.size(), c.path.empty() ? 0u : 1u);
        EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
        // The menu says it once, and the next key is the next choice.
        const std::string expected = " " + c.shown + " ";
        std::string shown;
        console.onReadKey = [&](ScriptedConsole& con) {
            if (con.Shows(22, 4 + (74 - (int)expected.size()) / 2, expected, BRIGHTWHITE, BLUE)) shown = expected;
        };
        console.Type("s");
        ASSERT_FALSE(Run(MainMenu));
        EXPECT_EQ(shown, expected) << console.Dump();
        EXPECT_EQ(G.MenuChoice, "SETTINGS");
        EXPECT_TRUE(G.MenuNote.empty());
    }
}

TEST_F(MenuTest, ManualOpenedShowsNothing) {
    const std::string before = console.Dump();
    ShowManual();
    ASSERT_EQ(process.runs.size(), 1u);
    EXPECT_EQ(console.Dump(), before);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(MenuTest, ManualAddressEscapesBlanksAndOtherBytes) {
    EXPECT_EQ(FileAddress("/home/club/Kelmo-Manual.htm"), "file:///home/club/Kelmo-Manual.htm");
    EXPECT_EQ(FileAddress("/My Club/a#b%c"), "file:///My%20Club/a%23b%25c");
    EXPECT_EQ(FileAddress("/caf\xc3\xa9"), "file:///caf%C3%A9");
    EXPECT_EQ(FileAddress("Z:\\My Club\\Kelmo-Manual.htm"), "file:///Z:/My%20Club/Kelmo-Manual.htm");
}

}  // namespace
