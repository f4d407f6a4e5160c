#include "dealing/deal.h"

#include <dds/dll.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "dealing/private.h"
#include "dealing/random.h"
#include "dealing/redeal.h"
#include "model/model.h"

int DealingKeySeed(int year, int month, int day) {
    return 2 * (372 * year + 31 * (month - 1) + day) + 1;
}

int32_t DealingKeySkips(int session, int gameNumber) {
    return (int32_t)(session - 1) * 10000 + gameNumber;
}

namespace {

// The control number's generator for a game: reseeded from the date, then
// stepped past the session's and game number's draws.
void PositionGenerator(int year, int month, int day, int session, int gameNumber) {
    RandomReseed((double)DealingKeySeed(year, month, day));
    RandomStep();
    int32_t skips = DealingKeySkips(session, gameNumber);
    for (int32_t i = 0; i < skips; i++) RandomStep();
}

// One board from the game's source by the re-deal rule, into masks.
int DealFromSource(uint16_t masks[4][4]) {
    if (G.PrivateGame == 1)
        return DealByRule(masks, [](uint16_t m[4][4]) { return DealPrivateBoard(G.DealStream, m); });
    return DealByRule(masks, [](uint16_t m[4][4]) {
        ShuffleAndDeal(m);
        return true;
    });
}

}  // namespace

void ClearDealtHands() {
    for (int board = 0; board <= MaxBoards; board++) {
        for (auto& seat : G.HandMasks[board])
            for (auto& suit : seat) suit = 0;
        SummarizeBoard(board);
    }
}

bool ApplyDealingKey() {
    G.DealingFailure = DealingGood;
    G.DealingFailureBoard = 0;
    if (G.PrivateGame == 1) {
        if (StartPrivateStream(G.DealStream, G.DealSecretBytes)) return true;
        G.DealingFailure = DealingHashFailed;
        return false;
    }
    G.DealStream = PrivateDealStream{};
    PositionGenerator(G.GameYear, G.GameMonth, G.GameDay, G.SessionNumber, G.GameNumber);
    return true;
}

void ShuffleAndDeal(uint16_t masks[4][4]) {
    for (int seat = 0; seat < 4; seat++)
        for (int suit = 0; suit < 4; suit++) masks[seat][suit] = 0;
    for (int i = 0; i < 52; i++) G.Deck[i] = i;
    int left = 52;
    for (int round = 0; round < 13; round++) {
        for (int seat = 0; seat < 4; seat++) {
            left--;
            int r = RandomInRange(0, left);
            int card = G.Deck[r];
            G.Deck[r] = G.Deck[left];
            masks[seat][card / 13] |= (uint16_t)(1u << (card % 13));
        }
    }
}

void SummarizeBoard(int board) {
    if (board < 0 || board > MaxBoards) return;
    for (int seat = 0; seat < 4; seat++) {
        for (int suit = 0; suit < 4; suit++) {
            uint16_t mask = G.HandMasks[board][seat][suit];
            std::string holding;
            int length = 0;
            for (int r = 0; r < 13; r++) {
                if (mask & (1u << r)) {
                    holding += RankLetters[r];
                    length++;
                }
            }
            G.SuitLength[board][seat][suit] = length;
            G.HoldingText[board][seat][suit] =
                length == 0 ? std::string(2, (char)SGL_HORIZ) : holding;
        }
    }
    int east = 0, west = 0;
    for (int suit = 0; suit < 4; suit++) {
        if (G.SuitLength[board][1][suit] > east) east = G.SuitLength[board][1][suit];
        if (G.SuitLength[board][3][suit] > west) west = G.SuitLength[board][3][suit];
    }
    G.LongestEast[board] = east;
    G.LongestWest[board] = west;
}

int DealNextBoard(int board) {
    if (board < 1 || board > MaxBoards) return DealingGood;
    const int failure = DealFromSource(G.HandMasks[board]);
    SummarizeBoard(board);
    return failure;
}

