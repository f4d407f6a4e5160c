// Duplicate scoring and par.
#pragma once

#include <string>
#include <vector>

int ScoreContract(int level, int strain, int tricks, int vulnerable, int doubled);
void GetParResults();

// Par text of one board from its tricks table [seat 1..4][strain 1..5].
std::string ParOfBoard(int board, const int tricks[5][6]);

// The contract a declarer of the par plays: level 1..7, strain 1..5 (clubs
// .. notrump), doubled when it goes down; seat 1..4.
struct ParContract {
    int seat, level, strain;
    bool doubled;
};
// The par of one board as the text above and its contracts, one a
// declarer (none when passed out).
struct ParResult {
    std::string text;
    std::vector<ParContract> contracts;
};
ParResult ParOfBoardWithContracts(int board, const int tricks[5][6]);
