#include "shell/menus.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "printing/print.h"
#include "settings/editor.h"
#include "shell/kit.h"

namespace {

// "Setup" and "Help" on the bottom row of the work area: the two hot keys
// both menus share.
void ShowHotKeyLine() {
    ConsoleLocate(23, 5);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("S");
    ConsoleColor(BROWN, BLUE);
    ConsoleWrite("etup");
    ConsoleLocate(23, 73);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("H");
    ConsoleColor(BROWN, BLUE);
    ConsoleWrite("elp");
}

}  // namespace

std::string MenuChoiceOfKey(const std::string& key) {
    if (key == "N" || key == KEY_ENTER) return "NEW GAME";
    if (key == "R") return "OLD GAME";
    if (key == "I") return "MULTI-SITE GAME";
    if (key == "P") return "PBN IMPORT";
    if (key == "S") return "SETTINGS";
    if (key == "H") return "HELP";
    return "";
}

void MainMenu() {
    G.PbnImportMode = 0;
    // A step that abandoned before a "back to the menu" must not make the
    // next choice look like Esc.
    G.AbandonFlag = 0;
    ClearWorkArea();
    ShowHotKeyLine();
    ConsoleColor(YELLOW, BLUE);
    static const char* lines[4] = {"(N) New game", "(R) Recall a game",
                                   "(I) Import Hands for a Multi-Site event",
                                   "(P) Import game from a PBN file"};
    for (int i = 0; i < 4; i++) {
        ConsoleLocate(MenuTopRow + i, 29);
        ConsoleWrite(lines[i]);
    }
    ConsoleLocate(SelectRow, 34);
    ConsoleWrite("Select:  N");
    ConsoleLocate(SelectRow, 43);
    ConsoleCursor(99);
    FlushKeys();
    for (;;) {
        G.KeyText = UpperKey(ReadKey());
        if (G.KeyText == KEY_ESC) {
            G.AbandonFlag = 1;
            return;
        }
        std::string choice = MenuChoiceOfKey(G.KeyText);
        if (!choice.empty()) {
            G.MenuChoice = choice;
            if (G.KeyText == "P") G.PbnImportMode = 1;
            return;
        }
        PlayNamedSound("beep2");
        FlushKeys();
    }
}

void PrintingOptions() {
    for (;;) {
        G.AbandonFlag = 0;
        ClearWorkArea();
        ConsoleColor(LIGHTGREEN, BLUE);
        ConsoleLocate(MenuTopRow, 32);
        ConsoleWrite("PRINTING OPTIONS");
        ConsoleColor(YELLOW, BLUE);
        static const char* lines[4] = {"(1) Director's Dupe Sheet", "(2) Player printouts",
                                       "(3) Hand-Records for duplication", "(Q) Exit"};
        for (int i = 0; i < 4; i++) {
            ConsoleLocate(16 + i, 25);
            ConsoleWrite(lines[i]);
        }
        ShowHotKeyLine();
        FlushKeys();
        ConsoleCursor(CURSOR_SHOW);
        ConsoleColor(YELLOW, BLUE);
        ConsoleLocate(21, 34);
        ConsoleWrite("Select:  ");
        G.KeyText = UpperKey(ReadKey());
        if (G.KeyText == KEY_ESC || G.KeyText == "Q") {
            // Leaving the menu is not abandoning the game.
            G.AbandonFlag = 0;
            return;
        }
        if (G.KeyText == "1") {
            PrintDupeSheet();
        } else if (G.KeyText == "2") {
            PrintHandouts();
        } else if (G.KeyText == "3") {
            PrintHandRecords();
        } else if (G.KeyText == "S") {
            programsettings();
            ShowHeader();
        } else if (G.KeyText == "H") {
            ShowManual();
        } else {
            PlayNamedSound("beep2");
        }
    }
}

std::string FileAddress(const std::string& absolutePath) {
    // Percent-encode everything but the unreserved characters and "/", so a
    // club folder with blanks in its name still makes one valid address.
    static const char* hex = "0123456789ABCDEF";
    std::string address = "file://";
    // A Windows path: its separators become "/", and its drive ("C:") the
    // address's first component.
    std::string path = absolutePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    const bool drive = path.size() >= 2 && path[1] == ':' && std::isalpha((unsigned char)path[0]);
    if (drive) address += "/";
    for (size_t i = 0; i < path.size(); i++) {
        const unsigned char ch = (unsigned char)path[i];
        bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                     (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_' ||
                     ch == '~' || ch == '/' || (drive && i == 1);
        if (plain) {
            address += (char)ch;
        } else {
            address += '%';
            address += hex[ch >> 4];
            address += hex[ch & 15];
        }
    }
    return address;
}

void ShowManual() { OpenManual(FindSharedFile("Bridge/Software/Manuals/Kelmo-Manual.htm")); }

void OpenManual(const std::string& path) {
    if (P.process == nullptr) return;
    std::error_code error;
    std::filesystem::path absolute;
    if (!path.empty()) absolute = std::filesystem::absolute(path, error);
    if (path.empty() || error || !std::filesystem::is_regular_file(absolute, error)) {
        ShowWarning("Cannot open the manual: Kelmo-Manual.htm is missing");
        return;
    }
    std::string address = FileAddress(absolute.lexically_normal().string());

    std::vector<std::string> command;
    std::string interpreter = GetEnvironment("comspec");
    if (!interpreter.empty()) {
        // The command interpreter hands the address to the web browser.
        command = {interpreter, "/c", "start", address};
    } else {
        command = {"xdg-open", address};
    }
    // The opener may start a text browser in this very terminal.
    P.console->Suspend();
    int code = P.process->Run(command);
    P.console->Resume();
    if (code < 0)
        ShowWarning("Cannot open the manual: " + command[0] + " did not start");
    else if (code != 0)
        ShowWarning("Cannot open the manual: " + command[0] + " ended with code " + std::to_string(code));
}
