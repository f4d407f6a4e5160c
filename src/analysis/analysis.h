// Deal texts and the double-dummy analysis through DDS.
#pragma once

#include <string>

void BuildDealTexts();
void SolveBoard(int board);
void ddanalysis();

// Boards one solver call takes while the screen shows the ones before.
int AheadBatchSize();
// Boards solved and not yet shown: at most two calls' worth.
int BoardsSolvedAhead();

// At start-up: lets DDS size its threads to the cores, once per process.
void PrepareSolver();
// Before the program ends: the worker that solves ahead stops and is
// joined, so that no thread is inside DDS while the process goes down.
void StopSolving();

// Pure forms.
std::string DealTextOfBoard(int board);   // from G.HandMasks
// A deal text ("N:... ... ... ...") written from another seat's hand (0 N
// .. 3 W), clockwise; a text that is not four hands comes back unchanged.
std::string DealTextFromSeat(const std::string& text, int seat);
std::string ResultLine(int board);        // from G.DDTricks
std::string ElapsedText(float seconds);   // " 1:07"
// Element i (0..19) of a DDS result table in memory order: DDS strain i div 4
// (spades, hearts, diamonds, clubs, notrump), hand i mod 4. Both dimensions
// are indexed: reading on past the inner array is undefined.
constexpr int TableEntry(const int (&resTable)[5][4], int i) { return resTable[i / 4][i % 4]; }
