#include <dds/dll.h>
#include <gtest/gtest.h>

#include <string>

#include "analysis/analysis.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "support/doubles.h"

namespace {


TEST(AnalysisText, ElapsedTimeIsWholeMinutesAndTwoDigitSeconds) {
    EXPECT_EQ(ElapsedText(45.0f), " 0:45");
    EXPECT_EQ(ElapsedText(125.0f), " 2:05");
    EXPECT_EQ(ElapsedText(59.6f), " 1:00");
    EXPECT_EQ(ElapsedText(67.0f), " 1:07");
    EXPECT_EQ(ElapsedText(0.2f), " 0:00");
    EXPECT_EQ(ElapsedText(3599.5f), " 60:00");
}

TEST(AnalysisText, ResultLineShowsTheLevelMadeInClubsToNotrumpOrder) {
    ResetGameModel();
    EXPECT_EQ(ResultLine(3), "N:-----   S:-----   E:-----   W:-----");
    G.DDTricks[3][1][4] = 10;   // North: 4 spades
    G.DDTricks[3][1][5] = 9;    // 3 notrump
    G.DDTricks[3][3][1] = 6;    // South: six tricks is no contract
    G.DDTricks[3][3][2] = 13;   // 7 diamonds
    G.DDTricks[3][2][3] = 7;    // East: 1 heart
    G.DDTricks[3][4][1] = 8;    // West: 2 clubs
    EXPECT_EQ(ResultLine(3), "N:---43   S:-7---   E:--1--   W:2----");
}

// Evaluated by the compiler, which refuses an index past the inner array.
constexpr bool TableEntriesInMemoryOrder() {
    int table[5][4] = {};
    for (int x = 0; x < 5; x++)
        for (int hand = 0; hand < 4; hand++) table[x][hand] = x * 4 + hand;
    for (int i = 0; i < 20; i++)
        if (TableEntry(table, i) != i) return false;
    return true;
}
static_assert(TableEntriesInMemoryOrder());

TEST(AnalysisText, DealFaultGivesTheCodeOfTheSolver) {
    EXPECT_EQ(DealFault(ExampleBoardOne), RETURN_NO_FAULT);
    // East without the ace of clubs, South with it: 12 and 14 cards.
    std::string moved = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.AK874 86.A842.KJT7.QT";
    EXPECT_EQ(DealFault(moved), RETURN_CARD_COUNT);
    // West writes the ace of clubs twice and lacks the ten: 12 cards, 51 in all
    // (DDS itself crashes on this one after an earlier solve).
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQA"),
              RETURN_CARD_COUNT);
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT2"),
              RETURN_TOO_MANY_CARDS);
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874"), RETURN_CARD_COUNT);
    // The king of clubs in South and West, the ten nowhere.
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQK"),
              RETURN_DUPLICATE_CARDS);
    EXPECT_EQ(DealFault("N:..."), RETURN_ZERO_CARDS);
    EXPECT_EQ(DealFault(""), RETURN_PBN_FAULT);
    EXPECT_EQ(DealFault("X:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT"), RETURN_PBN_FAULT);
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQt"), RETURN_PBN_FAULT);
    EXPECT_EQ(DealFault(ExampleBoardOne + " "), RETURN_PBN_FAULT);   // a fifth hand
    EXPECT_EQ(DealFault("N:A753.Q975.2.J952. KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT"),
              RETURN_PBN_FAULT);
    EXPECT_EQ(DealFault(std::string("N:A753.Q975.2.J95\0", 18)), RETURN_PBN_FAULT);
}

}  // namespace
