#include "dealing/deal.h"

#include <cstdio>
#include <cstring>

#include "dealing/random.h"
#include "model/model.h"
#include "shell/kit.h"

static const char RankLetters[] = "AKQJT98765432";
static const char SeatLetters[] = "NESW";

int DealingKeySeed(int year, int month, int day) {
    return 2 * (372 * year + 31 * (month - 1) + day) + 1;
}

int32_t DealingKeySkips(int session, int gameNumber) {
    return (int32_t)(session - 1) * 10000 + gameNumber;
}

void ApplyDealingKey() {
    RandomReseed((double)DealingKeySeed(G.GameYear, G.GameMonth, G.GameDay));
    RandomStep();
    int32_t skips = DealingKeySkips(G.SessionNumber, G.GameNumber);
    for (int32_t i = 0; i < skips; i++) RandomStep();
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

void DealBoards(int first, int last, int show) {
    if (first < 1) first = 1;
    if (last > MaxBoards) last = MaxBoards;
    if (show) {
        ConsoleCursor(CURSOR_HIDE);
        ClearWorkArea();
        ConsoleColor(YELLOW, BLUE);
        ConsoleLocate(15, 27);
        ConsoleColor(LIGHTGREEN, BLUE);
        ConsoleWrite("Shuffling and dealing... ");
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleCursor(CURSOR_HIDE);
    }
    for (int board = first; board <= last; board++) {
        if (show) {
            char number[16];
            std::snprintf(number, sizeof number, "%2d", board);
            ConsoleLocate(0, 52);
            ConsoleWrite(number);
        }
        do {
            ShuffleAndDeal(G.HandMasks[board]);
            SummarizeBoard(board);
        } while (G.LongestEast[board] + G.LongestWest[board] > 22);
        Pause(40);
    }
    Pause(1000);
}

bool HandMasksFromDealText(const std::string& text, uint16_t masks[4][4]) {
    uint16_t read[4][4] = {};
    bool good = text.size() >= 2 && text[1] == ':';
    int seat = 0, suit = 0, hands = 1;
    if (good) {
        const char* letter = text[0] ? std::strchr(SeatLetters, text[0]) : nullptr;
        if (letter == nullptr) good = false;
        else seat = (int)(letter - SeatLetters);
    }
    for (size_t i = 2; good && i < text.size() && i < 69; i++) {
        char ch = text[i];
        if (ch == '.') {
            if (++suit > 3) good = false;
        } else if (ch == ' ') {
            if (++hands > 4) good = false;
            seat = (seat + 1) % 4;
            suit = 0;
        } else {
            const char* rank = ch ? std::strchr(RankLetters, ch) : nullptr;
            if (rank == nullptr) good = false;
            else read[seat][suit] |= (uint16_t)(1u << (rank - RankLetters));
        }
    }
    for (int s = 0; s < 4; s++)
        for (int t = 0; t < 4; t++) masks[s][t] = good ? read[s][t] : 0;
    return good;
}

int HandsFromDealTexts() {
    for (int board = 0; board <= MaxBoards; board++)
        for (int seat = 0; seat < 4; seat++)
            for (int suit = 0; suit < 4; suit++) G.HandMasks[board][seat][suit] = 0;
    int total = G.TotalBoards < 0 ? 0 : (G.TotalBoards > MaxBoards ? MaxBoards : G.TotalBoards);
    int firstBad = 0;
    for (int board = 1; board <= total; board++)
        if (!HandMasksFromDealText(G.DealText[board], G.HandMasks[board]) && firstBad == 0)
            firstBad = board;
    // The summaries follow the masks on every board, also the emptied ones.
    for (int board = 1; board <= MaxBoards; board++) SummarizeBoard(board);
    return firstBad;
}