int DealTextsAreTheGamesDeals(int boards, int gameNumber) {
    const uint32_t state = G.RandomState;
    const PrivateDealStream stream = G.DealStream;
    int deck[52];
    std::copy(std::begin(G.Deck), std::end(G.Deck), deck);
    int same = 1;
    if (G.PrivateGame == 1) {
        if (!StartPrivateStream(G.DealStream, G.DealSecretBytes)) same = -1;
    } else {
        PositionGenerator(G.GameYear, G.GameMonth, G.GameDay, G.SessionNumber, gameNumber);
    }
    for (int board = 1; board <= std::min(boards, MaxBoards) && same == 1; board++) {
        uint16_t dealt[4][4], read[4][4];
        if (DealFromSource(dealt) != DealingGood) same = -1;
        else if (!HandMasksFromDealText(G.DealText[board], read) || !std::equal(&dealt[0][0], &dealt[0][0] + 16, &read[0][0]))
            same = 0;
    }
    G.RandomState = state;
    G.DealStream = stream;
    std::copy(deck, deck + 52, std::begin(G.Deck));
    return same;
}


DealReading ReadDealText(const std::string& text) {
    DealReading reading;
    const char* first = text.size() >= 2 && text[1] == ':' && text[0] ? std::strchr(SeatLetters, text[0]) : nullptr;
    if (first == nullptr) {
        reading.stop = DealReading::NoStart;
        return reading;
    }
    int seat = (int)(first - SeatLetters), suit = 0, hands = 1;
    for (size_t i = 2; i < text.size(); i++) {
        const char ch = text[i];
        const char* rank = ch ? std::strchr(RankLetters, ch) : nullptr;
        if (ch == '.') {
            if (++suit > 3) {
                reading.stop = DealReading::FifthSuit;
                reading.seat = seat;
                return reading;
            }
        } else if (ch == ' ') {
            if (++hands > 4) {
                reading.stop = DealReading::FifthHand;
                return reading;
            }
            seat = (seat + 1) % 4;
            suit = 0;
        } else if (rank != nullptr) {
            reading.named[seat][suit][rank - RankLetters]++;
        } else {
            reading.stop = ch == '-' ? DealReading::NotGiven : DealReading::BadCharacter;
            reading.character = ch;
            return reading;
        }
    }
    return reading;
}

int DealFault(const std::string& text, uint16_t masks[4][4]) {
    for (int s = 0; s < 4; s++)
        for (int t = 0; t < 4; t++) masks[s][t] = 0;
    const DealReading reading = ReadDealText(text);
    if (reading.stop != DealReading::Whole) return RETURN_PBN_FAULT;
    bool twice = false;
    for (int t = 0; t < 4; t++)
        for (int r = 0; r < 13; r++) {
            int times = 0;
            for (int s = 0; s < 4; s++) {
                times += reading.named[s][t][r];
                if (reading.named[s][t][r]) masks[s][t] |= (uint16_t)(1u << r);
            }
            twice = twice || times > 1;
        }
    // Like DDS, a hand counts a card it names twice once.
    int count[4] = {}, total = 0;
    for (int s = 0; s < 4; s++)
        for (int t = 0; t < 4; t++) count[s] += std::popcount(masks[s][t]);
    for (int s = 0; s < 4; s++) total += count[s];
    if (total == 0) return RETURN_ZERO_CARDS;
    if (total > 52) return RETURN_TOO_MANY_CARDS;
    for (int s = 0; s < 4; s++)
        if (count[s] != 13) return RETURN_CARD_COUNT;
    if (twice) return RETURN_DUPLICATE_CARDS;
    return RETURN_NO_FAULT;
}

int DealFault(const std::string& text) {
    uint16_t masks[4][4];
    return DealFault(text, masks);
}

bool HandMasksFromDealText(const std::string& text, uint16_t masks[4][4]) {
    // Wrong card counts and duplicates are left for the solver to report.
    if (DealFault(text, masks) != RETURN_PBN_FAULT) return true;
    for (int s = 0; s < 4; s++)
        for (int t = 0; t < 4; t++) masks[s][t] = 0;
    return false;
}

int HandsFromDealTexts() {
    for (int board = 0; board <= MaxBoards; board++)
        for (int seat = 0; seat < 4; seat++)
            for (int suit = 0; suit < 4; suit++) G.HandMasks[board][seat][suit] = 0;
    int total = G.TotalBoards < 0 ? 0 : (G.TotalBoards > MaxBoards ? MaxBoards : G.TotalBoards);
    int firstBad = 0;
    for (int board = 1; board <= total; board++)
        if (BoardInGame(board) && !HandMasksFromDealText(G.DealText[board], G.HandMasks[board]) && firstBad == 0)
            firstBad = board;
    // The summaries follow the masks on every board, also the emptied ones.
    for (int board = 1; board <= MaxBoards; board++) SummarizeBoard(board);
    return firstBad;
}
