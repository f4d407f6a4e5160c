#include "dealing/deal.h"
#include "dealing/verify.h"
#include "model/model.h"
#include "shell/kit.h"
#include "support/doubles.h"

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
    static std::string Chars(int ch, int n) { return std::string(n, (char)ch); }
    struct Cell {
        int row, column;
        std::string text;
        int fg = -1, bg = -1;
    };
    static void ExpectScreen(const ScriptedConsole& c, std::initializer_list<Cell> cells) {
        for (const Cell& cell : cells)
            EXPECT_TRUE(c.Shows(cell.row, cell.column, cell.text, cell.fg, cell.bg))
                << cell.row << "," << cell.column << " " << cell.text << "\n" << c.Dump();
    }
};

TEST_F(VerifyTest, ShowsBoardOneInItsBoxAndAcceptsYes) {
    DealExampleBoardOne();
    bool looked = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (looked) return;
        looked = true;
        // East's longest suit is 7: a box 29 columns wide, columns 40..68.
        const int green = GREEN, white = BRIGHTWHITE;
        ExpectScreen(c, {{6, 40, Chars(218, 1) + Chars(196, 27) + Chars(191, 1), green, white},
                         {19, 40, Chars(192, 1) + Chars(196, 27) + Chars(217, 1), green, white},
                         {12, 68, Chars(179, 1), green, white},
                         {7, 50, "\x06 ", RED, white}, {7, 52, "A753", BLACK, white}, {10, 50, "\x05 J952"},
                         {11, 42, "\x06 86"}, {14, 42, "\x05 AQT"},             // West
                         {11, 58, "\x06 KQJT942"}, {12, 58, "\x03 T6"},         // East
                         {15, 50, "\x06 " + Chars(196, 2), -1, white},              // South's void
                         {16, 50, "\x03 KJ3"},
                         {22, 13, "Does this deal match Board #1 on the handrecord?  (Y/n)", YELLOW, BLUE}});
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
        ExpectScreen(c, {{13, 15, Chars(220, 55), BLACK, BLUE},
                         {14, 14, Chars(218, 1) + Chars(196, 53) + Chars(191, 1), BLUE, YELLOW},
                         {14, 69, Chars(219, 1), BLACK, BLUE},
                         {15, 14, Chars(179, 1) + " If the hands do not match and your typing is okay,  " + Chars(179, 1), BLUE, YELLOW},
                         {16, 15, " then your computer hardware is somehow incompatible ", BLUE, YELLOW},
                         {17, 15, " with the unit that produced these hands originally. ", BLUE, YELLOW},
                         {17, 69, Chars(219, 1), BLACK, BLUE},
                         {18, 14, Chars(192, 1) + Chars(196, 53) + Chars(217, 1), BLUE, YELLOW},
                         {18, 69, Chars(223, 1), BLACK, BLUE}});
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
    ExpectScreen(console, {{6, 40, Chars(218, 1) + Chars(196, 33) + Chars(191, 1)},
                           {14, 58, "\x05 AKQJT98765432"}, {14, 74, Chars(179, 1), GREEN, BRIGHTWHITE}});

    G.HandMasks[1][1][3] = 0x000F;   // four clubs
    SummarizeBoard(1);
    ShowHeader();
    console.Type("y");
    ASSERT_FALSE(Run(VerifyBoardOne));
    EXPECT_TRUE(console.Shows(6, 40, Chars(218, 1) + Chars(196, 24) + Chars(191, 1)));
}

TEST_F(VerifyTest, DataImportErrorMessage) {
    bool looked = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        looked = true;
        EXPECT_FALSE(c.CursorVisible());
        EXPECT_EQ(c.Bg(1, 1), BLACK);
        EXPECT_EQ(c.CharAt(2, 3), ' ');   // the header is gone
        const int white = BRIGHTWHITE;
        ExpectScreen(c, {{7, 14, Chars(218, 1) + Chars(196, 52) + Chars(191, 1), GREY, white},
                         {18, 14, Chars(192, 1) + Chars(196, 52) + Chars(217, 1), GREY, white},
                         {8, 31, Chars(196, 1) + " DATA IMPORT ERROR " + Chars(196, 1), RED, white},
                         {10, 16, "The ", BLUE, white}, {10, 20, "Control Number ", RED, white},
                         {10, 35, "you have entered is valid only", BLUE, white},
                         {11, 16, "for the ", BLUE}, {11, 24, "GAME DATE", GREEN}, {11, 33, ", ", BLUE},
                         {11, 35, "SESSION", GREEN}, {11, 42, ", and ", BLUE}, {11, 48, "TOTAL BOARDS ", GREEN},
                         {11, 61, "shown", BLUE},
                         {12, 16, "on the screen. ", BLUE}, {12, 31, "KELMO ", GREEN},
                         {12, 37, "is unable to generate hands", BLUE},
                         {13, 16, "for a different specification.", BLUE}, {14, 16, std::string(50, ' ')},
                         {15, 16, "If your typing was correct, then you might need to", BLUE},
                         {16, 16, "consult with your ", BLUE}, {16, 34, "Multi-Venue Coordinator ", GREEN},
                         {16, 58, "in order", BLUE}, {17, 16, "to correct the problem.", BLUE, white}});
    };
    console.Type("k");
    ASSERT_FALSE(Run(ShowDataImportError));
    EXPECT_TRUE(looked);
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
    EXPECT_EQ(console.KeysLeft(), 0u);
}
