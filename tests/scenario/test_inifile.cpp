#include <filesystem>
#include <string>
#include <vector>

#include "model/model.h"
#include "settings/inifile.h"
#include "support/doubles.h"

namespace {

const std::vector<std::string> kDefaults = {
    "ClubNameFont=times new roman", "EventNameFont=comic sans ms", "ClubNamePrompt=yes",
    "ColorPrinting=no",             "AutoCreatePBNfile=no",        "PBNfilesDirectory=gamefile.km",
    "Bridge",                       "For",                         "Keelward"};

std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// A good file that differs from the defaults in every setting.
std::vector<std::string> CustomLines() {
    return {"ClubNameFont=Arial",       "EventNameFont=Courier New", "ClubNamePrompt=NO",
            "ColorPrinting=Yes",        "AutoCreatePBNfile=yes",     "PBNfilesDirectory=C:\\Pbn",
            "North",                    "Shore",                     "Club"};
}

std::string RTrim(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

}  // namespace

class IniFileTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        // Every wait for a key: a copy of the screen as it stood.
        console.onReadKey = [this](ScriptedConsole& c) {
            screens.push_back(c.Dump());
            rows14.push_back(c.Text(14, 18, 60));
            rows16.push_back(c.Text(16, 18, 60));
            rows18.push_back(c.Text(18, 18, 60));
        };
    }
    void ProcessFile(const std::vector<std::string>& lines, int keys) {
        WriteFile("KELMO.INI", Crlf(lines));
        for (int i = 0; i < keys; i++) console.Type(" ");
        ASSERT_FALSE(Run(processinifile)) << console.Dump();
        EXPECT_EQ(console.KeysLeft(), 0u);
    }
    std::vector<std::string> screens, rows14, rows16, rows18;
};

TEST_F(IniFileTest, MissingFileIsWrittenWithDefaultsSilently) {
    ASSERT_FALSE(Run(processinifile));
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(kDefaults));
    EXPECT_TRUE(screens.empty());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(G.EventNameFont, "comic sans ms");
    EXPECT_EQ(G.ClubNamePrompt, 1);
    EXPECT_EQ(G.ColorPrinting, 0);
    EXPECT_EQ(G.AutoCreatePBNfile, 0);
    EXPECT_EQ(G.PBNfilesDirectory, "gamefile.km");
    EXPECT_EQ(G.LogoText[1] + G.LogoText[2] + G.LogoText[3], "BridgeForKeelward");
    EXPECT_EQ(G.SettingsLines[0], "9");
}

TEST_F(IniFileTest, GoodFileIsReadAsWrittenAndLeftAlone) {
    // Blanks around a value, an empty line between entries and a logo line
    // holding "=" are all good.
    std::vector<std::string> lines = CustomLines();
    lines[3] = "ColorPrinting= Yes ";
    lines[6] = "Bridge=Club";
    lines.insert(lines.begin() + 4, "");
    std::string bytes = Crlf(lines);
    ProcessFile(lines, 0);
    EXPECT_TRUE(screens.empty());
    EXPECT_EQ(G.ErrorCode, 0);
    EXPECT_EQ(ReadFile("KELMO.INI"), bytes);
    EXPECT_EQ(G.ClubNameFont, "Arial");
    EXPECT_EQ(G.EventNameFont, "Courier New");
    EXPECT_EQ(G.ClubNamePrompt, 0);
    EXPECT_EQ(G.ColorPrinting, 1);
    EXPECT_EQ(G.AutoCreatePBNfile, 1);
    EXPECT_EQ(G.PBNfilesDirectory, "C:\\Pbn");
    EXPECT_EQ(G.LogoText[1], "Bridge");
    EXPECT_EQ(G.LogoText[2], "Shore");
    EXPECT_EQ(G.LogoText[3], "Club");
    EXPECT_EQ(G.SettingsLines[0], "9");
    EXPECT_EQ(G.SettingsLines[7], "Bridge=Club");
}

