// Board diagrams of the post-game handout: hands, double-dummy grid, par,
// the side-1 header and the credits line.
#include "printing/diagram.h"

#include <algorithm>

#include "dealing/dates.h"
#include "model/model.h"
#include "model/text.h"
#include "printing/print.h"

namespace {

const HandoutLayout Layout36{
    .boards = 36, .columns = 4, .rows = {4, 5}, .columnWidth = 2, .rowHeight = 2, .gridTop = {1.7, 0.4},
    .gridPen = 4, .dividerShift = 0.04, .labelPoints = 9, .numberPoints = 12, .numberRaise = 0.038,
    .valueX = 0.25, .firstLineY = 0.06, .labelSpacing = 0.15, .handPoints = 9, .nsX = 0.76, .ewY = 0.69,
    .southY = 1.37, .suitSpacing = 0.14, .voidMark = "___", .ddTop = 1.29, .ddBoxWidth = 0.71,
    .ddHeaderPoints = 8, .ddRowPoints = 7, .ddHeaderY = 0.023, .ddHeaderShift = 0.01, .ddFirstColumn = 0.14,
    .ddColumnSpacing = 0.11, .ddRowSpacing = 0.108, .ddFirstRowBase = 0.03, .markShift = 0.014,
    .parPoints = 6, .parY = 0.58, .parX = 0.05, .headerX = 0.02, .headerY = 0.5, .emblemPoints = 60,
    .logoPoints = 11, .logoX = 0.4, .logoY = {0.16, 0.31, 0.46}, .clubPoints = 18, .clubY = 0.52,
    .eventPoints = 16, .eventY = 0.92, .datePoints = 11, .dateY1 = 0.7, .dateY2 = 0.87, .creditsPoints = 8
};

const HandoutLayout Layout24{
    .boards = 24, .columns = 3, .rows = {4, 4}, .columnWidth = 2.66, .rowHeight = 2.3, .gridTop = {1.0, 0.6},
    .gridPen = 4, .dividerShift = 0.05, .labelPoints = 10, .numberPoints = 14, .numberRaise = 0.05,
    .valueX = 0.3, .firstLineY = 0.0726, .labelSpacing = 0.18, .handPoints = 10, .nsX = 1.1, .ewY = 0.79,
    .southY = 1.55, .suitSpacing = 0.17, .voidMark = "___", .ddTop = 1.51, .ddBoxWidth = 0.82,
    .ddHeaderPoints = 9, .ddRowPoints = 8, .ddHeaderY = 0.024, .ddHeaderShift = 0.01, .ddFirstColumn = 0.15,
    .ddColumnSpacing = 0.13, .ddRowSpacing = 0.12, .ddFirstRowBase = 0.05, .markShift = 0.017,
    .parPoints = 7, .parY = 0.66, .parX = 0.08, .headerX = 0.02, .headerY = 0.1, .emblemPoints = 60,
    .logoPoints = 11, .logoX = 0.4, .logoY = {0.16, 0.31, 0.46}, .clubPoints = 18, .clubY = 0.15,
    .eventPoints = 16, .eventY = 0.5, .datePoints = 11, .dateY1 = 0.3, .dateY2 = 0.47, .creditsPoints = 8
};


struct FitRow {
    int ew;
    double cardGap, symbolGap, westOffset;
};

// Rows from EW = 24 down; the last row is "below" the one before it.
const FitRow Fit36[] = {{24, 0.002, 0.07, 0.005}, {23, 0.003, 0.08, 0.005}, {22, 0.004, 0.09, 0.005},
                        {21, 0.007, 0.09, 0.005}, {20, 0.01, 0.1, 0.01},    {19, 0.013, 0.11, 0.015},
                        {18, 0.015, 0.12, 0.02},  {17, 0.02, 0.12, 0.02},   {16, 0.025, 0.12, 0.02},
                        {0, 0.025, 0.14, 0.06}};
const FitRow Fit24[] = {{24, 0.015, 0.1, 0.02}, {23, 0.02, 0.11, 0.03},  {22, 0.02, 0.11, 0.05},
                        {21, 0.025, 0.12, 0.05}, {20, 0.03, 0.12, 0.07}, {19, 0.03, 0.14, 0.1},
                        {18, 0.03, 0.14, 0.1},  {0, 0.02, 0.15, 0.12}};

template <size_t N>
const FitRow& LookUp(const FitRow (&table)[N], int ew) {
    // Past the table's top (a 12- or 13-card suit in both East and West) the
    // tightest row still applies.
    if (ew >= table[0].ew) return table[0];
    for (size_t i = 0; i + 1 < N; i++)
        if (table[i].ew == ew) return table[i];
    return table[N - 1];
}

int Longest(int board, int seat) {
    int longest = 0;
    for (int suit = 0; suit < 4; suit++) longest = std::max(longest, G.SuitLength[board][seat][suit]);
    return longest;
}

// One hand's four suit lines from (hx, hy).
void DrawHand(int board, int seat, double hx, double hy, const HandFit& fit) {
    const HandoutLayout& L = CurrentHandoutLayout();
    for (int suit = 0; suit < 4; suit++) {
        double y = hy + suit * L.suitSpacing;
        if (G.ColorPrinting == 1) SetSuitColor(suit);
        UseFont(SuitFace, L.handPoints);
        DrawTextAt(hx, y, G.SuitFontLetter[suit]);
        if (G.ColorPrinting == 1) SetBlack();
        DrawHolding(board, seat, suit, hx + fit.symbolGap, y, fit.cardGap, L.voidMark);
    }
}

void DrawDoubleDummy(int board, double x0, double y0) {
    const HandoutLayout& L = CurrentHandoutLayout();
    double tx = x0, ty = y0 + L.ddTop;
    SetPenWidth(L.gridPen - 1);
    DrawLine(tx - L.dividerShift, ty, tx + L.ddBoxWidth, ty);
    LineTo(tx + L.ddBoxWidth, y0 + L.rowHeight);

    UseFont(SuitFace, L.ddHeaderPoints);
    double hx = tx + L.ddFirstColumn - L.ddHeaderShift;
    for (int k = 1; k <= 5; k++)
        DrawTextAt(hx + (k - 1) * L.ddColumnSpacing, ty + L.ddHeaderY, G.SuitFontLetter[4 - (k % 5)]);

    UseFont(SuitFace, L.ddRowPoints);
    double y = ty + L.ddFirstRowBase;
    for (int seat : {1, 3, 2, 4}) {   // North, South, East, West
        y += L.ddRowSpacing;
        DrawTextAt(tx, y, G.SeatLetter[seat]);
        for (int strain = 1; strain <= 5; strain++) {
            double x = tx + L.ddFirstColumn + (strain - 1) * L.ddColumnSpacing;
            int level = G.DDTricks[board][seat][strain] - 6;
            if (level > 0) DrawTextAt(x, y, std::to_string(level));
            else DrawTextAt(x + L.markShift, y, "`");
        }
    }

    UseFont(ArialFace, L.parPoints);
    DrawTextAt(tx + L.parX, ty + L.parY, "Par:  ");
    DrawText(G.ParText[board]);
}

void DrawCell(int board, double x0, double y0) {
    const HandoutLayout& L = CurrentHandoutLayout();
    UseFont(TimesFace, L.labelPoints);
    DrawTextAt(x0, y0 + L.firstLineY, "Bd:");
    DrawTextAt(x0, y0 + L.firstLineY + L.labelSpacing, "Dlr:");
    DrawTextAt(x0, y0 + L.firstLineY + 2 * L.labelSpacing, "Vul:");

    double vx = x0 + L.valueX;
    UseFont(TimesFace, L.numberPoints, 1);
    DrawTextAt(vx, y0 + L.firstLineY - L.numberRaise, std::to_string(BoardNumberShown(board)));
    UseFont(TimesFace, L.labelPoints);
    DrawTextAt(vx, y0 + L.firstLineY + L.labelSpacing, G.DealerName[(BoardDealer(board) + 1) % 4]);
    DrawTextAt(vx, y0 + L.firstLineY + 2 * L.labelSpacing, G.VulName[BoardVul(board)]);

    int ns = std::max(Longest(board, 0), Longest(board, 2));
    HandFit fit = FitHands(L.boards, G.LongestEast[board], G.LongestWest[board], ns);
    UseFont(SuitFace, L.handPoints);
    double widest = 0;
    for (int suit = 0; suit < 4; suit++)
        widest = std::max(widest, TextWidth(G.HoldingText[board][1][suit] + "a"));
    double eastX = L.columnWidth - ((G.LongestEast[board] - 1) * fit.cardGap + widest + fit.symbolGap +
                                    fit.eastMargin);

    DrawHand(board, 0, x0 + L.nsX, y0 + L.firstLineY, fit);
    DrawHand(board, 1, x0 + eastX, y0 + L.ewY, fit);
    DrawHand(board, 2, x0 + L.nsX, y0 + L.southY, fit);
    DrawHand(board, 3, x0 + fit.westOffset, y0 + L.ewY, fit);

    DrawDoubleDummy(board, x0, y0);
}

}  // namespace

