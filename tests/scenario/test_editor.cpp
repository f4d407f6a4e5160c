// The settings editor on the scripted console with a fake font list.
#include <filesystem>
#include <functional>

#include "model/model.h"
#include "settings/editor.h"
#include "settings/inifile.h"
#include "shell/kit.h"
#include "support/doubles.h"

namespace {

// A clock that lets a test look at the screen during a pause.
class WatchingClock : public VirtualClock {
public:
    void Pause(int milliseconds) override {
        if (onPause) onPause();
        VirtualClock::Pause(milliseconds);
    }
    std::function<void()> onPause;
};

const char* const DefaultFile =
    "ClubNameFont=times new roman\r\n"
    "EventNameFont=comic sans ms\r\n"
    "ClubNamePrompt=yes\r\n"
    "ColorPrinting=no\r\n"
    "AutoCreatePBNfile=no\r\n"
    "PBNfilesDirectory=gamefile.km\r\n"
    "Bridge\r\n"
    "For\r\n"
    "Keelward\r\n";

class EditorTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        Load(DefaultFile);
    }

    // Puts a settings file in place and reads it as start-up does.
    void Load(const std::string& file) {
        WriteFile("KELMO.INI", file);
        processinifile();
        ASSERT_EQ(G.ErrorCode, 0);
    }

    // Runs the editor; the script must end with the editor left.
    void Edit() { ASSERT_FALSE(Run(programsettings)) << console.Dump(); }

    std::string Line(int n) { return G.SettingsLines[n]; }
    std::string File() { return ReadFile("KELMO.INI"); }
    bool FileHas(const std::string& line) { return File().find(line + "\r\n") != std::string::npos; }
};

