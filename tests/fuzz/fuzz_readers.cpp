// Feeds any bytes to the program's other readers, chosen by the first byte:
//   0 the settings file, 1 a game's archive file, 2 the club-name file,
//   3 a typed control number, 4 deal texts (one board a line), 5 the typed
//   entries of a new game (every byte a key), 6 keys to the settings editor,
//   whose file cannot be written half the time.
// KELMO_FUZZ_ROUTE=N runs route N whatever the first byte says, so a long
// run can be spent on one reader.
// Each route also checks what the reader promises, and aborts when a
// promise fails, so wrong results are found as well as crashes.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/analysis.h"
#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "game/archive.h"
#include "game/dealscreens.h"
#include "game/entry.h"
#include "model/model.h"
#include "settings/editor.h"
#include "settings/inifile.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const char* what) {
    fprintf(stderr, "fuzz_readers: %s\n", what);
    abort();
}

// The scripted console, but out of keys it answers Esc (every prompt takes
// Esc as leave) instead of throwing; a routine that still asks for keys
// after that waits forever on a real keyboard, and is reported.
class FuzzConsole : public ScriptedConsole {
public:
    std::string ReadKey() override {
        if (KeysLeft() > 0) return ScriptedConsole::ReadKey();
        if (++readsPastEnd_ > 1000) Fail("a routine asks for keys for ever after Esc");
        return KeyEsc;
    }

private:
    int readsPastEnd_ = 0;
};

VirtualClock virtualClock;
RecordingSound sound;
FakeFontList fonts;
RecordingProcess process;
std::string workDir;
int forcedRoute = -1;

void RemoveWorkDir() {
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(workDir, ec);
}

void WriteBytes(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

void ClearWorkDir() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(workDir, ec)) fs::remove_all(entry.path(), ec);
}

// A fresh model and working folder for every input: no input may depend on
// what an earlier one left behind.
void FreshStart(FuzzConsole& console) {
    ClearWorkDir();
    sound.played.clear();
    virtualClock.pauses.clear();
    virtualClock.Set(LocalTime{2026, 12, 7, 12, 0, 0, 0});
    StartWith(console, virtualClock, sound, fonts, process);
    initialize();
}

// Settings file: after processinifile has repaired and rewritten the file,
// the next start must find it good and read the same settings.
void FuzzSettings(const std::string& bytes) {
    WriteBytes("KELMO.INI", bytes);
    processinifile();
    const std::string first = SettingsInMemory();
    FuzzConsole quiet;
    Console* console = P.console;
    P.console = &quiet;
    processinifile();
    P.console = console;
    if (G.ErrorCode != 0 || quiet.ReadKeyCalls() != 0)
        Fail("the repaired settings file is not good at the next start");
    if (SettingsInMemory() != first) Fail("the rewritten settings file reads back differently");
}

bool NameIsStripped(const std::string& name) {
    return name.empty() || (name.front() != ' ' && name.back() != ' ');
}

// Archive file: names read from it carry no marker and no outer blanks;
// a damaged file is asked again and written anew, and then reads back good.
void FuzzArchive(const std::string& bytes, FuzzConsole& console) {
    G.SessionNumber = 1 + (bytes.empty() ? 0 : (unsigned char)bytes[0] % 4);
    MakeArchivePath();
    const std::string name = G.ArchivePath.substr(G.ArchiveFolder.size() + 1);
    // The name in lower case half the time: lookup ignores letter case.
    std::string onDisk = name;
    if (!bytes.empty() && (bytes[0] & 4))
        for (char& ch : onDisk) ch = (char)tolower((unsigned char)ch);
    WriteBytes(G.ArchiveFolder + "/" + onDisk, bytes.empty() ? bytes : bytes.substr(1));

    LoadArchive();
    const std::string marker(1, (char)ArchiveMarker);
    for (const std::string* n : {&G.ClubName, &G.EventName})
        if (n->find(marker) != std::string::npos || !NameIsStripped(*n))
            Fail("an archive name keeps a marker or outer blanks");
    if (G.LoadFailed) {
        // The recall path: Enter keeps the names as read, then a new file.
        console.Press(KeyEnter);
        console.Press(KeyEnter);
        EnterClubName();
        EnterEventName();
        WriteArchive();
    }
    const std::string club = G.ClubName, event = G.EventName;
    WriteArchive();
    G.ClubName = "?";
    G.EventName = "?";
    LoadArchive();
    if (G.LoadFailed || G.ClubName != club || G.EventName != event)
        Fail("a written archive does not read back");
}

// Club-name file: the remembered name is offered, kept with Enter, and
// survives being saved and read again.
void FuzzClubName(const std::string& bytes, FuzzConsole& console) {
    WriteBytes("clubname.km", bytes);
    G.ClubNamePrompt = 1;
    G.PbnImportMode = 0;
    console.Press(KeyEnter);
    EnterClubName();
    const std::string name = G.ClubName;
    if (name.find('\n') != std::string::npos || !NameIsStripped(name))
        Fail("the club name keeps a line end or outer blanks");
    SaveClubName();
    G.ClubName.clear();
    LoadClubName();
    if (G.ClubName != name) Fail("a saved club name does not read back");
}

