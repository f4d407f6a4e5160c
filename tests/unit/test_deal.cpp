#include <algorithm>
#include <cstring>
#include <random>

#include "analysis/analysis.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "dealing/random.h"
#include "dealing/redeal.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

class DealTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
    }
    // Sets the game and applies its dealing key.
    void Game(int month, int day, int year, int session, int number, int boards = 36) {
        G.GameMonth = month, G.GameDay = day, G.GameYear = year;
        G.SessionNumber = session, G.GameNumber = number, G.TotalBoards = boards;
        ApplyDealingKey();
    }
    // Steps from one state to another, at most `limit`; -1 when not reached.
    static long StepsBetween(uint32_t from, uint32_t to, long limit) {
        for (long n = 0; n <= limit; n++, from = NextRandomState(from))
            if (from == to) return n;
        return -1;
    }
};

TEST_F(DealTest, DealingKeyOfTheExampleGame) {
    EXPECT_EQ(DealingKeySeed(15, 3, 7), 11299);
    EXPECT_EQ(DealingKeySkips(2, 1234), 11234);
    EXPECT_EQ(DealingKeySkips(4, 9999), 39999);
    Game(3, 7, 15, 2, 1234);
    EXPECT_EQ(StepsBetween(0x46308C00u, G.RandomState, 20000), 11235);
}

TEST_F(DealTest, BoardsOneAndTwoOfTheExampleGame) {
    Game(3, 7, 15, 2, 1234, 24);
    DealBoards(1, 24, 0);
    G.DealText[30] = "N:left from a 36-board game";
    BuildDealTexts();
    EXPECT_EQ(G.DealText[30], "");
    EXPECT_EQ(G.DealText[1], ExampleBoardOne);
    EXPECT_EQ(G.DealText[2], "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4");
    // South's spade void on board 1.
    EXPECT_EQ(G.HoldingText[1][2][0], "\xc4\xc4");
    EXPECT_EQ(G.SuitLength[1][2][0], 0);
    EXPECT_EQ(G.HoldingText[1][1][0], "KQJT942");
    EXPECT_EQ(G.LongestEast[1], 7);
    EXPECT_EQ(G.LongestWest[1], 4);
}

TEST_F(DealTest, ManyGamesDealWholeDecksInFiftyTwoStepsPerBoard) {
    std::mt19937 pick(20151203);
    for (int game = 0; game < 200; game++) {
        int year = (int)(pick() % 100), month = (int)(pick() % 12) + 1;
        int day = (int)(pick() % MonthLength(month, year)) + 1;
        int session = (int)(pick() % 4) + 1, number = (int)(pick() % 9999) + 1;
        Game(month, day, year, session, number);
        for (int board = 1; board <= 36; board++) {
            uint32_t before = G.RandomState;
            DealBoards(board, board, 0);
            long steps = StepsBetween(before, G.RandomState, 52 * 20);
            ASSERT_TRUE(steps > 0 && steps % 52 == 0) << game << " board " << board;
            ASSERT_LE(G.LongestEast[board] + G.LongestWest[board], 22);
            uint16_t seen[4] = {};
            for (int seat = 0; seat < 4; seat++) {
                int cards = 0;
                for (int suit = 0; suit < 4; suit++) {
                    uint16_t mask = G.HandMasks[board][seat][suit];
                    ASSERT_EQ(mask & ~0x1FFFu, 0);
                    ASSERT_EQ(seen[suit] & mask, 0) << "card twice";
                    seen[suit] |= mask;
                    cards += G.SuitLength[board][seat][suit];
                }
                ASSERT_EQ(cards, 13);
            }
            for (int suit = 0; suit < 4; suit++) ASSERT_EQ(seen[suit], 0x1FFF);
        }
    }
}

TEST_F(DealTest, BoardsAfterBoardOneAloneEqualAFullRun) {
    Game(11, 30, 22, 3, 8765);
    DealBoards(1, 36, 0);
    uint16_t full[MaxBoards + 1][4][4];
    std::copy(&G.HandMasks[0][0][0], &G.HandMasks[0][0][0] + sizeof full / sizeof(uint16_t), &full[0][0][0]);
    uint32_t endState = G.RandomState;

    ResetGameModel();
    initialize();
    Game(11, 30, 22, 3, 8765);
    DealBoards(1, 1, 0);
    DealBoards(2, 36, 0);
    for (int b = 1; b <= 36; b++)
        for (int s = 0; s < 4; s++)
            for (int t = 0; t < 4; t++) ASSERT_EQ(G.HandMasks[b][s][t], full[b][s][t]) << b;
    EXPECT_EQ(G.RandomState, endState);
}

TEST_F(DealTest, ProgressDisplayAndPauses) {
    Game(3, 7, 15, 2, 1234, 24);
    DealBoards(1, 24, 1);
    EXPECT_TRUE(console.Shows(15, 27, "Shuffling and dealing... ", LIGHTGREEN, BLUE));
    EXPECT_TRUE(console.Shows(15, 52, "24", BRIGHTWHITE, BLUE));
    EXPECT_FALSE(console.CursorVisible());
    ASSERT_EQ(clock.pauses.size(), 25u);
    EXPECT_EQ(clock.pauses.front(), 40);
    EXPECT_EQ(clock.pauses.back(), 1000);
    EXPECT_EQ(clock.PausedMs(), 24 * 40 + 1000);

    // Single digits stand right-aligned in the two columns.
    DealBoards(2, 2, 1);
    EXPECT_EQ(console.Text(15, 52, 2), " 2");
}