TEST_F(IniFileTest, WrongKeyCaseGivesKeyErrorOneAndTimesNewRoman) {
    std::vector<std::string> lines = CustomLines();
    lines[0] = "clubnamefont=Arial";
    ProcessFile(lines, 1);
    ASSERT_EQ(screens.size(), 1u);
    // The screen as it waits for the key.
    EXPECT_TRUE(console.Shows(3, 31, "HAND-RECORD GENERATOR"));
    EXPECT_TRUE(console.Shows(14, 18, "There is an error in a system file, ", YELLOW, BLUE));
    EXPECT_TRUE(console.Shows(14, 54, "KELMO.INI", LIGHTGREEN, BLUE));
    EXPECT_TRUE(console.Shows(16, 18, "The definition for ", YELLOW, BLUE));
    EXPECT_TRUE(console.Shows(16, 37, "Club Name Font", BRIGHTWHITE, BLUE));
    EXPECT_TRUE(console.Shows(16, 51, " is missing.", YELLOW, BLUE));
    EXPECT_TRUE(console.Shows(18, 18, "The font", YELLOW, BLUE));
    EXPECT_TRUE(console.Shows(18, 26, " Times New Roman ", BRIGHTWHITE, BLUE));
    EXPECT_TRUE(console.Shows(18, 43, "will be substituted.", YELLOW, BLUE));
    EXPECT_TRUE(console.Shows(22, 35, " <any key> ", BRIGHTWHITE, MAGENTA));
    EXPECT_EQ(console.Text(15, 4, 74), std::string(74, ' '));
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});

    EXPECT_EQ(G.ErrorCode, 1);
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(G.EventNameFont, "Courier New");
    lines[0] = kDefaults[0];
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(lines));
}

TEST_F(IniFileTest, MaybeGivesKeyErrorFourAndTheLineRewritten) {
    std::vector<std::string> lines = CustomLines();
    lines[3] = "ColorPrinting=maybe";
    ProcessFile(lines, 1);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(RTrim(rows16[0]), "The definition for Color Printing Option is missing.");
    EXPECT_EQ(RTrim(rows18[0]), "Color printing will not be enabled.");
    EXPECT_EQ(G.ColorPrinting, 0);
    EXPECT_EQ(G.AutoCreatePBNfile, 1);
    lines[3] = "ColorPrinting=no";
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(lines));
    EXPECT_EQ(G.SettingsLines[4], "ColorPrinting=no");
}

TEST_F(IniFileTest, TwoBadLinesGiveTwoScreensInFileOrderThenOneRewrite) {
    std::vector<std::string> lines = CustomLines();
    lines[1] = "EventNameFont=";
    lines[4] = "AutoCreatePBN=yes";
    ProcessFile(lines, 2);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(RTrim(rows16[0]), "The definition for Event Name Font is missing.");
    EXPECT_EQ(RTrim(rows18[0]), "The font Comic Sans MS will be substituted.");
    EXPECT_EQ(RTrim(rows16[1]), "The definition for Create a PBN File is missing.");
    EXPECT_EQ(RTrim(rows18[1]), "A PBN file will not be written.");
    EXPECT_EQ(sound.Count("notify2"), 2);
    lines[1] = kDefaults[1];
    lines[4] = kDefaults[4];
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(lines));
    EXPECT_EQ(G.EventNameFont, "comic sans ms");
    EXPECT_EQ(G.AutoCreatePBNfile, 0);
    EXPECT_EQ(G.ColorPrinting, 1);
}

TEST_F(IniFileTest, BadPromptAndFolderLinesUseTheirDefaultsAtOnce) {
    std::vector<std::string> lines = CustomLines();
    lines[2] = "ClubNamePrompt";
    lines[5] = "PBNfilesDirectory = ";
    ProcessFile(lines, 2);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(RTrim(rows16[0]), "The definition for Prompt the Club Name is missing.");
    EXPECT_EQ(RTrim(rows18[0]), "The most recently used club name will be supplied.");
    EXPECT_EQ(RTrim(rows16[1]), "The definition for PBN file path is missing.");
    EXPECT_EQ(RTrim(rows18[1]), "Defaulting to folder \"GAMEFILE.KM\"");
    EXPECT_EQ(G.ClubNamePrompt, 1);
    EXPECT_EQ(G.PBNfilesDirectory, "gamefile.km");
}

