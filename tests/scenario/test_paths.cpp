// The new-game, recall and multi-site paths on the scripted console, from
// the main menu to the dealt and analysed boards.
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "console/kit.h"
#include "dealing/control.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "model/text.h"
#include "platform/crypto.h"
#include "settings/inifile.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace fs = std::filesystem;

namespace {

const std::string M(1, (char)ArchiveMarker);
const std::string Board1 = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT";
const std::string Board2 = "E:AK.KT.AKJ2.J8762 T82.AQJ983.54.A3 9765.75.T863.Q95 QJ43.642.Q97.KT4";
const std::string Archive = "GAMEFILE.KM/150307.KMA";

int FilesIn(const std::string& folder) {
    return (int)std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

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
        ProvideSuitFont();
        // Each prompt counted once however many keys it reads.
        console.onReadKey = [this](ScriptedConsole& c) {
            Count(c.Shows(17, 13, "Enter club name:"), atClub, clubPrompts);
            Count(c.Shows(17, 13, "Enter event name:"), atEvent, eventPrompts);
            Count(c.Shows(14, 32, "PRINTING OPTIONS"), atPrinting, printingMenus);
            for (auto& check : checks) check(c);
        };
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
        Masks dealt;
        std::memcpy(dealt, G.HandMasks, sizeof dealt);
        bool stop = stopAfterDealing;
        stopAfterDealing = false;
        ApplyDealingKey();
        DealBoards(1, total, 0);
        stopAfterDealing = stop;
        ExpectMasks(dealt, total);
    }
    using Masks = uint16_t[MaxBoards + 1][4][4];
    static void ExpectMasks(const Masks& dealt, int total) {
        for (int b = 1; b <= total; b++)
            EXPECT_EQ(std::memcmp(dealt[b], G.HandMasks[b], sizeof dealt[b]), 0) << "board " << b;
    }
    // Two-byte keys are pressed, anything else typed a character at a time.
    void Keys(const std::vector<std::string>& keys) {
        for (const auto& k : keys) k.size() == 2 && k[0] == '\0' ? console.Press(k) : console.Type(k);
    }
    // True once the program has waited with `text` at (row, column); `check`
    // looks at the screen that first time.
    bool& SeenOnce(int row, int column, const std::string& text, int fg = -1, int bg = -1,
                   std::function<void(ScriptedConsole&)> check = {}) {
        bool& seen = seenFlags.emplace_back(false);
        checks.push_back([=, &seen](ScriptedConsole& c) {
            if (seen || !c.Shows(row, column, text, fg, bg)) return;
            seen = true;
            if (check) check(c);
        });
        return seen;
    }

    static void Count(bool shown, bool& was, int& count) {
        if (shown && !was) count++;
        was = shown;
    }

    WatchingClock watch;
    bool stopAfterDealing = true;
    std::vector<std::function<void(ScriptedConsole&)>> checks;
    std::deque<bool> seenFlags;
    int clubPrompts = 0, eventPrompts = 0, printingMenus = 0;
    bool atClub = false, atEvent = false, atPrinting = false;
};

void ExpectBoardsOneAndTwo() {
    EXPECT_EQ(DealTextOfBoard(1), Board1);
    EXPECT_EQ(DealTextOfBoard(2), Board2);
}

