#include "console/kit.h"
#include "dealing/control.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

class ControlEntryTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ShowHeader();
    }
    void Enter(const std::string& typed) {
        console.Type(typed);
        console.Press(KeyEnter);
    }
    static void ExpectDate(int month, int day, int year) {
        EXPECT_EQ(G.GameMonth, month);
        EXPECT_EQ(G.GameDay, day);
        EXPECT_EQ(G.GameYear, year);
    }
};

TEST_F(ControlEntryTest, PromptAndAcceptedNumber) {
    bool checked = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (checked) return;
        checked = true;
        EXPECT_TRUE(c.Shows(15, 13, "Enter control string from handrecord:", YELLOW, BLUE));
        EXPECT_EQ(c.Text(15, 53, 20), std::string(20, ' '));
        EXPECT_EQ(c.Row(), 15);
        EXPECT_EQ(c.Column(), 53);
    };
    Enter("91722 31459");
    ASSERT_FALSE(Run(EnterControlString));
    EXPECT_TRUE(console.Shows(15, 53, "91722 31459", BRIGHTWHITE, BLUE));
    EXPECT_EQ(G.ControlString, "#91722 31459");
    ExpectDate(3, 7, 15);
    EXPECT_EQ(G.GameNumber, 1234);
    EXPECT_EQ(G.SessionNumber, 2);
    EXPECT_EQ(G.TotalBoards, 24);
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(ControlEntryTest, InputErrorThenRetry) {
    int waits = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (++waits == 12) { EXPECT_TRUE(MatchesGolden(c, "control-input-error")); }   // after the refused number
    };
    Enter("9172231458");
    console.Press(" ");   // any key
    Enter("90701 1125x");
    ASSERT_FALSE(Run(EnterControlString));
    EXPECT_GE(waits, 12);
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(G.ControlString, "#90701 1125X");
    EXPECT_EQ(G.GameNumber, 12);
    // The prompt came back on a cleared work area.
    EXPECT_EQ(console.Text(22, 28, 25), std::string(25, ' '));
}

TEST_F(ControlEntryTest, HashIsNotTypedAndEscLeavesNothing) {
    console.Type("#9");
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(EnterControlString));
    EXPECT_EQ(sound.Count("beep2"), 1);   // "#" is not allowed
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.ControlString, "");
}

TEST_F(ControlEntryTest, SerialDigitsBeyondAYearFromTodayAreRefused) {
    // Digits 9999: 05/17/28, more than a year ahead of December 2026.
    std::string later = MakeControlString(9999, 4321, 1, 36).substr(1);
    clock.SetDate(2026, 12, 7);
    Enter(later);
    console.Press(" ");
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(EnterControlString));
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(G.ControlString, "");

    clock.SetDate(2028, 2, 1);
    Enter(later);
    ASSERT_FALSE(Run(EnterControlString));
    ExpectDate(5, 17, 28);
    EXPECT_EQ(G.TotalBoards, 36);

    // A 2035 game typed in 2035 comes back to 2035.
    clock.SetDate(2035, 7, 1);
    Enter(MakeControlString(12584, 1, 3, 24).substr(1));
    ASSERT_FALSE(Run(EnterControlString));
    ExpectDate(6, 15, 35);
}
