#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <utility>

#include "model/model.h"
#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/posix/pdf_printer.h"
#include "platform/threads.h"
#include "settings/inifile.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace fs = std::filesystem;

class PlatformFiles : public KelmoTest {
protected:
    std::vector<std::string> Entries(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(PlatformFiles, ResolvePathTakesBothSeparatorsAndFindsNamesInAnyCase) {
    fs::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/x.pbn", "old");
    // A missing last component keeps its spelling; so does all after a
    // missing folder.
    const std::pair<std::string, std::string> paths[] = {
        {"gamefile.km\\X.PBN", "GAMEFILE.KM/x.pbn"}, {"GameFile.km/x.pbn", "GAMEFILE.KM/x.pbn"},
        {"gamefile.km\\", "GAMEFILE.KM/"}, {"gamefile.km\\New.PBN", "GAMEFILE.KM/New.PBN"},
        {"None\\Sub\\File.txt", "None/Sub/File.txt"},
        {workDir + "\\gamefile.km\\x.PBN", workDir + "/GAMEFILE.KM/x.pbn"},
        {"./gamefile.km/../GAMEFILE.km", "./GAMEFILE.KM/../GAMEFILE.KM"}, {"", ""}};
    for (const auto& [typed, resolved] : paths) EXPECT_EQ(ResolvePath(typed), resolved) << typed;

    EXPECT_TRUE(FileExists("gamefile.km\\X.pbn"));
    // Shown as the disk has it, not as the settings spell it.
    EXPECT_EQ(SystemPath("gamefile.km\\X.PBN"), "GAMEFILE.KM/x.pbn");
    EXPECT_EQ(SystemPath("gamefile.km\\New.PBN"), "GAMEFILE.KM/New.PBN");
    EXPECT_TRUE(FolderExists("Gamefile.KM"));
    EXPECT_FALSE(FileExists("gamefile.km"));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines("GAMEFILE.km\\x.PBN", lines));
    EXPECT_EQ(lines, std::vector<std::string>{"old"});

    // A write under another spelling replaces the file instead of adding one.
    ASSERT_TRUE(WriteFileAtomic("gamefile.km\\X.PBN", "new"));
    EXPECT_EQ(Entries("GAMEFILE.KM"), std::vector<std::string>{"x.pbn"});
    EXPECT_EQ(ReadFile("GAMEFILE.KM/x.pbn"), "new");
}

TEST_F(PlatformFiles, AnExactSpellingWinsOverOtherCases) {
    WriteFile("a.txt", "lower");
    WriteFile("A.TXT", "upper");
    EXPECT_EQ(ResolvePath("a.txt"), "a.txt");
    EXPECT_EQ(ResolvePath("A.TXT"), "A.TXT");
    EXPECT_EQ(ResolvePath("a.TXT"), "A.TXT");   // first in byte order, every time
}

TEST_F(PlatformFiles, WriteReplacesWholeAndLeavesNoTemporary) {
    ASSERT_TRUE(WriteFileAtomic("KELMO.INI", "a much longer first version\r\n"));
    ASSERT_TRUE(WriteFileAtomic("kelmo.ini", "short\r\n"));
    EXPECT_EQ(ReadFile("KELMO.INI"), "short\r\n");
    EXPECT_EQ(Entries("."), std::vector<std::string>{"KELMO.INI"});

    // The file keeps its permissions.
    chmod("KELMO.INI", 0640);
    ASSERT_TRUE(WriteFileAtomic("KELMO.INI", "again"));
    struct stat st;
    ASSERT_EQ(stat("KELMO.INI", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    ASSERT_TRUE(WriteFileAtomic("empty.txt", ""));
    EXPECT_EQ(ReadFile("empty.txt"), "");
}

TEST_F(PlatformFiles, FailedWritesReportFalseAndChangeNothing) {
    EXPECT_FALSE(WriteFileAtomic("missing\\x.pbn", "data"));
    EXPECT_FALSE(fs::exists("missing"));

    // The target is a folder: the rename fails, the folder stays as it was.
    fs::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/a.kma", "keep");
    EXPECT_FALSE(WriteFileAtomic("gamefile.km", "data"));
    EXPECT_EQ(ReadFile("GAMEFILE.KM/a.kma"), "keep");
    EXPECT_EQ(Entries("."), std::vector<std::string>{"GAMEFILE.KM"});
    EXPECT_EQ(Entries("GAMEFILE.KM"), std::vector<std::string>{"a.kma"});

    // The file exists but no temporary can be made beside it (its name is
    // too long for one): the old contents stay.
    std::string longName(250, 'n');
    WriteFile(longName, "old contents");
    EXPECT_FALSE(WriteFileAtomic(longName, "new"));
    EXPECT_EQ(ReadFile(longName), "old contents");
    EXPECT_FALSE(WriteFileAtomic("", "data"));
    EXPECT_FALSE(WriteFileAtomic("GAMEFILE.KM/", "data"));
}

// A disk that fills up during the write, made by a file size limit that
// root cannot pass (unlike a read-only folder): the first bytes are written,
// the rest is refused.
TEST_F(PlatformFiles, AWriteCutShortKeepsTheOldFileAndLeavesNoTemporary) {
    fs::create_directory("full");
    WriteFile("full/f.txt", "old");
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4;
    auto oldSignal = signal(SIGXFSZ, SIG_IGN);   // EFBIG instead of the signal
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = WriteFileAtomic("FULL/F.TXT", "new contents");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile("full/f.txt"), "old");
    EXPECT_EQ(Entries("full"), std::vector<std::string>{"f.txt"});
}

TEST_F(PlatformFiles, TextLinesAcceptCrLfLfAndAnUnendedLastLine) {
    // CR CR LF (an editor's doing) loses both CRs; a CR inside a line stays.
    WriteFile("t.txt", "one\r\ntwo\n\r\ndir\r\r\na\rb\r\nlast\r");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines("T.TXT", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "dir", "a\rb", "last"}));
    EXPECT_FALSE(ReadTextLines("none.txt", lines));
    EXPECT_TRUE(lines.empty());
    fs::create_directory("folder");
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile("folder", bytes));
    // A named pipe with no writer is refused at once, not waited on.
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_FALSE(ReadWholeFile("pipe", bytes));
}

