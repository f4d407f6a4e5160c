#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/model.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "unit/test_analysis_games.h"

namespace fs = std::filesystem;

namespace {

class PbnWriterTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        clock.SetDate(2026, 12, 7);
    }

    std::vector<std::string> Lines(const std::string& bytes) {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(bytes.substr(start) + "<no CR LF>");
                break;
            }
            lines.push_back(bytes.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

TEST_F(PbnWriterTest, FileNameFromDateAndSession) {
    // The folder is used as the settings hold it, a trailing separator too.
    struct { const char* folder; int year, month, day, session; const char* path; } cases[] = {
        {"GAMEFILE.KM", 24, 3, 15, 2, "GAMEFILE.KM\\240315A.pbn"},
        {"c:\\games\\", 0, 1, 5, 4, "c:\\games\\\\000105L.pbn"},
        {"c:\\games\\", 0, 1, 5, 1, "c:\\games\\\\000105M.pbn"},
        {"c:\\games\\", 0, 1, 5, 3, "c:\\games\\\\000105E.pbn"}};
    for (auto c : cases) {
        G.PBNfilesDirectory = c.folder;
        G.GameYear = c.year, G.GameMonth = c.month, G.GameDay = c.day, G.SessionNumber = c.session;
        MakePbnFilePath();
        EXPECT_EQ(G.PbnFilePath, c.path);
    }
}

TEST_F(PbnWriterTest, TricksTextRunsNorthSouthEastWestFromNotrumpDown) {
    G.TotalBoards = 24;
    for (int strain = 1; strain <= 5; strain++) {
        G.DDTricks[3][1][strain] = strain;          // N: clubs 1 .. notrump 5
        G.DDTricks[3][3][strain] = 9 + strain - 1;  // S: 9 .. 13
        G.DDTricks[3][2][strain] = 0;
        G.DDTricks[3][4][strain] = 6;
    }
    G.DDTricks[3][2][5] = 10;
    EncodeDDTricksTexts();
    EXPECT_EQ(G.DDTricksText[3], "54321dcba9a000066666");
    EXPECT_EQ(G.DDTricksText[1], "00000000000000000000");
}

TEST_F(PbnWriterTest, GoldenFileOfAFixedGame) {
    FillFixedGame(24);
    fs::create_directory("GAMEFILE.KM");
    MakePbnFilePath();
    writepbnfile();
    std::string written = ReadFile("GAMEFILE.KM/150307A.pbn");
    std::string golden = ReadFile(std::string(KELMO_SOURCE_DIR) + "/tests/golden/150307A.pbn");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(written, golden);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PbnWriterTest, LayoutOfTheBlocks) {
    FillFixedGame(24);
    std::vector<std::string> lines = Lines(PbnFileText("12-07-2026"));
    ASSERT_EQ(lines.size(), 2u + 24u * 10u);
    EXPECT_EQ(lines[0], "% Created by KELMO, 12-07-2026");
    EXPECT_EQ(lines[1], "% KM Game Control: #91722 31459");
    auto block = [&](int board) { return std::vector<std::string>(lines.begin() + 2 + (board - 1) * 10,
                                                                  lines.begin() + 2 + board * 10); };
    EXPECT_EQ(block(1), (std::vector<std::string>{
        "[Event \"Tuesday Pairs\"]", "[Site \"Keelward Bridge Club\"]", "[Date \"2015.03.07\"]", "[Board \"1\"]",
        "[Dealer \"N\"]", "[Vulnerable \"None\"]", "[Deal \"" + G.DealText[1] + "\"]",
        "[OptimumScore \"" + G.ParText[1] + "\"]", "[DoubleDummyTricks \"" + G.DDTricksText[1] + "\"]", ""}));
    // Later blocks: event, site and date as "#"; dealer and vulnerability
    // follow the board.
    struct { int board; const char* dealer; const char* vulnerable; } later[] = {
        {2, "E", "NS"}, {17, "N", "None"}, {23, "S", "All"}, {24, "W", "None"}};
    for (auto b : later) {
        std::vector<std::string> lines = block(b.board);
        std::vector<std::string> head(lines.begin(), lines.begin() + 6);
        EXPECT_EQ(head, (std::vector<std::string>{"[Event \"#\"]", "[Site \"#\"]", "[Date \"#\"]",
                                                  "[Board \"" + std::to_string(b.board) + "\"]",
                                                  std::string("[Dealer \"") + b.dealer + "\"]",
                                                  std::string("[Vulnerable \"") + b.vulnerable + "\"]"}));
        EXPECT_EQ(lines[9], "");
    }
}

TEST_F(PbnWriterTest, VoidSuitKeepsItsEmptyGroup) {
    FillFixedGame(24);
    G.DealText[1] = ExampleBoardOne;
    std::string text = PbnFileText("12-07-2026");
    EXPECT_NE(text.find("[Deal \"" + ExampleBoardOne + "\"]\r\n"),
              std::string::npos);
}

// The game's own older file is replaced; another game's file of the same
// name is kept under the first free numbered name, never replaced.
TEST_F(PbnWriterTest, ReplacesItsOwnOlderFileAndKeepsAnotherGamesFile) {
    FillFixedGame(24);
    const std::string own = "% Created by KELMO, 01-01-2026\r\n% KM Game Control: " + G.ControlString + "\r\n";
    const std::string other = "% Created by KELMO, 01-01-2026\r\n% KM Game Control: #00000 00000\r\n";
    WriteFile("GAMEFILE.KM/150307A.pbn", own + std::string(100000, 'x'));
    WriteFile("GAMEFILE.KM/150307A-2.pbn", "taken");
    MakePbnFilePath();
    writepbnfile();
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A.pbn"), PbnFileText("12-07-2026"));
    WriteFile("GAMEFILE.KM/150307A.pbn", other);
    writepbnfile();
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A.pbn"), PbnFileText("12-07-2026"));
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A-3.pbn"), other);
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A-2.pbn"), "taken");
    // Nothing else is left in the folder (no temporary file).
    int files = 0;
    for (const auto& entry : fs::directory_iterator("GAMEFILE.KM")) files += entry.is_regular_file();
    EXPECT_EQ(files, 3);
}

TEST_F(PbnWriterTest, FolderThatIsGoneGivesOneWarningNamingThePathAndNoFile) {
    FillFixedGame(24);
    G.PBNfilesDirectory = "PBNFILES";   // never made
    MakePbnFilePath();
    std::string warning;
    bool warningColours = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        warning = c.RowText(22);
        size_t at = warning.find("Cannot");
        warningColours = at != std::string::npos && c.Fg(22, (int)at + 1) == BRIGHTWHITE &&
                         c.Bg(22, (int)at + 1) == MAGENTA;
    };
    console.Type(" ");
    EXPECT_FALSE(Run(writepbnfile));
    // The path as the system writes it, and the system's reason.
    EXPECT_NE(warning.find("Cannot write PBN file " + SystemPath("PBNFILES/150307A.pbn") + ": "), std::string::npos)
        << warning;
    EXPECT_TRUE(warningColours);
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    EXPECT_FALSE(fs::exists("PBNFILES"));
}

// When the game's PBN file is to be written, a folder that cannot take it
// is reported as the entries are confirmed, with the system's reason.
TEST_F(PbnWriterTest, AnUnwritableFolderIsReportedBeforeTheGame) {
    G.AutoCreatePBNfile = 1;
    WriteFile("PbnFiles", "a file, not a folder");
    G.PBNfilesDirectory = "PbnFiles";
    std::string warning;
    console.onReadKey = [&](ScriptedConsole& c) { warning = c.RowText(22); };
    console.Type(" ");
    EXPECT_FALSE(Run(CheckPbnFolder));
    EXPECT_NE(warning.find(" PBN folder PbnFiles cannot be written: "), std::string::npos) << warning;
    G.PBNfilesDirectory = "GAMEFILE.KM";
    warning.clear();
    EXPECT_FALSE(Run(CheckPbnFolder));
    EXPECT_EQ(warning, "");
    EXPECT_EQ(std::distance(fs::directory_iterator("GAMEFILE.KM"), fs::directory_iterator()), 0);
}

}  // namespace
