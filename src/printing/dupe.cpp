// The director's quick-dupe sheet: for every board and suit, thirteen digits
// naming the seat that gets each card from the ace down.
#include "console/kit.h"
#include "model/model.h"
#include "model/text.h"
#include "printing/print.h"

std::string DupeLine(const uint16_t masks[4][4], int suit) {
    std::string line(13, ' ');
    for (int seat = 0; seat < 4; seat++)
        for (int rank = 0; rank < 13; rank++)
            if (masks[seat][suit] & (1u << rank)) line[rank] = (char)('1' + seat);
    return line;
}

void BuildDupeTexts() {
    for (int board = 1; board <= G.TotalBoards && board <= MaxBoards; board++)
        for (int suit = 0; suit < 4; suit++) G.DupeText[board][suit] = DupeLine(G.HandMasks[board], suit);
}

DupeLayout DupeLayoutFor(int totalBoards) {
    DupeLayout layout;
    // Counts other than 36 and 24 come from PBN imports: they take the
    // layout of the nearer sheet and as many rows as their boards need.
    if (BoardsOfLayout(totalBoards) == 36)
        layout = {.rows = 9, .rowHeight = 1.0, .numberY = 0.028, .firstLineY = 0.245, .lineSpacing = 1.0 / 6 + 0.012};
    else
        layout = {.rows = 6, .rowHeight = 1.5, .numberY = 0.1, .firstLineY = 0.45, .lineSpacing = 1.5 / 6};
    if (totalBoards != 36 && totalBoards != 24) layout.rows = (totalBoards + 3) / 4;
    return layout;
}

void PrintDupeSheet() {
    BuildDupeTexts();
    G.AbandonFlag = 0;
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    ConsoleLocate(WorkAreaTop, 26);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("DIRECTOR'S QUICK-DUPE SHEET");
    ConsoleLocate(16, 34);
    ConsoleColor(YELLOW);
    ConsoleWrite("Printing...");
    SayPaperOnce();

    OpenJob(JobTag("dupe"));
    SetScale(0, 0, 8, 10.5);
    SetPenWidth(2);

    UseFont(CourierFace, 12, 1);
    std::string event = Cp437Upper(G.EventName);
    DrawTextAt(0, 0.25, event);
    DrawTextAt(8 - TextWidth(G.DateText), 0.25, G.DateText);
    DrawLine(0, 0.5, 8, 0.5);
    DrawLine(0, 0.53, 8, 0.53);

    UseFont(CourierFace, 12);
    DrawTextAt(0, 0.6, std::string(18, ' ') + "Pre-sort the suits:  Ace -> Deuce");
    NewLine();
    DrawText(std::string(18, ' ') + "Deal the cards:  1=North  2=East  3=South  4=West");
    NewLine();

    DupeLayout layout = DupeLayoutFor(G.TotalBoards);
    double rh = layout.rowHeight;
    double bottom = 1 + layout.rows * rh;
    for (int r = 0; r <= layout.rows; r++) DrawLine(0, 1 + r * rh, 8, 1 + r * rh);
    for (int c = 1; c <= 3; c++) DrawLine(2 * c, 1, 2 * c, bottom);

    UseFont(ArialFace, 14);
    for (int r = 0; r < layout.rows; r++)
        for (int c = 0; c <= 3; c++) {
            int board = 4 * r + c + 1;
            if (!BoardInGame(board)) continue;
            const int number = BoardNumberShown(board);
            DrawTextAt(2 * c + (number < 10 ? 0.93 : 0.88), 1 + r * rh + layout.numberY, std::to_string(number));
        }

    for (int r = 0; r < layout.rows; r++) {
        double y = 1 + r * rh + layout.firstLineY;
        for (int suit = 0; suit < 4; suit++) {
            for (int c = 0; c <= 3; c++) {
                int board = 4 * r + c + 1;
                if (!BoardInGame(board)) continue;
                UseFont(SuitFace, 10);
                DrawTextAt(2 * c + 0.12, y + 0.013, G.SuitFontLetter[suit]);
                UseFont(ArialFace, 12);
                const std::string& digits = G.DupeText[board][suit];
                for (size_t i = 0; i < digits.size(); i++)
                    DrawTextAt(2 * c + 0.3 + i * 0.12, y, std::string(1, digits[i]));
            }
            y += layout.lineSpacing;
        }
    }

    UseFont(ArialFace, 9);
    DrawTextAt(3.95 - TextWidth(GameCodePrinted()) / 2, 10.08, GameCodePrinted());
    SayWhereItWent(CloseJob());
    Pause(5000);

    ConsoleCursor(CURSOR_HIDE);
    BlankRow(MessageRow);
    ConsoleCursor(CURSOR_SHOW);
}
