// The double-dummy analysis of every board through DDS, with its progress
// screen, Esc between boards and the solver's error screens.
#include "analysis/analysis.h"

#include <dds/dll.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "analysis/par.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "platform/platform.h"
#include "shell/kit.h"

namespace {

const char* const SupportAddress = "support@kelmo.example";

// resTable element i is DDS strain i div 4 (spades, hearts, diamonds, clubs,
// notrump) and hand i mod 4; ours runs clubs 1 .. spades 4, notrump 5.
void StoreTricks(int board, const ddTableResults& results) {
    for (int i = 0; i < 20; i++) {
        int x = i / 4;
        int strain = x < 4 ? 4 - x : 5;
        int seat = i % 4 + 1;
        G.DDTricks[board][seat][strain] = (&results.resTable[0][0])[i];
    }
}

ddTableDealPBN DealOfBoard(int board) {
    ddTableDealPBN deal;
    std::memset(&deal, 0, sizeof deal);
    const std::string& text = G.DealText[board];
    std::memcpy(deal.cards, text.data(), std::min<size_t>(text.size(), sizeof deal.cards - 1));
    return deal;
}

bool SolvedAheadAllowed(int board) { return DealFault(G.DealText[board]) == RETURN_NO_FAULT; }

void ShowSolverError(int board, int code) {
    PlayNamedSound("notify2");
    ConsoleCursor(CURSOR_HIDE);
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleColor(MAGENTA, BRIGHTWHITE);
    std::string n = std::to_string(board);
    if (code == RETURN_ZERO_CARDS || code == RETURN_TOO_MANY_CARDS || code == RETURN_CARD_COUNT) {
        ConsoleLocate(16, 13);
        ConsoleWrite(" Error in hand data on Board #" + n + " - Wrong number of cards ");
    } else if (code == RETURN_DUPLICATE_CARDS) {
        ConsoleLocate(16, 13);
        ConsoleWrite(" Error in hand data on Board #" + n + " - Duplication of cards ");
    } else {
        ConsoleLocate(16, 16);
        ConsoleWrite(" Unknown fault. Program terminated. Sorry.        ");
        ConsoleLocate(17, 16);
        ConsoleWrite(" If using a PBN file, check the hand data;        ");
        ConsoleLocate(18, 16);
        ConsoleWrite(std::string(" else please email ") + SupportAddress + " with details. ");
    }
    G.AbandonFlag = 1;
    ConsoleLocate(21, 36);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("<any key>");
    ReadKey();
    FlushKeys();
}

void ShowBoardNumber(int board) {
    ConsoleLocate(17, 22);
    ConsoleColor(BRIGHTWHITE, BLUE);
    ConsoleWrite("Board:   ");
    ConsoleColor(YELLOW, BLUE);
    ConsoleWriteNumber(board);
}

// How many boards one solver call takes when the screen has caught up with
// board `first`. DDS spreads a call's tables over every core, but the cores
// idle at the end of each call: a first call of eight boards shows the first
// results within about a second, and one call for all the rest keeps the idle
// ends to one more.
int AheadBatchSize(int first, int total) {
    int size = first == 1 ? 8 : total;
    return std::min({size, total - first + 1, MAXNOOFTABLES});
}

// Boards solved ahead of the screen.
struct AheadTables {
    int solvedThrough = 0;     // boards up to here have results below
    int oneByOneThrough = 0;   // boards up to here go to SolveBoard (a batch failed)
    ddTableResults results[MaxBoards + 1];
};

void SolveAhead(AheadTables& ahead, int first, int total) {
    int last = std::min(total, first + AheadBatchSize(first, total) - 1);
    // A faulty deal is left to SolveBoard, which reports it when the screen
    // gets there; the batch stops short of it.
    for (int board = first; board <= last; board++)
        if (!SolvedAheadAllowed(board)) {
            last = board - 1;
            break;
        }
    if (last < first) {
        ahead.oneByOneThrough = first;
        return;
    }
    auto deals = std::make_unique<ddTableDealsPBN>();
    auto results = std::make_unique<ddTablesRes>();
    auto par = std::make_unique<allParResults>();
    std::memset(deals.get(), 0, sizeof *deals);
    deals->noOfTables = last - first + 1;
    for (int board = first; board <= last; board++) deals->deals[board - first] = DealOfBoard(board);
    int filter[DDS_STRAINS] = {0, 0, 0, 0, 0};
    int code = CalcAllTablesPBN(deals.get(), -1, filter, results.get(), par.get());
    if (code == RETURN_NO_FAULT) {
        for (int board = first; board <= last; board++) ahead.results[board] = results->results[board - first];
        ahead.solvedThrough = last;
    } else {
        // Solve this stretch again board by board, so that the board at
        // fault is the one reported, after the good ones before it.
        ahead.oneByOneThrough = last;
    }
}

}  // namespace

