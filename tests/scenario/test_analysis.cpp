// The analysis run with the real solver. Kept to a handful of boards: the
// whole suite runs twice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "support/doubles.h"
#include "unit/test_analysis_games.h"

namespace {

const std::string BoardOne = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT";
const std::string BoardTwo = "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4";

class AnalysisTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        PrepareSolver();
    }
    bool AnyTricks(int board) {
        for (int seat = 1; seat <= 4; seat++)
            for (int strain = 1; strain <= 5; strain++)
                if (G.DDTricks[board][seat][strain] != 0) return true;
        return false;
    }
    void ExpectTricksOfDeal(int board, int deal) {
        for (int i = 0; i < 20; i++) {
            int x = i / 4;
            EXPECT_EQ(G.DDTricks[board][i % 4 + 1][x < 4 ? 4 - x : 5], SolvedDeals[deal].res[i])
                << "board " << board << " entry " << i;
        }
    }
    // Runs the analysis of boards whose deals are given; `screen` gets the
    // work area at the solver's error message.
    void RunWithError(const std::vector<std::string>& deals) {
        G.TotalBoards = (int)deals.size();
        for (size_t i = 0; i < deals.size(); i++) G.DealText[i + 1] = deals[i];
        console.onReadKey = [&](ScriptedConsole& c) {
            for (int row = 14; row <= 23; row++) screen.push_back(c.RowText(row));
            messageColours = c.Fg(16, 13) == MAGENTA && c.Bg(16, 13) == BRIGHTWHITE;
            anyKey = c.Shows(21, 36, "<any key>", YELLOW, BLUE);
        };
        console.Type(" ");
        EXPECT_FALSE(Run(ddanalysis));
        EXPECT_EQ(G.AbandonFlag, 1);
        EXPECT_EQ(sound.Count("notify2"), 1);
        EXPECT_EQ(sound.Count("done2"), 0);
        EXPECT_FALSE(console.Shows(14, 54, "DONE!"));
        for (int board = 1; board <= G.TotalBoards; board++) EXPECT_EQ(G.ParText[board], "") << board;
    }
    std::vector<std::string> screen;   // rows 14..23
    bool messageColours = false, anyKey = false;
};

TEST_F(AnalysisTest, BoardsOneAndTwoOfTheDealingExample) {
    G.TotalBoards = 2, G.DealText[1] = BoardOne, G.DealText[2] = BoardTwo;
    console.PressDuringWork("x", 0);   // any key but Esc is dropped
    EXPECT_FALSE(Run(ddanalysis));
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(G.ErrorCode, 1);
    EXPECT_EQ(console.KeysLeft(), 0u);

    // Declarer N E S W by strain clubs .. notrump.
    const int one[5][6] = {{}, {0, 9, 7, 7, 3, 7}, {0, 4, 5, 5, 9, 6}, {0, 9, 8, 8, 3, 7}, {0, 4, 5, 4, 9, 6}};
    const int two[5][6] = {{}, {0, 5, 5, 9, 8, 8}, {0, 8, 8, 4, 4, 4}, {0, 4, 4, 9, 8, 7}, {0, 8, 7, 4, 4, 4}};
    for (int seat = 1; seat <= 4; seat++)
        for (int strain = 1; strain <= 5; strain++) {
            EXPECT_EQ(G.DDTricks[1][seat][strain], one[seat][strain]) << seat << strain;
            EXPECT_EQ(G.DDTricks[2][seat][strain], two[seat][strain]) << seat << strain;
        }
    EXPECT_EQ(ResultLine(1), "N:311-1   S:322-1   E:---3-   W:---3-");
    EXPECT_EQ(ResultLine(2), "N:--322   S:--321   E:22---   W:21---");
    EncodeDDTricksTexts();
    EXPECT_EQ(G.DDTricksText[1], "73779738896955469454");
    EXPECT_EQ(G.DDTricksText[2], "88955789444448844478");

    // The screen as the run left it: the last board, its time and results.
    struct { int row, column; const char* text; int fg; } shown[] = {
        {14, 30, "DOUBLE-DUMMY ANALYSIS", LIGHTGREEN}, {17, 22, "Board:   ", BRIGHTWHITE}, {17, 31, " 2", YELLOW},
        {19, 22, "Time:    ", BRIGHTWHITE}, {19, 31, " 0:00", YELLOW}, {21, 22, "Results:  ", BRIGHTWHITE},
        {21, 32, "N:--322   S:--321   E:22---   W:21---", YELLOW}, {14, 54, "DONE!", YELLOW}};
    for (auto s : shown) EXPECT_TRUE(console.Shows(s.row, s.column, s.text, s.fg, BLUE)) << s.text << "\n" << console.Dump();
    EXPECT_EQ(sound.played, std::vector<std::string>{"done2"});
    EXPECT_EQ(clock.pauses, std::vector<int>{1500});
    // Par follows.
    EXPECT_EQ(G.ParText[1], ParOfBoard(1, G.DDTricks[1]));
    EXPECT_EQ(G.ParText[2], ParOfBoard(2, G.DDTricks[2]));
    EXPECT_FALSE(G.ParText[1].empty());
}

