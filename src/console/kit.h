// Console operations over the platform console, and the console kit: the
// header screen, the game fields, the work area, the input routines, boxes
// and sounds.
#pragma once

#include <string>

// Console operations (rows and columns from 1).
void ConsoleLocate(int row, int column);      // 0 keeps the current row or column
void ConsoleColor(int fg, int bg = -1);       // bg -1 leaves the background
void ConsoleCursor(int state);                // 0 hide, 1 show, 10..99 size
void ConsoleClear();
void ConsoleWrite(const std::string& text);
void ConsoleWriteNumber(long value);          // one leading blank when not negative
// Text at a position in the given colours.
void WriteAt(int row, int column, const std::string& text, int fg, int bg = -1);
// A work-area row, or rows first..last, blanked in the work area's colours.
void BlankRow(int row);
void BlankRows(int first, int last);
int ConsoleRow();
int ConsoleColumn();
int ConsoleCharAt(int row, int column);
std::string ReadKey();
std::string PollKey();
void FlushKeys();
void Pause(int milliseconds);

// Upper-cases a one-character key text (ASCII letters only).
std::string UpperKey(const std::string& key);
// One key of a choice, upper-cased and kept in KeyText; Esc sets
// AbandonFlag.
std::string ReadChoiceKey();

// Console kit.
// The double frame of the header screen, its single divider on dividerRow.
void DrawScreenFrame(int dividerRow);
// The four suit symbols of the title row.
std::string SuitLine();
void ShowHeader();
void ShowGameFields();
void ClearWorkArea();
void ReadLine(const std::string& allowed, int maximum);
void inputinteger(int lowest, int highest);
void AskYesNo(int defaultAnswer);
void DrawBox(int row, int column, int width, int height, int fg, int bg);
void PlayNamedSound(const std::string& name);

// Allowed character sets of ReadLine.
extern const std::string PrintableCharacters;   // codes 32..126
extern const std::string NameCharacters;        // printable and accented letters
extern const std::string LetterCharacters;      // letters and space
extern const std::string ControlCharacters;     // "0123456789 Xx"

// A one-line warning on row 22 in the warning colours with "beep2", then a
// wait for a key: for failures the program carries on from.
void ShowWarning(const std::string& text);
// A text cut to end at the frame (column 77) when written from `column`,
// ending in "..." where cut.
std::string FitToFrame(const std::string& text, int column);
// A text cut to fit a row-22 warning, ending in "..." when cut (at a word
// where there is one).
std::string FitWarning(const std::string& text);
