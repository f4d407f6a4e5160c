#include "analysis/analysis.h"

#include "model/model.h"

std::string DealTextOfBoard(int board) {
    if (board < 1 || board > MaxBoards) return {};
    int dealer = DealerSeat(board);
    std::string text;
    text += SeatLetters[dealer];
    text += ':';
    for (int h = 0; h < 4; h++) {
        int seat = (dealer + h) % 4;
        if (h > 0) text += ' ';
        for (int suit = 0; suit < 4; suit++) {
            if (suit > 0) text += '.';
            uint16_t mask = G.HandMasks[board][seat][suit];
            for (int r = 0; r < 13; r++)
                if (mask & (1u << r)) text += RankLetters[r];
        }
    }
    return text;
}

void BuildDealTexts() {
    // Boards beyond the game lose any text left from a longer game.
    for (int board = 1; board <= MaxBoards; board++)
        G.DealText[board] = board <= G.TotalBoards ? DealTextOfBoard(board) : std::string();
}
