// The suit-symbol font is not part of the program; without it every
// printout would show letters instead of suits, so the program will not
// start its menus until it is installed.
#include "settings/fontcheck.h"

#include <filesystem>

#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "shell/kit.h"
#ifdef _WIN32
#include "platform/win32/win32.h"
#endif

namespace fs = std::filesystem;

std::vector<std::string> SystemFontFolders = {"/usr/local/share/fonts", "/usr/share/fonts"};

namespace {

void WriteAt(int row, int column, const std::string& text, int fg, int bg = KEEP_BACKGROUND) {
    ConsoleLocate(row, column);
    ConsoleColor(fg, bg);
    ConsoleWrite(text);
}

void Write(const std::string& text, int fg) {
    ConsoleColor(fg, KEEP_BACKGROUND);
    ConsoleWrite(text);
}

void ShowSetupError() {
    ConsoleColor(WHITE, BLACK);
    ConsoleClear();
    DrawBox(8, 15, 52, 10, GREY, BRIGHTWHITE);
    const std::string rule(1, (char)SGL_HORIZ);
    WriteAt(9, 34, rule + " SETUP ERROR " + rule, RED);
    WriteAt(11, 17, "The font file ", BLUE);
    Write("BRIDGE.TTF ", GREEN);
    Write("has not been installed.", RED);
    WriteAt(13, 17, "Right-click on the filename ", BLUE);
    Write("BRIDGE.TTF", GREEN);
    Write(", ", BLUE);
    WriteAt(14, 17, "then select ", BLUE);
    Write("INSTALL", GREEN);
    Write(".", BLUE);
    WriteAt(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA);
    ConsoleCursor(CURSOR_HIDE);
}

}  // namespace

std::vector<std::string> SuitFontFolders() {
#ifdef _WIN32
    return WindowsSuitFontFolders();
#endif
    std::vector<std::string> folders;
    const std::string home = GetEnvironment("HOME");
    const std::string dataHome = GetEnvironment("XDG_DATA_HOME");
    if (!dataHome.empty())
        folders.push_back(dataHome + "/fonts");
    else if (!home.empty())
        folders.push_back(home + "/.local/share/fonts");
    if (!home.empty()) folders.push_back(home + "/.fonts");
    // The system's data folders as the desktop names them; unset, the usual
    // /usr/local/share and /usr/share.
    const std::string dataDirs = GetEnvironment("XDG_DATA_DIRS");
    if (dataDirs.empty()) {
        for (const std::string& folder : SystemFontFolders) folders.push_back(folder);
        return folders;
    }
    size_t start = 0;
    while (start <= dataDirs.size()) {
        size_t colon = dataDirs.find(':', start);
        if (colon == std::string::npos) colon = dataDirs.size();
        std::string dir = dataDirs.substr(start, colon - start);
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        if (!dir.empty()) folders.push_back(dir + "/fonts");
        start = colon + 1;
    }
    return folders;
}

bool FolderHoldsSuitFont(const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return false;
    // Unreadable subfolders are passed over; directory links are not
    // followed, so a loop cannot trap the search.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (AsciiLower(it->path().filename().string()) != "bridge.ttf") continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) return true;
    }
    return false;
}

bool FamiliesHoldSuitFont(const std::vector<std::string>& families) {
    for (const std::string& family : families)
        if (AsciiLower(family) == "bridge") return true;
    return false;
}

bool SuitFontInstalled() {
    if (FileExists(GetEnvironment("systemroot") + "\\fonts\\bridge.ttf")) return true;
    if (FileExists(GetEnvironment("windir") + "\\fonts\\bridge.ttf")) return true;
    for (const std::string& folder : SuitFontFolders())
        if (FolderHoldsSuitFont(folder)) return true;
    return P.fonts && FamiliesHoldSuitFont(P.fonts->Families());
}

void checkfont() {
    if (SuitFontInstalled()) return;
    ShowSetupError();
    FlushKeys();
    PlayNamedSound("notify2");
    ReadKey();
    EndProgram(0);
}
