#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "settings/inifile.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

namespace {

// What the writer puts after the nine lines.
const std::string Later = "PaperSize=auto\r\nPbnExport=no\r\nPrivateDeals=no\r\nWebPage=no\r\n";


using Lines = std::vector<std::string>;
using Changes = std::vector<std::pair<int, std::string>>;

const Lines kDefaults = {
    "ClubNameFont=times new roman", "EventNameFont=comic sans ms", "ClubNamePrompt=yes",
    "ColorPrinting=no",             "AutoCreatePBNfile=no",        "PBNfilesDirectory=gamefile.km",
    "Bridge",                       "For",                         "Keelward"};

std::string Crlf(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// A good file that differs from the defaults in every setting, with some
// lines (counted from 0) replaced.
Lines CustomLines(const Changes& changes = {}) {
    Lines lines = {"ClubNameFont=Arial", "EventNameFont=Courier New", "ClubNamePrompt=NO",
                   "ColorPrinting=Yes",  "AutoCreatePBNfile=yes",     "PBNfilesDirectory=C:\\Pbn",
                   "North",              "Shore",                     "Club"};
    for (const auto& [index, line] : changes) lines[index] = line;
    return lines;
}

std::string RTrim(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

const std::string kDefaultSettings =
    "times new roman|comic sans ms|1|0|0|gamefile.km|Bridge.For.Keelward";


}  // namespace

class IniFileTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        // Every wait for a key: a copy of the screen as it stood.
        console.onReadKey = [this](ScriptedConsole& c) {
            screens.push_back(c.Dump());
            rows16.push_back(RTrim(c.Text(16, 18, 60)));
            rows18.push_back(RTrim(c.Text(18, 18, 60)));
        };
    }
    void ProcessFile(const Lines& lines, int keys) {
        WriteFile("KELMO.INI", Crlf(lines));
        for (int i = 0; i < keys; i++) console.Type(" ");
        ASSERT_FALSE(Run(processinifile)) << console.Dump();
        EXPECT_EQ(console.KeysLeft(), 0u);
    }
    // A fresh start for the next case of a table.
    void Restart() {
        ResetGameModel();
        initialize();
        screens.clear();
        rows16.clear();
        rows18.clear();
        sound.played.clear();
    }
    std::vector<std::string> screens, rows16, rows18;
};

TEST_F(IniFileTest, MissingFileIsWrittenWithDefaultsSilently) {
    ASSERT_FALSE(Run(processinifile));
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(kDefaults) + Later);
    EXPECT_TRUE(screens.empty());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(SettingsInMemory(), kDefaultSettings);
    EXPECT_EQ(G.SettingsLines[0], "9");
}

TEST_F(IniFileTest, GoodFileIsReadAsWrittenAndLeftAlone) {
    // Blanks around a value, an empty line between entries, a logo line
    // holding "=" and a line ended CR CR LF are all good.
    Lines lines = CustomLines({{3, "ColorPrinting= Yes "}, {5, "PBNfilesDirectory=C:\\Pbn\r"}, {6, "Bridge=Club"}});
    lines.insert(lines.begin() + 4, "");
    ProcessFile(lines, 0);
    EXPECT_TRUE(screens.empty());
    EXPECT_EQ(G.ErrorCode, 0);
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(lines));
    EXPECT_EQ(SettingsInMemory(), "Arial|Courier New|0|1|1|C:\\Pbn|Bridge.Shore.Club");
    EXPECT_EQ(G.SettingsLines[0], "9");
    EXPECT_EQ(G.SettingsLines[7], "Bridge=Club");
}

// Notepad saves as UTF-8 with a byte-order mark or as UTF-16: the same
// settings, no error screen, the file left as it is.
TEST_F(IniFileTest, FileSavedByAWindowsEditorReadsTheSame) {
    std::string utf16 = "\xFF\xFE";
    for (char ch : Crlf(CustomLines())) utf16 += std::string{ch, '\0'};
    for (const std::string& bytes : {"\xEF\xBB\xBF" + Crlf(CustomLines()), utf16}) {
        Restart();
        WriteFile("KELMO.INI", bytes);
        ASSERT_FALSE(Run(processinifile)) << console.Dump();
        EXPECT_TRUE(screens.empty()) << screens.front();
        EXPECT_EQ(SettingsInMemory(), "Arial|Courier New|0|1|1|C:\\Pbn|North.Shore.Club");
        EXPECT_EQ(ReadFile("KELMO.INI"), bytes);
    }
}

