// The Windows side of the platform, where it does more than pass a call on.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/win32/gdi_printer.h"
#include "platform/win32/win32.h"
#include "settings/fontcheck.h"
#include "support/doubles.h"

namespace {

std::string Resource(const char* name, const char* type) {
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), name, type);
    if (!found) return "";
    HGLOBAL loaded = LoadResource(GetModuleHandleA(nullptr), found);
    return std::string((const char*)LockResource(loaded), SizeofResource(GetModuleHandleA(nullptr), found));
}

using WindowsPlatformTest = KelmoTest;

// PlaySound finds the waves by these names; the icon and version are there.
TEST(WindowsResources, TheThreeWavesTheIconAndTheVersion) {
    for (const char* name : {"BEEP2", "DONE2", "NOTIFY2"}) {
        std::string wave = Resource(name, "WAVE");
        EXPECT_EQ(wave.substr(0, 4), "RIFF") << name;
        EXPECT_EQ(wave.substr(8, 4), "WAVE") << name;
    }
    EXPECT_NE(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), (LPCSTR)RT_GROUP_ICON), nullptr);
    EXPECT_NE(Resource(MAKEINTRESOURCEA(1), (LPCSTR)RT_VERSION).find("K\0e\0l\0m\0o", 0, 9), std::string::npos);
}

TEST_F(WindowsPlatformTest, AWriteReplacesTheFileAndLeavesNoTemporary) {
    ASSERT_TRUE(WriteFileAtomic("KELMO.INI", "old"));
    ASSERT_TRUE(WriteFileAtomic("kelmo.ini", "new\r\n"));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile("Kelmo.Ini", bytes));
    EXPECT_EQ(bytes, "new\r\n");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        entries++;
        EXPECT_EQ(entry.path().filename().string(), "KELMO.INI");   // first spelling kept
    }
    EXPECT_EQ(entries, 1);
    EXPECT_TRUE(FileExists("kelmo.INI"));
    EXPECT_FALSE(FolderExists("kelmo.ini"));
    // A folder cannot be written over; a device is not a file to read.
    ASSERT_TRUE(MakeFolder("Games"));
    EXPECT_TRUE(MakeFolder("GAMES"));
    EXPECT_FALSE(WriteFileAtomic("games", "x"));
    EXPECT_FALSE(ReadWholeFile("NUL", bytes));
}

// The lock another copy holds, and a folder in its place, are told apart.
TEST_F(WindowsPlatformTest, TheFolderLockIsTakenOrRefusedWithTheReason) {
    ReleaseWorkingFolder();
    HANDLE other = CreateFileA("KELMO.LCK", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED at{};
    ASSERT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
    EXPECT_EQ(ClaimWorkingFolder().outcome, FolderClaim::HeldByAnother);
    CloseHandle(other);
    EXPECT_EQ(ClaimWorkingFolder().outcome, FolderClaim::Claimed);
    ReleaseWorkingFolder();
    std::filesystem::remove("KELMO.LCK");
    std::filesystem::create_directory("KELMO.LCK");
    const FolderClaim claim = ClaimWorkingFolder();
    EXPECT_EQ(claim.outcome, FolderClaim::Failed);
    EXPECT_EQ(claim.reason, "KELMO.LCK is not a plain file");
    ReleaseWorkingFolder();
}

TEST_F(WindowsPlatformTest, StaleTemporariesOfOurOwnFilesGoOthersStay) {
    WriteFile(".KELMO.INI.a1B2c3", "half");
    WriteFile(".150307A.pbn.x9y8z7", "half");
    WriteFile(".notes.backup", "theirs");
    WriteFile("KELMO.INI", "whole");
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) -
                                     116444736000000000ULL + 10000000ULL;   // a second ahead
    timespec later{(time_t)(ticks / 10000000ULL), 0};
    EXPECT_EQ(RemoveStaleTemporaries(".", timespec{0, 0}), 0);
    EXPECT_EQ(RemoveStaleTemporaries(".", later), 2);
    EXPECT_TRUE(FileExists(".notes.backup"));
    EXPECT_TRUE(FileExists("KELMO.INI"));
}

