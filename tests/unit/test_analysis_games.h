// Fixed games for the analysis and PBN tests: deals of the shuffled set in
// test_par_tables.inc with the tricks DDS found for them, so that only the
// tests that are about the solver need to run it.
#pragma once

#include <string>

#include "analysis/par.h"
#include "model/model.h"
#include "pbn/pbn.h"

struct SolvedDeal {
    const char* deal;
    int res[20];   // resTable in memory order: strains S H D C NT, hands N E S W
};

inline const SolvedDeal SolvedDeals[] = {
#include "unit/test_par_tables.inc"
};

// Deal i of the set starts with the hand of seat i mod 4, so it fits board
// i + 1 + 4k. Board b of a fixed game takes deal b - 1 + offset (offset a
// multiple of 4).
inline void FillFixedGame(int boards, int offset = 0) {
    G.TotalBoards = boards;
    for (int& absent : G.BoardAbsent) absent = 0;
    G.ClubName = "Keelward Bridge Club";
    G.EventName = "Tuesday Pairs";
    G.GameYear = 15;
    G.GameMonth = 3;
    G.GameDay = 7;
    G.SessionNumber = 2;
    G.PbnDate = "2015.03.07";
    G.ControlString = "#91722 31459";
    G.PBNfilesDirectory = "GAMEFILE.KM";
    for (int board = 1; board <= boards; board++) {
        const SolvedDeal& solved = SolvedDeals[board - 1 + offset];
        G.DealText[board] = solved.deal;
        for (int i = 0; i < 20; i++) {
            int x = i / 4;
            G.DDTricks[board][i % 4 + 1][x < 4 ? 4 - x : 5] = solved.res[i];
        }
    }
    GetParResults();
    EncodeDDTricksTexts();
}
