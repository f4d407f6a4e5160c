// The settings editor on the scripted console with a fake font list.
#include <filesystem>
#include <functional>
#include <utility>

#include "console/kit.h"
#include "model/model.h"
#include "settings/editor.h"
#include "settings/inifile.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

const std::vector<std::string> DefaultLines = {
    "ClubNameFont=times new roman", "EventNameFont=comic sans ms", "ClubNamePrompt=yes",
    "ColorPrinting=no", "AutoCreatePBNfile=no", "PBNfilesDirectory=gamefile.km",
    "Bridge", "For", "Keelward"};

// The default file with some of its lines (counted from 0) replaced.
std::string FileWith(std::initializer_list<std::pair<int, std::string>> changes = {}) {
    std::vector<std::string> lines = DefaultLines;
    for (const auto& [index, line] : changes) lines[index] = line;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}



class EditorTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        Load(FileWith());
    }

    // Puts a settings file in place and reads it as start-up does.
    void Load(const std::string& file) {
        WriteFile("KELMO.INI", file);
        processinifile();
        ASSERT_EQ(G.ErrorCode, 0);
    }

    // Runs the editor; the script must end with the editor left.
    void Edit() { ASSERT_FALSE(Run(programsettings)) << console.Dump(); }

    // The screen at the n-th wait for a key.
    void AtWait(int n, std::function<void(ScriptedConsole&)> check) {
        console.onReadKey = [n, check](ScriptedConsole& c) {
            if (c.ReadKeyCalls() == n) check(c);
        };
    }

    std::string Line(int n) { return G.SettingsLines[n]; }
    std::string File() { return ReadFile("KELMO.INI"); }
    bool FileHas(const std::string& line) {
        return File().find(line + "\r\n") != std::string::npos;
    }
    // Settings line n holds `line`, in memory and in the file.
    void ExpectStored(int n, const std::string& line) {
        EXPECT_EQ(Line(n), line);
        EXPECT_TRUE(FileHas(line)) << line;
    }
};