TEST_F(EditorTest, CurrentSettingsScreenShowsTheStoredValues) {
    Load(std::string(DefaultFile).replace(0, 28, "ClubNameFont=A Very Long Font Name Indeed"));
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 1) return;
        EXPECT_TRUE(c.Shows(3, 30, "HAND-RECORD GENERATOR", LIGHTGREEN, BLUE));
        EXPECT_TRUE(c.Shows(3, 10, G.SuitSymbol[0], LIGHTRED));
        EXPECT_TRUE(c.Shows(3, 62, G.SuitSymbol[0], LIGHTRED));
        EXPECT_TRUE(c.Shows(5, 31, "\xc4 CURRENT SETTINGS \xc4", YELLOW, BLUE));
        // The divider stands at row 15; row 12 is a plain side line.
        EXPECT_TRUE(c.Shows(15, 3, "\xc7\xc4\xc4", GREY));
        EXPECT_TRUE(c.Shows(15, 78, "\xb6"));
        EXPECT_TRUE(c.Shows(12, 3, "\xba  "));
        EXPECT_EQ(c.Text(6, 10, 9), "         ");   // no field labels
        EXPECT_TRUE(c.Shows(7, 6, "1  ", YELLOW));
        EXPECT_TRUE(c.Shows(7, 9, "Typeface for Club Name", LIGHTCYAN));
        EXPECT_TRUE(c.Shows(13, 9, "Change wording on logo for printing", LIGHTCYAN));
        // Values as stored, cut to 22 characters.
        EXPECT_EQ(c.Text(7, 55, 24), "A Very Long Font Name  \xba");
        EXPECT_TRUE(c.Shows(7, 55, "A Very Long Font Name ", BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(8, 55, "comic sans ms", BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(10, 55, "no ", BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(12, 55, "gamefile.km", BRIGHTWHITE));
        EXPECT_EQ(c.Text(13, 55, 10), "          ");   // the logo is not shown
        EXPECT_TRUE(c.Shows(17, 28, "Change (1-7)  or  (Q)uit ", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(19, 35, "Select:  Q", YELLOW, BLUE));
        EXPECT_EQ(c.Row(), 19);
        EXPECT_EQ(c.Column(), 44);
        EXPECT_EQ(c.CursorSize(), 99);
    };
    const std::string before = File();
    console.Type("x");
    console.Press(KEY_UP);
    console.Type("q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 2);
    EXPECT_EQ(File(), before);   // nothing changed, nothing written
}

TEST_F(EditorTest, EnterAndEscAlsoLeaveTheEditor) {
    console.Press(KEY_ENTER);
    Edit();
    console.Press(KEY_ESC);
    Edit();
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(EditorTest, ClubFontTypedInLowerCaseIsStoredAsTyped) {
    console.Type("1");
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 2) return;
        // The old value in grey at the input field, the question beside it.
        EXPECT_TRUE(c.Shows(21, 10, "1. Font to use for Club Name:", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(21, 50, "times new roman", GREY, BLUE));
        EXPECT_EQ(c.Fg(21, 50), GREY);
    };
    console.Type("arial");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(1), "ClubNameFont=arial");
    EXPECT_EQ(G.ClubNameFont, "arial");
    EXPECT_TRUE(console.Shows(7, 55, "arial ", BRIGHTWHITE));
    EXPECT_EQ(console.Text(7, 55, 23), "arial" + std::string(18, ' '));
    EXPECT_EQ(console.Text(21, 4, 74), G.Blank74);
    EXPECT_EQ(sound.Count("notify2"), 1);
    EXPECT_TRUE(FileHas("ClubNameFont=arial"));
    EXPECT_TRUE(FileHas("EventNameFont=comic sans ms"));
}

TEST_F(EditorTest, RegularIsCutFromTheFontName) {
    console.Type("2Times New Roman Regular");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(2), "EventNameFont=Times New Roman");
    EXPECT_EQ(G.EventNameFont, "Times New Roman");
    EXPECT_EQ(sound.Count("beep2"), 0);
    EXPECT_TRUE(FileHas("EventNameFont=Times New Roman"));
}

TEST_F(EditorTest, FontsAreMatchedAsWholeNamesIgnoringCase) {
    // The first family the system lists, in another case, is accepted; a
    // piece of a name is not.
    console.Type("1ARIAL");
    console.Press(KEY_ENTER);
    console.Type("2ial");
    console.Press(KEY_ENTER);
    console.Type("k");          // clears the message
    console.Press(KEY_ENTER);   // empty: back to the selection loop
    console.Type("q");
    Edit();
    EXPECT_EQ(G.ClubNameFont, "ARIAL");
    EXPECT_EQ(G.EventNameFont, "comic sans ms");
    EXPECT_EQ(sound.Count("beep2"), 1);
}

TEST_F(EditorTest, UnknownFontIsRefusedAndAskedAgain) {
    const std::string before = File();
    console.Type("1");
    console.Type("Wingdings");
    console.Press(KEY_ENTER);
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 12) return;
        EXPECT_TRUE(c.Shows(23, 16, " The specified font does not exist on your system ",
                            BRIGHTWHITE, MAGENTA))
            << c.Dump();
    };
    console.Type("x");            // any key clears the message
    console.Press(KEY_ENTER);     // and the font choice starts again: empty
    console.Type("q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(console.Text(23, 4, 74), G.Blank74);
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(File(), before);
}

TEST_F(EditorTest, FontListIsBuiltOnceFromTheSystemFamilies) {
    display();
    EXPECT_EQ(G.FontListText,
              "ARIAL, TIMES NEW ROMAN, COURIER NEW, COMIC SANS MS, BRIDGE, DEJAVU SANS, ");
    // Kept for the rest of the run: a font installed later is not seen.
    fonts.families = {"Garamond"};
    console.Type("1garamond");
    console.Press(KEY_ENTER);
    console.Type(" ");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(G.ClubNameFont, "times new roman");
}

