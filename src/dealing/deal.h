// Dealing key, shuffle and deal, board summaries, hands from deal texts.
#pragma once

#include <cstdint>
#include <string>

void ApplyDealingKey();
void DealBoards(int first, int last, int show);
void SummarizeBoard(int board);
// Rebuilds the hands of boards 1..TotalBoards from DealText. Returns 0 when
// every text was good, else the first board whose text was rejected (its
// masks stay empty).
int HandsFromDealTexts();
// One text into masks[seat][suit]; false when the text is rejected.
bool HandMasksFromDealText(const std::string& text, uint16_t masks[4][4]);
