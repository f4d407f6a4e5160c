// Dealing key, shuffle and deal, board summaries, hands from deal texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Positions the generator for the game's date, session and game number.
void ApplyDealingKey();
// Deals boards first..last from the current generator position; a board
// whose East and West longest suits exceed 22 cards together is dealt again
// from the same stream. show: the progress line in the work area.
void DealBoards(int first, int last, int show);
// Board `board` into G.HandMasks by `shuffle`, dealt again while its East
// and West longest suits exceed 22 cards together.
void DealWithRedeals(int board, const std::function<void(uint16_t masks[4][4])>& shuffle);
// One board from the current position (the control number's generator or
// the private game's stream), by the rule above; no pause, nothing shown.
void DealNextBoard(int board);
// HoldingText, SuitLength, LongestEast, LongestWest of one board.
void SummarizeBoard(int board);
// Rebuilds the hands of boards 1..TotalBoards from DealText. Returns 0 when
// every text was good, else the first board whose text was rejected (its
// masks stay empty).
int HandsFromDealTexts();
// The one check of a deal text, with the hands it names in masks[seat][suit]:
// RETURN_NO_FAULT for a whole deal (four hands of 13, every card once), else
// the code DDS gives the text. RETURN_PBN_FAULT: first letter not N, E, S or
// W, second not ":", a character other than a rank letter, "." or " ", a
// fifth suit in a hand or a fifth hand; then RETURN_ZERO_CARDS,
// RETURN_TOO_MANY_CARDS, RETURN_CARD_COUNT, RETURN_DUPLICATE_CARDS.
int DealFault(const std::string& text, uint16_t masks[4][4]);
int DealFault(const std::string& text);
// One text into masks[seat][suit]; false (and masks all 0) when DealFault
// finds no deal text at all.
bool HandMasksFromDealText(const std::string& text, uint16_t masks[4][4]);
// A deal text as a PBN file spells it: "N:", four hands of four suits.
constexpr size_t DealTextLength = 69;

// Pure forms: the dealing key's seed and skip count, and one shuffle of a
// board from the generator's current position (52 steps).
int DealingKeySeed(int year, int month, int day);
int32_t DealingKeySkips(int session, int gameNumber);
void ShuffleAndDeal(uint16_t masks[4][4]);
