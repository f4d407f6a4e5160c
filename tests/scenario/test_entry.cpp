#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "console/kit.h"
#include "game/entry.h"
#include "model/model.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

namespace {


}  // namespace

class EntryTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ShowHeader();
        sound.played.clear();
    }
    // The screen at the first wait for a key.
    void AtFirstWait(std::function<void(ScriptedConsole&)> check) {
        console.onReadKey = [this, check](ScriptedConsole& c) {
            if (c.ReadKeyCalls() == 1) check(c);
        };
    }
    // Runs an entry step on the keys given; the step must return.
    void Enter(void (*step)(), const std::string& keys) {
        console.Type(keys);
        ASSERT_FALSE(Run(step)) << console.Dump();
    }
    // A later run of the program.
    void NextRun() {
        ResetGameModel();
        initialize();
    }
};

TEST_F(EntryTest, ClubNamePromptOffersTheRememberedNameAndEnterKeepsIt) {
    G.ClubNamePrompt = 1;
    WriteFile("CLUBNAME.KM", "  Keelward Bridge Club  \r\n");
    AtFirstWait([](ScriptedConsole& c) {
        ExpectShown(c, {{17, 13, "Enter club name:", YELLOW, BLUE},
                        {17, 33, "Keelward Bridge Club", BRIGHTWHITE, BLUE}});
        EXPECT_EQ(c.Row(), 17);
        EXPECT_EQ(c.Column(), 33);
    });
    Enter(EnterClubName, KeyEnter);
    EXPECT_EQ(G.ClubName, "Keelward Bridge Club");
    EXPECT_TRUE(console.Shows(6, 35, "Keelward Bridge Club", BRIGHTWHITE, BLUE));
    EXPECT_EQ(console.Text(6, 55, 23), std::string(23, ' '));
    // Nothing typed, nothing written.
    EXPECT_EQ(ReadFile("CLUBNAME.KM"), "  Keelward Bridge Club  \r\n");
}

TEST_F(EntryTest, ClubNameIsRememberedAcrossRunsOnlyWithThePromptSetting) {
    G.ClubNamePrompt = 1;
    Enter(EnterClubName, "Lakeside BC" + KeyEnter);
    EXPECT_EQ(ReadFile("CLUBNAME.KM"), "Lakeside BC\r\n");

    // The next run offers it.
    NextRun();
    G.ClubNamePrompt = 1;
    Enter(EnterClubName, KeyEnter);
    EXPECT_EQ(G.ClubName, "Lakeside BC");

    // With the setting no the file is neither read nor written.
    NextRun();
    G.ClubNamePrompt = 0;
    G.ClubName = "Old Club";
    AtFirstWait([](ScriptedConsole& c) { EXPECT_TRUE(c.Shows(17, 33, "Old Club ")); });
    Enter(EnterClubName, "Hilltop" + KeyEnter);
    EXPECT_EQ(G.ClubName, "Hilltop");
    EXPECT_EQ(ReadFile("CLUBNAME.KM"), "Lakeside BC\r\n");

    // Nor during a PBN import.
    G.ClubNamePrompt = 1;
    G.PbnImportMode = 1;
    console.onReadKey = nullptr;
    Enter(EnterClubName, "Imported" + KeyEnter);
    EXPECT_EQ(G.ClubName, "Imported");
    EXPECT_EQ(ReadFile("CLUBNAME.KM"), "Lakeside BC\r\n");
}

TEST_F(EntryTest, EscAtClubNameKeepsTheNameAndTheField) {
    G.ClubNamePrompt = 0;
    G.ClubName = "Kept";
    Enter(EnterClubName, "New" + KeyEsc);
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.ClubName, "Kept");
    EXPECT_EQ(console.Text(6, 35, 10), std::string(10, ' '));
}