TEST_F(DealTest, DealTextsStartWithTheDealerAndKeepVoids) {
    G.HandMasks[3][0][1] = 0;   // North void in hearts
    G.HandMasks[3][0][0] = 0x1FFF;
    G.HandMasks[3][2][1] = 0x1FFF;
    std::string text = DealTextOfBoard(3);
    EXPECT_EQ(text.substr(0, 2), "S:");
    EXPECT_EQ(text, "S:.AKQJT98765432.. ... AKQJT98765432... ...");
    EXPECT_EQ(DealTextOfBoard(4).substr(0, 2), "W:");
    EXPECT_EQ(DealTextOfBoard(5).substr(0, 2), "N:");
}

TEST_F(DealTest, HandsFromDealTextsReadsAnyFirstSeat) {
    const std::string east = "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4";
    const std::string north = "N:QJ43.642.Q97.KT4 AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95";
    G.TotalBoards = 2;
    G.DealText[1] = east;
    G.DealText[2] = north;
    G.HandMasks[5][0][0] = 7;   // beyond the game: cleared too
    EXPECT_EQ(HandsFromDealTexts(), 0);
    EXPECT_EQ(std::memcmp(G.HandMasks[1], G.HandMasks[2], sizeof G.HandMasks[1]), 0);
    EXPECT_EQ(G.HoldingText[1][1][0], "AK");
    EXPECT_EQ(G.HoldingText[1][0][3], "KT4");
    EXPECT_EQ(G.HandMasks[5][0][0], 0);
    // And back: board 2 is dealt by East, so its text starts with East.
    EXPECT_EQ(DealTextOfBoard(2), east);
}

TEST_F(DealTest, BadDealTextsAreRejectedAndNamed) {
    const std::string good = ExampleBoardOne;
    auto with = [&](size_t at, char c) { std::string text = good; text[at] = c; return text; };
    const std::string badChar = with(10, 'Z');
    const std::string fifthSuit = with(18, '.');   // the space after North's clubs: "J952.KQJT942..."
    const std::string rejected[] = {
        badChar, fifthSuit, with(68, ' ') /* a fifth hand */, with(2, 'a'), with(1, ';'), with(0, 'X'),
        "N:A.K.Q.J.T", "N:....................................................................",
        "N:                                                                    ",
        std::string("N:A\0K", 5), "", "N", ":N"};
    for (const std::string& text : rejected) {
        uint16_t masks[4][4];
        std::memset(masks, 0xAB, sizeof masks);
        EXPECT_FALSE(HandMasksFromDealText(text, masks)) << text;
        for (auto& seat : masks)
            for (uint16_t m : seat) EXPECT_EQ(m, 0) << text;
    }
    // Wrong card counts and duplicates are the solver's to report.
    uint16_t masks[4][4];
    EXPECT_TRUE(HandMasksFromDealText("N:AA.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT", masks));

    G.TotalBoards = 3;
    G.DealText[1] = good;
    G.DealText[2] = fifthSuit;
    G.DealText[3] = badChar;
    EXPECT_EQ(HandsFromDealTexts(), 2);
    EXPECT_EQ(DealTextOfBoard(1), good);
    for (int b = 2; b <= 3; b++)
        for (int s = 0; s < 4; s++) {
            EXPECT_EQ(G.SuitLength[b][s][0], 0);
            EXPECT_EQ(G.HoldingText[b][s][0], "\xc4\xc4");
        }
}

TEST_F(DealTest, SummaryOfAVoidAndOfLongSuits) {
    G.HandMasks[7][1][2] = 0x1FFF;   // East: thirteen diamonds
    G.HandMasks[7][3][0] = 0x0003;   // West: AK of spades
    SummarizeBoard(7);
    EXPECT_EQ(G.SuitLength[7][1][2], 13);
    EXPECT_EQ(G.HoldingText[7][1][2], "AKQJT98765432");
    EXPECT_EQ(G.HoldingText[7][1][0], std::string(2, (char)196));
    EXPECT_EQ(G.LongestEast[7], 13);
    EXPECT_EQ(G.LongestWest[7], 2);
}

// The re-deal rule stops a source that is not sound: one that fails, and
// one that never gives a deal the rule takes, rather than dealing for ever.
TEST(RedealRule, AFailingOrUnfairSourceIsStoppedWithEmptyHands) {
    // East holds all the spades and twelve hearts' worth of West's: 13 + 12.
    auto lopsided = [](uint16_t masks[4][4]) {
        std::memset(masks, 0, 16 * sizeof(uint16_t));
        masks[1][0] = 0x1FFF, masks[3][1] = 0x0FFF;
        return true;
    };
    int tries = 0;
    auto counted = [&](uint16_t masks[4][4]) { return ++tries, lopsided(masks); };
    auto failing = [&](uint16_t masks[4][4]) { return lopsided(masks), false; };
    uint16_t masks[4][4];
    EXPECT_TRUE(RedealRuleRejects((lopsided(masks), masks)));
    EXPECT_EQ(DealByRule(masks, counted), DealingNoFairDeal);
    EXPECT_EQ(tries, MaxDealTries);
    EXPECT_EQ(DealByRule(masks, failing), DealingHashFailed);
    for (auto& seat : masks)
        for (uint16_t suit : seat) EXPECT_EQ(suit, 0);
}