const HandoutLayout& LayoutForBoards(int totalBoards) { return BoardsOfLayout(totalBoards) == 36 ? Layout36 : Layout24; }

const HandoutLayout& CurrentHandoutLayout() { return LayoutForBoards(G.TotalBoards); }

HandFit FitHands(int layoutBoards, int longestEast, int longestWest, int longestNS) {
    int ew = longestEast + longestWest;
    HandFit fit{};
    if (layoutBoards == 36) {
        const FitRow& row = LookUp(Fit36, ew);
        fit = {row.cardGap, row.symbolGap, row.westOffset, 0.091};
        if (longestEast > 5 || ew > 13) fit.eastMargin = 0.011;
        if (longestNS == 12) fit.cardGap = std::min(fit.cardGap, 0.015);
        if (longestNS >= 13) fit.cardGap = std::min(fit.cardGap, 0.01);
    } else {
        const FitRow& row = LookUp(Fit24, ew);
        fit = {row.cardGap, row.symbolGap, row.westOffset, 0.127};
        if (row.ew == 0 && longestWest < 9) fit.westOffset = 0.22;
        if (longestEast > 6 || ew > 18) fit.eastMargin = 0.027;
    }
    return fit;
}

std::string CreditsText(int layoutBoards) {
    // A deal key is longer than a control number: narrower gaps keep the
    // line within the page.
    const std::string gap(G.PrivateGame == 1 ? 4 : 11, ' ');
    std::string text = "Pages by Arno Velik" + gap + "Analyses by Sig Tarrow" + gap + GameCodePrinted();
    if (layoutBoards == 24) text = G.DateText + gap + text;
    return text;
}