TEST_F(EntryTest, ClubNameFileThatCannotBeWrittenWarnsAndGoesOn) {
    G.ClubNamePrompt = 1;
    std::filesystem::create_directory("CLUBNAME.KM");
    std::string warning;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (c.ReadKeyCalls() == 4) warning = c.Text(22, 1, 80);
    };
    Enter(EnterClubName, "AB" + KeyEnter + " ");   // the blank answers the warning
    // The system's reason follows the name.
    EXPECT_NE(warning.find(" Could not write CLUBNAME.KM: "), std::string::npos) << warning;
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    EXPECT_EQ(G.ClubName, "AB");
    EXPECT_TRUE(console.Shows(6, 35, "AB", BRIGHTWHITE));
}

TEST_F(EntryTest, EventNameOfANewGameShowsNoDefaultYetEnterKeepsIt) {
    G.EventName = "Spring Pairs";
    AtFirstWait([](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(17, 13, "Enter event name: ", YELLOW, BLUE));
        EXPECT_EQ(c.Text(17, 31, 45), std::string(45, ' '));
        EXPECT_EQ(c.Column(), 32);
    });
    Enter(EnterEventName, KeyEnter);
    EXPECT_EQ(G.EventName, "Spring Pairs");
    EXPECT_TRUE(console.Shows(9, 35, "Spring Pairs", BRIGHTWHITE));

    // A typed name replaces it; more than 40 characters beep.
    console.onReadKey = nullptr;
    Enter(EnterEventName, std::string(41, 'e') + KeyEnter);
    EXPECT_EQ(G.EventName, std::string(40, 'e'));
    EXPECT_EQ(sound.Count("beep2"), 1);
}

TEST_F(EntryTest, EventNameOfAPbnImportIsOfferedAsDefault) {
    G.PbnImportMode = 1;
    G.EventName = "Club Teams";
    AtFirstWait([](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(17, 32, "Club Teams", BRIGHTWHITE, BLUE));
        EXPECT_EQ(c.Column(), 32);
    });
    Enter(EnterEventName, KeyEnter);
    EXPECT_EQ(G.EventName, "Club Teams");
}

TEST_F(EntryTest, SessionEnterBeepsAndLowerCaseAChoosesAfternoon) {
    G.SessionNumber = 3;
    AtFirstWait([](ScriptedConsole& c) {
        EXPECT_EQ(G.SessionNumber, 0);
        EXPECT_TRUE(MatchesGolden(c, "entry-session"));
        EXPECT_EQ(c.Row(), 20);
        EXPECT_EQ(c.Column(), 47);
        EXPECT_TRUE(c.CursorVisible());
    });
    console.Press(KeyEnter);
    console.Press(KeyUp);
    console.Type("a");
    ASSERT_FALSE(Run(EnterSession));
    EXPECT_EQ(sound.Count("beep2"), 2);
    EXPECT_EQ(G.SessionNumber, 2);
    EXPECT_TRUE(console.Shows(8, 35, "Afternoon", BRIGHTWHITE, BLUE));

    console.onReadKey = nullptr;
    Enter(EnterSession, "L");
    EXPECT_EQ(G.SessionNumber, 4);
    EXPECT_EQ(console.Text(8, 35, 9), "Late     ");

    Enter(EnterSession, KeyEsc);
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.SessionNumber, 0);
}

TEST_F(EntryTest, BoardCountIgnoresOtherKeysSilently) {
    AtFirstWait([](ScriptedConsole& c) {
        EXPECT_TRUE(MatchesGolden(c, "entry-board-count"));
        EXPECT_EQ(c.Column(), 49);
    });
    Enter(EnterBoardCount, "3" + KeyEnter + "2");
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(console.ReadKeyCalls(), 3);
    EXPECT_EQ(G.TotalBoards, 24);
    EXPECT_TRUE(console.Shows(10, 35, "24", BRIGHTWHITE, BLUE));

    console.onReadKey = nullptr;
    Enter(EnterBoardCount, "1");
    EXPECT_EQ(G.TotalBoards, 36);

    Enter(EnterBoardCount, KeyEsc);
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.TotalBoards, 36);
}