// A rewrite keeps the mode of a plain file only; a name linked to a device
// becomes a plain file of the new-file mode, and the device is not read.
TEST_F(PlatformFiles, OnlyAPlainFileKeepsItsModeOnRewrite) {
    const mode_t mask = umask(0);
    umask(mask);
    const mode_t fresh = 0666 & ~mask;
    const struct {
        const char* before;   // a device linked to, "-" for none, or a mode
        mode_t after;
    } cases[] = {{"/dev/zero", fresh}, {"/dev/null", fresh}, {"-", fresh},
                 {"0640", 0640},       {"0755", 0755},       {"0000", 0400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        const std::string name = std::string("KELMO") + std::to_string(&c - cases) + ".INI";
        std::string bytes;
        if (c.before[0] == '/') {
            ASSERT_EQ(symlink(c.before, name.c_str()), 0);
            // (Not /dev/zero: reading that would never end.)
            if (std::string(c.before) == "/dev/null") {
                EXPECT_FALSE(ReadWholeFile(name, bytes));
            }
        } else if (c.before[0] == '0') {
            WriteFile(name, "old");
            chmod(name.c_str(), (mode_t)std::strtol(c.before, nullptr, 8));
        }
        ASSERT_TRUE(WriteFileAtomic(name, "new"));
        struct stat st;
        ASSERT_EQ(lstat(name.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, c.after);
        EXPECT_EQ(ReadFile(name), "new");
    }
    struct stat zero;
    ASSERT_EQ(stat("/dev/zero", &zero), 0);
    EXPECT_TRUE(S_ISCHR(zero.st_mode));
}

TEST_F(PlatformFiles, StaleTemporariesOfTheProgramsFilesAreRemoved) {
    fs::create_directory("GAMEFILE.KM");
    timespec start{};
    clock_gettime(CLOCK_REALTIME, &start);
    const struct {
        const char* name;
        int age;   // seconds after the start; below 0 older
        bool removed;
    } cases[] = {
        {".KELMO.INI.a1B2c3", -60, true},      {".CLUBNAME.KM.zzzzzz", -1, true},
        {".090105.KMA.Q9q9Q9", -86400, true},  {".090105A.pbn.abcdef", -60, true},
        {".Hands 090105A.PDF.XyZ123", -60, true},
        {".KELMO.INI.b1B2c3", 5, false},       // a write going on now
        {"KELMO.INI", -60, false},             {".KELMO.INI", -60, false},
        {".KELMO.INI.a1B2c", -60, false},      {".KELMO.INI.a1-2c3", -60, false},
        {"KELMO.INI.abcdef", -60, false},      {".bashrc.backup", -60, false},
        {".notes.txt.abcdef", -60, false},     {"..pbn.abcdef", -60, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsOwnTemporaryName(c.name), c.removed || c.age > 0) << c.name;
        const std::string path = std::string("GAMEFILE.KM/") + c.name;
        WriteFile(path, "x");
        const timespec times[2] = {{start.tv_sec + c.age, start.tv_nsec}, {start.tv_sec + c.age, start.tv_nsec}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    // Only plain files go, not a folder or a link of such a name.
    fs::create_directory("GAMEFILE.KM/.x.pbn.abcdef");
    ASSERT_EQ(symlink("KELMO.INI", "GAMEFILE.KM/.y.pbn.abcdef"), 0);

    EXPECT_EQ(RemoveStaleTemporaries("gamefile.km", start), 5);
    for (const auto& c : cases) EXPECT_EQ(fs::exists(std::string("GAMEFILE.KM/") + c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory("GAMEFILE.KM/.x.pbn.abcdef"));
    EXPECT_TRUE(fs::is_symlink("GAMEFILE.KM/.y.pbn.abcdef"));
    EXPECT_EQ(RemoveStaleTemporaries("no such folder", start), 0);
}

// The real handler in a child that writes the settings file and a PBN file
// over and over while a second thread runs (as the solver's and the sounds'
// do); SIGTERM at random moments. Each file is found whole, old or new, and
// no temporary is left. A thread that takes the signal itself runs the
// handler while the writer is changing the temporary's record.
TEST_F(PlatformFiles, KilledWritesLeaveAWholeFileAndNoTemporary) {
    fs::create_directory("GAMEFILE.KM");
    const std::string pbnName = "gamefile.km\\090105A.pbn";
    const std::string pbn[2] = {std::string(300000, 'a') + "\r\n", std::string(200000, 'b') + "\r\n"};
    std::vector<std::string> settings[2];
    for (int v = 0; v < 2; v++)
        for (int i = 1; i <= 9; i++) settings[v].push_back(DefaultSettingsLine(i) + std::string(v * 40, 'x'));
    auto writeSettings = [&settings](int v) {
        for (int i = 1; i <= 9; i++) G.SettingsLines[i] = settings[v][i - 1];
        return WriteSettingsLines();
    };
    initialize();
    ASSERT_TRUE(writeSettings(0));
    ASSERT_TRUE(WriteFileAtomic(pbnName, pbn[0]));

    std::mt19937 random(20240607);
#ifdef KELMO_LEAK_CHECK
    const int rounds = 200;   // a sanitized child starts five times slower
#else
    const int rounds = 1000;
#endif
    for (int round = 0; round < rounds; round++) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            try {
                InstallEndHandlers();
                StartThread([] {
                    for (;;) std::atomic_signal_fence(std::memory_order_seq_cst);
                }).detach();
                if (write(ready[1], "r", 1) != 1) _exit(90);
                for (int v = 1;; v ^= 1)
                    if (!writeSettings(v) || !WriteFileAtomic(pbnName, pbn[v])) _exit(91);
            } catch (...) {
                _exit(92);
            }
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGTERM);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << round << ": " << status;

        const std::string ini = ReadFile("KELMO.INI"), file = ReadFile("GAMEFILE.KM/090105A.pbn");
        const std::string later = "PaperSize=auto\r\nPbnExport=no\r\nPrivateDeals=no\r\nWebPage=no\r\n";
        ASSERT_TRUE(ini == JoinCrLf(settings[0]) + later || ini == JoinCrLf(settings[1]) + later)
            << round << ": " << ini;
        ASSERT_TRUE(file == pbn[0] || file == pbn[1]) << round << ": " << file.size() << " bytes";
        ASSERT_EQ(Entries("."), (std::vector<std::string>{"GAMEFILE.KM", "KELMO.INI"})) << round;
        ASSERT_EQ(Entries("GAMEFILE.KM"), std::vector<std::string>{"090105A.pbn"}) << round;
    }
}

TEST_F(PlatformFiles, MakeFolderIsTrueWhenTheFolderIsThere) {
    EXPECT_TRUE(MakeFolder("GAMEFILE.KM"));
    EXPECT_TRUE(MakeFolder("gamefile.km"));   // the same folder, not a second one
    EXPECT_EQ(Entries("."), std::vector<std::string>{"GAMEFILE.KM"});
    WriteFile("plain", "x");
    EXPECT_FALSE(MakeFolder("plain"));
}

// A link or a folder in the lock's place, or a lock another copy holds: the
// claim says so and never reports a folder claimed that is not. (A
// dangling link once let the program run unlocked without a word.)
TEST_F(PlatformFiles, TheFolderLockIsTakenOrRefusedWithTheReason) {
    const struct {
        const char* make;
        FolderClaim::Outcome outcome;
        const char* reason;
    } cases[] = {
        {"", FolderClaim::Claimed, ""},
        {"held", FolderClaim::HeldByAnother, ""},
        {"dangling link", FolderClaim::Failed, "KELMO.LCK is a link, not a file"},
        {"link to a file", FolderClaim::Failed, "KELMO.LCK is a link, not a file"},
        {"folder", FolderClaim::Failed, "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.make);
        ReleaseWorkingFolder();
        std::error_code ec;
        fs::remove_all("KELMO.LCK", ec);
        const std::string make = c.make;
        int other = -1;
        if (make == "held") {
            other = open("KELMO.LCK", O_RDWR | O_CREAT, 0644);
            ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
        }
        if (make == "dangling link") fs::create_symlink("nowhere/KELMO.LCK", "KELMO.LCK");
        if (make == "link to a file") {
            WriteFile("real.lck", "");
            fs::create_symlink("real.lck", "KELMO.LCK");
        }
        if (make == "folder") fs::create_directory("KELMO.LCK");
        const FolderClaim claim = ClaimWorkingFolder();
        EXPECT_EQ(claim.outcome, c.outcome);
        EXPECT_EQ(claim.reason, c.reason);
        if (other >= 0) close(other);
    }
    ReleaseWorkingFolder();
}

// POSIX's rule, not Windows': "home" is another variable than "HOME".
TEST_F(PlatformFiles, EnvironmentNamesAreExact) {
    setenv("KelmoTestComSpec", "value", 1);
    EXPECT_EQ(GetEnvironment("KelmoTestComSpec"), "value");
    EXPECT_EQ(GetEnvironment("kelmotestcomspec"), "");
    unsetenv("KelmoTestComSpec");
    EXPECT_EQ(GetEnvironment("KelmoTestComSpec"), "");
}

TEST_F(PlatformFiles, SharedFilesAreFoundInTheBuildTree) {
    // The suit font is generated into the build tree.
    std::string font = FindSharedFile("Fonts\\BRIDGE.TTF");
    ASSERT_FALSE(font.empty());
    EXPECT_EQ(font.front(), '/');
    EXPECT_TRUE(fs::is_regular_file(font));
    EXPECT_EQ(FindSharedFile("no/such/file"), "");
}

TEST(PlatformProcess, RunGivesTheExitCodeOrMinusOne) {
    Process* process = MakeSystemProcess();
    const std::pair<std::vector<std::string>, int> runs[] = {
        {{"sh", "-c", "exit 3"}, 3}, {{"true"}, 0}, {{"/no/such/program"}, -1}, {{}, -1}};
    for (const auto& [argv, code] : runs) EXPECT_EQ(process->Run(argv), code) << argv.size();
    delete process;
}

TEST(PlatformCp437, PrintedTextIsTheScreensGlyphsInUtf8) {
    // Control codes print as blanks; the rest as the screen shows them.
    EXPECT_EQ(Cp437ToUtf8(std::string("A\0\x06\x7F\xC9\x9C\xF6", 7)), "A   \u2554\u00A3\u00F7");
}

TEST(PlatformCp437, GlyphsOfTheCodesTheScreensUse) {
    const std::pair<int, wchar_t> glyphs[] = {
        {6, L'\u2660'}, {3, L'\u2665'}, {4, L'\u2666'}, {5, L'\u2663'},   // the suits
        {201, L'\u2554'}, {205, L'\u2550'}, {199, L'\u255F'}, {196, L'\u2500'}, {220, L'\u2584'},
        {246, L'\u00F7'}, {0, L' '}, {32, L' '}, {'A', L'A'}};
    for (auto [code, glyph] : glyphs) EXPECT_EQ(Cp437Glyph(code), glyph) << code;
    // Every high code has its own character, and typing it gives the code.
    for (int code = 128; code < 255; code++) EXPECT_EQ(Cp437FromUnicode(Cp437Glyph(code)), code) << code;
    EXPECT_EQ(Cp437FromUnicode(L'\u20AC'), -1);
    EXPECT_EQ(Cp437Glyph(205, false), L'=');
    EXPECT_EQ(Cp437Glyph(6, false), L'S');
}

TEST(PlatformCp437, TextsBetweenLatin1AndTheConsoleCodePage) {
    // Both ways: ISO 8859-1 bytes and their code page 437 codes.
    const std::pair<std::string, std::string> same[] = {
        {"Club Caf\xE9 Cr\xE8me", "Club Caf\x82 Cr\x8Ame"},
        {"\xC7\xFC\xC4\xD1\xDF\xB5\xBF\xA3\xF7\xA0", "\x80\x81\x8E\xA5\xE1\xE6\xA8\x9C\xF6\xFF"},
        {"Joe's \"Big\" C:\\ ~", "Joe's \"Big\" C:\\ ~"}};
    for (const auto& [latin1, cp437] : same) {
        EXPECT_EQ(Cp437FromLatin1(latin1), cp437) << latin1;
        EXPECT_EQ(Latin1FromCp437(cp437), latin1) << latin1;
    }
    // Characters the other side lacks: Latin-1 controls, A tilde, the
    // copyright sign; box lines, pi and the peseta sign.
    EXPECT_EQ(Cp437FromLatin1("\x80\x9F\xC3\xA9x"), "????x");
    EXPECT_EQ(Latin1FromCp437("\xC9\xCD\xE3\x9Ex"), "????x");
    // Whatever is converted comes back as it was or as "?".
    for (int code = 0; code < 256; code++) {
        std::string byte(1, (char)code), back = Latin1FromCp437(Cp437FromLatin1(byte));
        EXPECT_TRUE(back == byte || back == "?") << code;
    }
}

TEST(PlatformClock, LocalTimeIsInRangeAndElapsedTimeAdvances) {
    Clock* clock = MakeSystemClock();
    LocalTime now = clock->Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute <= 59 && now.second <= 59);
    EXPECT_TRUE(now.millisecond >= 0 && now.millisecond <= 999);
    double start = clock->ElapsedSeconds();
    clock->Pause(2);
    EXPECT_GE(clock->ElapsedSeconds() - start, 0.002);
    delete clock;
}

TEST(PlatformProcess, CtrlCDuringTheProgramIsForTheProgramOnly) {
    // Ctrl+C in the terminal reaches both: here the child sends SIGINT to
    // us and to itself. We live on; the killed child gives -1.
    Process* process = MakeSystemProcess();
    EXPECT_EQ(process->Run({"sh", "-c", "kill -INT $PPID; kill -INT $$; sleep 5; exit 0"}), -1);
    delete process;
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_NE(now.sa_handler, SIG_IGN);   // our own handling is back
}
