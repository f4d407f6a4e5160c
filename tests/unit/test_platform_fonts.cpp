// Where the POSIX system looks for the suit-symbol font.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/posix/system_fonts.h"
#include "support/doubles.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Every variable the check reads, in any letter case, is saved, cleared for
// the test and put back afterwards.
class SuitFontSearch : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
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

    bool Passes() { return SuitFontInstalled(fonts); }

    std::map<std::string, std::string> saved_;
    std::vector<std::string> savedFolders_;
};

// Windows' font folder is the Windows build's business.
TEST_F(SuitFontSearch, FontUnderWindirIsNotLookedFor) {
    WriteFile("win/Fonts/BRIDGE.TTF", "font");
    setenv("windir", (workDir + "/win").c_str(), 1);
    setenv("systemroot", (workDir + "/win").c_str(), 1);
    EXPECT_FALSE(Passes());
}

TEST_F(SuitFontSearch, FontInAUserOrSystemFolderInAnyLetterCasePasses) {
    for (const char* path : {"home/.local/share/fonts/truetype/kelmo/Bridge.TTF",
                             "home/.fonts/BRIDGE.ttf", "system/a/b/bridge.TTF"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Passes());
        WriteFile(path, "font");
        EXPECT_TRUE(Passes());
        fs::remove(path);
    }
}

TEST_F(SuitFontSearch, UserFoldersFollowXdgDataHome) {
    WriteFile("data/fonts/bridge.ttf", "font");
    EXPECT_FALSE(Passes());
    setenv("XDG_DATA_HOME", (workDir + "/data").c_str(), 1);
    EXPECT_TRUE(Passes());
    EXPECT_EQ(SuitFontFolders(),
              (std::vector<std::string>{workDir + "/data/fonts", workDir + "/home/.fonts",
                                        workDir + "/system"}));
}

TEST_F(SuitFontSearch, SystemFoldersFollowXdgDataDirsInsteadOfTheUsualOnes) {
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

TEST_F(SuitFontSearch, InstalledFamilyBridgePasses) {
    fonts.families.push_back("BRIDGE");
    EXPECT_TRUE(Passes());
}

TEST_F(SuitFontSearch, OnlyAFileCountsAndOnlyItsExactName) {
    // A folder called bridge.ttf, a longer name and a family that merely
    // starts with Bridge are not the font.
    fs::create_directories("home/.fonts/bridge.ttf");
    EXPECT_FALSE(Passes());
    for (const char* path : {"system/bridge.ttf.bak", "system/mybridge.ttf"}) {
        WriteFile(path, "x");
        EXPECT_FALSE(Passes()) << path;
    }
}

}  // namespace
