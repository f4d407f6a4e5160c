// Hand-records for duplication: two boards to a page, each half with the
// four hands boxed round a compass cross, the logo, the date and the
// control number.
#include <algorithm>
#include <vector>

#include "console/kit.h"
#include "dealing/private.h"
#include "model/model.h"
#include "platform/platform.h"
#include "printing/print.h"

namespace {

constexpr double HalfHeight = 5.25;
constexpr double BoxWidth = 3.1, BoxHeight = 1.46;

struct BoxCorner {
    double x, y;
};
const BoxCorner Boxes[4] = {{2.45, 0.2}, {4.5, 1.85}, {2.45, 3.5}, {0.4, 1.85}};   // N E S W

void DrawHandBox(int board, int seat, double bx, double by) {
    RoundBox(bx, by, bx + BoxWidth, by + BoxHeight, 12);
    DrawLine(bx + 0.003, by + 0.28, bx + BoxWidth - 0.003, by + 0.28);
    UseFont(ArialFace, 16);
    DrawTextAt(bx + (BoxWidth - TextWidth(G.SeatName[seat])) / 2, by + 0.026, G.SeatName[seat]);
    UseFont(SuitFace, 16);
    for (int suit = 0; suit < 4; suit++) {
        double y = by + 0.34 + suit * 0.28;
        DrawTextAt(bx + 0.15, y, G.SuitFontLetter[suit]);
        DrawHolding(board, seat, suit, bx + 0.44, y, 0.07, G.VoidMark4);
    }
}

void DrawHalf(int board, double top) {
    UseFont(ArialFace, 28);
    DrawTextAt(0.45, top + 0.265, "# ");
    UseFont(ArialFace, 36);
    DrawTextAt(0.7, top + 0.2, std::to_string(BoardNumberShown(board)));

    UseFont(SuitFace, 60);
    DrawTextAt(6.1, top + 0.4, "z");
    UseFont(TimesFace, 11);
    DrawTextAt(6.5, top + 0.56, G.LogoText[1]);
    DrawTextAt(6.5, top + 0.71, G.LogoText[2]);
    DrawTextAt(6.5, top + 0.86, G.LogoText[3]);

    UseFont(ArialFace, 9);
    DrawTextAt(6.7 - TextWidth(G.DateText) / 2, top + 1.2, G.DateText);
    if (G.PrivateGame == 1) {
        // Not the deal key: any one slip typed at a recall would deal the
        // whole session before play. What tells this game from another and
        // deals nothing, in short lines ending where the number would.
        std::vector<std::string> lines = {"Private deal", G.SessionName[std::clamp(G.SessionNumber, 0, 4)]};
        const std::string check = DealKeyCheck(G.DealSecretBytes);
        if (!check.empty()) lines.push_back("Check " + check);
        for (size_t i = 0; i < lines.size(); i++) DrawTextAt(7.6 - TextWidth(lines[i]), top + 4.5 + 0.15 * i, lines[i]);
    } else {
        DrawTextAt(6.8, top + 4.8, G.ControlString);
    }

    UseFont(SuitFace, 24);
    DrawTextAt(4 - TextWidth("^") / 2, top + 1.9, "^");

    SetPenWidth(5);
    DrawLine(4, top + 2.1, 4, top + 3.1);
    DrawLine(3.8, top + 2.58, 4.2, top + 2.58);
    SetPenWidth(3);
    for (int seat = 0; seat < 4; seat++) DrawHandBox(board, seat, Boxes[seat].x, top + Boxes[seat].y);
}

void DrawCutMarks() {
    UseFont(SuitFace, 8);
    DrawTextAt(0.05, 5.16, "-");
    DrawTextAt(7.85, 5.16, "-");
}

}  // namespace

// Pages of the hand-records: an odd board count (a PBN import) gets its last
// board on a page of its own.
int HandRecordPages(int totalBoards) { return (totalBoards + 1) / 2; }

void PrintHandRecords() {
    G.AbandonFlag = 0;
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    ConsoleLocate(WorkAreaTop, 26);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("HAND-RECORDS FOR DUPLICATION");
    // Two boards a page, of the boards the game has (an imported game may
    // lack some).
    std::vector<int> boards;
    for (int board = 1; board <= MaxBoards; board++)
        if (BoardInGame(board)) boards.push_back(board);
    int pages = HandRecordPages((int)boards.size());
    SayPaperOnce();
    ConsoleLocate(16, 17);
    ConsoleColor(BRIGHTWHITE);
    // No paper to load when a PDF is all there is.
    ConsoleWrite((PrintsOnPaper() ? "Load paper for " : "PDF only, no printer: ") + std::to_string(pages) +
                 " pages.  Any key when ready...");
    FlushKeys();
    if (ReadKey() == KeyEsc) {
        G.AbandonFlag = 1;
        return;
    }
    ConsoleLocate(18, 36);
    ConsoleColor(LIGHTCYAN);
    ConsoleWrite("Printing...");

    OpenJob(JobTag("handrecords"));
    SetScale(0, 0, 8, 10.5);
    for (int page = 1; page <= pages; page++) {
        // Esc is looked for only between pages; any other key is dropped.
        if (PollKey() == KeyEsc) {
            SayWhereItWent(CloseJob(false));
            G.AbandonFlag = 1;
            return;
        }
        for (int half = 1; half <= 2; half++) {
            const size_t at = (size_t)(2 * (page - 1) + half - 1);
            if (at >= boards.size()) break;
            DrawHalf(boards[at], (half - 1) * HalfHeight);
            if (half == 1) DrawCutMarks();
        }
        EndPage();
        Pause(500);
    }
    SayWhereItWent(CloseJob());
    Pause(6000);
}
