// The game's web page: the same bytes on every system, beside the PBN file
// without replacing another game's, offered to the browser; and the pages
// the browser check (tests/web/check_pages.py) reads.
#include <cstdlib>
#include <filesystem>

#include "dealing/dates.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "support/doubles.h"
#include "support/golden.h"
#include "unit/test_analysis_games.h"
#include "web/webpage.h"

namespace {

class WebPageTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
    }
    // A fixed game of `boards`, its hands and date as a dealt one has them.
    void Game(int boards, int offset = 0) {
        FillFixedGame(boards, offset);
        HandsFromDealTexts();
        datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    }
};

TEST_F(WebPageTest, OneGameIsTheSameBytesOnEverySystem) {
    Game(24);
    EXPECT_TRUE(MatchesGoldenFile(WebPageText(), "web-150307A.html"));
}

// Saved from the printing options beside another game's page: row 22 says
// where, and the browser gets it when the director says yes.
TEST_F(WebPageTest, SavedBesideThePbnFileAndOfferedToTheBrowser) {
    Game(24);
    std::filesystem::create_directory("GAMEFILE.KM");
    WriteFile("GAMEFILE.KM/150307A.html", "another game's page");
    console.Type("y");
    ASSERT_FALSE(Run(SaveWebPage));
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A.html"), "another game's page");
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A-2.html"), WebPageText());
    EXPECT_EQ(G.MenuNote, "Saved " + SystemPath("GAMEFILE.KM/150307A-2.html"));
    ASSERT_EQ(process.runs.size(), 1u);
    EXPECT_EQ(process.runs[0].back().substr(0, 8), "file:///");
    EXPECT_NE(process.runs[0].back().find("/GAMEFILE.KM/150307A-2.html"), std::string::npos);
    // Its own page is written over, and "n" leaves the browser alone.
    console.Type("n");
    ASSERT_FALSE(Run(SaveWebPage));
    EXPECT_FALSE(std::filesystem::exists("GAMEFILE.KM/150307A-3.html"));
    EXPECT_EQ(process.runs.size(), 1u);
    // With a new game's PBN file it takes the game's own name, as that
    // file does, the other game's page kept beside.
    EXPECT_EQ(WriteWebPage(WebPagePlace::OwnName), GameFilePath(".html"));
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A.html"), WebPageText());
    EXPECT_EQ(ReadFile("GAMEFILE.KM/150307A-3.html"), "another game's page");
}

// The three pages of the browser check, each with the game's PBN file as
// its oracle: a new game of 36 boards; a private game of 24 whose names
// would be markup; an import of 28 boards of another program's file, two
// boards absent. Written where KELMO_WEB_PAGES says.
TEST_F(WebPageTest, PagesForTheBrowserCheck) {
    const char* folder = std::getenv("KELMO_WEB_PAGES");
    if (!folder) GTEST_SKIP() << "KELMO_WEB_PAGES names no folder";
    auto keep = [&](const std::string& name) {
        WriteFile(std::string(folder) + "/" + name + ".html", WebPageText());
        WriteFile(std::string(folder) + "/" + name + ".pbn", PbnFileText("12-09-2026"));
    };
    Game(36);
    keep("new-36");
    Game(24, 4);
    G.PrivateGame = 1;
    G.ClubName = "<script>alert(1)</script> & \"Sons\"";
    G.EventName = "Caf\x82 <b>Pairs</b>";
    DealKeyParts parts;
    parts.year = 15, parts.month = 3, parts.day = 7, parts.session = 2, parts.boards = 24;
    G.ControlString = MakeDealKey(parts);
    keep("private-24");
    // Another program's file of boards 1 to 30 without 3 and 17, as read.
    Game(30);
    G.PrivateGame = 0;
    std::string text = PbnFileText("12-09-2026");
    text.erase(0, text.find("[Event"));
    for (int gone : {3, 17}) {
        const size_t at = text.find("[Event \"#\"]\r\n[Site \"#\"]\r\n[Date \"#\"]\r\n[Board \"" + std::to_string(gone) + "\"]");
        text.erase(at, text.find("\r\n\r\n", at) + 4 - at);
    }
    WriteFile("other.pbn", text);
    G.PbnFilePath = "other.pbn";
    ASSERT_FALSE(Run(readpbnfile));
    ASSERT_EQ(G.PbnBoardCount, 28);
    HandsFromDealTexts();
    FillFixedGame(30);   // the analysis' tricks and par, as a fresh one finds them
    G.BoardAbsent[3] = G.BoardAbsent[17] = 1;
    G.ControlString.clear();
    GetParResults();
    keep("import-28");
}

}  // namespace
