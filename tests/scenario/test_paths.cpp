// The new-game, recall and multi-site paths on the scripted console, from
// the main menu to the dealt and analysed boards.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "dealing/control.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "shell/kit.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace fs = std::filesystem;

namespace {

const std::string M(1, (char)ArchiveMarker);
const std::string Board1 = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT";
const std::string Board2 = "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4";
const std::string Archive = "GAMEFILE.KM/150307.KMA";

int FilesIn(const std::string& folder) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        n++;
    }
    return n;
}

// A virtual clock that lets a test look at the screen at every pause, the
// moments the program shows its work without waiting for a key.
class WatchingClock : public VirtualClock {
public:
    void Pause(int milliseconds) override {
        if (onPause) onPause(milliseconds);
        VirtualClock::Pause(milliseconds);
    }
    std::function<void(int)> onPause;
};

// Thrown from a pause to end a run once the boards are dealt: the analysis
// that follows is the same on every path, and one full run shows it.
struct StopAfterDealing {};
constexpr int Stopped = -3;

class PathTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        P.clock = &watch;
        // The last pause of the dealing, before the analysis.
        watch.onPause = [this](int ms) {
            if (stopAfterDealing && ms == 1000 && console.Shows(15, 27, "Shuffling and dealing... "))
                throw StopAfterDealing{};
        };
        // The suit font where the start-up check looks for it.
        WriteFile("win/fonts/bridge.ttf", "");
        setenv("windir", (workDir + "/win").c_str(), 1);
        unsetenv("systemroot");
        // Each prompt counted once however many keys it reads.
        console.onReadKey = [this](ScriptedConsole& c) {
            Count(c.Shows(17, 13, "Enter club name:"), atClub, clubPrompts);
            Count(c.Shows(17, 13, "Enter event name:"), atEvent, eventPrompts);
            Count(c.Shows(14, 32, "PRINTING OPTIONS"), atPrinting, printingMenus);
            for (auto& check : checks) check(c);
        };
    }
    void TearDown() override {
        unsetenv("windir");
        KelmoTest::TearDown();
    }
    // Runs the program; its exit code, or -2 when the script ran out.
    int RunToEnd() {
        try {
            return RunProgram();
        } catch (const StopAfterDealing&) {
            return Stopped;
        } catch (const ScriptExhausted&) {
            ADD_FAILURE() << "script ran out:\n" << console.Dump();
            return -2;
        }
    }
    // Masks of boards 1..n dealt afresh from the game's dealing key.
    void ExpectDealsOfTheKey(int total) {
        uint16_t dealt[MaxBoards + 1][4][4];
        std::memcpy(dealt, G.HandMasks, sizeof dealt);
        bool stop = stopAfterDealing;
        stopAfterDealing = false;
        ApplyDealingKey();
        DealBoards(1, total, 0);
        stopAfterDealing = stop;
        for (int b = 1; b <= total; b++)
            EXPECT_EQ(std::memcmp(dealt[b], G.HandMasks[b], sizeof dealt[b]), 0) << "board " << b;
    }
    void TypeLine(const std::string& text) {
        console.Type(text);
        console.Press(KEY_ENTER);
    }

    static void Count(bool shown, bool& was, int& count) {
        if (shown && !was) count++;
        was = shown;
    }

    WatchingClock watch;
    bool stopAfterDealing = true;
    std::vector<std::function<void(ScriptedConsole&)>> checks;
    int clubPrompts = 0, eventPrompts = 0, printingMenus = 0;
    bool atClub = false, atEvent = false, atPrinting = false;
};