TEST_F(EditorTest, YesNoItemsAnswerTheirDefaultsOnEnter) {
    Load("ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\nClubNamePrompt=no\r\n"
         "ColorPrinting=yes\r\nAutoCreatePBNfile=no\r\nPBNfilesDirectory=gamefile.km\r\n"
         "Bridge\r\nFor\r\nKeelward\r\n");
    ASSERT_EQ(G.ClubNamePrompt, 0);
    ASSERT_EQ(G.ColorPrinting, 1);
    console.Type("4");
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 2) return;
        EXPECT_TRUE(c.Shows(21, 10, "4. Print Card Symbols in color?", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(21, 50, "Y/N", YELLOW, BLUE));
        EXPECT_EQ(c.Column(), 52);   // on the "N" of the default
    };
    console.Press(KEY_ENTER);
    console.Type("3");
    console.Press(KEY_ENTER);
    console.Type("5");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(G.ColorPrinting, 0);
    EXPECT_EQ(G.ClubNamePrompt, 1);
    EXPECT_EQ(G.AutoCreatePBNfile, 1);
    EXPECT_EQ(Line(3), "ClubNamePrompt=yes");
    EXPECT_EQ(Line(4), "ColorPrinting=no");
    EXPECT_EQ(Line(5), "AutoCreatePBNfile=yes");
    EXPECT_TRUE(console.Shows(10, 55, "no   ", BRIGHTWHITE));
    EXPECT_TRUE(console.Shows(11, 55, "yes  ", BRIGHTWHITE));
    EXPECT_TRUE(FileHas("ColorPrinting=no"));
    EXPECT_TRUE(FileHas("ClubNamePrompt=yes"));
    EXPECT_TRUE(FileHas("AutoCreatePBNfile=yes"));
}

TEST_F(EditorTest, SameAnswerInAnotherCaseIsNoChange) {
    Load("ClubNameFont=times new roman\r\nEventNameFont=comic sans ms\r\nClubNamePrompt=YES\r\n"
         "ColorPrinting=no\r\nAutoCreatePBNfile=no\r\nPBNfilesDirectory=gamefile.km\r\n"
         "Bridge\r\nFor\r\nKeelward\r\n");
    const std::string before = File();
    console.Type("3y4n");
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(3), "ClubNamePrompt=YES");
    EXPECT_EQ(File(), before);
    // The screen shows the answer just given.
    EXPECT_TRUE(console.Shows(9, 55, "yes", BRIGHTWHITE));
}

TEST_F(EditorTest, EscInsideAYesNoItemLeavesAndStillWrites) {
    console.Type("1arial");
    console.Press(KEY_ENTER);
    console.Type("3");
    console.Press(KEY_ESC);
    console.Type("7");   // never read: the editor is gone
    Edit();
    EXPECT_EQ(console.KeysLeft(), 1u);
    EXPECT_TRUE(FileHas("ClubNameFont=arial"));
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(G.SettingsChanged, 0);
}

TEST_F(EditorTest, FolderWithTrailingSeparatorIsStoredWithoutIt) {
    std::filesystem::create_directories("Games/PBN");
    console.Type("6");
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 2) return;
        EXPECT_TRUE(c.Shows(16, 8, "Enter a fully qualified path. Example: ", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(16, 47, "c:\\bridge\\dealer_4 data", BRIGHTWHITE, BLUE));
        EXPECT_TRUE(c.Shows(17, 8, "Use backslashes, include any spaces, but do not type any quotes.",
                            YELLOW));
        EXPECT_TRUE(c.Shows(18, 8, "(50-character maximum; letter case is immaterial)", YELLOW));
        EXPECT_TRUE(c.Shows(20, 12, "Enter path: ", YELLOW, BLUE));
        EXPECT_EQ(c.Column(), 24);
    };
    console.Type("games\\pbn\\");
    console.Press(KEY_ENTER);
    console.Type("q");
    WatchingClock watching;
    bool shown = false;
    watching.onPause = [&] { shown = console.Shows(22, 30, "Path changed.", LIGHTCYAN, BLUE); };
    P.clock = &watching;
    Edit();
    EXPECT_TRUE(shown);
    EXPECT_EQ(watching.pauses, std::vector<int>{1800});
    EXPECT_EQ(G.PBNfilesDirectory, "games\\pbn");
    EXPECT_EQ(Line(6), "PBNfilesDirectory=games\\pbn");
    EXPECT_TRUE(console.Shows(12, 55, "games\\pbn ", BRIGHTWHITE));
    EXPECT_TRUE(FileHas("PBNfilesDirectory=games\\pbn"));
}