// The control number of 03/07/15, game 1234, afternoon, 24 boards, with
// and without its blank.
const std::string Control = "91722 31459\r", ControlUnspaced = "9172231459\r";

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
        if (!c.Shows(14, 32, "PRINTING OPTIONS") || printingMenus != 1) return;
        // The header shows the game as entered.
        const char* fields[] = {"Keelward Club", "Saturday, March 7, 2015", "Afternoon", "Pairs", "24"};
        for (int i = 0; i < 5; i++) EXPECT_TRUE(c.Shows(6 + i, 35, fields[i], BRIGHTWHITE)) << i;
    });
    // New game, club, date, session, event, 24 boards, entries correct,
    // leave the printing options.
    Keys({KeyEnter, "Keelward Club\r", "030715\r", "a", "Pairs\r", "2", KeyEnter, "q"});
    // At the closing question: another game, a recall of this one typed
    // from its control number.
    Masks dealt;
    int closing = 0;
    checks.push_back([&](ScriptedConsole& c) {
        if (!c.Shows(22, 22, " DONE!  Prepare another game?  (y/N)") || ++closing != 1) return;
        std::memcpy(dealt, G.HandMasks, sizeof dealt);
        EXPECT_EQ(ReadFile(Archive), "Keelward Club" + M + "\r\nPairs" + M + "\r\n" + G.ControlString + "\r\n");
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
        c.Type("yr" + G.ControlString.substr(1));
        c.Press(KeyEnter);
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
    ExpectMasks(dealt, 24);
}

TEST_F(PathTest, RecallShowsBoardOneInItsBoxAndOnNoStartsAgainWithToday) {
    bool& checkedBox =
        SeenOnce(22, 13, "Does this deal match Board #1 on the handrecord?  (Y/n)", -1, -1, [](ScriptedConsole& c) {
            // Board 1 of the game dealt silently: East's longest suit is 7.
            EXPECT_EQ(G.LongestEast[1], 7);
            EXPECT_EQ(c.CharAt(6, 40 + 7 + 22 - 1), SGL_TOPRIGHT);
            const std::string spade = G.SuitSymbol[0], club = G.SuitSymbol[3];
            EXPECT_TRUE(c.Shows(7, 50, spade + "A753"));       // North
            EXPECT_TRUE(c.Shows(11, 58, spade + "KQJT942"));   // East
            EXPECT_TRUE(c.Shows(15, 50, spade + "\xc4\xc4"));  // South's void
            EXPECT_TRUE(c.Shows(14, 42, club + "AQT"));        // West
        });
    bool& checkedNotice = SeenOnce(15, 15, " If the hands do not match and your typing is okay,  ", BLUE, YELLOW);
    // Board 1 does not match, the notice, then leave at the menu of the new
    // start and quit.
    Keys({"r", Control, "n", " ", KeyEsc, KeyEnter});
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(checkedBox);
    EXPECT_TRUE(checkedNotice);
    // Started again: today's date (the virtual clock's 12/07/26), nothing written.
    EXPECT_EQ(G.GameMonth * 10000 + G.GameDay * 100 + G.GameYear, 120726);
    EXPECT_EQ(G.DateText, "Monday, December 7");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
    EXPECT_EQ(clubPrompts, 0);
}

TEST_F(PathTest, RecallKeysTypedAheadAnswerNeitherBoardOneNorTheNotice) {
    // Keys left at each wait: those typed ahead are gone by then.
    size_t atQuestion = 0, atNotice = 0;
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(15, 15, " If the hands do not match")) atNotice = c.KeysLeft();
        else if (c.Shows(22, 13, "Does this deal match Board #1")) atQuestion = c.KeysLeft();
    });
    // Enter, Enter during the silent deal; "n" twice at the board.
    Keys({"r", Control});
    console.TypeAhead(KeyEnter);
    console.TypeAhead(KeyEnter);
    console.Type("n");
    console.TypeAhead("n");
    Keys({" ", KeyEsc, KeyEnter});
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_EQ(atQuestion, 5u);   // n, n, blank, Esc, Enter
    EXPECT_EQ(atNotice, 3u);     // blank, Esc, Enter
    EXPECT_EQ(G.GameMonth * 10000 + G.GameDay * 100 + G.GameYear, 120726);
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
}

TEST_F(PathTest, RecallWithACorruptArchiveAsksTheNamesAndWritesTheFile) {
    // Line 1 lost its marker; line 2 is good.
    WriteFile(Archive, "Lakeside\r\nTeams" + M + "\r\n");
    WriteFile("CLUBNAME.KM", "Remembered\r\n");
    bool corruptNote = false, clubDefault = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (!c.Shows(17, 13, "Enter club name:")) return;
        corruptNote |= c.Shows(13, 11, "[ The archive file is corrupt; some data must be re-created ]", BROWN);
        clubDefault |= c.Shows(17, 33, "Remembered");
    });
    // Board 1 matches, a new club name, the event name of line 2 stays.
    Keys({"r", ControlUnspaced, "y", "Hilltop\r", KeyEnter});
    EXPECT_EQ(RunToEnd(), Stopped);
    EXPECT_TRUE(corruptNote);
    EXPECT_TRUE(clubDefault);
    EXPECT_EQ(clubPrompts, 1);
    EXPECT_EQ(eventPrompts, 1);
    EXPECT_EQ(ReadFile(Archive), "Hilltop" + M + "\r\nTeams" + M + "\r\n#91722 31459\r\n");
    EXPECT_EQ(G.EventName, "Teams");
    ExpectBoardsOneAndTwo();
}

