// The double-dummy analysis of every board through DDS, with its progress
// screen, Esc between boards and the solver's error screens.
#include "analysis/analysis.h"

#include <dds/dll.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "analysis/par.h"
#include "console/kit.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "platform/platform.h"
#include "platform/threads.h"

namespace {

const char* const SupportAddress = "support@kelmo.example";

// resTable element i is DDS strain i div 4 (spades, hearts, diamonds, clubs,
// notrump) and hand i mod 4; ours runs clubs 1 .. spades 4, notrump 5.
void StoreTricks(int board, const ddTableResults& results) {
    for (int i = 0; i < 20; i++) {
        int x = i / 4;
        int strain = x < 4 ? 4 - x : 5;
        int seat = i % 4 + 1;
        G.DDTricks[board][seat][strain] = TableEntry(results.resTable, i);
    }
}

ddTableDealPBN DealOfText(const std::string& text) {
    ddTableDealPBN deal;
    std::memset(&deal, 0, sizeof deal);
    std::memcpy(deal.cards, text.data(), std::min<size_t>(text.size(), sizeof deal.cards - 1));
    return deal;
}

// Rows of the analysis screen.
constexpr int TitleRow = 14, FaultRow = 16, BoardRow = 17, TimeRow = 19, ResultsRow = 21, AnyKeyRow = 21;

void ShowSolverError(int board, int code) {
    PlayNamedSound("notify2");
    ConsoleCursor(CURSOR_HIDE);
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleColor(MAGENTA, BRIGHTWHITE);
    std::string n = std::to_string(BoardNumberShown(board));
    if (code == RETURN_ZERO_CARDS || code == RETURN_TOO_MANY_CARDS || code == RETURN_CARD_COUNT) {
        ConsoleLocate(FaultRow, 13);
        ConsoleWrite(" Error in hand data on Board #" + n + " - Wrong number of cards ");
    } else if (code == RETURN_DUPLICATE_CARDS) {
        ConsoleLocate(FaultRow, 13);
        ConsoleWrite(" Error in hand data on Board #" + n + " - Duplication of cards ");
    } else {
        ConsoleLocate(FaultRow, 16);
        ConsoleWrite(" Unknown fault. Program terminated. Sorry.        ");
        ConsoleLocate(FaultRow + 1, 16);
        ConsoleWrite(" If using a PBN file, check the hand data;        ");
        ConsoleLocate(FaultRow + 2, 16);
        ConsoleWrite(std::string(" else please email ") + SupportAddress + " with details. ");
    }
    G.AbandonFlag = 1;
    ConsoleLocate(AnyKeyRow, 36);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("<any key>");
    ReadKey();
    FlushKeys();
}

void ShowBoardNumber(int board) {
    ConsoleLocate(BoardRow, 22);
    ConsoleColor(BRIGHTWHITE, BLUE);
    ConsoleWrite("Board:   ");
    ConsoleColor(YELLOW, BLUE);
    ConsoleWriteNumber(BoardNumberShown(board));
}

// Boards solved off the screen's path. One worker thread calls DDS (its API
// is not safe to call from two threads at once) on small batches of the next
// boards; the screen takes each board's result when it gets there, so every
// board is shown in order as it is finished and Esc is answered between
// boards. The worker owns copies of the deals and touches nothing else.
struct AheadJob {
    std::mutex lock;
    std::condition_variable changed;
    int total = 0;
    int batch = 1;
    std::string deals[MaxBoards + 1];
    int codes[MaxBoards + 1] = {};
    ddTableResults results[MaxBoards + 1];
    bool absent[MaxBoards + 1] = {};   // boards an imported game lacks: nothing to solve
    int doneThrough = 0;    // boards up to here have their code and results
    int shownThrough = 0;   // boards up to here have been taken by the screen
    bool finished = false;  // the worker has stopped
    bool dropped = false;   // the screen wants no more boards
};

// Both used by the screen thread only.
std::thread worker;
std::unique_ptr<AheadJob> job;

// Publishes boards first..last (codes and results already written).
void Publish(AheadJob& work, int last) {
    std::lock_guard<std::mutex> hold(work.lock);
    work.doneThrough = last;
    work.changed.notify_all();
}

// Waits until the batch from `first` may start: at most one batch finished
// and not yet shown, so DDS never runs far ahead of the screen. False when
// the screen has dropped the run.
bool MayStart(AheadJob& work, int first) {
    std::unique_lock<std::mutex> hold(work.lock);
    work.changed.wait(hold, [&] { return work.dropped || first <= work.shownThrough + work.batch + 1; });
    return !work.dropped;
}

void SolveAheadLoop(AheadJob& work) {
    auto deals = std::make_unique<ddTableDealsPBN>();
    auto results = std::make_unique<ddTablesRes>();
    auto par = std::make_unique<allParResults>();
    int first = 1;
    while (first <= work.total && MayStart(work, first)) {
        if (work.absent[first]) {
            work.codes[first] = RETURN_NO_FAULT;
            Publish(work, first++);
            continue;
        }
        // A faulty deal never reaches DDS; the screen stops at it.
        int fault = DealFault(work.deals[first]);
        if (fault != RETURN_NO_FAULT) {
            work.codes[first] = fault;
            Publish(work, first);
            break;
        }
        int last = first;
        while (last < std::min(work.total, first + work.batch - 1) && !work.absent[last + 1] &&
               DealFault(work.deals[last + 1]) == RETURN_NO_FAULT)
            last++;
        std::memset(deals.get(), 0, sizeof *deals);
        deals->noOfTables = last - first + 1;
        for (int board = first; board <= last; board++) deals->deals[board - first] = DealOfText(work.deals[board]);
        int filter[DDS_STRAINS] = {0, 0, 0, 0, 0};
        int code = CalcAllTablesPBN(deals.get(), -1, filter, results.get(), par.get());
        if (code == RETURN_NO_FAULT) {
            for (int board = first; board <= last; board++) {
                work.codes[board] = code;
                work.results[board] = results->results[board - first];
            }
            Publish(work, last);
            first = last + 1;
            continue;
        }
        // Solve this stretch again board by board, so that the board at
        // fault is the one reported, after the good ones before it.
        for (int board = first; board <= last; board++) {
            std::memset(&work.results[board], 0, sizeof work.results[board]);
            work.codes[board] = CalcDDtablePBN(DealOfText(work.deals[board]), &work.results[board]);
            Publish(work, board);
            if (work.codes[board] != RETURN_NO_FAULT) return;
        }
        first = last + 1;
    }
}

void RunWorker(AheadJob* work) {
    try {
        SolveAheadLoop(*work);
    } catch (...) {
        // Out of memory: the screen solves the rest itself.
    }
    std::lock_guard<std::mutex> hold(work->lock);
    work->finished = true;
    work->changed.notify_all();
}

// The worker stops before its next call.
void DropRun() {
    if (!job) return;
    std::lock_guard<std::mutex> hold(job->lock);
    job->dropped = true;
    job->changed.notify_all();
}

// Drops what the worker has not handed over and waits until it is idle, so
// that DDS has only one caller.
void StopWorker() {
    DropRun();
    if (worker.joinable()) worker.join();
    job.reset();
}

void StartWorker(int total) {
    StopWorker();
    job = std::make_unique<AheadJob>();
    job->total = total;
    job->batch = AheadBatchSize();
    for (int board = 1; board <= total; board++) {
        job->deals[board] = G.DealText[board];
        job->absent[board] = !BoardInGame(board);
    }
    try {
        AheadJob* work = job.get();
        worker = StartThread([work] { RunWorker(work); });
    } catch (...) {
        job->finished = true;   // no thread: the screen solves every board
    }
}

// Waits for board b from the worker; false when the worker will not bring
// it (it stopped), and the screen must solve the board itself.
bool TakeSolved(int board, int& code, ddTableResults& results) {
    if (!job) return false;
    AheadJob& work = *job;
    std::unique_lock<std::mutex> hold(work.lock);
    work.changed.wait(hold, [&] { return work.doneThrough >= board || work.finished; });
    if (work.doneThrough < board) return false;
    code = work.codes[board];
    results = work.results[board];
    work.shownThrough = board;
    work.changed.notify_all();
    return true;
}

// Esc, a failure or an exception leaves the analysis at once: the worker
// drops the rest after the call it is in.
struct DropOnLeave {
    ~DropOnLeave() { DropRun(); }
};

}  // namespace

