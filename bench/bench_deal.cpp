// The dealing key at its longest skip and the shuffle of a full game.
#include <benchmark/benchmark.h>

#include "dealing/deal.h"
#include "dealing/private.h"
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

// A private game: 36 boards from a secret, through HMAC-SHA-256.
static void BM_PrivateThirtySixBoards(benchmark::State& state) {
    DealSecret secret{};
    for (int i = 0; i < 16; i++) secret[(size_t)i] = (uint8_t)(37 * i + 11);
    for (auto _ : state) {
        DealPrivateGame(secret, MaxBoards);
        benchmark::DoNotOptimize(G.HandMasks);
    }
}
BENCHMARK(BM_PrivateThirtySixBoards)->Unit(benchmark::kMicrosecond);