TEST_F(IniFileTest, BadLogoLineResetsAllThreeLogoLines) {
    std::vector<std::string> lines = CustomLines();
    lines[7] = " =Shore";
    ProcessFile(lines, 1);
    ASSERT_EQ(screens.size(), 1u);
    // No " is missing." for the logo.
    EXPECT_EQ(RTrim(rows16[0]), "The definition for Error in Print Logo Data");
    EXPECT_EQ(RTrim(rows18[0]), "Defaulting to \"Bridge . For . Keelward\"");
    EXPECT_EQ(G.LogoText[1] + "." + G.LogoText[2] + "." + G.LogoText[3], "Bridge.For.Keelward");
    for (int i = 6; i < 9; i++) lines[i] = kDefaults[i];
    EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(lines));
}

TEST_F(IniFileTest, WrongLineCountShowsSystemFileErrorAndResetsEverything) {
    for (int count : {10, 8}) {
        SCOPED_TRACE(count);
        screens.clear();
        sound.played.clear();
        std::vector<std::string> lines = CustomLines();
        if (count == 10) lines.push_back("Extra");
        else lines.pop_back();
        ProcessFile(lines, 1);
        ASSERT_EQ(screens.size(), 1u);
        EXPECT_TRUE(console.Shows(13, 30, "\xc4 SYSTEM FILE ERROR \xc4", LIGHTRED, BLUE));
        EXPECT_TRUE(console.Shows(14, 16, "The program initialization file is missing or has ",
                                  YELLOW, BLUE));
        EXPECT_TRUE(console.Shows(15, 16, "been corrupted. Reverting to default specifications:",
                                  YELLOW, BLUE));
        EXPECT_EQ(console.Text(16, 4, 74), std::string(74, ' '));
        const char* shown[7] = {"Club Name Font         =  Times New Roman",
                                "Event Name Font        =  Comic Sans MS",
                                "Prompt the Club Name   =  Yes",
                                "Color Printing         =  No",
                                "Auto-create PBN file   =  No",
                                "PBN File Folder        =  GAMEFILE.KM",
                                "Logo Text              =  Bridge . For . Keelward"};
        for (int i = 0; i < 7; i++) EXPECT_TRUE(console.Shows(17 + i, 20, shown[i], BRIGHTWHITE));
        EXPECT_TRUE(console.Shows(24, 35, " <any key> ", BRIGHTWHITE, MAGENTA));
        EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
        EXPECT_EQ(ReadFile("KELMO.INI"), Crlf(kDefaults));
        EXPECT_EQ(G.ClubNameFont, "times new roman");
        EXPECT_EQ(G.ColorPrinting, 0);
        EXPECT_EQ(G.AutoCreatePBNfile, 0);
        EXPECT_EQ(G.ClubNamePrompt, 1);
        EXPECT_EQ(G.LogoText[3], "Keelward");
    }
}

TEST_F(IniFileTest, WriterSetsACountOfNineAndReaderCountsBeyondTen) {
    for (int i = 1; i <= 9; i++) G.SettingsLines[i] = "L" + std::to_string(i);
    G.SettingsLines[0] = "";
    ASSERT_TRUE(WriteSettingsLines());
    EXPECT_EQ(G.SettingsLines[0], "9");
    EXPECT_EQ(ReadFile("KELMO.INI"), "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\n");

    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; i++) twelve.push_back("M" + std::to_string(i));
    WriteFile("KELMO.INI", Crlf(twelve) + "\r\n\r\n");
    ReadSettingsLines();
    EXPECT_EQ(G.SettingsLines[0], "12");
    EXPECT_EQ(G.SettingsLines[10], "M10");
}

TEST_F(IniFileTest, FailedWriteWarnsAndCarriesOnWithDefaults) {
    // A folder where the file should be: the defaults cannot be written.
    std::filesystem::create_directory("KELMO.INI");
    console.Type(" ");
    ASSERT_FALSE(Run(processinifile)) << console.Dump();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_NE(screens[0].find(" Could not write KELMO.INI "), std::string::npos) << screens[0];
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    EXPECT_TRUE(std::filesystem::is_directory("KELMO.INI"));
    EXPECT_EQ(G.ClubNameFont, "times new roman");
    EXPECT_EQ(G.SettingsLines[6], "PBNfilesDirectory=gamefile.km");
    // Nothing half-written is left beside it.
    int entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(".")) {
        (void)entry;
        entries++;
    }
    EXPECT_EQ(entries, 2);   // KELMO.INI and GAMEFILE.KM
}
