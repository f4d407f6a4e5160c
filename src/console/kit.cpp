#include "console/kit.h"

#include <algorithm>

#include "model/model.h"
#include "model/text.h"
#include "platform/platform.h"

const std::string PrintableCharacters = [] {
    std::string s;
    for (int c = 32; c <= 126; c++) s += (char)c;
    return s;
}();
const std::string NameCharacters = [] {
    // Printable ASCII and the accented letters of code page 437: each has
    // an ISO 8859-1 form for the PBN file and a glyph on every printout.
    std::string s = PrintableCharacters;
    for (int c = 128; c <= 154; c++) s += (char)c;
    for (int c = 160; c <= 165; c++) s += (char)c;
    s += (char)225;   // sharp s
    return s;
}();
const std::string LetterCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";
const std::string ControlCharacters = "0123456789 Xx";

// ---- Console operations -------------------------------------------------

void ConsoleLocate(int row, int column) { P.console->Locate(row, column); }
void ConsoleColor(int fg, int bg) { P.console->Color(fg, bg); }
void ConsoleCursor(int state) { P.console->Cursor(state); }
void ConsoleClear() { P.console->Clear(); }
void ConsoleWrite(const std::string& text) {
    // Inside the frame (rows 5 to 23, columns 4 to 77) every line ends at
    // the frame: a long path or name is cut, never drawn over the frame to
    // stay behind on later screens.
    const int row = P.console->Row(), column = P.console->Column();
    if (row >= 5 && row <= WorkAreaBottom && column >= WorkAreaLeft &&
        column + (int)text.size() > WorkAreaLeft + WorkAreaWidth && column < WorkAreaLeft + WorkAreaWidth) {
        P.console->Write(FitToFrame(text, column));
        return;
    }
    P.console->Write(text);
}

void ConsoleWriteNumber(long value) {
    std::string text = std::to_string(value);
    if (value >= 0) text = " " + text;
    P.console->Write(text);
}

void WriteAt(int row, int column, const std::string& text, int fg, int bg) {
    ConsoleLocate(row, column);
    ConsoleColor(fg, bg);
    ConsoleWrite(text);
}

void BlankRow(int row) { WriteAt(row, WorkAreaLeft, std::string(WorkAreaWidth, ' '), YELLOW, BLUE); }

void BlankRows(int first, int last) {
    for (int row = first; row <= last; row++) BlankRow(row);
}

int ConsoleRow() { return P.console->Row(); }
int ConsoleColumn() { return P.console->Column(); }
int ConsoleCharAt(int row, int column) { return P.console->CharAt(row, column); }

std::string ReadKey() {
    P.console->Refresh();
    return P.console->ReadKey();
}

std::string PollKey() {
    P.console->Refresh();
    return P.console->PollKey();
}

void FlushKeys() { P.console->FlushKeys(); }

void Pause(int milliseconds) {
    P.console->Refresh();
    P.clock->Pause(milliseconds);
}

std::string UpperKey(const std::string& key) {
    std::string up = key;
    if (up.size() == 1) up = AsciiUpper(up);
    return up;
}

std::string ReadChoiceKey() {
    G.KeyText = UpperKey(ReadKey());
    if (G.KeyText == KeyEsc) G.AbandonFlag = 1;
    return G.KeyText;
}

void PlayNamedSound(const std::string& name) {
    if (P.sound) P.sound->Play(name);
}

// ---- Header screen ------------------------------------------------------

static std::string Repeat(unsigned char ch, int count) { return std::string(count, (char)ch); }

std::string SuitLine() {
    return G.SuitSymbol[0] + " " + G.SuitSymbol[1] + " " + G.SuitSymbol[2] + " " + G.SuitSymbol[3];
}