// Control number: every byte is one key at the prompt. An accepted number
// whose session code is a plain one (1..8) is built again from its fields.
void FuzzControl(const std::string& bytes, FuzzConsole& console) {
    // Each line as typed (Enter ends it) through the decoder alone.
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = std::min(bytes.find('\r', start), bytes.size());
        DecodedControl decoded;
        if (DecodeControlText(bytes.substr(start, end - start), TodaySerial(), decoded)) {
            const char code = decoded.controlString[5];
            if (code >= '1' && code <= '8' &&
                MakeControlString(decoded.serial, decoded.gameNumber, decoded.session,
                                  decoded.boards) != decoded.controlString)
                Fail("a decoded control number does not build back");
            if (decoded.session < 1 || decoded.session > 4 || decoded.gameNumber < 0 ||
                decoded.gameNumber > 9999 || (decoded.boards != 24 && decoded.boards != 36))
                Fail("a decoded control number is out of range");
        }
        start = end + 1;
    }
    for (char ch : bytes) console.Press(std::string(1, ch));
    EnterControlString();
    if (G.AbandonFlag || G.ControlString.empty()) return;
    // What the recall path does with it next.
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    MakeArchivePath();
    ApplyDealingKey();
    DealBoards(1, 1, 1);
}

bool IsWholeDeal(const uint16_t masks[4][4]) {
    uint16_t seen[4] = {};
    for (int seat = 0; seat < 4; seat++) {
        int cards = 0;
        for (int suit = 0; suit < 4; suit++) {
            if (seen[suit] & masks[seat][suit]) return false;
            seen[suit] |= masks[seat][suit];
            cards += __builtin_popcount(masks[seat][suit]);
        }
        if (cards != 13) return false;
    }
    return true;
}

// Deal texts: a whole deal read from a text is written back as the same
// hands, and the summaries agree with the hands.
void FuzzDealTexts(const std::string& bytes) {
    int boards = 0;
    size_t start = 0;
    while (start <= bytes.size() && boards < MaxBoards) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        G.DealText[++boards] = bytes.substr(start, end - start);
        start = end + 1;
    }
    G.TotalBoards = boards;
    HandsFromDealTexts();
    for (int board = 1; board <= MaxBoards; board++) {
        for (int seat = 0; seat < 4; seat++)
            for (int suit = 0; suit < 4; suit++)
                if (G.SuitLength[board][seat][suit] !=
                    __builtin_popcount(G.HandMasks[board][seat][suit]))
                    Fail("a suit length disagrees with the hand");
        if (!IsWholeDeal(G.HandMasks[board])) continue;
        uint16_t again[4][4];
        if (!HandMasksFromDealText(DealTextOfBoard(board), again))
            Fail("a deal text written from a whole deal is refused");
        for (int seat = 0; seat < 4; seat++)
            for (int suit = 0; suit < 4; suit++)
                if (again[seat][suit] != G.HandMasks[board][seat][suit])
                    Fail("a whole deal does not survive its deal text");
    }
}

// New-game entries, every byte a key from the club name to the closing
// yes/no; out of keys, Esc. Entries taken are entries the game can use.
void FuzzEntries(const std::string& bytes, FuzzConsole& console) {
    for (char ch : bytes) console.Press(std::string(1, ch));
    for (auto step : {EnterClubName, EnterGameDate, EnterSession, EnterEventName, EnterBoardCount,
                      ConfirmEntries}) {
        step();
        if (G.AbandonFlag) return;
    }
    if (!IsValidGameDate(G.GameMonth, G.GameDay, G.GameYear) || G.DateValid != 1)
        Fail("a typed date taken is no valid game date");
    if (G.SessionNumber < 1 || G.SessionNumber > 4 || (G.TotalBoards != 24 && G.TotalBoards != 36))
        Fail("a session or board count taken is out of range");
    if (G.ClubName.size() > 40 || G.EventName.size() > 40) Fail("a typed name is longer than its field");
    if (G.YesNoAnswer != 0 && G.YesNoAnswer != 1) Fail("a yes/no answer is neither");
    if (G.YesNoAnswer == 1) SaveClubName();
}

// Settings editor: every byte a key. When the first byte is odd, the
// settings file's name is taken by a folder after start-up, so the save
// fails. Either way no temporary is left, and a file written is what the
// next start reads.
void FuzzEditor(const std::string& bytes, FuzzConsole& console) {
    processinifile();
    const bool failing = !bytes.empty() && (bytes[0] & 1);
    if (failing) {
        fs::remove("KELMO.INI");
        fs::create_directory("KELMO.INI");
    }
    for (size_t i = 1; i < bytes.size(); i++) console.Press(std::string(1, bytes[i]));
    programsettings();
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().filename().string().rfind(".KELMO.INI.", 0) == 0) Fail("a temporary is left");
    if (failing) return;
    const std::string edited = SettingsInMemory();
    FuzzConsole quiet;
    P.console = &quiet;
    processinifile();
    P.console = &console;
    if (SettingsInMemory() != edited) Fail("the edited settings read back differently");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory-backed when there is such a folder: every file the program
    // writes is synced to disk, which would bound the run by the disk.
    std::error_code ec;
    fs::path base = getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ec)
                        ? fs::path("/dev/shm")
                        : fs::temp_directory_path();
    std::string pattern = (base / "kelmo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    workDir = pattern;
    fs::current_path(workDir);
    atexit(RemoveWorkDir);
    if (const char* route = getenv("KELMO_FUZZ_ROUTE")) forcedRoute = atoi(route);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int route = forcedRoute >= 0 ? forcedRoute : data[0] % 7;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    FuzzConsole console;
    FreshStart(console);
    switch (route) {
    case 0: FuzzSettings(bytes); break;
    case 1: FuzzArchive(bytes, console); break;
    case 2: FuzzClubName(bytes, console); break;
    case 3: FuzzControl(bytes, console); break;
    case 4: FuzzDealTexts(bytes); break;
    case 5: FuzzEntries(bytes, console); break;
    default: FuzzEditor(bytes, console); break;
    }
    return 0;
}