TEST_F(AnalysisTest, EscDuringBoardFiveStopsAfterBoardFive) {
    G.TotalBoards = 6;
    for (int board = 1; board <= 6; board++) G.DealText[board] = SolvedDeals[board - 1].deal;
    for (int board = 1; board <= 36; board++) G.ParText[board].clear();
    G.DDTricks[6][1][1] = 5;   // an earlier game's value: cleared
    console.PressDuringWork(KeyEsc, 4);
    EXPECT_FALSE(Run(ddanalysis));
    EXPECT_EQ(G.AbandonFlag, 1);
    for (int board = 1; board <= 5; board++) ExpectTricksOfDeal(board, board - 1);
    EXPECT_FALSE(AnyTricks(6));
    EXPECT_FALSE(console.Shows(14, 54, "DONE!"));
    EXPECT_TRUE(console.Shows(17, 31, " 4"));   // board 5's line is never shown
    EXPECT_TRUE(sound.played.empty());
    for (int board = 1; board <= 6; board++) EXPECT_EQ(G.ParText[board], "");
}

TEST_F(AnalysisTest, FourteenAndTwelveCardsAreTheWrongNumberOfCards) {
    // South holds East's ace of clubs as well: 14 and 12 cards.
    RunWithError({BoardOne,
                  "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.3 9765.75.T863.AQ95 QJ43.642.Q97.KT4",
                  SolvedDeals[2].deal});
    ASSERT_EQ(screen.size(), 10u);
    EXPECT_EQ(screen[2].substr(12, 56), " Error in hand data on Board #2 - Wrong number of cards ");
    EXPECT_TRUE(messageColours);
    EXPECT_TRUE(anyKey);
    EXPECT_EQ(G.ErrorCode, -14);
    EXPECT_TRUE(AnyTricks(1));
    EXPECT_FALSE(AnyTricks(2));
    EXPECT_FALSE(AnyTricks(3));
}

TEST_F(AnalysisTest, FaultOnALaterBoardIsReportedAfterTheBoardsBeforeIt) {
    // Board 8 is no deal: the boards before it are solved together, and the
    // fault is found when the screen reaches board 8.
    std::vector<std::string> deals;
    for (int i = 0; i < 7; i++) deals.push_back(SolvedDeals[i].deal);
    std::string eight = SolvedDeals[7].deal;
    eight.replace(eight.size() - 1, 1, "A");   // West's last club again as its ace
    deals.push_back(eight);
    deals.push_back(SolvedDeals[8].deal);
    RunWithError(deals);
    ASSERT_EQ(screen.size(), 10u);
    EXPECT_NE(screen[2].find("Board #8 - "), std::string::npos) << screen[2];
    for (int board = 1; board <= 7; board++) ExpectTricksOfDeal(board, board - 1);
    EXPECT_FALSE(AnyTricks(8));
    EXPECT_FALSE(AnyTricks(9));
}

TEST_F(AnalysisTest, ACardTwiceIsDuplication) {
    RunWithError({"N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQK"});
    ASSERT_EQ(screen.size(), 10u);
    EXPECT_EQ(screen[2].substr(12, 55), " Error in hand data on Board #1 - Duplication of cards ");
    EXPECT_EQ(G.ErrorCode, -4);
    EXPECT_FALSE(AnyTricks(1));
}

TEST_F(AnalysisTest, AnyOtherFaultGivesTheThreeLines) {
    RunWithError({"N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQ?"});
    ASSERT_EQ(screen.size(), 10u);
    EXPECT_EQ(screen[2].substr(15, 50), " Unknown fault. Program terminated. Sorry.        ");
    EXPECT_EQ(screen[3].substr(15, 50), " If using a PBN file, check the hand data;        ");
    EXPECT_EQ(screen[4].substr(15, 55), " else please email support@kelmo.example with details. ");
    EXPECT_EQ(screen[1], std::string(80, ' '));
}

}  // namespace
