#include "dealing/redeal.h"

#include <algorithm>
#include <bit>

#include "model/model.h"

bool RedealRuleRejects(const uint16_t masks[4][4]) {
    int east = 0, west = 0;
    for (int suit = 0; suit < 4; suit++) {
        east = std::max(east, std::popcount(masks[1][suit]));
        west = std::max(west, std::popcount(masks[3][suit]));
    }
    return east + west > 22;
}

int DealByRule(uint16_t masks[4][4], const std::function<bool(uint16_t masks[4][4])>& shuffle) {
    int failure = DealingNoFairDeal;
    for (int tries = 0; tries < MaxDealTries; tries++) {
        if (!shuffle(masks)) {
            failure = DealingHashFailed;
            break;
        }
        if (!RedealRuleRejects(masks)) return DealingGood;
    }
    for (int seat = 0; seat < 4; seat++)
        for (int suit = 0; suit < 4; suit++) masks[seat][suit] = 0;
    return failure;
}
