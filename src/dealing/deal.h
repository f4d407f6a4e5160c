// Dealing key, shuffle and deal, board summaries, hands from deal texts.
#pragma once

#include <cstdint>
#include <string>

// Positions the generator for the game's date, session and game number;
// for a private game, starts its stream (G.DealStream) from the secret.
// False, with G.DealingFailure set, when the stream's hash fails.
bool ApplyDealingKey();
// One board from the current position (the control number's generator or
// the private game's stream), by the re-deal rule; no pause, nothing shown.
// DealingGood, or why it failed (its hands then empty).
int DealNextBoard(int board);
// Every board's hands emptied (and summarised so): after a deal that
// failed, nothing of the game is dealt.
void ClearDealtHands();
// Whether the deal texts of the boards the game has, up to `boards`, are
// those that its code deals: the control number of gameNumber (or the
// private game's secret) for the game's date and session. 1 yes, 0 no, -1
// when the dealing source failed. The check changes nothing: the generator
// and the stream are left as they were.
int DealTextsAreTheGamesDeals(int boards, int gameNumber);
// HoldingText, SuitLength, LongestEast, LongestWest of one board.
void SummarizeBoard(int board);
// Rebuilds the hands of boards 1..TotalBoards from DealText. Returns 0 when
// every text was good, else the first board whose text was rejected (its
// masks stay empty).
int HandsFromDealTexts();
// A deal text read as far as it goes: the one reading under both the check
// below and the reader's words for what is wrong.
struct DealReading {
    enum Stop {
        Whole,          // read to its end
        NoStart,        // no "N:", "E:", "S:" or "W:" in front
        FifthSuit,      // a hand with a fifth suit (seat: whose)
        FifthHand,      // a fifth hand
        NotGiven,       // a "-": a hand not given
        BadCharacter    // a character other than a rank letter, "." or " "
    } stop = Whole;
    int seat = 0;                  // FifthSuit: the seat
    char character = 0;            // BadCharacter: the character
    int named[4][4][13] = {};      // times each seat names each suit's rank
};
DealReading ReadDealText(const std::string& text);

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