TEST_F(PathTest, NewGameFromTheMenuToTheDealtBoardsThenItsRecall) {
    bool sawDealing = false, sawAnalysis = false;
    stopAfterDealing = false;
    auto stopping = watch.onPause;
    watch.onPause = [&](int ms) {
        stopping(ms);
        if (console.Shows(15, 27, "Shuffling and dealing... ", LIGHTGREEN)) sawDealing = true;
        if (console.Shows(14, 30, "DOUBLE-DUMMY ANALYSIS")) sawAnalysis = true;
    };
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(14, 32, "PRINTING OPTIONS") && printingMenus == 1) {
            // The header shows the game as entered.
            EXPECT_TRUE(c.Shows(6, 35, "Keelward Club", BRIGHTWHITE));
            EXPECT_TRUE(c.Shows(7, 35, "Saturday, March 7, 2015", BRIGHTWHITE));
            EXPECT_TRUE(c.Shows(8, 35, "Afternoon", BRIGHTWHITE));
            EXPECT_TRUE(c.Shows(9, 35, "Pairs", BRIGHTWHITE));
            EXPECT_TRUE(c.Shows(10, 35, "24", BRIGHTWHITE));
        }
    });
    console.Press(KEY_ENTER);   // new game
    TypeLine("Keelward Club");
    TypeLine("030715");
    console.Type("a");
    TypeLine("Pairs");
    console.Type("2");          // 24 boards
    console.Press(KEY_ENTER);   // entries correct
    console.Type("q");          // printing options
    // At the closing question: another game, a recall of this one typed
    // from its control number.
    uint16_t dealt[MaxBoards + 1][4][4];
    int closing = 0;
    checks.push_back([&](ScriptedConsole& c) {
        if (!c.Shows(22, 22, " DONE!  Prepare another game?  (y/N)") || ++closing != 1) return;
        std::memcpy(dealt, G.HandMasks, sizeof dealt);
        EXPECT_EQ(ReadFile(Archive), "Keelward Club" + M + "\r\nPairs" + M + "\r\n");
        EXPECT_EQ(ReadFile("CLUBNAME.KM"), "Keelward Club\r\n");
        EXPECT_EQ(FilesIn("GAMEFILE.KM"), 1);   // no PBN file with the default settings
        EXPECT_TRUE(std::regex_match(G.ControlString, std::regex("#[0-9]{5} [0-9]{4}[0-9X]")))
            << G.ControlString;
        EXPECT_EQ(G.ControlString, MakeControlString(5179, G.GameNumber, 2, 24));
        for (int b = 1; b <= 24; b++) EXPECT_EQ(G.DealText[b].size(), 69u) << b;
        ExpectDealsOfTheKey(24);
        stopAfterDealing = true;
        // The archive as another day left it, written an hour ago.
        WriteFile(Archive, "Archived Club" + M + "\r\nArchived Pairs" + M + "\r\n");
        fs::last_write_time(Archive, fs::file_time_type::clock::now() - std::chrono::hours(1));
        c.Type("y");
        c.Type("r");
        c.Type(G.ControlString.substr(1));
        c.Press(KEY_ENTER);
        c.Type("y");   // board 1 matches
    });
    EXPECT_EQ(RunToEnd(), Stopped);
    ASSERT_EQ(closing, 1);
    EXPECT_EQ(printingMenus, 1);
    EXPECT_TRUE(sawDealing);
    EXPECT_TRUE(sawAnalysis) << "analysis not built yet?";

    // The recall asked nothing and wrote nothing, took the names from the
    // archive and dealt the same boards.
    EXPECT_EQ(clubPrompts, 1);
    EXPECT_EQ(eventPrompts, 1);
    EXPECT_EQ(G.ClubName, "Archived Club");
    EXPECT_EQ(G.EventName, "Archived Pairs");
    EXPECT_LT(fs::last_write_time(Archive), fs::file_time_type::clock::now() - std::chrono::minutes(30));
    for (int b = 1; b <= 24; b++)
        EXPECT_EQ(std::memcmp(dealt[b], G.HandMasks[b], sizeof dealt[b]), 0) << "board " << b;
}

TEST_F(PathTest, RecallShowsBoardOneInItsBoxAndOnNoStartsAgainWithToday) {
    bool checkedBox = false, checkedNotice = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (!checkedBox && c.Shows(22, 13, "Does this deal match Board #1 on the handrecord?  (Y/n)")) {
            checkedBox = true;
            // Board 1 of the game dealt silently: East's longest suit is 7.
            EXPECT_EQ(G.LongestEast[1], 7);
            EXPECT_EQ(c.CharAt(6, 40 + 7 + 22 - 1), SGL_TOPRIGHT);
            const std::string spade = G.SuitSymbol[0], club = G.SuitSymbol[3];
            EXPECT_TRUE(c.Shows(7, 50, spade + "A753"));       // North
            EXPECT_TRUE(c.Shows(11, 58, spade + "KQJT942"));   // East
            EXPECT_TRUE(c.Shows(15, 50, spade + "\xc4\xc4"));  // South's void
            EXPECT_TRUE(c.Shows(14, 42, club + "AQT"));        // West
        }
        if (!checkedNotice && c.Shows(15, 15, " If the hands do not match and your typing is okay,  ",
                                      BLUE, YELLOW)) {
            checkedNotice = true;
        }
    });
    console.Type("r");
    TypeLine("91722 31459");
    console.Type("n");          // board 1 does not match
    console.Type(" ");          // the notice
    console.Press(KEY_ESC);     // the menu of the new start
    console.Press(KEY_ENTER);   // quit
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(checkedBox);
    EXPECT_TRUE(checkedNotice);
    // Started again: today's date (the virtual clock's 12/07/26), nothing written.
    EXPECT_EQ(G.GameMonth * 10000 + G.GameDay * 100 + G.GameYear, 120726);
    EXPECT_EQ(G.DateText, "Monday, December 7");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
    EXPECT_EQ(clubPrompts, 0);
}