TEST_F(PathTest, RecallWithoutAnArchiveNotesItAndAsksBothNames) {
    bool noFileNote = false;
    checks.push_back([&](ScriptedConsole& c) {
        if (c.Shows(17, 13, "Enter club name:") || c.Shows(17, 13, "Enter event name:"))
            noFileNote |= c.Shows(13, 10, "[ No file exists for this game; some data must be re-created ]", BROWN);
    });
    // Board 1 matches, the club name, then leave at the event name and quit.
    Keys({"r", ControlUnspaced, KeyEnter, "Lakeside\r", KeyEsc, KeyEnter});
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(noFileNote);
    EXPECT_EQ(clubPrompts, 1);
    EXPECT_EQ(eventPrompts, 1);
    EXPECT_EQ(G.ClubName, "Lakeside");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
}

TEST_F(PathTest, MultiSiteAnsweredNoShowsTheImportErrorAndWritesNothing) {
    bool& checkedHeader = SeenOnce(18, 18, "Are the Date and Session specs correct?  (Y/n)", -1, -1,
                                   [this](ScriptedConsole& c) {
                                       EXPECT_EQ(c.Text(6, 35, 43), std::string(43, ' '));
                                       EXPECT_TRUE(c.Shows(7, 35, "Saturday, March 7, 2015"));
                                       EXPECT_TRUE(c.Shows(8, 35, "Afternoon"));
                                       EXPECT_EQ(c.Text(9, 35, 43), std::string(43, ' '));
                                       EXPECT_TRUE(c.Shows(10, 35, "24"));
                                       EXPECT_EQ(watch.pauses.back(), 1000);
                                   });
    bool& checkedError = SeenOnce(8, 31, "\xc4 DATA IMPORT ERROR \xc4", RED);
    G.ClubName = "x";
    // Date and session wrong, the error message; then names given but not
    // confirmed: back to the menu with a beep, leave it and quit.
    Keys({"i", Control, "n", " "});
    Keys({"i", Control, KeyEnter, "Other Club\r", "Sim Pairs\r", "n", KeyEsc, KeyEnter});
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_TRUE(checkedHeader);
    EXPECT_TRUE(checkedError);
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 0);
    EXPECT_EQ(printingMenus, 0);
    for (int b = 1; b <= 24; b++) EXPECT_TRUE(G.DealText[b].empty()) << b;
}

TEST_F(PathTest, MultiSiteAnsweredYesTakesTheNamesWritesTheArchiveAndDeals) {
    Keys({"i", Control, "y", "Other Club\r", "Sim Pairs\r", KeyEnter});
    EXPECT_EQ(RunToEnd(), Stopped);
    EXPECT_EQ(ReadFile(Archive), "Other Club" + M + "\r\nSim Pairs" + M + "\r\n#91722 31459\r\n");
    EXPECT_EQ(FilesIn("GAMEFILE.KM"), 1);
    EXPECT_EQ(G.ControlString, "#91722 31459");
    ExpectBoardsOneAndTwo();
    ExpectDealsOfTheKey(24);
}

}  // namespace

