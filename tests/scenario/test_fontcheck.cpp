// The start-up check for the suit-symbol font.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "model/model.h"
#include "settings/fontcheck.h"
#include "support/doubles.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Every variable the check reads, in any letter case, is saved, cleared for
// the test and put back afterwards.
class FontCheckTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        for (char** entry = environ; entry && *entry; entry++) {
            const char* eq = std::strchr(*entry, '=');
            if (!eq) continue;
            std::string name(*entry, (size_t)(eq - *entry)), lower = name;
            for (char& ch : lower) ch = (char)std::tolower((unsigned char)ch);
            if (lower == "systemroot" || lower == "windir" || lower == "home" ||
                lower == "xdg_data_home" || lower == "xdg_data_dirs")
                saved_[name] = eq + 1;
        }
        for (const auto& [name, value] : saved_) unsetenv(name.c_str());
        fs::create_directories("home");
        fs::create_directories("system");
        setenv("HOME", (workDir + "/home").c_str(), 1);
        savedFolders_ = SystemFontFolders;
        SystemFontFolders = {workDir + "/system"};
        fonts.families = {"Arial", "DejaVu Sans", "Bridgeport"};
    }

    void TearDown() override {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "windir", "systemroot"}) unsetenv(name);
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
        SystemFontFolders = savedFolders_;
        KelmoTest::TearDown();
    }

    // Runs checkfont; true when it returned without ending the program.
    bool Passes() {
        bool returned = false;
        try {
            Run([&] {
                checkfont();
                returned = true;
            });
        } catch (const ProgramExit&) {
        }
        return returned;
    }

    std::map<std::string, std::string> saved_;
    std::vector<std::string> savedFolders_;
};

TEST_F(FontCheckTest, FontUnderWindirOnlyPasses) {
    WriteFile("win/Fonts/BRIDGE.TTF", "font");
    setenv("windir", (workDir + "/win").c_str(), 1);
    setenv("systemroot", (workDir + "/elsewhere").c_str(), 1);
    EXPECT_TRUE(Passes());
    EXPECT_EQ(console.ReadKeyCalls(), 0);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(FontCheckTest, FontInAUserOrSystemFolderInAnyLetterCasePasses) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps fonts in its own folders, not the XDG ones";
#endif
    for (const char* path : {"home/.local/share/fonts/truetype/kelmo/Bridge.TTF",
                             "home/.fonts/BRIDGE.ttf", "system/a/b/bridge.TTF"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Passes());
        WriteFile(path, "font");
        EXPECT_TRUE(Passes());
        fs::remove(path);
    }
}

TEST_F(FontCheckTest, UserFoldersFollowXdgDataHome) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps fonts in its own folders, not the XDG ones";
#endif
    WriteFile("data/fonts/bridge.ttf", "font");
    EXPECT_FALSE(Passes());
    setenv("XDG_DATA_HOME", (workDir + "/data").c_str(), 1);
    EXPECT_TRUE(Passes());
    EXPECT_EQ(SuitFontFolders(),
              (std::vector<std::string>{workDir + "/data/fonts", workDir + "/home/.fonts",
                                        workDir + "/system"}));
}

TEST_F(FontCheckTest, SystemFoldersFollowXdgDataDirsInsteadOfTheUsualOnes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps fonts in its own folders, not the XDG ones";
#endif
    WriteFile("system/bridge.ttf", "font");
    WriteFile("shared/fonts/kelmo/Bridge.TTF", "font");
    setenv("XDG_DATA_DIRS", (workDir + "/none").c_str(), 1);
    EXPECT_FALSE(Passes());
    setenv("XDG_DATA_DIRS", (":" + workDir + "/none/:" + workDir + "/shared").c_str(), 1);
    EXPECT_EQ(SuitFontFolders(),
              (std::vector<std::string>{workDir + "/home/.local/share/fonts", workDir + "/home/.fonts",
                                        workDir + "/none/fonts", workDir + "/shared/fonts"}));
    EXPECT_TRUE(Passes());
}

TEST_F(FontCheckTest, InstalledFamilyBridgePasses) {
    fonts.families.push_back("BRIDGE");
    EXPECT_TRUE(Passes());
}

TEST_F(FontCheckTest, OnlyAFileCountsAndOnlyItsExactName) {
    // A folder called bridge.ttf, a longer name and a family that merely
    // starts with Bridge are not the font.
    fs::create_directories("home/.fonts/bridge.ttf");
    EXPECT_FALSE(Passes());
    for (const char* path : {"system/bridge.ttf.bak", "system/mybridge.ttf"}) {
        WriteFile(path, "x");
        EXPECT_FALSE(Passes()) << path;
    }
}

TEST_F(FontCheckTest, MissingFontShowsSetupErrorAndEndsTheProgram) {
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
        EXPECT_TRUE(c.Shows(13, 17, "Right-click on the filename ", BLUE));
        EXPECT_TRUE(c.Shows(13, 45, "BRIDGE.TTF", GREEN));
        EXPECT_TRUE(c.Shows(13, 55, ", ", BLUE));
        EXPECT_TRUE(c.Shows(14, 17, "then select ", BLUE));
        EXPECT_TRUE(c.Shows(14, 29, "INSTALL", GREEN));
        EXPECT_TRUE(c.Shows(14, 36, ".", BLUE));
        EXPECT_TRUE(c.Shows(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA));
        EXPECT_EQ(c.Text(18, 1, 80), std::string(80, ' '));
    };
    int code = -1;
    try {
        Run(checkfont);
    } catch (const ProgramExit& exit) {
        code = exit.code;
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(console.ReadKeyCalls(), 1);
    EXPECT_EQ(sound.played, std::vector<std::string>{"notify2"});
}

}  // namespace
