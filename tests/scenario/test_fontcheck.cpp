// The start-up check for the suit-symbol font.
#include <filesystem>

#include "model/model.h"
#include "platform/files.h"
#include "settings/fontcheck.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace {

class FontCheckTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
    }
};

TEST_F(FontCheckTest, InstalledFontPassesWithoutAScreen) {
    const std::string before = console.Dump();
    checkfont();
    EXPECT_EQ(console.Dump(), before);
    EXPECT_EQ(console.ReadKeyCalls(), 0);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(FontCheckTest, MissingFontShowsSetupErrorAndEndsTheProgram) {
    fonts.suitFont = false;
    console.Type("k");
    console.Type("more");   // never read
    console.onReadKey = [](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(1, 1, " ", -1, BLACK));
        EXPECT_TRUE(c.Shows(25, 80, " ", -1, BLACK));
        // The box: 52 wide, 10 high, grey on bright white.
        EXPECT_TRUE(c.Shows(8, 15, "\xda\xc4", GREY, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(8, 66, "\xbf", GREY, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(17, 15, "\xc0", GREY, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(17, 66, "\xd9", GREY, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(12, 40, " ", -1, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(9, 34, "\xc4 SETUP ERROR \xc4", RED, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(11, 17, "The font file ", BLUE, BRIGHTWHITE));
        EXPECT_TRUE(c.Shows(11, 31, "BRIDGE.TTF ", GREEN));
        EXPECT_TRUE(c.Shows(11, 42, "has not been installed.", RED));
        // This system's advice, the highlighted pieces in green.
#ifdef _WIN32
        EXPECT_EQ(c.Text(13, 17, 34), "Run the Kelmo setup program again,");
        EXPECT_EQ(c.Text(14, 17, 45), "or right-click BRIDGE.TTF and select INSTALL.");
#else
        ExpectShown(c, {{13, 17, "Copy it into ", BLUE}, {13, 30, "~/.local/share/fonts", GREEN}, {13, 50, ",", BLUE},
                        {14, 17, "then run ", BLUE}, {14, 26, "fc-cache", GREEN}, {14, 34, ".", BLUE}});
#endif
        EXPECT_TRUE(c.Shows(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA));
        EXPECT_EQ(c.Text(18, 1, 80), std::string(80, ' '));
    };
    int code = -1;
    try {
        Run(checkfont);
    } catch (const ProgramExit& exit) {
        code = exit.code;
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(console.ReadKeyCalls(), 1);
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
}

// A font file the system will not take is named as such, with its cure.
TEST_F(FontCheckTest, UnusableFontFileSaysSoAndEndsTheProgram) {
    fonts.suitFont = false;
    fonts.unusable = true;
    console.Type("k");
    console.onReadKey = [](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(9, 34, "\xc4 SETUP ERROR \xc4", RED, BRIGHTWHITE));
        EXPECT_EQ(c.Text(11, 17, 40), "The font file BRIDGE.TTF cannot be used.");
        EXPECT_TRUE(c.Shows(11, 42, "cannot be used.", RED));
        EXPECT_EQ(c.Text(13, 17, 43), "The system finds the file but not the font.");
        EXPECT_TRUE(c.Shows(14, 17, "Run the ", BLUE));
        EXPECT_TRUE(c.Shows(14, 25, "Kelmo setup program", GREEN));
        EXPECT_TRUE(c.Shows(14, 44, " again.", BLUE));
        EXPECT_TRUE(c.Shows(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA));
    };
    EXPECT_THROW(Run(checkfont), ProgramExit);
    EXPECT_EQ(console.ReadKeyCalls(), 1);
}

// A lock that cannot be taken for another reason than another copy: the
// program says why and does not start, rather than run unlocked.
TEST_F(FontCheckTest, AFolderLockThatCannotBeTakenStopsTheStartWithTheReason) {
    ReleaseWorkingFolder();
    std::filesystem::create_directory("KELMO.LCK");
    console.Type("k");
    std::string screen, reason;
    console.onReadKey = [&](ScriptedConsole& c) {
        screen = c.Dump();
        if (c.Fg(12, 17) == RED) reason = c.Text(12, 17, 48);
    };
    int code = -1;
    try {
        checkfolder();
    } catch (const ProgramExit& exit) {
        code = exit.code;
    }
    EXPECT_EQ(code, 1);
    for (const char* text : {" CANNOT START ", "Kelmo cannot lock this folder (KELMO.LCK):"})
        EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
    // The system's words: "Is a directory" here, "...not a plain file" there.
    EXPECT_NE(reason.find_first_not_of(' '), std::string::npos) << screen;
    ReleaseWorkingFolder();
}

}  // namespace
