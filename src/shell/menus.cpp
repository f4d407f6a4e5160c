#include "shell/menus.h"

#include <string>
#include <vector>

#include "console/kit.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "printing/print.h"
#include "settings/editor.h"
#include "web/webpage.h"

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

// The note of the last step (where a printout went, a manual that did not
// open) on row 22, once; the next key acts as ever.
void ShowMenuNote() {
    if (G.MenuNote.empty()) return;
    const std::string note = " " + FitWarning(G.MenuNote) + " ";
    WriteAt(MessageRow, WorkAreaLeft + (74 - (int)note.size()) / 2, note, BRIGHTWHITE, BLUE);
    G.MenuNote.clear();
}

}  // namespace

std::string MenuChoiceOfKey(const std::string& key) {
    if (key == "N" || key == KeyEnter) return "NEW GAME";
    if (key == "R") return "OLD GAME";
    if (key == "I") return "MULTI-SITE GAME";
    if (key == "P") return "PBN IMPORT";
    if (key == "S") return "SETTINGS";
    if (key == "H" || key == KeyF1) return "HELP";
    return "";
}

void MainMenu() {
    G.PbnImportMode = 0;
    // Every game has all its boards, each its own number, dealer and
    // vulnerability, but an imported one that says otherwise.
    ClearBoardMarks();
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
    ShowMenuNote();
    ConsoleColor(YELLOW, BLUE);
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
        // Under the printouts, on the row the menu leaves free.
        ConsoleLocate(MenuTopRow + 6, 25);
        ConsoleWrite("(P) Save PBN file");
        ConsoleLocate(MenuTopRow + 6, 47);
        ConsoleWrite("(W) Web page");
        ShowHotKeyLine();
        // The number another site needs to rebuild the game, between the
        // hot keys.
        const std::string control = G.PrivateGame == 1 && !G.ControlString.empty()
                                        ? "Deal key: " + G.ControlString
                                        : "Control number: " + (G.ControlString.empty() ? "none" : G.ControlString);
        WriteAt(WorkAreaBottom, 41 - (int)control.size() / 2, control, LIGHTCYAN, BLUE);
        FlushKeys();
        ConsoleCursor(CURSOR_SHOW);
        ShowMenuNote();
        ConsoleColor(YELLOW, BLUE);
        ConsoleLocate(SelectRow + 1, 34);
        ConsoleWrite("Select:  ");
        G.KeyText = UpperKey(ReadKey());
        if (G.KeyText == KeyEsc || G.KeyText == "Q") {
            // Leaving the menu is not abandoning the game.
            G.AbandonFlag = 0;
            return;
        }
        // Said before any question about paper: nothing is half done.
        const bool printout = G.KeyText == "1" || G.KeyText == "2" || G.KeyText == "3";
        if (printout && !WhyNoPrintout().empty()) {
            ShowWarning(FitWarning(WhyNoPrintout()));
        } else if (G.KeyText == "1") {
            PrintDupeSheet();
        } else if (G.KeyText == "2") {
            PrintHandouts();
        } else if (G.KeyText == "3") {
            PrintHandRecords();
        } else if (G.KeyText == "P") {
            SavePbnFile();
            // With the setting, the web page goes with every PBN file.
            if (G.WebPage == 1 && !G.MenuNote.empty()) {
                const std::string page = WriteWebPage(WebPagePlace::BesideOthers);
                if (!page.empty()) G.MenuNote = JoinPrintNotes(G.MenuNote, "Saved " + SystemPath(page));
            }
        } else if (G.KeyText == "W") {
            SaveWebPage();
        } else if (G.KeyText == "S") {
            programsettings();
            ShowHeader();
        } else if (G.KeyText == "H" || G.KeyText == KeyF1) {
            ShowManual();
        } else {
            PlayNamedSound("beep2");
        }
    }
}

void ShowManual() { OpenManual(FindSharedFile("Bridge/Software/Manuals/Kelmo-Manual.htm")); }

void OpenManual(const std::string& path) {
    if (P.process == nullptr) return;
    if (path.empty()) {
        PlayNamedSound("beep2");
        G.MenuNote = "Cannot open the manual: Kelmo-Manual.htm is missing";
        return;
    }
    OpenInBrowser(path, "the manual");
}

void OpenInBrowser(const std::string& path, const std::string& what) {
    if (P.process == nullptr) return;
    const OpenResult result = OpenDocument(path);
    if (result.outcome == OpenResult::Opened) return;
    // Said on the menu's row 22, waiting for nothing: the next key is the
    // director's next choice.
    PlayNamedSound("beep2");
    if (result.outcome == OpenResult::Missing) {
        G.MenuNote = "Cannot open " + what + ": " + SystemPath(path) + " is missing";
        return;
    }
    // Where it is, for the director to open it another way: the reason
    // gives way to the path when the row is too short for both.
    const std::string where = SystemPath(path);
    const std::string reason = result.outcome == OpenResult::NotStarted
                                   ? result.opener + " did not start"
                                   : result.opener + " ended with code " + std::to_string(result.code);
    const std::string name = what.substr(what.find(' ') + 1);
    const std::string title = AsciiUpper(name.substr(0, 1)) + name.substr(1);
    const size_t width = 72;
    std::string text = "Cannot open " + what + " (" + reason + "): " + where;
    if (text.size() > width) text = "Open " + what + " yourself: " + where;
    if (text.size() > width) text = title + ": " + where;
    if (text.size() > width) text = title + ": ..." + where.substr(where.size() - (width - title.size() - 5));
    G.MenuNote = text;
}

void SaveWebPage() {
    const std::string path = WriteWebPage(WebPagePlace::BesideOthers);
    if (path.empty()) return;   // the warning has said why
    const std::string saved = "Saved " + SystemPath(path);
    ConsoleCursor(CURSOR_HIDE);
    BlankRow(SelectRow + 1);
    BlankRow(MessageRow);
    const std::string note = " " + FitWarning(saved) + " ";
    WriteAt(MessageRow, WorkAreaLeft + (74 - (int)note.size()) / 2, note, BRIGHTWHITE, BLUE);
    WriteAt(SelectRow + 1, 21, "Open it in the web browser?  (Y/n)", YELLOW, BLUE);
    ConsoleLocate(SelectRow + 1, 51);
    AskYesNo(1);
    G.MenuNote = saved;
    if (G.AbandonFlag == 0 && G.YesNoAnswer == 1) OpenInBrowser(path, "the web page");
    G.AbandonFlag = 0;
}