TEST_F(EntryTest, InvalidDateIsShownAndKeptWhileTheDateIsAskedAgain) {
    std::vector<bool> invalidShown;
    console.onReadKey = [&](ScriptedConsole& c) {
        invalidShown.push_back(c.Shows(22, 33, " Invalid date ", BRIGHTWHITE, MAGENTA));
        if (c.ReadKeyCalls() == 1) {
            EXPECT_TRUE(c.Shows(17, 13, "Enter game date <mm/dd/yy>: ", YELLOW, BLUE));
            EXPECT_EQ(c.Text(17, 41, 20), std::string(20, ' '));
            EXPECT_EQ(c.Column(), 42);
        }
    };
    // "01" is too short: it beeps inside the field.
    Enter(EnterGameDate, "023009" + KeyEnter + "01" + KeyEnter + "0509" + KeyEnter);
    ASSERT_EQ(invalidShown.size(), 15u);
    for (size_t i = 0; i < 7; i++) EXPECT_FALSE(invalidShown[i]) << i;
    for (size_t i = 7; i < 15; i++) EXPECT_TRUE(invalidShown[i]) << i;
    EXPECT_EQ(sound.Count("beep2"), 2);
    EXPECT_EQ(G.GameMonth * 10000 + G.GameDay * 100 + G.GameYear, 10509);
    EXPECT_EQ(G.DateValid, 1);
    EXPECT_EQ(console.Text(7, 35, 37), "Monday, January 5, 2009" + std::string(14, ' '));
    EXPECT_EQ(console.Fg(7, 35), BRIGHTWHITE);
    EXPECT_FALSE(console.CursorVisible());
    EXPECT_EQ(clock.pauses.back(), 250);
}

TEST_F(EntryTest, NewGameRefusesYearZeroButPbnImportTakesIt) {
    std::string before = G.DateText;
    Enter(EnterGameDate, "010100" + KeyEnter + KeyEsc);
    EXPECT_TRUE(console.Shows(22, 33, " Invalid date ", BRIGHTWHITE, MAGENTA));
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(G.DateValid, 0);
    EXPECT_EQ(G.DateText, before);

    G.PbnImportMode = 1;
    Enter(EnterGameDate, "010100" + KeyEnter);
    EXPECT_EQ(G.DateValid, 1);
    EXPECT_EQ(G.DateText, "Saturday, January 1");
    EXPECT_EQ(G.FullYear, 2000);
}