TEST_F(EditorTest, AbsoluteFolderKeepsItsLeadingSeparator) {
    std::filesystem::create_directories("abs");
    const std::string folder = workDir + "/abs";
    ASSERT_LE(folder.size() + 2, 50u);
    console.Type("6" + folder + "//");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(G.PBNfilesDirectory, folder);
    EXPECT_TRUE(FileHas("PBNfilesDirectory=" + folder));
}

TEST_F(EditorTest, MissingFolderIsRefusedUntilEscLeaves) {
    std::filesystem::create_directories("there");
    WriteFile("afile", "x");
    const std::string before = File();
    console.Type("6nowhere");
    console.Press(KEY_ENTER);
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 10) return;
        EXPECT_TRUE(c.Shows(22, 15, " The specified path does not exist on your computer ", MAGENTA,
                            BRIGHTWHITE))
            << c.Dump();
    };
    console.Type("k");
    console.Press(KEY_ENTER);   // empty entry: refused as well
    console.Type("k");
    console.Type("afile");      // a file is not a folder
    console.Press(KEY_ENTER);
    console.Type("k");
    console.Press(KEY_ESC);
    console.Type("q");          // never read
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 3);
    EXPECT_EQ(console.KeysLeft(), 1u);
    EXPECT_EQ(G.PBNfilesDirectory, "gamefile.km");
    EXPECT_EQ(File(), before);
}

TEST_F(EditorTest, FiftyFirstCharacterOfAFolderBeeps) {
    const std::string fifty(50, 'd');
    std::filesystem::create_directories(fifty);
    console.Type("6" + fifty + "e");
    console.Press(KEY_ENTER);
    console.Type("q");
    Edit();
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(G.PBNfilesDirectory, fifty);
    EXPECT_EQ(console.Text(12, 55, 23), std::string(22, 'd') + " ");
}

TEST_F(EditorTest, LogoLineLeftEmptyKeepsItsText) {
    console.Type("7");
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 2) return;
        EXPECT_TRUE(c.Shows(17, 23, "Enter new text:", YELLOW, BLUE));
        EXPECT_TRUE(c.Shows(19, 26, "Line 1:", LIGHTCYAN));
        EXPECT_TRUE(c.Shows(21, 26, "Line 3:", LIGHTCYAN));
        EXPECT_TRUE(c.Shows(20, 36, "For", BRIGHTWHITE));
        EXPECT_EQ(c.Row(), 19);
        EXPECT_EQ(c.Column(), 36);
    };
    console.Type("Duplicate");
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.Type("Club");
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);   // Entries Okay? yes
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(7), "Duplicate");
    EXPECT_EQ(Line(8), "For");
    EXPECT_EQ(Line(9), "Club");
    EXPECT_EQ(G.LogoText[1], "Duplicate");
    EXPECT_EQ(G.LogoText[2], "For");
    EXPECT_EQ(G.LogoText[3], "Club");
    EXPECT_TRUE(File().find("Duplicate\r\nFor\r\nClub\r\n") != std::string::npos);
}

