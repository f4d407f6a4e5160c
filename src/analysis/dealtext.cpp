#include "analysis/analysis.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/model.h"

std::string DealTextOfBoard(int board) {
    if (board < 1 || board > MaxBoards) return {};
    int dealer = BoardDealer(board);
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

std::string DealTextFromSeat(const std::string& text, int seat) {
    const char* first = text.size() > 2 && text[1] == ':' && text[0] ? std::strchr(SeatLetters, text[0]) : nullptr;
    if (first == nullptr || seat < 0 || seat > 3) return text;
    std::vector<std::string> hands;
    for (size_t at = 2, end; at <= text.size(); at = end + 1) {
        end = std::min(text.find(' ', at), text.size());
        hands.push_back(text.substr(at, end - at));
    }
    if (hands.size() != 4) return text;
    const int from = (int)(first - SeatLetters);
    std::string rotated = std::string(1, SeatLetters[seat]) + ":";
    for (int h = 0; h < 4; h++) rotated += (h ? " " : "") + hands[(size_t)((seat - from + 4 + h) % 4)];
    return rotated;
}

void BuildDealTexts() {
    // Boards beyond the game lose any text left from a longer game.
    for (int board = 1; board <= MaxBoards; board++)
        G.DealText[board] = board <= G.TotalBoards ? DealTextOfBoard(board) : std::string();
}
