#include <filesystem>
#include <string>
#include <vector>

#include "console/kit.h"
#include "game/archive.h"
#include "game/entry.h"
#include "model/model.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace {
const std::string M(1, (char)ArchiveMarker);

long FilesInArchiveFolder() {
    return std::distance(std::filesystem::directory_iterator("GAMEFILE.KM"),
                         std::filesystem::directory_iterator());
}
}  // namespace

class ArchiveTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ShowHeader();
        // 5 January 2009, afternoon.
        G.GameMonth = 1;
        G.GameDay = 5;
        G.GameYear = 9;
        G.SessionNumber = 2;
        MakeArchivePath();
    }
    // Loads `bytes` as the game's archive over the names given.
    void Load(const std::string& bytes, const std::string& club, const std::string& event) {
        G.ClubName = club;
        G.EventName = event;
        WriteFile(file, bytes);
        ASSERT_FALSE(Run(LoadArchive));
    }
    void Write(const std::string& club, const std::string& event) {
        G.ClubName = club;
        G.EventName = event;
        ASSERT_FALSE(Run(WriteArchive));
    }
    const std::string file = "GAMEFILE.KM/090105.KMA";
    const std::string corruptNote = "[ The archive file is corrupt; some data must be re-created ]";
};

TEST_F(ArchiveTest, GameOfFifthJanuaryAfternoonIsWrittenTo090105KMA) {
    EXPECT_EQ(G.ArchivePath, "GAMEFILE.KM\\090105.KMA");
    Write("Keelward BC", "Monday Pairs");
    EXPECT_EQ(ReadFile(file), "Keelward BC" + M + "\r\nMonday Pairs" + M + "\r\n");
    EXPECT_TRUE(sound.played.empty());

    // Each session has its letter, each date part two digits.
    const char* letters = "MAEL";
    for (int s = 1; s <= 4; s++)
        EXPECT_EQ(ArchiveFileName(27, 12, 31, s), std::string("271231.KM") + letters[s - 1]);
    EXPECT_EQ(ArchiveFileName(0, 1, 1, 1), "000101.KMM");
}

// Blanks around a name are stripped; a name is the text before its first marker.
TEST_F(ArchiveTest, AGoodFileGivesBothNames) {
    struct Case {
        std::string bytes, club, event;
    };
    const Case cases[] = {
        {"  Keelward BC   " + M + "\r\nMonday Pairs " + M + "\r\n", "Keelward BC", "Monday Pairs"},
        {"Club" + M + "junk" + M + "\r\nEvent" + M + "\r\n", "Club", "Event"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Load(c.bytes, "Before", "Old Event");
        EXPECT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.ClubName, c.club);
        EXPECT_EQ(G.EventName, c.event);
        EXPECT_TRUE(console.Shows(15, 33, "Loading data...", LIGHTGREEN, BLUE));
        EXPECT_EQ(console.Text(13, 4, 74), std::string(74, ' '));
    }
}

TEST_F(ArchiveTest, MissingFileIsNotedAndTheNamesStay) {
    G.ClubName = "Before";
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_EQ(G.ClubName, "Before");
    EXPECT_TRUE(console.Shows(13, 10, "[ No file exists for this game; some data must be re-created ]",
                              BROWN, BLUE));
    EXPECT_FALSE(console.CursorVisible());
}

// A damaged file still gives each name of a good line: an unmarked first
// line keeps the club name but gives the event name of line two; one line,
// or an unmarked second line, keeps the event name.
TEST_F(ArchiveTest, DamagedFilesAreNotedAndGiveTheNamesOfTheirGoodLines) {
    struct Case {
        std::string bytes, club, event;
    };
    const Case cases[] = {
        {"Keelward BC\r\nMonday Pairs" + M + "\r\n", "Before", "Monday Pairs"},
        {"Keelward BC" + M + "\r\n", "Keelward BC", "Old Event"},
        {"Keelward BC" + M, "Keelward BC", "Old Event"},
        {"Keelward BC" + M + "\r\n\r\n", "Keelward BC", "Old Event"},
        {"Keelward BC" + M + "\r\nMonday" + M + "x\r\n", "Keelward BC", "Old Event"},
        {"", "Before", "Old Event"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Load(c.bytes, "Before", "Old Event");
        EXPECT_EQ(G.LoadFailed, 1);
        EXPECT_EQ(G.ClubName, c.club);
        EXPECT_EQ(G.EventName, c.event);
        EXPECT_TRUE(console.Shows(13, 11, corruptNote, BROWN, BLUE));
        // The loading note is gone with the work area.
        EXPECT_EQ(console.Text(15, 33, 15), std::string(15, ' '));
    }
}

TEST_F(ArchiveTest, ASecondGameOfTheSameDateAndSessionReplacesTheFile) {
    Write("First Club With A Long Name", "First");
    Write("Second", "");
    EXPECT_EQ(ReadFile(file), "Second" + M + "\r\n" + M + "\r\n");
    G.EventName = "x";
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.EventName, "");
    EXPECT_EQ(FilesInArchiveFolder(), 1);
}

TEST_F(ArchiveTest, AFailedWriteWarnsNamingTheFileAndKeepsWhatWasThere) {
    std::filesystem::create_directories(file);
    WriteFile(file + "/keep", "kept");
    std::string row22;
    console.onReadKey = [&](ScriptedConsole& c) { row22 = c.Text(22, 1, 80); };
    console.Type(" ");
    Write("Club", G.EventName);
    EXPECT_NE(row22.find(" Could not write " + SystemPath("GAMEFILE.KM/090105.KMA") + ": "), std::string::npos)
        << row22;
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    EXPECT_EQ(ReadFile(file + "/keep"), "kept");
    EXPECT_EQ(FilesInArchiveFolder(), 1);
}

TEST_F(ArchiveTest, ArchiveFolderGoneSinceStartUpIsMadeAgain) {
    std::filesystem::remove_all("GAMEFILE.KM");
    Write("C", "E");
    EXPECT_EQ(ReadFile(file), "C" + M + "\r\nE" + M + "\r\n");
}

// Names from files written by hand are cut to the 40 characters of their
// field, so the header keeps its frame and labels.
TEST_F(ArchiveTest, LongNamesFromFilesAreCutToTheirField) {
    const struct {
        std::string text, name;
    } cases[] = {
        {std::string(60, 'L'), std::string(40, 'L')},
        {"   " + std::string(40, 'W'), std::string(40, 'W')},
        {std::string(38, 'A') + "  BCDEFG", std::string(38, 'A')},
        {"  Keelward Bridge Club  ", "Keelward Bridge Club"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        G.ClubName.clear();
        WriteFile("CLUBNAME.KM", c.text + "\r\n");
        ASSERT_FALSE(Run(LoadClubName));
        EXPECT_EQ(G.ClubName, c.name);

        Load(c.text + M + "\r\n" + c.text + M + "\r\n", "", "");
        EXPECT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.ClubName, c.name);
        EXPECT_EQ(G.EventName, c.name);
        ShowHeader();
        ShowGameFields();
        for (int row : {6, 9}) {
            EXPECT_EQ(console.Text(row, 35, 43), c.name + std::string(43 - c.name.size(), ' ')) << row;
            EXPECT_EQ(console.CharAt(row, 78), DBL_VERT) << row;
        }
        ExpectShown(console, {{7, 10, "GAME DATE"}, {10, 10, "TOTAL BOARDS"}});
    }
}