void DrawHandoutHeader() {
    const HandoutLayout& L = CurrentHandoutLayout();
    UseFont(SuitFace, L.emblemPoints);
    DrawTextAt(L.headerX, L.headerY, "z");
    UseFont(TimesFace, L.logoPoints);
    for (int i = 1; i <= 3; i++) DrawTextAt(L.headerX + L.logoX, L.headerY + L.logoY[i - 1], G.LogoText[i]);

    UseFont(ClubFace, L.clubPoints);
    DrawTextAt((8 - TextWidth(G.ClubName)) / 2, L.clubY, G.ClubName);
    UseFont(EventFace, L.eventPoints);
    DrawTextAt((8 - TextWidth(G.EventName)) / 2, L.eventY, G.EventName);

    UseFont(ArialFace, L.datePoints);
    std::string line1 = G.WeekdayText;
    std::string line2 = (G.GameMonth >= 1 && G.GameMonth <= 12 ? std::string(MonthNames[G.GameMonth]) : std::string()) + " " +
                        std::to_string(G.GameDay);
    double w = std::max(TextWidth(line1), TextWidth(line2));
    DrawTextAt(8 - w - 0.05, L.dateY1, line1);
    DrawTextAt(8 - w - 0.05, L.dateY2, line2);
}

void DrawBoardGrid(int side) {
    const HandoutLayout& L = CurrentHandoutLayout();
    int nc = L.columns, nr = L.rows[side];
    double top = L.gridTop[side], bottom = L.GridBottom(side);
    SetPenWidth(L.gridPen);
    for (int r = 0; r <= nr; r++) DrawLine(0, top + r * L.rowHeight, 8, top + r * L.rowHeight);
    for (int c = 1; c <= nc - 1; c++) {
        double x = c * L.columnWidth - L.dividerShift;
        DrawLine(x, top, x, bottom);
    }
    for (int r = 0; r < nr; r++)
        for (int c = 1; c <= nc; c++) {
            int board = nc * (4 * side + r) + c;
            // A board the game lacks leaves its place blank.
            if (!BoardInGame(board)) continue;
            DrawCell(board, (c - 1) * L.columnWidth, top + r * L.rowHeight);
        }
}

void DrawPageCredits(int side) {
    const HandoutLayout& L = CurrentHandoutLayout();
    std::string text = CreditsText(L.boards);
    std::string trimmed = Trim(text);
    UseFont(ArialFace, L.creditsPoints);
    DrawTextAt(3.95 - TextWidth(trimmed) / 2, L.GridBottom(side) + 0.08, text);
}
