// The analysis run with the real solver. Kept to a handful of boards: the
// whole suite runs twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"
#include "unit/test_analysis_games.h"

namespace {

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
    // Runs the analysis of boards whose deals are given; the solver's error
    // message must show the golden screen `name` while it waits.
    void RunWithError(const std::vector<std::string>& deals, const std::string& name) {
        G.TotalBoards = (int)deals.size();
        for (size_t i = 0; i < deals.size(); i++) G.DealText[i + 1] = deals[i];
        console.onReadKey = [name](ScriptedConsole& c) { EXPECT_TRUE(MatchesGolden(c, name)); };
        console.Type(" ");
        EXPECT_FALSE(Run(ddanalysis));
        EXPECT_EQ(console.KeysLeft(), 0u);
        EXPECT_EQ(G.AbandonFlag, 1);
        EXPECT_EQ(sound.Count("notify2"), 1);
        EXPECT_EQ(sound.Count("done2"), 0);
        EXPECT_FALSE(console.Shows(14, 54, "DONE!"));
        for (int board = 1; board <= G.TotalBoards; board++) EXPECT_EQ(G.ParText[board], "") << board;
    }
};

TEST_F(AnalysisTest, BoardsOneAndTwoOfTheDealingExample) {
    G.TotalBoards = 2, G.DealText[1] = ExampleBoardOne, G.DealText[2] = BoardTwo;
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
    EXPECT_TRUE(MatchesGolden(console, "analysis-done"));
    EXPECT_EQ(sound.played, std::vector<std::string>{"done2"});
    EXPECT_EQ(clock.pauses, std::vector<int>{1500});
    // Par follows.
    EXPECT_EQ(G.ParText[1], ParOfBoard(1, G.DDTricks[1]));
    EXPECT_EQ(G.ParText[2], ParOfBoard(2, G.DDTricks[2]));
    EXPECT_FALSE(G.ParText[1].empty());
}

// Notes the board on row 17 whenever the screen is brought up to date, and
// how far the solver ran ahead of it.
class ProgressConsole : public ScriptedConsole {
public:
    void Refresh() override {
        if (!Shows(17, 22, "Board:   ")) return;
        std::string number = Text(17, 32, 2);
        if (number[1] == ' ') number.pop_back();
        if (boards.empty() || boards.back() != number) boards.push_back(number);
        mostAhead = std::max(mostAhead, BoardsSolvedAhead());
    }
    std::vector<std::string> boards;
    int mostAhead = 0;
};

class AnalysisProgressTest : public AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        P.console = &progress;
        G.TotalBoards = 36;
        for (int board = 1; board <= 36; board++) G.DealText[board] = SolvedDeals[board - 1].deal;
    }
    std::vector<std::string> BoardsUpTo(int last) {
        std::vector<std::string> numbers;
        for (int board = 1; board <= last; board++) numbers.push_back(std::to_string(board));
        return numbers;
    }
    ProgressConsole progress;
};

TEST_F(AnalysisProgressTest, EveryBoardIsShownInOrderWhileTheSolverKeepsJustAhead) {
    EXPECT_FALSE(Run(ddanalysis));
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(progress.boards, BoardsUpTo(36));
    EXPECT_LE(progress.mostAhead, 2 * AheadBatchSize());
    for (int board = 1; board <= 36; board++) ExpectTricksOfDeal(board, board - 1);
    EXPECT_TRUE(progress.Shows(14, 54, "DONE!"));
    EXPECT_FALSE(G.ParText[36].empty());
}

TEST_F(AnalysisProgressTest, EscDuringBoardFiveOf36StopsAfterBoardFive) {
    for (int board = 1; board <= 36; board++) G.ParText[board].clear();
    G.DDTricks[36][1][1] = 5;   // an earlier game's value: cleared
    progress.PressDuringWork(KeyEsc, 4);
    EXPECT_FALSE(Run(ddanalysis));
    EXPECT_EQ(G.AbandonFlag, 1);
    for (int board = 1; board <= 5; board++) ExpectTricksOfDeal(board, board - 1);
    // Boards the solver finished ahead are not taken.
    for (int board = 6; board <= 36; board++) EXPECT_FALSE(AnyTricks(board)) << board;
    EXPECT_EQ(progress.boards, BoardsUpTo(4));   // board 5's line is never shown
    EXPECT_FALSE(progress.Shows(14, 54, "DONE!"));
    EXPECT_TRUE(sound.played.empty());
    for (int board = 1; board <= 36; board++) EXPECT_EQ(G.ParText[board], "");

    // The next run, on other deals, waits for the solver to drop the rest.
    G.TotalBoards = 2;
    G.DealText[1] = SolvedDeals[4].deal, G.DealText[2] = SolvedDeals[9].deal;
    progress.boards.clear();
    EXPECT_FALSE(Run(ddanalysis));
    EXPECT_EQ(progress.boards, BoardsUpTo(2));
    ExpectTricksOfDeal(1, 4);
    ExpectTricksOfDeal(2, 9);
    EXPECT_FALSE(AnyTricks(3));
}

TEST_F(AnalysisTest, FourteenAndTwelveCardsAreTheWrongNumberOfCards) {
    // South holds East's ace of clubs as well: 14 and 12 cards.
    RunWithError({ExampleBoardOne,
                  "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.3 9765.75.T863.AQ95 QJ43.642.Q97.KT4",
                  SolvedDeals[2].deal},
                 "analysis-wrong-number-of-cards");
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
    RunWithError(deals, "analysis-fault-on-board-8");
    for (int board = 1; board <= 7; board++) ExpectTricksOfDeal(board, board - 1);
    EXPECT_FALSE(AnyTricks(8));
    EXPECT_FALSE(AnyTricks(9));
}

TEST_F(AnalysisTest, ACardTwiceIsDuplication) {
    RunWithError({"N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQK"}, "analysis-duplication");
    EXPECT_EQ(G.ErrorCode, -4);
    EXPECT_FALSE(AnyTricks(1));
}

TEST_F(AnalysisTest, AnyOtherFaultGivesTheThreeLines) {
    RunWithError({"N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQ?"}, "analysis-unknown-fault");
}

}  // namespace
