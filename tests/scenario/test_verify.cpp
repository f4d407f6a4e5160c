#include "console/kit.h"
#include "dealing/deal.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

class VerifyTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ShowHeader();
    }
    // Board 1 of the game #91722 31459, dealt silently as on the recall path.
    void DealExampleBoardOne() {
        G.GameMonth = 3, G.GameDay = 7, G.GameYear = 15;
        G.SessionNumber = 2, G.GameNumber = 1234, G.TotalBoards = 24;
        ApplyDealingKey();
        DealBoards(1, 1, 0);
    }
};

TEST_F(VerifyTest, ShowsBoardOneInItsBoxAndAcceptsYes) {
    DealExampleBoardOne();
    bool looked = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (looked) return;
        looked = true;
        // East's longest suit is 7: a box 29 columns wide, columns 40..68.
        EXPECT_TRUE(MatchesGolden(c, "verify-board-one"));
        EXPECT_TRUE(c.CursorVisible());
        EXPECT_EQ(c.Row(), 22);
        EXPECT_EQ(c.Column(), 64);
        EXPECT_EQ(c.CharAt(22, 64), 'Y');
    };
    console.Type("q");
    console.Type("y");
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_TRUE(looked);
    EXPECT_EQ(G.BoardOneMatches, 1);
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(VerifyTest, EnterMeansYesAndEscAbandons) {
    DealExampleBoardOne();
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_EQ(G.BoardOneMatches, 1);

    G.BoardOneMatches = 7;
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.BoardOneMatches, 7);
}

TEST_F(VerifyTest, NoShowsTheIncompatibilityNoticeAndWaits) {
    DealExampleBoardOne();
    int waits = 0;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (++waits != 2) return;
        EXPECT_TRUE(MatchesGolden(c, "verify-incompatible"));
        EXPECT_FALSE(c.CursorVisible());
        EXPECT_EQ(c.Foreground(), YELLOW);
    };
    console.Type("n");
    console.Type("z");   // any key closes the notice
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_EQ(waits, 2);
    EXPECT_EQ(G.BoardOneMatches, 0);
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(VerifyTest, BoxWidthFollowsEastsLongestSuit) {
    G.HandMasks[1][1][3] = 0x1FFF;   // East: thirteen clubs
    SummarizeBoard(1);
    console.Type("y");
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_TRUE(MatchesGolden(console, "verify-thirteen-clubs"));

    G.HandMasks[1][1][3] = 0x000F;   // four clubs
    SummarizeBoard(1);
    ShowHeader();
    console.Type("y");
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_TRUE(console.Shows(6, 40, "\xDA" + std::string(24, '\xC4') + "\xBF"));
}

TEST_F(VerifyTest, DataImportErrorMessage) {
    bool looked = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        looked = true;
        EXPECT_FALSE(c.CursorVisible());
        EXPECT_TRUE(MatchesGolden(c, "data-import-error"));   // the header is gone
    };
    console.Type("k");
    ASSERT_FALSE(Run(ShowDataImportError));
    EXPECT_TRUE(looked);
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
    EXPECT_EQ(console.KeysLeft(), 0u);
}
