#include "shell/mainloop.h"

#include "analysis/analysis.h"
#include "analysis/par.h"
#include "console/kit.h"
#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "game/archive.h"
#include "game/dealscreens.h"
#include "game/entry.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "printing/print.h"
#include "settings/editor.h"
#include "settings/fontcheck.h"
#include "settings/inifile.h"
#include "shell/menus.h"
#include "web/webpage.h"

namespace {

// Why a game could not be dealt, on row 22; the path then ends.
void ShowDealingFailure() {
    const std::string board = std::to_string(G.DealingFailureBoard);
    std::string text;
    if (G.DealingFailure == DealingNoRandom) text = "The system gives no random bytes: no private game can be dealt";
    else if (G.DealingFailure == DealingNoFairDeal) text = "Board " + board + " cannot be dealt: no deal passes the re-deal rule";
    else if (G.DealingFailureBoard) text = "The system's hash failed at board " + board + ": nothing of the game is dealt";
    else text = "The system's hash failed: the private game cannot be dealt";
    ClearWorkArea();
    ShowWarning(text);
}

// Runs one step of a path; true when the user (or a failed step) abandoned
// it, or the game could not be dealt (said at once), so the path stops.
bool Abandoned(void (*step)()) {
    step();
    if (G.DealingFailure != DealingGood) {
        ShowDealingFailure();
        return true;
    }
    return G.AbandonFlag == 1;
}

// How a path that stopped ends: a game that could not be dealt goes back
// to the menu (the director has been told why), else the quit question.
PathResult Stopped() { return G.DealingFailure != DealingGood ? PathResult::BackToMenu : PathResult::Abandoned; }

// Runs steps in order; true as soon as one of them abandons.
bool AnyAbandoned(std::initializer_list<void (*)()> steps) {
    for (auto step : steps)
        if (Abandoned(step)) return true;
    return false;
}

void DateControlOfGame() { datecontrol(G.GameMonth, G.GameDay, G.GameYear); }
void DealAllShown() { DealBoards(1, G.TotalBoards, 1); }
void DealBoardOneSilently() { DealBoards(1, 1, 0); }
void PositionDeal() { ApplyDealingKey(); }
// With the setting, the web page goes with the PBN file.
void WriteWebPageWithPbn() {
    if (G.WebPage == 1) WriteWebPage(WebPagePlace::OwnName);
}
void DealRestShown() { DealBoards(2, G.TotalBoards, 1); }
void EmptyNames() {
    G.ClubName.clear();
    G.EventName.clear();
}
void PauseOneSecond() { Pause(1000); }

}  // namespace

void initialize() {
    FillModelConstants();
    if (!FolderExists(G.ArchiveFolder)) MakeFolder(G.ArchiveFolder);
    ReadSystemDate();
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
}

void StartUp() {
    P.console->SetTitle("Vantry's Card Den");
    P.console->SetSize(80, 25);
    checkfolder();
    initialize();
    processinifile();
    // Temporaries left by writes that a crash or kill -9 cut short, in every
    // folder the program writes to.
    for (const std::string& folder : {std::string("."), G.ArchiveFolder, G.PBNfilesDirectory, std::string("PRINTS")})
        RemoveStaleTemporaries(folder);
    checkfont();
    CreatePrintFonts();
    PrepareSolver();
}

PathResult NewGamePath() {
    G.DealingFailure = DealingGood;
    // An earlier game's number must not pass for this one's.
    G.ControlString.clear();
    G.PrivateGame = G.PrivateDeals;
    for (;;) {
        if (AnyAbandoned({EnterClubName, EnterGameDate, EnterSession, EnterEventName,
                          EnterBoardCount, ConfirmEntries}))
            return Stopped();
        if (G.YesNoAnswer == 0) return PathResult::BackToMenu;
        if (AnyAbandoned({MakeArchivePath, AskReplaceArchive})) return Stopped();
        if (G.YesNoAnswer == 1) break;
        // Another game of that date and session is kept: the entries again.
    }
    // The archive is written once the game has its control number.
    if (AnyAbandoned({CheckPbnFolder, DrawGameNumber, DrawDealSecret, PositionDeal, BuildControlString, WriteArchive,
                      DealAllShown, BuildDealTexts, ddanalysis}))
        return Stopped();
    if (G.AutoCreatePBNfile == 1) {
        if (AnyAbandoned({EncodeDDTricksTexts, MakePbnFilePath, writepbnfile, WriteWebPageWithPbn}))
            return Stopped();
    }
    return PathResult::Finished;
}

PathResult RecallPath() {
    G.DealingFailure = DealingGood;
    if (AnyAbandoned({EnterControlString, PositionDeal, DealBoardOneSilently,
                      VerifyBoardOne}))
        return Stopped();
    if (G.BoardOneMatches == 0) return PathResult::Restart;
    if (AnyAbandoned({DateControlOfGame, MakeArchivePath, ShowHeader, LoadArchive,
                      ShowGameFields}))
        return Stopped();
    if (G.LoadFailed == 1) {
        if (AnyAbandoned({EnterClubName, EnterEventName})) return Stopped();
        // Another game's archive of the date and session is left as it is.
        if (G.ArchiveOfOtherGame == 0 && Abandoned(WriteArchive)) return Stopped();
    }
    if (AnyAbandoned({ClearWorkArea, DealRestShown, BuildDealTexts, ddanalysis}))
        return Stopped();
    return PathResult::Finished;
}