TEST_F(WindowsPlatformTest, EnvironmentNamesIgnoreCaseAndProgramsReturnTheirCode) {
    setenv("KelmoTestComSpec", "value", 1);
    EXPECT_EQ(GetEnvironment("KELMOTESTCOMSPEC"), "value");
    unsetenv("KelmoTestComSpec");
    EXPECT_EQ(GetEnvironment("kelmotestcomspec"), "");
    const std::string interpreter = GetEnvironment("comspec");
    ASSERT_FALSE(interpreter.empty());
    Process* process = MakeSystemProcess();
    // "exit 3" is one argument with a blank: quoted, it reaches cmd whole.
    EXPECT_EQ(process->Run({interpreter, "/c", "exit 3"}), 3);
    EXPECT_EQ(process->Run({"no-such-program-kelmo.exe"}), -1);
    delete process;
}

}  // namespace

namespace {

// Fonts installed "for me only" live under LOCALAPPDATA.
TEST_F(WindowsPlatformTest, TheSuitFontInTheUsersOwnFontFolderPasses) {
    const std::string oldLocal = GetEnvironment("LOCALAPPDATA");
    setenv("LOCALAPPDATA", (workDir + "\\local").c_str(), 1);
    setenv("windir", (workDir + "\\win").c_str(), 1);
    unsetenv("systemroot");
    EXPECT_EQ(WindowsSuitFontFolders(),
              (std::vector<std::string>{workDir + "\\win\\fonts", workDir + "\\local\\Microsoft\\Windows\\Fonts"}));
    setenv("LOCALAPPDATA", oldLocal.c_str(), 1);
}

}  // namespace

namespace {

// tools/build-windows.sh installs the suit font in the test prefix's Fonts
// folder; GDI must list it among the families, once.
TEST(WindowsFonts, TheInstalledSuitFontIsAmongTheFamiliesOnce) {
    FontList* list = MakeSystemFontList();
    const std::vector<std::string> families = list->Families();
    delete list;
    EXPECT_EQ(std::count(families.begin(), families.end(), "Bridge"), 1) << families.size() << " families";
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
}

}  // namespace

namespace {

// Where a job goes, by the printers Windows lists: paper when the default
// printer prints on paper, else a file in PRINTS through Microsoft Print to
// PDF, else through a default file printer that takes a file name.
TEST(WindowsPrinters, AJobGoesToPaperOrToAFileInPrints) {
    const PrinterInfo laser{L"Club Laser", L"USB001", L"HP LaserJet", true};
    const PrinterInfo pdf{L"Microsoft Print to PDF", L"PORTPROMPT:", L"Microsoft Print To PDF", false};
    const PrinterInfo xps{L"Microsoft XPS Document Writer", L"PORTPROMPT:", L"Microsoft XPS Document Writer v4", false};
    const PrinterInfo onenote{L"OneNote (Desktop)", L"nul:", L"Send to Microsoft OneNote 16 Driver", false};
    const PrinterInfo file{L"To disk", L"FILE:", L"Generic / Text Only", false};
    auto byDefault = [](PrinterInfo p) { p.isDefault = true; return p; };
    struct Case {
        std::vector<PrinterInfo> printers;
        int chosen;
        bool toFile;
    } cases[] = {
        {{pdf, laser}, 1, false},
        {{xps, byDefault(pdf)}, 1, true},
        {{byDefault(xps), pdf}, 1, true},
        {{byDefault(onenote), pdf}, 1, true},
        {{pdf}, 0, true},                          // no default printer
        {{byDefault(xps)}, 0, true},               // no PDF printer: the XPS file
        {{byDefault(file)}, 0, true},
        {{byDefault(onenote)}, -1, false},         // takes no file name
        {{}, -1, false},
    };
    static std::vector<PrinterInfo> listed;
    for (const Case& c : cases) {
        bool toFile = !c.toFile;
        EXPECT_EQ(ChoosePrinter(c.printers, toFile), c.chosen) << c.printers.size();
        EXPECT_EQ(toFile, c.toFile) << c.printers.size();
        // The device says, before any job, whether paper is loaded, and why
        // no job could go anywhere.
        listed = c.printers;
        std::unique_ptr<PageDevice> device(MakeGdiPrinter([] { return listed; }));
        EXPECT_EQ(device->HasPrinter(), c.chosen >= 0 && !c.toFile);
        EXPECT_EQ(device->CannotPrint().empty(), c.chosen >= 0);
    }
    listed = {};
    EXPECT_EQ(std::unique_ptr<PageDevice>(MakeGdiPrinter([] { return listed; }))->CannotPrint(),
              "No printer is installed: add one in Settings, or Microsoft Print to PDF");
    EXPECT_FALSE(IsFilePrinter(laser));
}

}  // namespace
