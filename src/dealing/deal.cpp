// Placeholder: replaced when this part is built.
#include "dealing/deal.h"

void ApplyDealingKey() {}
void DealBoards(int /*first*/, int /*last*/, int /*show*/) {}
void SummarizeBoard(int /*board*/) {}
int HandsFromDealTexts() { return 0; }
bool HandMasksFromDealText(const std::string& /*text*/, uint16_t /*masks*/[4][4]) { return 0; }