TEST_F(EditorTest, LogoAnsweredNoIsEnteredAgainFromTheNewLines) {
    console.Type("7One");
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.onReadKey = [](ScriptedConsole& c) {
        if (c.ReadKeyCalls() != 8) return;
        EXPECT_TRUE(c.Shows(17, 23, "Entries Okay?   (Y/n)", YELLOW));
        EXPECT_EQ(c.Column(), 40);
    };
    console.Type("n");
    console.Press(KEY_ENTER);
    console.Type("Two");
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.Type("y");
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(7), "One");
    EXPECT_EQ(Line(8), "Two");
    EXPECT_EQ(Line(9), "Keelward");
}

TEST_F(EditorTest, LogoEntryThatWouldReadBackEmptyKeepsTheOldLine) {
    // Blanks, or nothing before "=", would make the next start reset all
    // three lines; such an entry keeps the old line.
    console.Type("7   ");
    console.Press(KEY_ENTER);
    console.Type("=x");
    console.Press(KEY_ENTER);
    console.Type("Hall=West");
    console.Press(KEY_ENTER);
    console.Type("y");
    console.Type("q");
    Edit();
    EXPECT_EQ(Line(7), "Bridge");
    EXPECT_EQ(Line(8), "For");
    EXPECT_EQ(Line(9), "Hall=West");
    // In memory as the next start will read it.
    EXPECT_EQ(G.LogoText[3], "Hall");
}

TEST_F(EditorTest, EscInTheLogoKeepsMemoryAndFileTogether) {
    console.Type("7Club");
    console.Press(KEY_ENTER);
    console.Press(KEY_ESC);   // back to the selection loop
    console.Type("q");
    Edit();
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(Line(7), "Club");
    EXPECT_EQ(G.LogoText[1], "Club");
    EXPECT_TRUE(FileHas("Club"));
}

TEST_F(EditorTest, LongStoredValuesStayInsideTheFrame) {
    const std::string longName(40, 'f'), longLogo(60, 'k');
    Load("ClubNameFont=" + longName + "\r\nEventNameFont=comic sans ms\r\nClubNamePrompt=yes\r\n"
         "ColorPrinting=no\r\nAutoCreatePBNfile=no\r\nPBNfilesDirectory=gamefile.km\r\n"
         "Bridge\r\nFor\r\n" + longLogo + "\r\n");
    std::vector<std::string> frames;
    console.onReadKey = [&](ScriptedConsole& c) {
        frames.push_back(c.Text(21, 78, 1));
        frames.push_back(c.Text(7, 78, 1));
    };
    console.Type("1");
    console.Press(KEY_ENTER);   // keeps the font
    console.Type("7");
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.Press(KEY_ENTER);
    console.Type("y");
    console.Type("q");
    Edit();
    for (const std::string& frame : frames) EXPECT_EQ(frame, "\xba") << console.Dump();
    EXPECT_EQ(Line(1), "ClubNameFont=" + longName);
    EXPECT_EQ(Line(9), longLogo);
}

TEST_F(EditorTest, FailedWriteWarnsAndKeepsTheChangesInMemory) {
    // A folder in the file's place: the rename cannot succeed, even for root.
    std::filesystem::remove("KELMO.INI");
    std::filesystem::create_directories("KELMO.INI/keep");
    console.Type("1arial");
    console.Press(KEY_ENTER);
    console.Type("q");
    console.Type("k");   // the warning's key
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
    EXPECT_FALSE(FontListed(list, "SANS"));
    EXPECT_FALSE(FontListed(list, "Comic"));
    EXPECT_FALSE(FontListed(list, ""));
    EXPECT_FALSE(FontListed("", "arial"));
    EXPECT_EQ(TrimTrailingSeparators("games\\pbn\\"), "games\\pbn");
    EXPECT_EQ(TrimTrailingSeparators("/srv/pbn/\\/"), "/srv/pbn");
    EXPECT_EQ(TrimTrailingSeparators("\\pbn"), "\\pbn");
    EXPECT_EQ(TrimTrailingSeparators("/"), "/");
    EXPECT_EQ(LogoPart("  Bridge = Club"), "Bridge");
    EXPECT_EQ(LogoPart("=Club"), "");
}

}  // namespace
