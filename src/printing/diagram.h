// The handout sheet: layout values, the spacing of a board's hands, and the
// drawing of the header, the grid of board diagrams and the credits line.
#pragma once

#include <string>

struct HandoutLayout {
    int boards;                       // 36 or 24
    int columns, rows[2];             // rows on side 1, side 2
    double columnWidth, rowHeight, gridTop[2];
    int gridPen;
    double dividerShift;
    int labelPoints, numberPoints;    // Times New Roman; the number bold
    double numberRaise, valueX, firstLineY, labelSpacing;
    int handPoints;                   // suit font
    double nsX, ewY, southY, suitSpacing;
    std::string voidMark;
    double ddTop, ddBoxWidth;
    int ddHeaderPoints, ddRowPoints;  // suit font
    double ddHeaderY, ddHeaderShift, ddFirstColumn, ddColumnSpacing, ddRowSpacing, ddFirstRowBase;
    double markShift;
    int parPoints;                    // Arial
    double parY, parX;
    double headerX, headerY;
    int emblemPoints, logoPoints;     // suit font; Times New Roman
    double logoX, logoY[3];
    int clubPoints;
    double clubY;
    int eventPoints;
    double eventY;
    int datePoints;                   // Arial
    double dateY1, dateY2;
    int creditsPoints;                // Arial
    double GridBottom(int side) const { return gridTop[side] + rows[side] * rowHeight; }
};

// The layout for a board count: the 24-board sheet for up to 24 boards,
// the 36-board sheet above that.
const HandoutLayout& LayoutForBoards(int totalBoards);
// The layout of the current game (G.TotalBoards), used by the drawing
// steps below.
const HandoutLayout& CurrentHandoutLayout();

// Spacing of one board's hands.
struct HandFit {
    double cardGap, symbolGap, westOffset, eastMargin;
};
// layoutBoards 36 or 24; longestNS is the longest suit of North and South.
HandFit FitHands(int layoutBoards, int longestEast, int longestWest, int longestNS);

// Credits line of a side (24-board sheets put the date in front).
std::string CreditsText(int layoutBoards);

// Drawing steps of a handout side (a job open, the page scale set).
void DrawHandoutHeader();
void DrawBoardGrid(int side);
// The credits line under the grid of the side.
void DrawPageCredits(int side);
