// The analysis of a fixed 36-board game: through ddanalysis (screen on a
// console that shows nothing) and through one batched DDS call on the same
// deals, with the ratio of the two.
#include <benchmark/benchmark.h>
#include <dds/dll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "analysis/analysis.h"
#include "model/model.h"
#include "platform/platform.h"
#include "shell/mainloop.h"

namespace {

struct SolvedDeal {
    const char* deal;
    int res[20];
};
const SolvedDeal SolvedDeals[] = {
#include "../tests/unit/test_par_tables.inc"
};

class QuietConsole : public Console {
public:
    std::string ReadKey() override { return "\r"; }
    std::string PollKey() override { return ""; }
    void FlushKeys() override {}
};

class QuietClock : public Clock {
public:
    LocalTime Now() override { return LocalTime{2026, 12, 7, 12, 0, 0, 0}; }
    double ElapsedSeconds() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    void Pause(int) override {}
};

class QuietSound : public Sound {
public:
    void Play(const std::string&) override {}
};

QuietConsole console;
QuietClock quietClock;
QuietSound sound;

void SetUpGame() {
    P.console = &console;
    P.clock = &quietClock;
    P.sound = &sound;
    static bool ready = false;
    if (!ready) {
        initialize();
        PrepareSolver();
        ready = true;
    }
    G.TotalBoards = 36;
    for (int board = 1; board <= 36; board++) G.DealText[board] = SolvedDeals[board - 1].deal;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double TimeAnalysis(benchmark::State& state) {
    SetUpGame();
    auto start = std::chrono::steady_clock::now();
    ddanalysis();
    double seconds = Seconds(start);
    if (G.AbandonFlag != 0) state.SkipWithError("analysis abandoned");
    return seconds;
}

double TimeOneBatch(benchmark::State& state) {
    auto deals = std::make_unique<ddTableDealsPBN>();
    auto results = std::make_unique<ddTablesRes>();
    auto par = std::make_unique<allParResults>();
    std::memset(deals.get(), 0, sizeof *deals);
    deals->noOfTables = 36;
    for (int i = 0; i < 36; i++) std::strncpy(deals->deals[i].cards, SolvedDeals[i].deal, 79);
    int filter[DDS_STRAINS] = {0, 0, 0, 0, 0};
    auto start = std::chrono::steady_clock::now();
    int code = CalcAllTablesPBN(deals.get(), -1, filter, results.get(), par.get());
    double seconds = Seconds(start);
    if (code != RETURN_NO_FAULT) state.SkipWithError("CalcAllTablesPBN failed");
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Both paths in every round, in alternating order, so that a busy machine
// slows both alike; the median of the rounds' ratios is the figure.
void BM_AnalysisAgainstOneBatch(benchmark::State& state) {
    std::vector<double> analyses, batches, ratios;
    int round = 0;
    for (auto _ : state) {
        double analysis, batch;
        if (round++ % 2 == 0) {
            analysis = TimeAnalysis(state);
            batch = TimeOneBatch(state);
        } else {
            batch = TimeOneBatch(state);
            analysis = TimeAnalysis(state);
        }
        std::fprintf(stderr, "round %d: ddanalysis %.2f s, one CalcAllTablesPBN %.2f s, ratio %.3f\n", round,
                     analysis, batch, analysis / batch);
        analyses.push_back(analysis);
        batches.push_back(batch);
        ratios.push_back(analysis / batch);
    }
    state.counters["ddanalysis_s"] = Median(analyses);
    state.counters["batched_s"] = Median(batches);
    state.counters["ratio"] = Median(ratios);
    std::fprintf(stderr, "median: ddanalysis %.2f s, one CalcAllTablesPBN %.2f s, ratio %.3f (batch of %d)\n",
                 Median(analyses), Median(batches), Median(ratios), AheadBatchSize());
}

}  // namespace

BENCHMARK(BM_AnalysisAgainstOneBatch)->Iterations(7)->Unit(benchmark::kSecond);