void PrepareSolver() {
    static bool prepared = false;
    if (prepared) return;
    // DDS may start its threads here already; like the ones it starts in
    // a solve, they must never take the ending signals.
    WithEndSignalsHeld([] { SetMaxThreads(0); });
    prepared = true;
}

void StopSolving() { StopWorker(); }

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

namespace {

// The solved board reaches the model, or its failure the screen.
void TakeResult(int board, int code, const ddTableResults& results) {
    G.ErrorCode = code;
    if (code == RETURN_NO_FAULT)
        StoreTricks(board, results);
    else
        ShowSolverError(board, code);
}

}  // namespace

int BoardsSolvedAhead() {
    if (!job) return 0;
    std::lock_guard<std::mutex> hold(job->lock);
    return job->doneThrough - job->shownThrough;
}

int AheadBatchSize() {
    // Each call leaves cores idle at its end while its last tables finish:
    // two boards per core keep that within the speed of one call for the
    // whole game (one board per core measured some 10% slower), and Esc
    // waits for no more than one short call.
    int cores = std::max(1, (int)std::thread::hardware_concurrency());
    return std::min(2 * cores, MAXNOOFTABLES);
}

void SolveBoard(int board) {
    StopWorker();
    ddTableResults results;
    std::memset(&results, 0, sizeof results);
    // DDS can crash or end the process on some deals that are no deal (a
    // short hand after an earlier solve), so only whole deals reach it; the
    // others get the code DDS gives them.
    int code = DealFault(G.DealText[board]);
    if (code == RETURN_NO_FAULT)
        WithEndSignalsHeld([&] { code = CalcDDtablePBN(DealOfText(G.DealText[board]), &results); });
    TakeResult(board, code, results);
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
    ConsoleLocate(TitleRow, 30);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("DOUBLE-DUMMY ANALYSIS");

    int total = std::clamp(G.TotalBoards, 0, MaxBoards);
    StartWorker(total);
    DropOnLeave dropOnLeave;
    for (int board = 1; board <= total; board++) {
        if (board == 1) {
            ShowBoardNumber(1);
            P.console->Refresh();
        }
        int code = RETURN_NO_FAULT;
        ddTableResults results;
        if (!BoardInGame(board)) {
            TakeSolved(board, code, results);   // passed over, so the worker goes on
            continue;
        }
        if (TakeSolved(board, code, results))
            TakeResult(board, code, results);
        else
            SolveBoard(board);

        std::string key = PollKey();
        if (key == KeyEsc || G.AbandonFlag == 1) {
            G.AbandonFlag = 1;
            return;
        }

        float elapsed = (float)(P.clock->ElapsedSeconds() - start);
        ShowBoardNumber(board);
        ConsoleLocate(TimeRow, 22);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite("Time:    ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(ElapsedText(elapsed));
        ConsoleLocate(ResultsRow, 22);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite("Results:  ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(ResultLine(board));
        // Let the director see this board before the next solve blocks.
        P.console->Refresh();
    }

    StopWorker();
    ConsoleLocate(TitleRow, 54);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("DONE!");
    PlayNamedSound("done2");
    Pause(1500);
    GetParResults();
}
