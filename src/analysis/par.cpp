// Duplicate scoring and the par result of every board from its
// double-dummy tricks.
#include "analysis/par.h"

#include <algorithm>

#include "model/model.h"

int ScoreContract(int level, int strain, int tricks, int vulnerable, int doubled) {
    int made = tricks - 6;
    if (level > made) {
        int under = level - made;
        if (!doubled) return -(vulnerable ? 100 : 50) * under;
        if (vulnerable) return -(300 * under - 100);
        if (under == 1) return -100;
        if (under == 2) return -300;
        return -(300 * under - 400);
    }
    int over = made - level;
    int perTrick = strain <= 2 ? 20 : 30;
    int factor = doubled ? 2 : 1;
    int trickScore = (perTrick * level + (strain == 5 ? 10 : 0)) * factor;
    int score = trickScore + 50;
    if (trickScore >= 100) score += vulnerable ? 450 : 250;
    if (level == 6) score += vulnerable ? 750 : 500;
    if (level == 7) score += vulnerable ? 1500 : 1000;
    if (doubled) score += 50;
    if (doubled)
        score += over * (vulnerable ? 200 : 100);
    else
        score += over * perTrick;
    return score;
}

namespace {

constexpr int NS = 1, EW = 2;

bool SideOfSeat(int seat, int side) { return side == NS ? (seat == 1 || seat == 3) : (seat == 2 || seat == 4); }

}  // namespace

std::string ParOfBoard(int board, const int tricks[5][6]) { return ParOfBoardWithContracts(board, tricks).text; }

ParResult ParOfBoardWithContracts(int board, const int tricks[5][6]) {
    int seatScore[5][36] = {};
    int sideScore[3][36] = {};
    int bestScore[3] = {}, bestIndex[3] = {};

    for (int seat = 1; seat <= 4; seat++) {
        int vulnerable = BoardSeatVulnerable(board, seat - 1) ? 1 : 0;
        for (int strain = 1; strain <= 5; strain++) {
            // Stored files can carry anything; keep the count a real one.
            int t = std::clamp(tricks[seat][strain], 0, 13);
            for (int level = std::max(1, t - 6); level <= 7; level++)
                seatScore[seat][(level - 1) * 5 + strain] =
                    ScoreContract(level, strain, t, vulnerable, level + 6 > t ? 1 : 0);
        }
    }

    for (int side = NS; side <= EW; side++) {
        int a = side == NS ? 1 : 2, b = a + 2;
        for (int index = 1; index <= 35; index++) {
            sideScore[side][index] = std::max(seatScore[a][index], seatScore[b][index]);
            if (sideScore[side][index] > 0 && sideScore[side][index] >= bestScore[side]) {
                bestScore[side] = sideScore[side][index];
                bestIndex[side] = index;
            }
        }
    }

    if (bestScore[NS] == 0 && bestScore[EW] == 0) return {"Passout", {}};

    int side = bestIndex[EW] > bestIndex[NS] ? EW : NS;
    int s = bestScore[side], c = bestIndex[side];
    int s0 = s;

    if (s > 90) {
        while (c < 35) {
            int other = side == NS ? EW : NS;
            int top = std::min(c + 4, 35);
            int best = sideScore[other][c + 1], at = c + 1;
            for (int index = c + 2; index <= top; index++)
                if (sideScore[other][index] >= best) {
                    best = sideScore[other][index];
                    at = index;
                }
            if (best <= -s) break;
            side = other;
            s = best;
            c = at;
        }
    }

    // Each declarer with the contract it scores the par in.
    ParResult result;
    std::string declarers;
    auto declare = [&](int seat, int index) {
        const int level = (index - 1) / 5 + 1, strain = (index - 1) % 5 + 1;
        declarers += SeatLetters[seat - 1];
        result.contracts.push_back({seat, level, strain, level + 6 > std::clamp(tricks[seat][strain], 0, 13)});
    };
    if (s == s0 && bestScore[NS] == bestScore[EW] && bestIndex[NS] == bestIndex[EW]) {
        for (int seat = 1; seat <= 4; seat++)
            if (seatScore[seat][c] == s) declare(seat, c);
    }
    if (declarers.empty()) {
        for (int seat = 1; seat <= 4; seat++) {
            if (!SideOfSeat(seat, side)) continue;
            for (int index = std::max(1, c - 3); index <= c; index++)
                if (seatScore[seat][index] == s) {
                    declare(seat, index);
                    break;
                }
        }
    }

    if (s == 0) return {"Passout", {}};
    result.text = declarers + " " + std::to_string(s);
    return result;
}

void GetParResults() {
    int total = std::clamp(G.TotalBoards, 0, MaxBoards);
    for (int board = 1; board <= total; board++)
        G.ParText[board] = BoardInGame(board) ? ParOfBoard(board, G.DDTricks[board]) : std::string();
}
