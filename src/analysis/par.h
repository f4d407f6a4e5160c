// Duplicate scoring and par.
#pragma once

#include <string>

int ScoreContract(int level, int strain, int tricks, int vulnerable, int doubled);
void GetParResults();

// Par text of one board from its tricks table [seat 1..4][strain 1..5].
std::string ParOfBoard(int board, const int tricks[5][6]);
