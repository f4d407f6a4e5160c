// The re-deal rule that both ways of dealing share: a deal whose East and
// West longest suits together exceed 22 cards is dealt again, from the same
// stream. A sound stream needs a second deal far less than once in a
// million boards; the bound stops a stream that is not sound.
#pragma once

#include <cstdint>
#include <functional>

constexpr int MaxDealTries = 1000;

// Whether the rule rejects the hands masks[seat][suit].
bool RedealRuleRejects(const uint16_t masks[4][4]);
// Fills masks by shuffle until the rule takes the deal. DealingGood; else
// DealingHashFailed when the shuffle's source failed (shuffle returned
// false) or DealingNoFairDeal after MaxDealTries rejected deals, with masks
// all 0.
int DealByRule(uint16_t masks[4][4], const std::function<bool(uint16_t masks[4][4])>& shuffle);