TEST_F(PathTest, RecallWithACorruptArchiveAsksTheNamesAndWritesTheFile) {
    // Line 1 lost its marker; line 2 is good.
    WriteFile(Archive, "Lakeside\r\nTeams" + M + "\r\n");
    WriteFile("CLUBNAME.KM", "Remembered\r\n");
    bool corruptNote = false, clubDefault = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(17, 13, "Enter club name:")) {
            corruptNote |= c.Shows(13, 11, "[ The archive file is corrupt; some data must be re-created ]",
                                   BROWN);
            clubDefault |= c.Shows(17, 33, "Remembered");
        }
    });
    console.Type("r");
    TypeLine("9172231459");
    console.Type("y");            // board 1 matches
    TypeLine("Hilltop");
    console.Press(KEY_ENTER);     // the event name of line 2 stays
    EXPECT_EQ(RunToEnd(), Stopped);
    EXPECT_TRUE(corruptNote);
    EXPECT_TRUE(clubDefault);
    EXPECT_EQ(clubPrompts, 1);
    EXPECT_EQ(eventPrompts, 1);
    EXPECT_EQ(ReadFile(Archive), "Hilltop" + M + "\r\nTeams" + M + "\r\n");
    EXPECT_EQ(G.EventName, "Teams");
    EXPECT_EQ(DealTextOfBoard(1), Board1);
    EXPECT_EQ(DealTextOfBoard(2), Board2);
}

TEST_F(PathTest, RecallWithoutAnArchiveNotesItAndAsksBothNames) {
    bool noFileNote = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(17, 13, "Enter club name:") || c.Shows(17, 13, "Enter event name:"))
            noFileNote |= c.Shows(
                13, 10, "[ No file exists for this game; some data must be re-created ]", BROWN);
    });
    console.Type("r");
    TypeLine("9172231459");
    console.Press(KEY_ENTER);     // board 1 matches
    TypeLine("Lakeside");
    console.Press(KEY_ESC);       // leave at the event name
    console.Press(KEY_ENTER);     // quit
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(noFileNote);
    EXPECT_EQ(clubPrompts, 1);
    EXPECT_EQ(eventPrompts, 1);
    EXPECT_EQ(G.ClubName, "Lakeside");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
}

TEST_F(PathTest, MultiSiteAnsweredNoShowsTheImportErrorAndWritesNothing) {
    bool checkedHeader = false, checkedError = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (!checkedHeader &&
            c.Shows(18, 18, "Are the Date and Session specs correct?  (Y/n)")) {
            checkedHeader = true;
            EXPECT_EQ(c.Text(6, 35, 43), std::string(43, ' '));
            EXPECT_TRUE(c.Shows(7, 35, "Saturday, March 7, 2015"));
            EXPECT_TRUE(c.Shows(8, 35, "Afternoon"));
            EXPECT_EQ(c.Text(9, 35, 43), std::string(43, ' '));
            EXPECT_TRUE(c.Shows(10, 35, "24"));
            EXPECT_EQ(watch.pauses.back(), 1000);
        }
        if (c.Shows(8, 31, "\xc4 DATA IMPORT ERROR \xc4", RED)) checkedError = true;
    });
    G.ClubName = "x";
    console.Type("i");
    TypeLine("91722 31459");
    console.Type("n");          // date and session wrong
    console.Type(" ");          // the error message
    // Then names given but not confirmed: back to the menu with a beep.
    console.Type("i");
    TypeLine("91722 31459");
    console.Press(KEY_ENTER);
    TypeLine("Other Club");
    TypeLine("Sim Pairs");
    console.Type("n");
    console.Press(KEY_ESC);     // the menu: leave
    console.Press(KEY_ENTER);   // quit
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(checkedHeader);
    EXPECT_TRUE(checkedError);
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
    EXPECT_EQ(printingMenus, 0);
    for (int b = 1; b <= 24; b++) EXPECT_TRUE(G.DealText[b].empty()) << b;
}

TEST_F(PathTest, MultiSiteAnsweredYesTakesTheNamesWritesTheArchiveAndDeals) {
    console.Type("i");
    TypeLine("91722 31459");
    console.Type("y");
    TypeLine("Other Club");
    TypeLine("Sim Pairs");
    console.Press(KEY_ENTER);   // entries correct
    EXPECT_EQ(RunToEnd(), Stopped);
    EXPECT_EQ(ReadFile(Archive), "Other Club" + M + "\r\nSim Pairs" + M + "\r\n");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 1);
    EXPECT_EQ(G.ControlString, "#91722 31459");
    EXPECT_EQ(DealTextOfBoard(1), Board1);
    EXPECT_EQ(DealTextOfBoard(2), Board2);
    ExpectDealsOfTheKey(24);
}

}  // namespace
