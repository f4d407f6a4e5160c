// Dealing key, shuffle and deal, board summaries, hands from deal texts.
#pragma once

#include <cstdint>
#include <string>

// Positions the generator for the game's date, session and game number.
void ApplyDealingKey();
// Deals boards first..last from the current generator position; a board
// whose East and West longest suits exceed 22 cards together is dealt again
// from the same stream. show: the progress line in the work area.
void DealBoards(int first, int last, int show);
// HoldingText, SuitLength, LongestEast, LongestWest of one board.
void SummarizeBoard(int board);
// Rebuilds the hands of boards 1..TotalBoards from DealText. Returns 0 when
// every text was good, else the first board whose text was rejected (its
// masks stay empty).
int HandsFromDealTexts();
// One text into masks[seat][suit]; false (and masks all 0) when the text is
// rejected: first letter not N, E, S or W, second not ":", a character
// other than a rank letter, "." or " " in positions 3..69, a fifth suit in
// a hand or a fifth hand.
bool HandMasksFromDealText(const std::string& text, uint16_t masks[4][4]);

// Pure forms: the dealing key's seed and skip count, and one shuffle of a
// board from the generator's current position (52 steps).
int DealingKeySeed(int year, int month, int day);
int32_t DealingKeySkips(int session, int gameNumber);
void ShuffleAndDeal(uint16_t masks[4][4]);
