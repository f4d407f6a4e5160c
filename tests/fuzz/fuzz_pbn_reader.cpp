// Feeds any bytes to the PBN reader as the file of the game of 03/07/15,
// afternoon (so that a control number in it is checked against that game),
// or as another file the list offers when that one is missing; a file it
// takes goes on through the rest of the import: the names shown,
// hands, stored tricks, par, and the game written out as a PBN file again.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/par.h"
#include "console/kit.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "game/entry.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "platform/platform.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace {

class QuietConsole : public Console {
public:
    std::string ReadKey() override { return "\r"; }
    std::string PollKey() override { return ""; }
    void FlushKeys() override {}
};

QuietConsole console;
VirtualClock virtualClock;
RecordingSound sound;
FakeFontList fonts;
RecordingProcess process;
std::string workDir;

void RemoveWorkDir() {
    std::error_code ec;
    std::filesystem::remove_all(workDir, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelmo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    workDir = pattern;
    std::filesystem::current_path(workDir);
    atexit(RemoveWorkDir);
    StartWith(console, virtualClock, sound, fonts, process);
    initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Some inputs go under another name: the game's file is missing, and
    // the list of the folder's games offers this one (the console's Enter
    // takes the first game of a list).
    const bool elsewhere = size % 7 == 3;
    sound.played.clear();
    virtualClock.pauses.clear();
    std::filesystem::remove("GAMEFILE.KM/150307A.pbn");
    std::filesystem::remove("GAMEFILE.KM/other.pbn");
    std::filesystem::remove("GAMEFILE.KM/written.pbn");
    {
        std::ofstream out(elsewhere ? "GAMEFILE.KM/other.pbn" : "GAMEFILE.KM/150307A.pbn",
                          std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    }
    G.GameMonth = 3, G.GameDay = 7, G.GameYear = 15, G.SessionNumber = 2;
    G.ControlString.clear();
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    G.PbnFilePath = "GAMEFILE.KM\\150307A.pbn";
    readpbnfile();
    if (G.LoadFailed == 0) {
        ShowPbnFound();
        AskChangeNames();   // the console's Enter keeps the file's names
        ShowGameFields();
        if (HandsFromDealTexts() == 0 && PbnStoredTricksUsable()) {
            DecodeDDTricksTexts();
            GetParResults();
            EncodeDDTricksTexts();
            G.PbnFilePath = "GAMEFILE.KM\\written.pbn";
            writepbnfile();
        }
    }
    return 0;
}