void DrawScreenFrame(int dividerRow) {
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(GREY, BLUE);
    ConsoleClear();
    const std::string side = "  " + Repeat(DBL_VERT, 1) + std::string(74, ' ') + Repeat(DBL_VERT, 1);
    auto line = [](int row, const std::string& text) {
        ConsoleLocate(row, 1);
        ConsoleWrite(text);
    };
    line(2, "  " + Repeat(DBL_TOPLEFT, 1) + Repeat(DBL_HORIZ, 74) + Repeat(DBL_TOPRIGHT, 1));
    line(3, side);
    line(4, "  " + Repeat(DBL_TEE_LEFT, 1) + Repeat(DBL_HORIZ, 74) + Repeat(DBL_TEE_RIGHT, 1));
    for (int row = 5; row <= 23; row++) {
        if (row == dividerRow)
            line(row, "  " + Repeat(DBL_SGL_TEE_LEFT, 1) + Repeat(SGL_HORIZ, 74) +
                          Repeat(DBL_SGL_TEE_RIGHT, 1));
        else
            line(row, side);
    }
    // The last row is written without a line feed, so nothing scrolls.
    line(24, "  " + Repeat(DBL_BOTLEFT, 1) + Repeat(DBL_HORIZ, 74) + Repeat(DBL_BOTRIGHT, 1));
}

void ShowHeader() {
    DrawScreenFrame(12);

    ConsoleColor(LIGHTRED, KEEP_BACKGROUND);
    ConsoleLocate(3, 10);
    ConsoleWrite(SuitLine());
    ConsoleColor(LIGHTCYAN, KEEP_BACKGROUND);
    ConsoleLocate(3, 31);
    ConsoleWrite("HAND-RECORD GENERATOR");
    ConsoleColor(LIGHTRED, KEEP_BACKGROUND);
    ConsoleLocate(3, 62);
    ConsoleWrite(SuitLine());
    ConsoleColor(LIGHTCYAN, KEEP_BACKGROUND);
    static const char* labels[5] = {"CLUB NAME", "GAME DATE", "SESSION", "EVENT NAME",
                                    "TOTAL BOARDS"};
    for (int i = 0; i < 5; i++) {
        ConsoleLocate(6 + i, 10);
        ConsoleWrite(labels[i]);
    }
}

void ShowGameFields() {
    for (int row = 6; row <= 9; row++) {
        ConsoleLocate(row, 26);
        ConsoleWrite(G.Blank50);
    }
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleLocate(6, FieldColumn);
    ConsoleWrite(G.ClubName);
    ConsoleLocate(7, FieldColumn);
    ConsoleWrite(G.DateText + ",");
    ConsoleWriteNumber(G.FullYear);
    ConsoleLocate(8, FieldColumn);
    if (G.SessionNumber >= 0 && G.SessionNumber <= 4) ConsoleWrite(G.SessionName[G.SessionNumber]);
    ConsoleLocate(9, FieldColumn);
    ConsoleWrite(G.EventName);
    ConsoleLocate(10, FieldColumn);
    // The boards the game has: an imported game may lack some.
    int boards = 0;
    for (int board = 1; board <= MaxBoards; board++) boards += BoardInGame(board);
    ConsoleWrite(std::to_string(boards));
}

void ClearWorkArea() {
    ConsoleCursor(CURSOR_HIDE);
    // Blank in the work area's own colours, even after a warning left the
    // colours at white on magenta.
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleCursor(CURSOR_SHOW);
}

// ---- Input routines -----------------------------------------------------

void ReadLine(const std::string& allowed, int maximum) {
    G.AbandonFlag = 0;
    G.InputText.clear();
    int start = ConsoleColumn();
    FlushKeys();
    for (;;) {
        std::string key = ReadKey();
        // A default shown at the input position disappears at the first key.
        if (ConsoleColumn() == start && ConsoleCharAt(ConsoleRow(), start) != ' ') {
            ConsoleWrite(std::string(maximum, ' '));
            ConsoleLocate(0, start);
        }
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        if (key == KeyEnter) return;
        if (key == KeyBackspace) {
            if (ConsoleColumn() == start || G.InputText.empty()) {
                PlayNamedSound("beep2");
            } else {
                ConsoleLocate(0, ConsoleColumn() - 1);
                ConsoleWrite(" ");
                ConsoleLocate(0, ConsoleColumn() - 1);
                G.InputText.pop_back();
            }
            continue;
        }
        if (key.size() != 1 || allowed.find(key[0]) == std::string::npos) {
            PlayNamedSound("beep2");
            continue;
        }
        if ((int)G.InputText.size() >= maximum) {
            PlayNamedSound("beep2");
            continue;
        }
        ConsoleWrite(key);
        G.InputText += key;
    }
}

