// The dealing key at its longest skip and the shuffle of a full game.
#include <benchmark/benchmark.h>

#include "dealing/deal.h"
#include "model/model.h"

static void BM_DealingKeyLateSession(benchmark::State& state) {
    G.GameMonth = 12;
    G.GameDay = 31;
    G.GameYear = 27;
    G.SessionNumber = 4;
    G.GameNumber = 9999;
    for (auto _ : state) {
        ApplyDealingKey();
        benchmark::DoNotOptimize(G.RandomState);
    }
}
BENCHMARK(BM_DealingKeyLateSession);

static void BM_ShuffleThirtySixBoards(benchmark::State& state) {
    G.RandomState = 0x46308C00u;
    for (auto _ : state) {
        for (int board = 1; board <= MaxBoards; board++) ShuffleAndDeal(G.HandMasks[board]);
        benchmark::DoNotOptimize(G.HandMasks);
    }
}
BENCHMARK(BM_ShuffleThirtySixBoards);