TEST_F(EditorTest, CurrentSettingsScreenShowsTheStoredValues) {
    Load(FileWith({{0, "ClubNameFont=A Very Long Font Name Indeed"}}));
    AtWait(1, [](ScriptedConsole& c) {
        ExpectShown(c, {{3, 30, "HAND-RECORD GENERATOR", LIGHTGREEN, BLUE},
                        {3, 10, G.SuitSymbol[0], LIGHTRED}, {3, 62, G.SuitSymbol[0], LIGHTRED},
                        {5, 31, "\xc4 CURRENT SETTINGS \xc4", YELLOW, BLUE},
                        // The divider stands at row 15; row 12 is a plain side line.
                        {15, 3, "\xc7\xc4\xc4", GREY}, {15, 78, "\xb6"}, {12, 3, "\xba  "},
                        {7, 6, "1  ", YELLOW}, {7, 9, "Typeface for Club Name", LIGHTCYAN},
                        {13, 9, "Change wording on logo for printing", LIGHTCYAN},
                        // Values as stored, cut to 22 characters.
                        {7, 55, "A Very Long Font Name ", BRIGHTWHITE},
                        {8, 55, "comic sans ms", BRIGHTWHITE}, {10, 55, "no ", BRIGHTWHITE},
                        {12, 55, "gamefile.km", BRIGHTWHITE},
                        {17, 28, "Change (1-7)  or  (Q)uit ", YELLOW, BLUE},
                        {19, 35, "Select:  Q", YELLOW, BLUE}});
        EXPECT_EQ(c.Text(6, 10, 9), "         ");   // no field labels
        EXPECT_EQ(c.Text(7, 55, 24), "A Very Long Font Name  \xba");
        EXPECT_EQ(c.Text(13, 55, 10), "          ");   // the logo is not shown
        EXPECT_EQ(c.Row(), 19);
        EXPECT_EQ(c.Column(), 44);
        EXPECT_EQ(c.CursorSize(), 99);
    });
    const std::string before = File();
    console.Type("x");
    console.Press(KeyUp);
    console.Type("q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 2);
    EXPECT_EQ(File(), before);   // nothing changed, nothing written
}

TEST_F(EditorTest, EnterAndEscAlsoLeaveTheEditor) {
    for (const std::string& key : {KeyEnter, KeyEsc}) {
        console.Type(key);
        Edit();
    }
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(EditorTest, ClubFontTypedInLowerCaseIsStoredAsTyped) {
    AtWait(2, [](ScriptedConsole& c) {
        // The old value in grey at the input field, the question beside it.
        ExpectShown(c, {{21, 10, "1. Font to use for Club Name:", YELLOW, BLUE},
                        {21, 50, "times new roman", GREY, BLUE}});
        EXPECT_EQ(c.Fg(21, 50), GREY);
    });
    console.Type("1arial" + KeyEnter + "q");
    Edit();
    ExpectStored(1, "ClubNameFont=arial");
    EXPECT_EQ(G.ClubNameFont, "arial");
    EXPECT_TRUE(console.Shows(7, 55, "arial ", BRIGHTWHITE));
    EXPECT_EQ(console.Text(7, 55, 23), "arial" + std::string(18, ' '));
    EXPECT_EQ(console.Text(21, 4, 74), std::string(74, ' '));
    EXPECT_EQ(sound.Count("notify2"), 1);
    EXPECT_TRUE(FileHas("EventNameFont=comic sans ms"));
}

// A refused name longer than the old value once showed through behind it
// ("Arialistent Font"), and Esc took the garbled line: the field is
// blanked first, and Esc cancels the item as an empty entry does.
TEST_F(EditorTest, ARefusedFontLeavesACleanFieldAndEscCancelsIt) {
    const std::string before = File();
    std::vector<std::string> fields;
    console.onReadKey = [&](ScriptedConsole& c) { fields.push_back(c.Text(21, 50, 28)); };
    console.Type("1Nonexistent Font Name" + KeyEnter + "x");
    console.Press(KeyEsc);
    console.Type("q");
    Edit();
    // The field after the refusal, then the selection loop after Esc.
    ASSERT_GE(fields.size(), 3u);
    EXPECT_EQ(fields[fields.size() - 2], "times new roman" + std::string(13, ' '));
    EXPECT_EQ(fields.back(), std::string(28, ' '));
    EXPECT_TRUE(console.Shows(19, 35, "Select:  Q"));
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(File(), before);
}

TEST_F(EditorTest, UnknownFontIsRefusedAndAskedAgain) {
    const std::string before = File();
    AtWait(12, [](ScriptedConsole& c) {
        ExpectShown(c, {{23, 16, " The specified font does not exist on your system ", BRIGHTWHITE,
                         MAGENTA}});
    });
    // Any key clears the message and the font choice starts again: empty.
    console.Type("1Wingdings" + KeyEnter + "x" + KeyEnter + "q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(console.Text(23, 4, 74), std::string(28, ' ') + "(M) More settings" + std::string(29, ' '));
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(File(), before);
}

// "M" opens the screen of the later settings; "1" steps the paper through
// auto, A4 and Letter, "2" turns the export form of PBN files on and off;
// the change is saved when the editor is left.
TEST_F(EditorTest, MoreSettingsStepThePaperAndSaveIt) {
    // What auto comes to, and why, under the items; nothing when forced.
    RecordingPrinter printer;
    printer.autoPaper = {Paper::A4, PaperChoice::Printer};
    P.printer = &printer;
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() == 2) ExpectShown(c, {{12, 9, "auto: A4, the printer's paper ", LIGHTCYAN, BLUE}});
        if (c.ReadKeyCalls() != 3) return;
        EXPECT_TRUE(c.Shows(12, 9, std::string(30, ' ')));
        ExpectShown(c, {{5, 32, "\xc4 MORE SETTINGS \xc4", YELLOW, BLUE},
                        {7, 6, "1  ", YELLOW},
                        {7, 55, "A4 ", BRIGHTWHITE, BLUE},
                        {8, 6, "2  ", YELLOW},
                        {8, 55, "no ", BRIGHTWHITE, BLUE},
                        {9, 6, "3  ", YELLOW},
                        {9, 55, "no ", BRIGHTWHITE, BLUE},
                        {10, 9, "Write a web page with every PBN file", LIGHTCYAN, BLUE},
                        {17, 29, "Change (1-4)  or  (Q)uit ", YELLOW, BLUE}});
    };
    console.Type("m11x1qq");
    Edit();
    EXPECT_EQ(G.PaperSize, Paper::Auto);   // A4, Letter, (x beeps), auto
    EXPECT_EQ(sound.Count("beep2"), 1);
    console.Type("m124qq");
    Edit();
    EXPECT_EQ(G.PaperSize, Paper::A4);
    EXPECT_EQ(G.PbnExportFormat, 1);
    EXPECT_EQ(G.WebPage, 1);
    EXPECT_TRUE(FileHas("PaperSize=A4\r\nPbnExport=yes\r\nPrivateDeals=no\r\nWebPage=yes"));
    EXPECT_TRUE(FileHas("Keelward"));
}

TEST_F(EditorTest, FontListIsBuiltOnceFromTheSystemFamilies) {
    display();
    EXPECT_EQ(G.FontListText,
              "ARIAL, TIMES NEW ROMAN, COURIER NEW, COMIC SANS MS, BRIDGE, DEJAVU SANS, ");
    // Kept for the rest of the run: a font installed later is not seen.
    fonts.families = {"Garamond"};
    console.Type("1garamond" + KeyEnter + " " + KeyEnter + "q");
    Edit();
    EXPECT_EQ(G.ClubNameFont, "times new roman");
}

TEST_F(EditorTest, YesNoItemsAnswerTheirDefaultsOnEnter) {
    Load(FileWith({{2, "ClubNamePrompt=no"}, {3, "ColorPrinting=yes"}}));
    ASSERT_EQ(G.ClubNamePrompt, 0);
    ASSERT_EQ(G.ColorPrinting, 1);
    AtWait(2, [](ScriptedConsole& c) {
        ExpectShown(c, {{21, 10, "4. Print Card Symbols in color?", YELLOW, BLUE},
                        {21, 50, "Y/N", YELLOW, BLUE}});
        EXPECT_EQ(c.Column(), 52);   // on the "N" of the default
    });
    console.Type("4" + KeyEnter + "3" + KeyEnter + "5" + KeyEnter + "q");
    Edit();
    EXPECT_EQ(SettingsInMemory(), "times new roman|comic sans ms|1|0|1|gamefile.km|Bridge.For.Keelward");
    ExpectStored(3, "ClubNamePrompt=yes");
    ExpectStored(4, "ColorPrinting=no");
    ExpectStored(5, "AutoCreatePBNfile=yes");
    EXPECT_TRUE(console.Shows(10, 55, "no   ", BRIGHTWHITE));
    EXPECT_TRUE(console.Shows(11, 55, "yes  ", BRIGHTWHITE));
}

TEST_F(EditorTest, SameAnswerInAnotherCaseIsNoChange) {
    Load(FileWith({{2, "ClubNamePrompt=YES"}}));
    const std::string before = File();
    console.Type("3y4nq");
    Edit();
    EXPECT_EQ(Line(3), "ClubNamePrompt=YES");
    EXPECT_EQ(File(), before);
    // The screen shows the answer just given.
    EXPECT_TRUE(console.Shows(9, 55, "yes", BRIGHTWHITE));
}

TEST_F(EditorTest, EscInsideAYesNoItemLeavesAndStillWrites) {
    console.Type("1arial" + KeyEnter + "3" + KeyEsc + "7");   // the 7 is never read
    Edit();
    EXPECT_EQ(console.KeysLeft(), 1u);
    EXPECT_TRUE(FileHas("ClubNameFont=arial"));
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(G.SettingsChanged, 0);
}

TEST_F(EditorTest, FolderWithTrailingSeparatorIsStoredWithoutIt) {
    std::filesystem::create_directories("Games/PBN");
    AtWait(2, [](ScriptedConsole& c) {
        // The example and the separators of this system.
#ifdef _WIN32
        const char *example = "c:\\bridge\\dealer_4 data", *separators = "backslashes";
#else
        const char *example = "/home/club/bridge/dealer data", *separators = "slashes";
#endif
        ExpectShown(c, {{16, 8, "Enter a fully qualified path. Example: ", YELLOW, BLUE},
                        {16, 47, example, BRIGHTWHITE, BLUE},
                        {17, 8, std::string("Use ") + separators + ", include any spaces, but do not type any quotes.",
                         YELLOW},
                        {18, 8, "(50-character maximum; letter case is immaterial)", YELLOW},
                        {20, 12, "Enter path: ", YELLOW, BLUE}});
        EXPECT_EQ(c.Column(), 24);
    });
    console.Type("6games\\pbn\\" + KeyEnter + "q");
    WatchingClock watching;
    bool shown = false;
    watching.onPause = [&](int) { shown = console.Shows(22, 30, "Path changed.", LIGHTCYAN, BLUE); };
    P.clock = &watching;
    Edit();
    EXPECT_TRUE(shown);
    EXPECT_EQ(watching.pauses, std::vector<int>{1800});
    EXPECT_EQ(G.PBNfilesDirectory, "games\\pbn");
    ExpectStored(6, "PBNfilesDirectory=games\\pbn");
    EXPECT_TRUE(console.Shows(12, 55, "games\\pbn ", BRIGHTWHITE));
}

TEST_F(EditorTest, MissingFolderIsRefusedUntilEscLeaves) {
    std::filesystem::create_directories("there");
    WriteFile("afile", "x");
    const std::string before = File();
    AtWait(10, [](ScriptedConsole& c) {
        ExpectShown(c, {{22, 15, " The specified path does not exist on your computer ", MAGENTA,
                         BRIGHTWHITE}});
    });
    // Then an empty entry, and a file, which is not a folder; the q is never read.
    console.Type("6nowhere" + KeyEnter + "k" + KeyEnter + "kafile" + KeyEnter + "k" + KeyEsc + "q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 3);
    EXPECT_EQ(console.KeysLeft(), 1u);
    EXPECT_EQ(G.PBNfilesDirectory, "gamefile.km");
    EXPECT_EQ(File(), before);
}

TEST_F(EditorTest, LogoLineLeftEmptyKeepsItsText) {
    AtWait(2, [](ScriptedConsole& c) {
        ExpectShown(c, {{17, 23, "Enter new text:", YELLOW, BLUE}, {19, 26, "Line 1:", LIGHTCYAN},
                        {21, 26, "Line 3:", LIGHTCYAN}, {20, 36, "For", BRIGHTWHITE}});
        EXPECT_EQ(c.Row(), 19);
        EXPECT_EQ(c.Column(), 36);
    });
    // The last Enter answers "Entries Okay?" with yes.
    console.Type("7Duplicate" + KeyEnter + KeyEnter + "Club" + KeyEnter + KeyEnter + "q");
    Edit();
    const char* logo[3] = {"Duplicate", "For", "Club"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(Line(7 + i), logo[i]);
        EXPECT_EQ(G.LogoText[1 + i], logo[i]);
    }
    EXPECT_TRUE(File().find("Duplicate\r\nFor\r\nClub\r\n") != std::string::npos);
}

TEST_F(EditorTest, LogoAnsweredNoIsEnteredAgainFromTheNewLines) {
    AtWait(8, [](ScriptedConsole& c) {
        ExpectShown(c, {{17, 23, "Entries Okay?   (Y/n)", YELLOW}});
        EXPECT_EQ(c.Column(), 40);
    });
    console.Type("7One" + KeyEnter + KeyEnter + KeyEnter + "n" + KeyEnter + "Two" + KeyEnter + KeyEnter + "yq");
    Edit();
    EXPECT_EQ(Line(7), "One");
    EXPECT_EQ(Line(8), "Two");
    EXPECT_EQ(Line(9), "Keelward");
}

// Each entry is stored in memory and in the file as the next start will
// read it back; the folder is shown cut to 22 characters.
TEST_F(EditorTest, EntriesAreStoredCutOrKeptAsTheNextStartReadsThem) {
    const std::string folder = workDir + "/abs", fifty(50, 'd');
    ASSERT_LE(folder.size() + 2, 50u);
    std::filesystem::create_directories("abs");
    std::filesystem::create_directories(fifty);
    const std::string fonts = "times new roman|comic sans ms|1|0|0|";
    struct Case {
        const char* name;
        std::string keys;
        std::vector<std::pair<int, std::string>> stored;
        int beeps;
        std::string settings;
    };
    const Case cases[] = {
        {"Regular is cut from the font name", "2Times New Roman Regular" + KeyEnter + "q",
         {{2, "EventNameFont=Times New Roman"}}, 0,
         "times new roman|Times New Roman|1|0|0|gamefile.km|Bridge.For.Keelward"},
        // The first family the system lists, in another case, is accepted; a
        // piece of a name is not. "k" clears the message, Enter on the empty
        // field goes back to the selection loop.
        {"fonts are whole names in any case", "1ARIAL" + KeyEnter + "2ial" + KeyEnter + "k" + KeyEnter + "q",
         {{1, "ClubNameFont=ARIAL"}, {2, "EventNameFont=comic sans ms"}}, 1,
         "ARIAL|comic sans ms|1|0|0|gamefile.km|Bridge.For.Keelward"},
        {"an absolute folder keeps its leading separator", "6" + folder + "//" + KeyEnter + "q",
         {{6, "PBNfilesDirectory=" + folder}}, 0, fonts + folder + "|Bridge.For.Keelward"},
        {"the fifty-first character of a folder beeps", "6" + fifty + "e" + KeyEnter + "q",
         {{6, "PBNfilesDirectory=" + fifty}}, 1, fonts + fifty + "|Bridge.For.Keelward"},
        // Blanks, or nothing before "=", would make the next start reset all
        // three lines; such an entry keeps the old line. In memory the line
        // is as the next start will read it.
        {"a logo line that would read back empty is kept",
         "7   " + KeyEnter + "=x" + KeyEnter + "Hall=West" + KeyEnter + "yq",
         {{7, "Bridge"}, {8, "For"}, {9, "Hall=West"}}, 0, fonts + "gamefile.km|Bridge.For.Hall"},
        {"Esc in the logo keeps memory and file together", "7Club" + KeyEnter + KeyEsc + "q",
         {{7, "Club"}}, 0, fonts + "gamefile.km|Club.For.Keelward"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(FileWith());
        sound.played.clear();
        console.Type(c.keys);
        Edit();
        EXPECT_EQ(console.KeysLeft(), 0u);
        for (const auto& [n, line] : c.stored) ExpectStored(n, line);
        EXPECT_EQ(sound.Count("beep2"), c.beeps);
        EXPECT_EQ(SettingsInMemory(), c.settings);
        std::string shown = G.PBNfilesDirectory.substr(0, 22);
        EXPECT_EQ(console.Text(12, 55, 23), shown + std::string(23 - shown.size(), ' '));
    }
}

TEST_F(EditorTest, LongStoredValuesStayInsideTheFrame) {
    const std::string longName(40, 'f'), longLogo(60, 'k');
    Load(FileWith({{0, "ClubNameFont=" + longName}, {8, longLogo}}));
    std::vector<std::string> frames;
    console.onReadKey = [&](ScriptedConsole& c) {
        frames.push_back(c.Text(21, 78, 1));
        frames.push_back(c.Text(7, 78, 1));
    };
    // Enter keeps the font; then the logo is entered unchanged.
    console.Type("1" + KeyEnter + "7" + KeyEnter + KeyEnter + KeyEnter + "yq");
    Edit();
    for (const std::string& frame : frames) EXPECT_EQ(frame, "\xba") << console.Dump();
    EXPECT_EQ(Line(1), "ClubNameFont=" + longName);
    EXPECT_EQ(Line(9), longLogo);
}

TEST_F(EditorTest, FailedWriteWarnsAndKeepsTheChangesInMemory) {
    // A folder in the file's place: the rename cannot succeed, even for root.
    std::filesystem::remove("KELMO.INI");
    std::filesystem::create_directories("KELMO.INI/keep");
    console.Type("1arial" + KeyEnter + "qk");   // k answers the warning
    Edit();
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(G.ClubNameFont, "arial");
    EXPECT_EQ(Line(1), "ClubNameFont=arial");
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_TRUE(std::filesystem::is_directory("KELMO.INI/keep"));
}

TEST(EditorRules, FontNamesAndFolders) {
    EXPECT_EQ(CutRegular("Times New Roman Regular"), "Times New Roman");
    EXPECT_EQ(CutRegular("arial regular"), "arial");
    EXPECT_EQ(CutRegular("Regular"), "Regular");
    EXPECT_EQ(CutRegular(" Regular"), "");
    const std::string list = "ARIAL, COMIC SANS MS, ";
    EXPECT_TRUE(FontListed(list, "arial"));
    EXPECT_TRUE(FontListed(list, "Comic Sans MS"));
    for (const char* piece : {"SANS", "Comic", ""}) EXPECT_FALSE(FontListed(list, piece)) << piece;
    EXPECT_FALSE(FontListed("", "arial"));
    EXPECT_EQ(TrimTrailingSeparators("games\\pbn\\"), "games\\pbn");
    EXPECT_EQ(TrimTrailingSeparators("/srv/pbn/\\/"), "/srv/pbn");
    EXPECT_EQ(TrimTrailingSeparators("\\pbn"), "\\pbn");
    EXPECT_EQ(TrimTrailingSeparators("/"), "/");
    EXPECT_EQ(LogoPart("  Bridge = Club"), "Bridge");
    EXPECT_EQ(LogoPart("=Club"), "");
}

}  // namespace