TEST_F(EntryTest, ConfirmationQuestionsStandWithTheCursorOnTheDefault) {
    struct Case {
        void (*step)();
        int column, cursor;
        const char* text;
        int defaultAnswer;
        bool clears;
    };
    const Case cases[3] = {
        {ConfirmEntries, 28, 47, "Entries correct?  (Y/n)", 1, true},
        {ConfirmDateSession, 18, 60, "Are the Date and Session specs correct?  (Y/n)", 1, true},
        {AskChangeNames, 16, 61, "Make changes to Event Name or Club Name?  (y/N)", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ConsoleLocate(15, 10);
        ConsoleWrite("left over");
        console.onReadKey = [&](ScriptedConsole& con) {
            EXPECT_TRUE(con.Shows(18, c.column, c.text, YELLOW, BLUE));
            EXPECT_EQ(con.Row(), 18);
            EXPECT_EQ(con.Column(), c.cursor);
            EXPECT_EQ(con.Shows(15, 10, "left over"), !c.clears);
        };
        Enter(c.step, KeyEnter);
        EXPECT_EQ(G.YesNoAnswer, c.defaultAnswer);
    }
}

// Names take the accented letters of code page 437 as the keyboard gives
// them ("Caf\x82 Cr\x8ame" is "Café Crème"); a key outside them still beeps.
TEST_F(EntryTest, NamesTakeAccentedLetters) {
    G.ClubNamePrompt = 0;
    Enter(EnterClubName, "Caf\x82 Cr\x8ame\xb0\r");
    EXPECT_EQ(G.ClubName, "Caf\x82 Cr\x8ame");
    EXPECT_EQ(sound.Count("beep2"), 1);   // the shaded block
    Enter(EnterEventName, "\x84t\xe1\r");
    EXPECT_EQ(G.EventName, "\x84t\xe1");
}

// A path too long for its row ends at the frame with "...", the frame
// itself left whole.
TEST_F(EntryTest, APathLongerThanTheRowEndsAtTheFrame) {
    G.PbnFilePath = std::string(50, 'f') + "\\150307A.pbn";
    ASSERT_FALSE(Run(ShowPbnFound));
    const std::string row = console.Text(14, 20, 58);
    EXPECT_EQ(row, FitToFrame("PBN File found: " + SystemPath(G.PbnFilePath), 20));
    EXPECT_EQ(row.substr(row.size() - 3), "...");
    EXPECT_EQ(console.CharAt(14, 78), (unsigned char)DBL_VERT);
}

// The screen shows what the import set, and what it changed: the notes wait
// for a key when the names are to be asked next (they would be gone at once).
TEST_F(EntryTest, PbnFoundShowsTheNamesTheBoardCountAndTheNotes) {
    G.PbnFilePath = "gamefile.km\\150307A.pbn";
    G.ClubName = std::string(38, 'S');
    G.EventName = "Club Pairs";
    G.PbnBoardCount = 27;
    ASSERT_FALSE(Run(ShowPbnFound));
    EXPECT_TRUE(MatchesGolden(console, SystemGolden("entry-pbn-found")));
    EXPECT_EQ(console.ReadKeyCalls(), 0);

    G.PbnNotes = {"The file's club name is cut to its first 40 characters", "Boards 101-126 are shown as 1-26"};
    for (int ask : {0, 1}) {
        G.PbnAskNames = ask;
        if (ask) console.Type(" ");
        ASSERT_FALSE(Run(ShowPbnFound));
        EXPECT_TRUE(console.Shows(15, 8, G.PbnNotes[0], YELLOW, BLUE));
        EXPECT_TRUE(console.Shows(16, 8, G.PbnNotes[1], YELLOW, BLUE));
        EXPECT_EQ(console.ReadKeyCalls(), ask);
    }
}

TEST_F(EntryTest, DateMoreThanAYearAfterTodayIsRefusedAtTheField) {
    struct Case {
        int year, month, day;   // today, from the clock
        const char* typed;
        bool accepted;
        int pbnImport = 0;
    };
    const Case cases[] = {
        {2026, 12, 8, "120827", true},  {2026, 12, 8, "120927", false},
        {2026, 12, 8, "030715", true},  {2026, 12, 8, "061535", false},
        {2026, 12, 8, "123199", false}, {2015, 3, 10, "031051", false},
        {2028, 2, 29, "022829", true},  {2028, 2, 29, "030129", false},
        {2026, 12, 8, "010128", false, 1},
    };
    std::string field;   // the date field at the last wait
    console.onReadKey = [&](ScriptedConsole& con) { field = con.Text(17, 42, 8); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        clock.SetDate(c.year, c.month, c.day);
        G.PbnImportMode = c.pbnImport;
        sound.played.clear();
        // A refused date is asked again: Esc leaves.
        Enter(EnterGameDate, std::string(c.typed) + KeyEnter + (c.accepted ? "" : KeyEsc));
        EXPECT_EQ(console.KeysLeft(), 0u);
        while (console.KeysLeft() > 0) console.ReadKey();
        EXPECT_EQ(G.DateValid, c.accepted ? 1 : 0);
        EXPECT_EQ(sound.Count("beep2"), c.accepted ? 0 : 1);
        EXPECT_EQ(console.Shows(22, 33, " Invalid date ", BRIGHTWHITE, MAGENTA), !c.accepted);
        EXPECT_EQ(field == std::string(8, ' '), !c.accepted) << field;
    }
}