PathResult MultiSitePath() {
    G.DealingFailure = DealingGood;
    if (AnyAbandoned({EnterControlString, DateControlOfGame, ShowHeader, EmptyNames,
                      ShowGameFields, PauseOneSecond, ConfirmDateSession}))
        return Stopped();
    if (G.YesNoAnswer == 0) {
        ShowDataImportError();
        return PathResult::BackToMenu;
    }
    if (AnyAbandoned({EnterClubName, EnterEventName, ConfirmEntries}))
        return Stopped();
    if (G.YesNoAnswer == 0) {
        PlayNamedSound("beep2");
        return PathResult::BackToMenu;
    }
    if (AnyAbandoned({MakeArchivePath, AskReplaceArchive})) return Stopped();
    if (G.YesNoAnswer == 0) {
        PlayNamedSound("beep2");
        return PathResult::BackToMenu;
    }
    if (AnyAbandoned({PositionDeal, WriteArchive, ClearWorkArea, DealAllShown, BuildDealTexts, ddanalysis}))
        return Stopped();
    return PathResult::Finished;
}

PathResult PbnImportPath() {
    G.DealingFailure = DealingGood;
    if (AnyAbandoned({EnterGameDate, EnterSession, ConfirmEntries}))
        return Stopped();
    if (G.YesNoAnswer == 0) {
        PlayNamedSound("beep2");
        return PathResult::BackToMenu;
    }
    if (AnyAbandoned({DateControlOfGame, MakePbnFilePath, readpbnfile}))
        return Stopped();
    // The reader has already told the user why.
    if (G.LoadFailed == 1) return PathResult::BackToMenu;
    if (Abandoned(ShowPbnFound)) return Stopped();
    // A file that names no club or event has them asked.
    if (G.PbnAskNames == 1) G.YesNoAnswer = 1;
    else if (Abandoned(AskChangeNames)) return Stopped();
    if (G.YesNoAnswer == 0) {
        ShowGameFields();
    } else {
        do {
            if (AnyAbandoned({ClearWorkArea, EnterClubName, EnterEventName, ConfirmEntries}))
                return Stopped();
        } while (G.YesNoAnswer == 0);
    }
    // The reader has checked every deal; this is the last guard before the
    // solver.
    int badBoard = HandsFromDealTexts();
    if (badBoard != 0) {
        ClearWorkArea();
        ShowWarning("Hand data corrupt on Board " + std::to_string(badBoard));
        return PathResult::BackToMenu;
    }
    if (PbnStoredTricksUsable()) {
        if (AnyAbandoned({DecodeDDTricksTexts, GetParResults})) return Stopped();
    } else {
        if (Abandoned(ddanalysis)) return Stopped();
    }
    return PathResult::Finished;
}

// A question on the message row: goOn carries on, the other answer, Enter
// or Esc end the program.
static void EndQuestion(const std::string& text, int column, int cursorColumn, int fg, int bg,
                        const std::string& sound, const std::string& goOn, const std::string& end) {
    ClearWorkArea();
    ConsoleColor(fg, bg);
    ConsoleLocate(MessageRow, column);
    ConsoleWrite(text);
    ConsoleLocate(MessageRow, cursorColumn);
    ConsoleCursor(30);
    FlushKeys();
    PlayNamedSound(sound);
    for (;;) {
        G.KeyText = UpperKey(ReadKey());
        if (G.KeyText == goOn) {
            G.AbandonFlag = 0;
            return;
        }
        if (G.KeyText == end || G.KeyText == KeyEnter || G.KeyText == KeyEsc) EndProgram(0);
        PlayNamedSound("beep2");
    }
}

void ClosingQuestion() {
    EndQuestion(" DONE!  Prepare another game?  (y/N)", 22, 56, YELLOW, BLUE, "done2", "Y", "N");
}

void QuitQuestion() {
    EndQuestion(" Quit program?  (Y/n) ", 30, 47, BRIGHTWHITE, MAGENTA, "beep2", "N", "Y");
}

void MainLoopPass() {
    ShowHeader();
    MainMenu();
    if (G.AbandonFlag == 1) {
        QuitQuestion();
        return;
    }
    PathResult result;
    if (G.MenuChoice == "SETTINGS") {
        programsettings();
        return;
    } else if (G.MenuChoice == "HELP") {
        ShowManual();
        return;
    } else if (G.MenuChoice == "NEW GAME") {
        result = NewGamePath();
    } else if (G.MenuChoice == "OLD GAME") {
        result = RecallPath();
    } else if (G.MenuChoice == "MULTI-SITE GAME") {
        result = MultiSitePath();
    } else if (G.MenuChoice == "PBN IMPORT") {
        result = PbnImportPath();
    } else {
        return;
    }
    switch (result) {
    case PathResult::Abandoned:
        QuitQuestion();
        return;
    case PathResult::BackToMenu:
        return;
    case PathResult::Restart:
        StartUp();
        return;
    case PathResult::Finished:
        PrintingOptions();
        ClosingQuestion();
        return;
    }
}

int RunProgram() {
    // However the program ends, the solver's worker is stopped first.
    struct SolverStopped {
        ~SolverStopped() { StopSolving(); }
    } stopped;
    try {
        StartUp();
        for (;;) MainLoopPass();
    } catch (const ProgramExit& exit) {
        return exit.code;
    }
}