TEST_F(IniFileTest, WrongKeyCaseGivesKeyErrorOneAndTimesNewRoman) {
    ProcessFile(CustomLines({{0, "clubnamefont=Arial"}}), 1);
    ASSERT_EQ(screens.size(), 1u);
    // The screen as it waits for the key.
    EXPECT_TRUE(MatchesGolden(console, "settings-missing-definition"));
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
    EXPECT_EQ(G.ErrorCode, 1);
    EXPECT_EQ(SettingsInMemory(), "times new roman|Courier New|0|1|1|C:\\Pbn|North.Shore.Club");
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(CustomLines({{0, kDefaults[0]}})) + Later);
}

// Each bad line has a screen of its own, in file order; then the file is
// written once with the default in each bad line's place, and memory holds
// what the file now says.
TEST_F(IniFileTest, BadLinesShowTheirMessagesAndAreRewrittenWithTheirDefaults) {
    struct Case {
        Changes bad;
        std::vector<std::pair<std::string, std::string>> messages;   // rows 16 and 18
        Changes rewritten;
        std::string settings;
    };
    const Case cases[] = {
        {{{3, "ColorPrinting=maybe"}},
         {{"The definition for Color Printing Option is missing.",
           "Color printing will not be enabled."}},
         {{3, "ColorPrinting=no"}},
         "Arial|Courier New|0|0|1|C:\\Pbn|North.Shore.Club"},
        {{{1, "EventNameFont="}, {4, "AutoCreatePBN=yes"}},
         {{"The definition for Event Name Font is missing.",
           "The font Comic Sans MS will be substituted."},
          {"The definition for Create a PBN File is missing.", "A PBN file will not be written."}},
         {{1, kDefaults[1]}, {4, kDefaults[4]}},
         "Arial|comic sans ms|0|1|0|C:\\Pbn|North.Shore.Club"},
        {{{2, "ClubNamePrompt"}, {5, "PBNfilesDirectory = "}},
         {{"The definition for Prompt the Club Name is missing.",
           "The most recently used club name will be supplied."},
          {"The definition for PBN file path is missing.", "Defaulting to folder \"GAMEFILE.KM\""}},
         {{2, kDefaults[2]}, {5, kDefaults[5]}},
         "Arial|Courier New|1|1|1|gamefile.km|North.Shore.Club"},
        // No " is missing." for the logo, and all three logo lines are reset.
        {{{7, " =Shore"}},
         {{"The definition for Error in Print Logo Data",
           "Defaulting to \"Bridge . For . Keelward\""}},
         {{6, kDefaults[6]}, {7, kDefaults[7]}, {8, kDefaults[8]}},
         "Arial|Courier New|0|1|1|C:\\Pbn|Bridge.For.Keelward"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bad.back().second);
        Restart();
        ProcessFile(CustomLines(c.bad), (int)c.messages.size());
        ASSERT_EQ(screens.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); i++) {
            EXPECT_EQ(rows16[i], c.messages[i].first);
            EXPECT_EQ(rows18[i], c.messages[i].second);
        }
        EXPECT_EQ(sound.Count("notify2"), (int)c.messages.size());
        const Lines rewritten = CustomLines(c.rewritten);
        EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(rewritten) + Later);
        for (int i = 0; i < 9; i++) EXPECT_EQ(G.SettingsLines[i + 1], rewritten[i]);
        EXPECT_EQ(SettingsInMemory(), c.settings);
    }
}

// Fewer than nine lines: the old file is kept as KELMO.BAK (never over an
// earlier copy) before the defaults replace it, and the screen names the copy.
TEST_F(IniFileTest, TooFewLinesKeepTheOldFileThenResetEverything) {
    Lines lines = CustomLines();
    lines.pop_back();
    ProcessFile(lines, 1);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_TRUE(MatchesGolden(console, "settings-system-file-error"));
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(kDefaults) + Later);
    EXPECT_EQ(ReadFile("KELMO.BAK"), Crlf(lines));
    EXPECT_EQ(SettingsInMemory(), kDefaultSettings);

    Restart();
    ProcessFile({"Only one line"}, 1);
    EXPECT_NE(screens[0].find("The old file is kept as KELMO-2.BAK."), std::string::npos) << screens[0];
    EXPECT_EQ(ReadFile("KELMO-2.BAK"), "Only one line\r\n");
    EXPECT_EQ(ReadFile("KELMO.BAK"), Crlf(lines));
}

