// Deal texts and the double-dummy analysis through DDS.
#pragma once

#include <string>

void BuildDealTexts();
void SolveBoard(int board);
void ddanalysis();

// Once at start-up: lets DDS size its threads to the cores.
void PrepareSolver();

// Pure forms.
std::string DealTextOfBoard(int board);   // from G.HandMasks
std::string ResultLine(int board);        // from G.DDTricks
std::string ElapsedText(float seconds);   // " 1:07"