namespace {

// A private game: dealt from a secret, its deal key in the archive and on
// the printing options; recalled from the key typed (a mistyped key is
// refused first), with the same boards, which are the key's own.
TEST_F(PathTest, PrivateGameIsRecalledFromItsDealKey) {
    std::string ini;
    for (int line = 1; line <= 9; line++) ini += DefaultSettingsLine(line) + "\r\n";
    WriteFile("KELMO.INI", ini + "PrivateDeals=yes\r\n");
    Keys({KeyEnter, "Keelward Club\r", "030715\r", "a", "Pairs\r", "2", KeyEnter});
    EXPECT_EQ(RunToEnd(), Stopped);
    const std::string key = G.ControlString;
    ASSERT_TRUE(std::regex_match(key, std::regex("([0-9A-HJKMNP-TV-Z]{4}-){8}[0-9A-HJKMNP-TV-Z]{4}"))) << key;
    EXPECT_EQ(ReadFile(Archive), "Keelward Club" + M + "\r\nPairs" + M + "\r\n" + key + "\r\n");
    Masks dealt;
    std::memcpy(dealt, G.HandMasks, sizeof dealt);
    DealKeyParts parts;
    ASSERT_TRUE(DecodeDealKey(key, parts));
    EXPECT_EQ(parts.day, 7);
    DealPrivateGame(parts.secret, 24);
    ExpectMasks(dealt, 24);
    EXPECT_NE(DealTextOfBoard(1), Board1);   // not the control number's game

    std::string mistyped = key;
    mistyped[5] = mistyped[5] == '7' ? '8' : '7';
    bool& refused = SeenOnce(MessageRow, 28, " Input error. Try again. ");
    bool& asked = SeenOnce(MessageRow, PromptColumn, "Does this deal match Board #1");
    std::memset(G.HandMasks, 0, sizeof G.HandMasks);
    Keys({"r", mistyped + "\r", " ", AsciiLower(key) + "\r", "y"});
    EXPECT_EQ(RunToEnd(), Stopped);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(asked);
    EXPECT_EQ(G.ControlString, key);
    EXPECT_EQ(G.ClubName, "Keelward Club");
    ExpectMasks(dealt, 24);
}

// The system's random source or hash failing under a private game: once
// the program aborted, or (a hash giving zeros) redealt for ever. Now the
// game ends with the message and the menu, nothing dealt and nothing
// written; so does a recall by key. This runs on the Windows build too.
TEST_F(PathTest, APrivateGameFromAFailingSourceEndsWithNothingDealt) {
    std::string ini;
    for (int line = 1; line <= 9; line++) ini += DefaultSettingsLine(line) + "\r\n";
    WriteFile("KELMO.INI", ini + "PrivateDeals=yes\r\n");
    const std::vector<std::string> newGame = {KeyEnter, "Keelward Club\r", "030715\r", "a", "Pairs\r", "2", KeyEnter};
    const std::string key = "0X1Q-ZEZQ-6DQT-QSS3-BYDX-E4TF-HCF6-ERRX";
    const struct {
        bool random;
        int hashCalls;
        bool recall;
        const char* message;
    } cases[] = {
        {true, -1, false, " The system gives no random bytes: no private game can be dealt "},
        {false, 0, false, " The system's hash failed: the private game cannot be dealt "},
        {false, 40, false, ": nothing of the game is dealt "},
        {false, 0, true, " The system's hash failed: the private game cannot be dealt "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::memset(G.HandMasks, 0, sizeof G.HandMasks);
        fs::remove_all("GAMEFILE.KM");
        std::string shown;
        int menus = 0;
        checks.push_back([&](ScriptedConsole& con) {
            if (shown.empty() && con.Bg(MessageRow, 40) == MAGENTA) shown = con.Text(MessageRow, 4, 74);
            menus += con.Shows(SelectRow, 34, "Select:  N");
        });
        FailSystemCryptoForTests(c.random, c.hashCalls);
        Keys(c.recall ? std::vector<std::string>{"r", key + "\r"} : newGame);
        Keys({" ", KeyEsc, KeyEnter});
        EXPECT_EQ(RunToEnd(), 0);
        FailSystemCryptoForTests(false, -1);
        EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
        EXPECT_EQ(menus, 2);
        for (int b = 0; b <= MaxBoards; b++)
            for (int seat = 0; seat < 4; seat++)
                for (int suit = 0; suit < 4; suit++) ASSERT_EQ(G.HandMasks[b][seat][suit], 0) << b;
        // The archive is written before the boards are dealt: a key that
        // failed on a later board is still the game's, and recalls it.
        EXPECT_EQ(fs::exists(Archive), c.hashCalls > 0);
        EXPECT_EQ(printingMenus, 0);
        checks.clear();
    }
}

}  // namespace