// A misspelt or unknown line after the nine, a line of blanks, a yes written
// "true": once the whole file went back to its defaults. Now every setting
// keeps its value, row 22 names the line once, and a later rewrite keeps the
// line as it stands.
TEST_F(IniFileTest, LinesAfterTheNineNeverResetTheFile) {
    const struct {
        std::string after;
        int privateDeals, exportForm;
        const char* paper;
        const char* warning;   // "" when nothing is said
    } cases[] = {
        {"PrivateDeal=yes\r\n", 0, 0, "auto", " KELMO.INI keeps a line it does not understand: \"PrivateDeal=yes\" "},
        {" \r\nPrivateDeals=TRUE\r\n\t\r\n", 1, 0, "auto", ""},
        {"PrivateDeals=y\r\nPbnExport=1\r\npapersize = a4\r\n", 1, 1, "A4", ""},
        {"PbnExport=maybe\r\nPaperSize=B5\r\nColour=red\r\n", 0, 0, "auto",
         " KELMO.INI keeps 3 lines it does not understand: \"PbnExport=maybe\", ... "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        Restart();
        const std::string file = Crlf(CustomLines()) + c.after;
        WriteFile("KELMO.INI", file);
        if (*c.warning) console.Type(" ");
        ASSERT_FALSE(Run(processinifile)) << console.Dump();
        EXPECT_EQ(SettingsInMemory(), "Arial|Courier New|0|1|1|C:\\Pbn|North.Shore.Club");
        EXPECT_EQ(G.PrivateDeals, c.privateDeals);
        EXPECT_EQ(G.PbnExportFormat, c.exportForm);
        EXPECT_STREQ(PaperName(G.PaperSize), c.paper);
        ASSERT_EQ(screens.size(), *c.warning ? 1u : 0u);
        if (*c.warning) {
            EXPECT_NE(screens[0].find(c.warning), std::string::npos) << screens[0];
        }
        EXPECT_EQ(ReadFile("KELMO.INI"), file);
    }
    // Saved again (as the editor does): the unknown line stays; the bad
    // value gives way to the setting's own line.
    ASSERT_TRUE(WriteSettingsLines());
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(CustomLines()) + Later + "Colour=red\r\n");
}

TEST_F(IniFileTest, WriterSetsACountOfNine) {
    for (int i = 1; i <= 9; i++) G.SettingsLines[i] = "L" + std::to_string(i);
    G.SettingsLines[0] = "";
    ASSERT_TRUE(WriteSettingsLines());
    EXPECT_EQ(G.SettingsLines[0], "9");
    EXPECT_EQ(ReadFile("KELMO.INI"), "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\n" + Later);

    // A later setting within the nine is a line of the nine.
    WriteFile("KELMO.INI", "PaperSize=A4\r\n" + Crlf(kDefaults));
    ReadSettingsLines();
    EXPECT_EQ(G.SettingsLines[1], "PaperSize=A4");
    EXPECT_EQ(G.PaperSize, Paper::Auto);
    EXPECT_EQ(G.SettingsOddLines, std::vector<std::string>{"Keelward"});
}

// A file that is there but cannot be read is left as it is: one warning,
// defaults in memory. (No mode-000 file: root reads those.)
TEST_F(IniFileTest, UnreadableFileIsLeftAloneWithOneWarning) {
#ifdef _WIN32
    GTEST_SKIP() << "needs symbolic links and /proc";
#endif
    namespace fs = std::filesystem;
    const std::pair<std::string, std::string> cases[] = {
        {"folder", ""},                  // a folder of that name
        {"link", "/proc/self/mem"},      // a plain file whose reading fails
        {"link", "KELMO.INI"},           // a link to itself
    };
    for (const auto& [kind, target] : cases) {
        SCOPED_TRACE(kind + " " + target);
        Restart();
        std::error_code ec;
        fs::remove_all("KELMO.INI", ec);
        if (kind == "folder") fs::create_directory("KELMO.INI");
        else fs::create_symlink(target, "KELMO.INI");
        console.Type(" ");
        ASSERT_FALSE(Run(processinifile)) << console.Dump();
        ASSERT_EQ(screens.size(), 1u);
        EXPECT_NE(screens[0].find(" Cannot read KELMO.INI; the default settings are used "), std::string::npos)
            << screens[0];
        EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
        if (kind == "folder") EXPECT_TRUE(fs::is_directory(fs::symlink_status("KELMO.INI")));
        else EXPECT_EQ(fs::read_symlink("KELMO.INI"), target);
        EXPECT_EQ(SettingsInMemory(), kDefaultSettings);
        EXPECT_EQ(G.SettingsLines[6], "PBNfilesDirectory=gamefile.km");
        // Nothing half-written is left beside it: only KELMO.INI and GAMEFILE.KM.
        EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
    }

    // Saving over the folder (as the editor would) fails with its warning.
    fs::remove("KELMO.INI");
    fs::create_directory("KELMO.INI");
    screens.clear();
    console.Type(" ");
    ASSERT_FALSE(Run([] { EXPECT_FALSE(WriteSettingsLines()); }));
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_NE(screens[0].find(" Could not write KELMO.INI: "), std::string::npos) << screens[0];
    EXPECT_TRUE(fs::is_directory("KELMO.INI"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}
