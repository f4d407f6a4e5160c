// Rendering the printouts to PDF: the 18 pages of a 36-board hand-record and
// each side of the handout sheet, through the real page device.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "platform/platform.h"
#include "printing/print.h"
#include "shell/mainloop.h"

namespace {

// Answers the printouts' questions from a queue; no waiting, no screen.
class QueueConsole : public Console {
public:
    std::string ReadKey() override {
        if (keys.empty()) return "\r";
        std::string key = keys.front();
        keys.pop_front();
        return key;
    }
    std::string PollKey() override { return ""; }
    void FlushKeys() override {}
    std::deque<std::string> keys;
};

class InstantClock : public Clock {
public:
    LocalTime Now() override { return LocalTime{2015, 3, 7, 19, 0, 0, 0}; }
    double ElapsedSeconds() override { return 0; }
    void Pause(int) override {}
};

struct PrintBench {
    PrintBench() {
        setenv("KELMO_NO_CUPS", "1", 1);
        // The font of this build, beside the bench binary's folder.
        auto font = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                    "resources/fonts/bridge.ttf";
        FcConfigAppFontAddFile(FcConfigGetCurrent(), (const FcChar8*)font.c_str());
        folder = std::filesystem::temp_directory_path() / ("kelmo-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        P.console = &console;
        P.clock = &clock;
        printer.reset(MakeSystemPrinter());
        P.printer = printer.get();

        initialize();
        G.ClubName = "Keelward Bridge Club";
        G.EventName = "Tuesday Evening Pairs";
        G.LogoText[1] = "Bridge", G.LogoText[2] = "For", G.LogoText[3] = "Keelward";
        G.ClubNameFont = "times new roman";
        G.EventNameFont = "comic sans ms";
        G.GameMonth = 3, G.GameDay = 7, G.GameYear = 15;
        datecontrol(G.GameMonth, G.GameDay, G.GameYear);
        G.SessionNumber = 3;
        G.TotalBoards = 36;
        G.GameNumber = 1234;
        BuildControlString();
        ApplyDealingKey();
        DealBoards(1, 36, 0);
        for (int b = 1; b <= 36; b++) {
            for (int seat = 1; seat <= 4; seat++)
                for (int strain = 1; strain <= 5; strain++) G.DDTricks[b][seat][strain] = (b + seat + strain) % 14;
            G.ParText[b] = "4S-N +420";
        }
        CreatePrintFonts();
    }
    ~PrintBench() {
        P = Platform{};
        printer.reset();
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(folder, ec);
    }
    // Each job keeps a new PDF; start every iteration from an empty folder
    // so they all write the same first name.
    static void ClearPrints(benchmark::State& state) {
        state.PauseTiming();
        std::error_code ec;
        std::filesystem::remove_all("PRINTS", ec);
        state.ResumeTiming();
    }
    QueueConsole console;
    InstantClock clock;
    std::unique_ptr<PageDevice> printer;
    std::filesystem::path folder;
};

void BM_HandRecords36ToPdf(benchmark::State& state) {
    PrintBench bench;
    for (auto _ : state) {
        bench.console.keys = {" "};
        PrintHandRecords();
        PrintBench::ClearPrints(state);
    }
    state.SetLabel("18 pages");
}
BENCHMARK(BM_HandRecords36ToPdf)->Unit(benchmark::kMillisecond);

void BM_HandoutSide1ToPdf(benchmark::State& state) {
    PrintBench bench;
    for (auto _ : state) {
        bench.console.keys = {"\r", "Y", "N"};
        PrintHandouts();
        PrintBench::ClearPrints(state);
    }
}
BENCHMARK(BM_HandoutSide1ToPdf)->Unit(benchmark::kMillisecond);

void BM_HandoutSide2ToPdf(benchmark::State& state) {
    PrintBench bench;
    for (auto _ : state) {
        bench.console.keys = {"\r", "N", "Y", " "};
        PrintHandouts();
        PrintBench::ClearPrints(state);
    }
}
BENCHMARK(BM_HandoutSide2ToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
