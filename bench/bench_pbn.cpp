// Reading a 5 MB PBN file of 36 boards: the bytes from disk, their
// characters, and the games in them. Writing a game of 36 boards as a PBN
// file and as a web page. The list of games of a folder that
// also holds a stray file of a gigabyte: its time, and the program's peak
// memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "pbn/pbnscan.h"
#include "platform/files.h"
#include "web/webpage.h"

static std::string LargeFile() {
    const std::string deal = "N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765";
    std::string text = "% PBN 2.1\r\n% EXPORT\r\n";
    for (int board = 1; board <= 36; board++) {
        text += "[Event \"Caf\xE9 Pairs\"]\r\n[Site \"#\"]\r\n[Date \"2026.12.08\"]\r\n[Board \"" +
                std::to_string(board) + "\"]\r\n[Dealer \"N\"]\r\n[Vulnerable \"None\"]\r\n[Deal \"" + deal +
                "\"]\r\n[Auction \"N\"]\r\n1NT Pass 3NT Pass\r\nPass Pass\r\n[Play \"E\"]\r\nS2 S3 SA S4\r\n";
        // Commentary makes up the bulk, as in files of annotated play.
        text += "{";
        while (text.size() < (size_t)board * 5000000 / 36) text += "The defence found the only lead to beat it. ";
        text += "}\r\n[OptimumScore \"NS 400\"]\r\n\r\n";
    }
    return text;
}

static void BM_ReadPbnFileOf5MB(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "kelmo-bench-5mb.pbn").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << LargeFile();
    }
    for (auto _ : state) {
        std::string bytes;
        ReadWholeFile(path, bytes, PbnFileLimit);
        PbnFileFound found = ScanPbnText(PbnTextFromBytes(bytes));
        if (found.games.size() != 1 || found.games[0].boards.size() != 36) state.SkipWithError("not 36 boards");
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)std::filesystem::file_size(path));
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadPbnFileOf5MB)->Unit(benchmark::kMillisecond);

static void BM_ListOfGamesBesideAGigabyteFile(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "kelmo-bench-list";
    fs::create_directories(folder);
    const fs::path old = fs::current_path();
    fs::current_path(folder);
    for (int i = 1; i <= 3; i++) std::ofstream("game" + std::to_string(i) + ".pbn", std::ios::binary) << LargeFile().substr(0, 200000);
    // A gigabyte that takes no disk: a sparse file.
    if (truncate("stray.pbn", 0) != 0) std::ofstream("stray.pbn");
    if (truncate("stray.pbn", (off_t)1 << 30) != 0) state.SkipWithError("no sparse file");
    G.PBNfilesDirectory = "";
    for (auto _ : state) {
        const PbnGameList list = ListPbnGames();
        if (list.games.size() != 3 || list.tooBig.size() != 1) state.SkipWithError("not 3 games and 1 too big");
        benchmark::DoNotOptimize(list);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = (double)usage.ru_maxrss / 1024;
    fs::current_path(old);
    fs::remove_all(folder);
}
BENCHMARK(BM_ListOfGamesBesideAGigabyteFile)->Unit(benchmark::kMillisecond);

// A dealt game of 36 boards, its tricks made up: what both writers read.
static void Game36() {
    G.GameYear = 15, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 2, G.GameNumber = 1234, G.TotalBoards = 36;
    G.ClubName = "Keelward Bridge Club", G.EventName = "Caf\x82 Pairs";
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    BuildControlString();
    ApplyDealingKey();
    for (int board = 1; board <= 36; board++) {
        DealNextBoard(board);
        for (int seat = 1; seat <= 4; seat++)
            for (int strain = 1; strain <= 5; strain++) G.DDTricks[board][seat][strain] = (board + seat + strain) % 14;
    }
    BuildDealTexts();
    GetParResults();
    EncodeDDTricksTexts();
}

static void BM_PbnFileOf36Boards(benchmark::State& state) {
    Game36();
    for (auto _ : state) benchmark::DoNotOptimize(PbnFileText("12-09-2026"));
}
BENCHMARK(BM_PbnFileOf36Boards)->Unit(benchmark::kMicrosecond);

static void BM_WebPageOf36Boards(benchmark::State& state) {
    Game36();
    for (auto _ : state) benchmark::DoNotOptimize(WebPageText());
}
BENCHMARK(BM_WebPageOf36Boards)->Unit(benchmark::kMicrosecond);
