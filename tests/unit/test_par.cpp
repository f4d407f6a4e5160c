#include <dds/dll.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/par.h"
#include "model/model.h"
#include "support/doubles.h"

namespace {

struct SolvedDeal {
    const char* deal;
    int res[20];
};

const SolvedDeal SolvedDeals[] = {
#include "unit/test_par_tables.inc"
};

// Tricks table with every entry `fill`, [seat 1..4][strain 1..5].
struct Tricks {
    int t[5][6] = {};
    explicit Tricks(int fill = 0) {
        for (int seat = 1; seat <= 4; seat++)
            for (int strain = 1; strain <= 5; strain++) t[seat][strain] = fill;
    }
    Tricks& Set(int seat, int strain, int tricks) {
        t[seat][strain] = tricks;
        return *this;
    }
};

constexpr int N = 1, E = 2, S = 3, W = 4;
constexpr int CLUBS = 1, DIAMONDS = 2, HEARTS = 3, SPADES = 4, NOTRUMP = 5;

TEST(ParScore, ExamplesOfTheScoringRules) {
    struct { int level, strain, tricks, vul, doubled, score; } cases[] = {
        {4, SPADES, 10, 0, 0, 420}, {3, NOTRUMP, 9, 1, 0, 600}, {1, NOTRUMP, 7, 0, 0, 90},
        {4, HEARTS, 8, 1, 1, -500}, {5, DIAMONDS, 8, 0, 1, -500}, {6, CLUBS, 12, 0, 0, 920},
        {7, NOTRUMP, 0, 1, 1, -3800},   // thirteen down
        // Doubled into game, overtricks and the insult.
        {2, SPADES, 9, 0, 1, 570}, {1, CLUBS, 9, 1, 1, 140 + 400}, {7, NOTRUMP, 13, 1, 0, 2220},
        {3, NOTRUMP, 13, 0, 0, 520},
    };
    for (auto c : cases)
        EXPECT_EQ(ScoreContract(c.level, c.strain, c.tricks, c.vul, c.doubled), c.score)
            << c.level << " " << c.strain << " " << c.tricks << " " << c.vul << c.doubled;
}

TEST(ParScore, PenaltyTables) {
    const int undoubledNv[] = {50, 100, 150, 200, 250, 300};
    const int undoubledVul[] = {100, 200, 300, 400, 500, 600};
    const int doubledNv[] = {100, 300, 500, 800, 1100, 1400};
    const int doubledVul[] = {200, 500, 800, 1100, 1400, 1700};
    for (int under = 1; under <= 6; under++) {
        int tricks = 13 - under;   // seven of a suit
        EXPECT_EQ(ScoreContract(7, HEARTS, tricks, 0, 0), -undoubledNv[under - 1]) << under;
        EXPECT_EQ(ScoreContract(7, HEARTS, tricks, 1, 0), -undoubledVul[under - 1]) << under;
        EXPECT_EQ(ScoreContract(7, HEARTS, tricks, 0, 1), -doubledNv[under - 1]) << under;
        EXPECT_EQ(ScoreContract(7, HEARTS, tricks, 1, 1), -doubledVul[under - 1]) << under;
    }
}

TEST(ParBoard, ParOfHandMadeTables) {
    // Board 1, nobody vulnerable: NS make 4S; EW make eight or nine in diamonds.
    Tricks fourSpades = Tricks(4).Set(N, SPADES, 10).Set(S, SPADES, 10);
    struct {
        const char* name;
        int board;
        Tricks tricks;
        const char* par;
    } cases[] = {
        {"nobody takes seven tricks", 1, Tricks(6), "Passout"},
        {"nobody takes a trick", 4, Tricks(0), "Passout"},
        // 2C making is the best NS have: a score of exactly 90 starts no auction.
        {"ninety is never contested", 1, Tricks(5).Set(N, CLUBS, 8).Set(E, DIAMONDS, 7), "N 90"},
        {"5Dx -3 costs more than the game", 1, Tricks(fourSpades).Set(E, DIAMONDS, 8).Set(W, DIAMONDS, 8), "NS 420"},
        {"5Dx -2, and 5S fails for NS", 1, Tricks(fourSpades).Set(E, DIAMONDS, 9).Set(W, DIAMONDS, 9), "EW -300"},
        {"both sides make the same contract", 1, Tricks(6).Set(N, NOTRUMP, 7).Set(E, NOTRUMP, 7), "NE 90"},
        {"seven notrump ends the auction, both vulnerable", 4,
         Tricks(0).Set(N, NOTRUMP, 13).Set(S, NOTRUMP, 13).Set(E, CLUBS, 13), "NS 2220"},
        // 3NT and 5C both score 400: par is 5C, and only the seats that score
        // 400 within the last four contracts below it are named.
        {"equal scores go to the higher contract", 1, Tricks(3).Set(N, NOTRUMP, 9).Set(S, CLUBS, 11), "S 400"},
    };
    for (auto& c : cases) EXPECT_EQ(ParOfBoard(c.board, c.tricks.t), c.par) << c.name;
}

TEST(ParBoard, GetParResultsFillsEveryBoardOfTheGame) {
    ResetGameModel();
    G.TotalBoards = 24;
    for (int board = 1; board <= 36; board++) G.ParText[board] = "old";
    for (int board = 1; board <= 24; board++) G.DDTricks[board][N][NOTRUMP] = 7;
    GetParResults();
    EXPECT_EQ(G.ParText[1], "N 90");
    EXPECT_EQ(G.ParText[24], "N 90");
    EXPECT_EQ(G.ParText[25], "old");
}

// Our par against DDS's own on real deals, each under the four
// vulnerabilities (boards 1 to 4 are None, N-S, E-W, Both); and each of
// its contracts against the scoring rules.
TEST(ParBoard, AgreesWithSidesParOfDds) {
    const int ddsVul[4] = {1, 0, 2, 3};   // our VulIndex -> DDS code
    int compared = 0;
    std::vector<std::string> faults;
    for (const SolvedDeal& solved : SolvedDeals) {
        ddTableResults table;
        int tricks[5][6] = {};
        for (int i = 0; i < 20; i++) {
            table.resTable[i / 4][i % 4] = solved.res[i];
            int x = i / 4;
            tricks[i % 4 + 1][x < 4 ? 4 - x : 5] = solved.res[i];
        }
        for (int board = 1; board <= 4; board++) {
            parResultsDealer sides[2];
            ASSERT_EQ(SidesPar(&table, sides, ddsVul[VulIndex(board)]), RETURN_NO_FAULT);
            std::string par = ParOfBoard(board, tricks);
            // Every contract the par names scores the par for its declarer.
            const ParResult result = ParOfBoardWithContracts(board, tricks);
            if (result.contracts.empty() != (par == "Passout")) faults.push_back(par + ": no contract");
            for (const ParContract& c : result.contracts)
                if (ScoreContract(c.level, c.strain, tricks[c.seat][c.strain], SeatVulnerable(board, c.seat - 1),
                                  c.doubled) != std::stoi(par.substr(par.find(' ') + 1)))
                    faults.push_back(par + ": " + std::to_string(c.level) + "/" + std::to_string(c.strain) + " scores else");
            std::vector<int> ours;
            if (par == "Passout") {
                ours.push_back(0);
            } else {
                size_t blank = par.find(' ');
                std::string seats = par.substr(0, blank);
                int score = std::stoi(par.substr(blank + 1));
                bool ns = seats.find_first_of("NS") != std::string::npos;
                bool ew = seats.find_first_of("EW") != std::string::npos;
                if (ns) ours.push_back(score);
                if (ew) ours.push_back(-score);
            }
            // DDS gives each side's score from that side's point of view.
            int nsFirst = sides[0].score, ewFirst = -sides[1].score;
            bool agree = false;
            for (int score : ours)
                if (score == nsFirst || score == ewFirst) agree = true;
            // When one side alone declares, both views must be ours.
            if (ours.size() == 1 && nsFirst != ewFirst) agree = false;
            if (!agree)
                faults.push_back(std::string(solved.deal) + " board " + std::to_string(board) + ": " + par +
                                 " vs DDS " + std::to_string(nsFirst) + "/" + std::to_string(ewFirst));
            compared++;
        }
    }
    EXPECT_GE(compared, 1200);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