void inputinteger(int lowest, int highest) {
    int width = (int)std::to_string(highest).size();
    G.AbandonFlag = 0;
    G.InputNumber = 0;
    int start = ConsoleColumn();
    FlushKeys();
    std::string typed;
    unsigned char shown = (unsigned char)ConsoleCharAt(ConsoleRow(), start);
    if (shown != ' ') typed = std::string(1, (char)shown);
    for (;;) {
        std::string key = ReadKey();
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        if (key == KeyEnter) {
            long value = 0;
            for (char ch : typed)
                if (std::isdigit((unsigned char)ch)) value = value * 10 + (ch - '0');
            if (value >= lowest && value <= highest) {
                G.InputNumber = (int)value;
                return;
            }
            ConsoleLocate(0, start);
            ConsoleWrite(std::string(width, ' '));
            ConsoleLocate(0, start);
            typed.clear();
            PlayNamedSound("beep2");
            continue;
        }
        if (key == KeyBackspace) {
            if (ConsoleColumn() == start) {
                PlayNamedSound("beep2");
            } else {
                ConsoleLocate(0, ConsoleColumn() - 1);
                ConsoleWrite(" ");
                ConsoleLocate(0, ConsoleColumn() - 1);
                if (!typed.empty()) typed.pop_back();
            }
            continue;
        }
        if (key.empty() || !std::isdigit((unsigned char)key[0]) || key.size() != 1) {
            PlayNamedSound("beep2");
            continue;
        }
        // Typing at the start column replaces the shown default, so a full
        // one-digit default can still be typed over.
        if (ConsoleColumn() == start) typed.clear();
        if ((int)typed.size() >= width) {
            PlayNamedSound("beep2");
            continue;
        }
        ConsoleWrite(key);
        typed += key;
    }
}

void AskYesNo(int defaultAnswer) {
    G.AbandonFlag = 0;
    G.YesNoAnswer = 0;
    ConsoleCursor(CURSOR_SHOW);
    FlushKeys();
    for (;;) {
        std::string key = ReadChoiceKey();
        if (key == KeyEsc) return;
        if (key == "Y") {
            G.YesNoAnswer = 1;
            return;
        }
        if (key == "N") {
            G.YesNoAnswer = 0;
            return;
        }
        if (key == KeyEnter) {
            G.YesNoAnswer = defaultAnswer;
            return;
        }
        PlayNamedSound("beep2");
    }
}

void DrawBox(int row, int column, int width, int height, int fg, int bg) {
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(fg, bg);
    ConsoleLocate(row, column);
    ConsoleWrite(Repeat(SGL_TOPLEFT, 1) + Repeat(SGL_HORIZ, width - 2) + Repeat(SGL_TOPRIGHT, 1));
    for (int r = 1; r <= height - 2; r++) {
        ConsoleLocate(row + r, column);
        ConsoleWrite(Repeat(SGL_VERT, 1) + std::string(width - 2, ' ') + Repeat(SGL_VERT, 1));
    }
    ConsoleLocate(row + height - 1, column);
    ConsoleWrite(Repeat(SGL_BOTLEFT, 1) + Repeat(SGL_HORIZ, width - 2) + Repeat(SGL_BOTRIGHT, 1));
}

std::string FitToFrame(const std::string& text, int column) {
    const int room = WorkAreaLeft + WorkAreaWidth - column;
    if ((int)text.size() <= room) return text;
    return room > 3 ? text.substr(0, room - 3) + "..." : text.substr(0, std::max(room, 0));
}

std::string FitWarning(const std::string& text) {
    const size_t width = 72;   // row 22's 74 columns less a blank at each end
    if (text.size() <= width) return text;
    // The kept file is named first; what is cut is the end of the reason,
    // at a word where there is one.
    size_t cut = text.rfind(' ', width - 3);
    if (cut == std::string::npos || cut == 0) cut = width - 3;
    return text.substr(0, cut) + "...";
}

void ShowWarning(const std::string& text) {
    ConsoleCursor(CURSOR_HIDE);
    BlankRow(MessageRow);
    std::string shown = " " + text + " ";
    if (shown.size() > 74) shown = shown.substr(0, 74);
    ConsoleLocate(MessageRow, WorkAreaLeft + (74 - (int)shown.size()) / 2);
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ConsoleWrite(shown);
    PlayNamedSound("beep2");
    FlushKeys();
    ReadKey();
    BlankRow(MessageRow);
}
