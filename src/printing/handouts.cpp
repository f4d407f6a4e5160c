// Post-game handouts: copies of a two-sided sheet, each side confirmed on its
// own so that a printer without duplexing can make it.
#include "console/kit.h"
#include "model/model.h"
#include "platform/platform.h"
#include "printing/diagram.h"
#include "printing/print.h"

namespace {

// True when the user wants the side printed; the question's row is blanked
// when not.
bool ConfirmSide(int side) {
    int row = 18 + 2 * side;
    ConsoleLocate(row, 31);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("Print side " + std::to_string(side + 1) + "?  (Y/n) ");
    FlushKeys();
    ConsoleCursor(CURSOR_SHOW);
    ConsoleLocate(row, 47);
    for (;;) {
        std::string key = UpperKey(ReadKey());
        if (key == KeyEsc || key == "N") {
            BlankRow(row);
            return false;
        }
        if (key == KeyEnter || key == "Y") return true;
        PlayNamedSound("beep2");
    }
}

void PrintSide(int side, int copies) {
    const HandoutLayout& layout = CurrentHandoutLayout();
    bool credits = (layout.boards == 36) == (side == 0);
    // No paper to put back when a PDF is all there is.
    if (side == 1 && PrintsOnPaper()) {
        ConsoleLocate(MessageRow, 17);
        ConsoleColor(BRIGHTWHITE);
        ConsoleWrite("Load paper for side 2.  Any key when ready...");
        FlushKeys();
        ReadKey();
    }
    BlankRow(MessageRow);
    ConsoleLocate(MessageRow, 31);
    ConsoleColor(LIGHTCYAN);
    ConsoleWrite("Printing side " + std::to_string(side + 1) + ", #");

    OpenJob(JobTag(side == 0 ? "handouts-side1" : "handouts-side2"));
    SetScale(0, 0, 8, 10.5);
    for (int copy = 1; copy <= copies; copy++) {
        ConsoleCursor(CURSOR_HIDE);
        ConsoleLocate(MessageRow, 49);
        ConsoleWrite(std::to_string(copy));
        if (side == 0) DrawHandoutHeader();
        DrawBoardGrid(side);
        if (credits) DrawPageCredits(side);
        EndPage();
    }
    Pause(5000);
    ConsoleCursor(CURSOR_HIDE);
    BlankRow(MessageRow);
    ConsoleCursor(CURSOR_SHOW);
    SayWhereItWent(CloseJob());
}

}  // namespace

void PrintHandouts() {
    G.AbandonFlag = 0;
    ClearWorkArea();

    ConsoleLocate(WorkAreaTop, 31);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("POST-GAME HANDOUTS");
    SayPaperOnce();
    ConsoleLocate(16, 26);
    ConsoleColor(YELLOW, BLUE);
    ConsoleWrite("Number of copies? (1-100):   1  ");
    ConsoleLocate(0, ConsoleColumn() - 3);
    inputinteger(1, 100);
    if (G.AbandonFlag == 1) return;
    int copies = G.InputNumber;

    // Each side says where it went.
    std::string notes;
    for (int side = 0; side <= 1; side++) {
        if (!ConfirmSide(side)) continue;
        G.MenuNote.clear();
        PrintSide(side, copies);
        notes = JoinPrintNotes(notes, G.MenuNote);
    }
    G.MenuNote = notes;
}