void PrepareSolver() {
    static bool prepared = false;
    if (prepared) return;
    SetMaxThreads(0);
    prepared = true;
}

std::string ElapsedText(float seconds) {
    long whole = std::lround(std::max(0.0f, seconds));
    std::string text = " " + std::to_string(whole / 60) + ":";
    long rest = whole % 60;
    if (rest < 10) text += "0";
    return text + std::to_string(rest);
}

std::string ResultLine(int board) {
    std::string line = "N:-----   S:-----   E:-----   W:-----";
    static const int seats[4] = {1, 3, 2, 4};
    for (int k = 0; k < 4; k++)
        for (int strain = 1; strain <= 5; strain++) {
            int tricks = G.DDTricks[board][seats[k]][strain];
            if (tricks >= 7 && tricks <= 13) line[k * 10 + 1 + strain] = (char)('0' + tricks - 6);
        }
    return line;
}

void SolveBoard(int board) {
    ddTableResults results;
    std::memset(&results, 0, sizeof results);
    // DDS can crash or end the process on some deals that are no deal (a
    // short hand after an earlier solve), so only whole deals reach it; the
    // others get the code DDS gives them.
    int code = DealFault(G.DealText[board]);
    if (code == RETURN_NO_FAULT) code = CalcDDtablePBN(DealOfBoard(board), &results);
    G.ErrorCode = code;
    if (code == RETURN_NO_FAULT)
        StoreTricks(board, results);
    else
        ShowSolverError(board, code);
}

void ddanalysis() {
    PrepareSolver();
    for (auto& row : G.DDTricks)
        for (auto& seat : row)
            for (int& value : seat) value = 0;
    G.AbandonFlag = 0;
    double start = P.clock->ElapsedSeconds();
    ConsoleCursor(CURSOR_HIDE);
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(14, 30);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("DOUBLE-DUMMY ANALYSIS");

    int total = std::clamp(G.TotalBoards, 0, MaxBoards);
    auto ahead = std::make_unique<AheadTables>();
    for (int board = 1; board <= total; board++) {
        if (board == 1) {
            ShowBoardNumber(1);
            P.console->Refresh();
        }
        if (board > ahead->solvedThrough && board > ahead->oneByOneThrough) SolveAhead(*ahead, board, total);
        if (board <= ahead->solvedThrough) {
            G.ErrorCode = RETURN_NO_FAULT;
            StoreTricks(board, ahead->results[board]);
        } else {
            SolveBoard(board);
        }

        std::string key = PollKey();
        if (key == KEY_ESC || G.AbandonFlag == 1) {
            G.AbandonFlag = 1;
            return;
        }

        float elapsed = (float)(P.clock->ElapsedSeconds() - start);
        ShowBoardNumber(board);
        ConsoleLocate(19, 22);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite("Time:    ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(ElapsedText(elapsed));
        ConsoleLocate(21, 22);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite("Results:  ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(ResultLine(board));
        // Let the director see this board before the next solve blocks.
        P.console->Refresh();
    }

    ConsoleLocate(14, 54);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("DONE!");
    PlayNamedSound("done2");
    Pause(1500);
    GetParResults();
}
