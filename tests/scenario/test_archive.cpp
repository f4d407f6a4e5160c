#include <filesystem>
#include <string>
#include <vector>

#include "game/archive.h"
#include "model/model.h"
#include "shell/kit.h"
#include "support/doubles.h"

namespace {
const std::string M(1, (char)ArchiveMarker);
}

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
    const std::string file = "GAMEFILE.KM/090105.KMA";
    const std::string corruptNote = "[ The archive file is corrupt; some data must be re-created ]";
};

TEST_F(ArchiveTest, GameOfFifthJanuaryAfternoonIsWrittenTo090105KMA) {
    EXPECT_EQ(G.ArchivePath, "GAMEFILE.KM\\090105.KMA");
    G.ClubName = "Keelward BC";
    G.EventName = "Monday Pairs";
    ASSERT_FALSE(Run(WriteArchive));
    EXPECT_EQ(ReadFile(file), "Keelward BC" + M + "\r\nMonday Pairs" + M + "\r\n");
    EXPECT_TRUE(sound.played.empty());

    // Each session has its letter, each date part two digits.
    const char* letters = "MAEL";
    for (int s = 1; s <= 4; s++)
        EXPECT_EQ(ArchiveFileName(27, 12, 31, s), std::string("271231.KM") + letters[s - 1]);
    EXPECT_EQ(ArchiveFileName(0, 1, 1, 1), "000101.KMM");
}

TEST_F(ArchiveTest, AGoodFileGivesBothNamesStrippedOfBlanks) {
    WriteFile(file, "  Keelward BC   " + M + "\r\nMonday Pairs " + M + "\r\n");
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.ClubName, "Keelward BC");
    EXPECT_EQ(G.EventName, "Monday Pairs");
    EXPECT_TRUE(console.Shows(15, 33, "Loading data...", LIGHTGREEN, BLUE));
    EXPECT_EQ(console.Text(13, 4, 74), std::string(74, ' '));
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

TEST_F(ArchiveTest, DamagedFirstLineStillGivesTheEventNameOfLineTwo) {
    G.ClubName = "Before";
    G.EventName = "Old Event";
    WriteFile(file, "Keelward BC\r\nMonday Pairs" + M + "\r\n");
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 1);
    EXPECT_EQ(G.ClubName, "Before");
    EXPECT_EQ(G.EventName, "Monday Pairs");
    EXPECT_TRUE(console.Shows(13, 11, corruptNote, BROWN, BLUE));
    // The loading note is gone with the work area.
    EXPECT_EQ(console.Text(15, 33, 15), std::string(15, ' '));
}

TEST_F(ArchiveTest, FilesWithOneLineOrAnUnmarkedSecondLineAreDamaged) {
    struct Case {
        std::string bytes, club, event;
    };
    const Case cases[] = {
        {"Keelward BC" + M + "\r\n", "Keelward BC", "Old Event"},
        {"Keelward BC" + M, "Keelward BC", "Old Event"},
        {"Keelward BC" + M + "\r\n\r\n", "Keelward BC", "Old Event"},
        {"Keelward BC" + M + "\r\nMonday" + M + "x\r\n", "Keelward BC", "Old Event"},
        {"", "Before", "Old Event"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        G.ClubName = "Before";
        G.EventName = "Old Event";
        WriteFile(file, c.bytes);
        ASSERT_FALSE(Run(LoadArchive));
        EXPECT_EQ(G.LoadFailed, 1);
        EXPECT_EQ(G.ClubName, c.club);
        EXPECT_EQ(G.EventName, c.event);
        EXPECT_TRUE(console.Shows(13, 11, corruptNote, BROWN, BLUE));
    }
}

TEST_F(ArchiveTest, NameIsTheTextBeforeTheFirstMarker) {
    WriteFile(file, "Club" + M + "junk" + M + "\r\nEvent" + M + "\r\n");
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.ClubName, "Club");
}

TEST_F(ArchiveTest, ASecondGameOfTheSameDateAndSessionReplacesTheFile) {
    G.ClubName = "First Club With A Long Name";
    G.EventName = "First";
    ASSERT_FALSE(Run(WriteArchive));
    G.ClubName = "Second";
    G.EventName = "";
    ASSERT_FALSE(Run(WriteArchive));
    EXPECT_EQ(ReadFile(file), "Second" + M + "\r\n" + M + "\r\n");
    G.EventName = "x";
    ASSERT_FALSE(Run(LoadArchive));
    EXPECT_EQ(G.LoadFailed, 0);
    EXPECT_EQ(G.EventName, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("GAMEFILE.KM"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ArchiveTest, AFailedWriteWarnsNamingTheFileAndKeepsWhatWasThere) {
    std::filesystem::create_directories(file);
    WriteFile(file + "/keep", "kept");
    std::string row22;
    console.onReadKey = [&](ScriptedConsole& c) { row22 = c.Text(22, 1, 80); };
    console.Type(" ");
    G.ClubName = "Club";
    ASSERT_FALSE(Run(WriteArchive));
    EXPECT_NE(row22.find(" Could not write GAMEFILE.KM\\090105.KMA "), std::string::npos) << row22;
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(sound.played, std::vector<std::string>{"beep2"});
    EXPECT_EQ(ReadFile(file + "/keep"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("GAMEFILE.KM"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ArchiveTest, ArchiveFolderGoneSinceStartUpIsMadeAgain) {
    std::filesystem::remove_all("GAMEFILE.KM");
    G.ClubName = "C";
    G.EventName = "E";
    ASSERT_FALSE(Run(WriteArchive));
    EXPECT_EQ(ReadFile(file), "C" + M + "\r\nE" + M + "\r\n");
}
