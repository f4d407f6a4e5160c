// Reading a 5 MB PBN file of 36 boards: the bytes from disk, their
// characters, and the games in them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "pbn/pbnscan.h"
#include "platform/files.h"

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
        ReadWholeFile(path, bytes);
        PbnFileFound found = ScanPbnText(PbnTextFromBytes(bytes));
        if (found.games.size() != 1 || found.games[0].boards.size() != 36) state.SkipWithError("not 36 boards");
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)std::filesystem::file_size(path));
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadPbnFileOf5MB)->Unit(benchmark::kMillisecond);
