// The shadow screen shared by the terminal console and the test console.
#include <cstdio>

#include "platform/platform.h"

Platform P;

std::vector<std::string> EnlargeMessage(int columns, int rows, bool sizedByUserOnly) {
    char now[80];
    std::snprintf(now, sizeof now, "(It is now %d by %d.)", columns, rows);
    std::vector<std::string> lines = {"Please enlarge this window to at least 80 columns by 25 rows.", now};
    if (sizedByUserOnly)
        lines.push_back("Drag its edge, or set the size it opens with in the terminal's settings "
                        "(Windows Terminal: Settings, Startup, Launch size).");
    lines.push_back("");
    lines.push_back("Ctrl+C ends the program.");
    std::vector<std::string> wrapped;
    for (std::string text : lines) {
        do {
            size_t cut = text.size();
            if (columns > 0 && (int)cut > columns) {
                cut = text.rfind(' ', columns);
                if (cut == std::string::npos || cut == 0) cut = columns;
            }
            wrapped.push_back(text.substr(0, cut));
            text = text.substr(cut);
            if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        } while (!text.empty());
    }
    if (rows > 0 && (int)wrapped.size() > rows) wrapped.resize(rows);
    return wrapped;
}

void EndProgram(int code) { throw ProgramExit{code}; }

void Console::Locate(int row, int column) {
    if (row > 0) row_ = row > ScreenRows ? ScreenRows : row;
    if (column > 0) column_ = column > ScreenColumns ? ScreenColumns : column;
}

void Console::Color(int fg, int bg) {
    fg_ = fg & 15;
    if (bg >= 0) bg_ = bg & 15;
}

void Console::Cursor(int state) {
    if (state == 0) {
        cursorVisible_ = false;
    } else if (state == 1) {
        cursorVisible_ = true;
    } else {
        cursorVisible_ = true;
        cursorSize_ = state < 10 ? 10 : state > 99 ? 99 : state;
    }
}

void Console::Clear() {
    for (auto& line : cells_)
        for (auto& cell : line) cell = Cell{' ', (unsigned char)fg_, (unsigned char)bg_};
    row_ = column_ = 1;
}

void Console::ScrollUp() {
    for (int r = 0; r < ScreenRows - 1; r++)
        for (int c = 0; c < ScreenColumns; c++) cells_[r][c] = cells_[r + 1][c];
    for (int c = 0; c < ScreenColumns; c++)
        cells_[ScreenRows - 1][c] = Cell{' ', (unsigned char)fg_, (unsigned char)bg_};
}

void Console::Write(const std::string& text) {
    for (unsigned char ch : text) {
        cells_[row_ - 1][column_ - 1] = Cell{ch, (unsigned char)fg_, (unsigned char)bg_};
        if (++column_ > ScreenColumns) {
            // As on a console: past the last column the cursor goes to the
            // next row, and the screen scrolls on the last row.
            column_ = 1;
            if (row_ == ScreenRows) ScrollUp(); else row_++;
        }
    }
}

unsigned char Console::CharAt(int row, int column) const { return CellAt(row, column).ch; }

const Console::Cell& Console::CellAt(int row, int column) const {
    static const Cell outside;
    if (row < 1 || row > ScreenRows || column < 1 || column > ScreenColumns) return outside;
    return cells_[row - 1][column - 1];
}

std::string Console::RowText(int row) const {
    std::string text;
    for (int c = 1; c <= ScreenColumns; c++) text += (char)CharAt(row, c);
    return text;
}
