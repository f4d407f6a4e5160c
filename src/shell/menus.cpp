#include "shell/menus.h"

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
    ConsoleLocate(WorkAreaBottom, 5);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("S");
    ConsoleColor(BROWN, BLUE);
    ConsoleWrite("etup");
    ConsoleLocate(WorkAreaBottom, 73);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("H");
    ConsoleColor(BROWN, BLUE);
    ConsoleWrite("elp");
}

}  // namespace

std::string MenuChoiceOfKey(const std::string& key) {
    if (key == "N" || key == KeyEnter) return "NEW GAME";
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
        if (G.KeyText == KeyEsc) {
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
            ConsoleLocate(MenuTopRow + 2 + i, 25);
            ConsoleWrite(lines[i]);
        }
        ShowHotKeyLine();
        FlushKeys();
        ConsoleCursor(CURSOR_SHOW);
        if (!G.PrintNote.empty()) {
            // Where the last printout went, said once.
            std::string note = " " + FitWarning(G.PrintNote) + " ";
            WriteAt(MessageRow, WorkAreaLeft + (74 - (int)note.size()) / 2, note, BRIGHTWHITE, BLUE);
            G.PrintNote.clear();
        }
        ConsoleColor(YELLOW, BLUE);
        ConsoleLocate(SelectRow + 1, 34);
        ConsoleWrite("Select:  ");
        G.KeyText = UpperKey(ReadKey());
        if (G.KeyText == KeyEsc || G.KeyText == "Q") {
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

void ShowManual() { OpenManual(FindSharedFile("Bridge/Software/Manuals/Kelmo-Manual.htm")); }

void OpenManual(const std::string& path) {
    if (P.process == nullptr) return;
    const OpenResult result = OpenDocument(path);
    if (result.outcome == OpenResult::Missing)
        ShowWarning("Cannot open the manual: Kelmo-Manual.htm is missing");
    else if (result.outcome == OpenResult::NotStarted)
        ShowWarning("Cannot open the manual: " + result.opener + " did not start");
    else if (result.outcome == OpenResult::Failed)
        ShowWarning("Cannot open the manual: " + result.opener + " ended with code " + std::to_string(result.code));
}
