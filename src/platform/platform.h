// The narrow interfaces between the program and the machine. Everything
// above platform/ talks to the OS only through these; tests swap in doubles
// (tests/support) by setting the pointers in P.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "model/paper.h"

constexpr int ScreenRows = 25, ScreenColumns = 80;

// Key texts as Console::ReadKey returns them. Keys without a character of
// their own are two characters: a zero byte and the PC scan code. Named
// apart from curses' KEY_ macros. Inline, so that tables of keys built at
// start-up in any file see them set.
inline const std::string KeyEsc("\x1b"), KeyEnter("\r"), KeyBackspace("\b"), KeyTab("\t");
inline const std::string KeyUp("\0H", 2), KeyDown("\0P", 2), KeyLeft("\0K", 2),
    KeyRight("\0M", 2), KeyF1("\0;", 2), KeyHome("\0G", 2), KeyEnd("\0O", 2),
    KeyDelete("\0S", 2), KeyPageUp("\0I", 2), KeyPageDown("\0Q", 2), KeyInsert("\0R", 2),
    KeyCentre("\0L", 2), KeyBackTab("\0\x0f", 2);
// F1..F12.
inline std::string FunctionKey(int n) {
    const unsigned char scan = n <= 10 ? (unsigned char)(0x3A + n) : (unsigned char)(0x85 + n - 11);
    return std::string(1, '\0') + (char)scan;
}

// An 80 x 25 console of code page 437 cells. The screen operations work on a
// shadow buffer that is the truth for CharAt; a real terminal is brought up
// to date from it by Refresh (called before every wait for a key or pause).
class Console {
public:
    struct Cell {
        unsigned char ch = ' ';
        unsigned char fg = 7, bg = 0;
        bool operator==(const Cell&) const = default;
    };

    virtual ~Console() = default;

    // Screen: rows and columns from 1.
    void Locate(int row, int column);   // 0 keeps the current row or column
    void Color(int fg, int bg);         // bg < 0 keeps the background
    void Cursor(int state);             // 0 hide, 1 show, 10..99 size in percent
    void Clear();
    void Write(const std::string& text);
    int Row() const { return row_; }
    int Column() const { return column_; }
    unsigned char CharAt(int row, int column) const;
    const Cell& CellAt(int row, int column) const;
    bool CursorVisible() const { return cursorVisible_; }
    int CursorSize() const { return cursorSize_; }
    int Foreground() const { return fg_; }
    int Background() const { return bg_; }
    // The text of one row (columns 1..80) as code page 437 bytes.
    std::string RowText(int row) const;

    // Keys: one character, or two for keys without a character of their own.
    virtual std::string ReadKey() = 0;
    virtual std::string PollKey() = 0;   // empty text when no key waits
    virtual void FlushKeys() = 0;

    // Terminal housekeeping (no-ops on doubles).
    virtual void Refresh() {}
    virtual void SetTitle(const std::string&) {}
    virtual void SetSize(int /*columns*/, int /*rows*/) {}
    virtual void Suspend() {}   // hand the terminal to another program
    virtual void Resume() {}    // take it back and repaint

protected:
    Cell cells_[ScreenRows][ScreenColumns];
    int row_ = 1, column_ = 1;
    int fg_ = 7, bg_ = 0;
    bool cursorVisible_ = true;
    int cursorSize_ = 25;
    void ScrollUp();
};

// What a console window smaller than the screen shows instead, word-wrapped
// to its width: how big it must be, how big it is, and how to end. Where
// only the user can size the window (Windows Terminal), how to do it.
std::vector<std::string> EnlargeMessage(int columns, int rows, bool sizedByUserOnly);

struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;          // local date and time of day
    virtual double ElapsedSeconds() = 0;  // monotonic, from an arbitrary start
    virtual void Pause(int milliseconds) = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    // Starts the named wave ("beep2", "done2", "notify2") and returns at once.
    virtual void Play(const std::string& name) = 0;
};

// What the start-up check finds of the suit-symbol font.
enum class SuitFontState {
    Usable,
    Missing,    // no such font
    Unusable    // its file is there, but the system will not use it
};

class FontList {
public:
    virtual ~FontList() = default;
    // Family names of every installed font, as the system spells them.
    virtual std::vector<std::string> Families() = 0;
    // Whether the suit-symbol font (the file BRIDGE.TTF, family "Bridge") is
    // installed where this system's printing will find it. Unless a system
    // knows better: the family is among Families().
    virtual bool HasSuitFont();
    // Whether printing with this face name gives a font the system declares
    // a stand-in for it (a metric-compatible one, such as Liberation Sans
    // for Arial), beside the families themselves. None, unless a system
    // knows of such stand-ins.
    virtual bool TakesFace(const std::string&) { return false; }
    // The same, for the start-up check, which also names the fault.
    virtual SuitFontState CheckSuitFont() {
        return HasSuitFont() ? SuitFontState::Usable : SuitFontState::Missing;
    }
};

// How to install the suit font on this system, for the SETUP ERROR screen:
// two lines of at most 49 characters, each in pieces that alternate plain
// and highlighted text (plain first).
std::vector<std::vector<std::string>> SuitFontAdvice();

// Whether a family "Bridge" (any letter case) is among the names.
bool FamiliesHoldSuitFont(const std::vector<std::string>& families);

class Process {
public:
    virtual ~Process() = default;
    // Starts a program and waits for it; returns its exit code or -1.
    virtual int Run(const std::vector<std::string>& argv) = 0;
};

// What became of opening a document in the web browser.
struct OpenResult {
    enum Outcome {
        Opened,
        Missing,      // no such file
        NotStarted,   // the opener could not be started
        Failed        // the opener ended with a code other than 0
    } outcome = Opened;
    std::string opener;   // the program that was to open it
    int code = 0;         // Failed: its exit code
};

// Font description as recorded by MakeFont.
struct FontDesc {
    std::string face;
    double points = 0;
    int style = 0;   // 1 = bold
};

// Page units onto a printable area of device pixels: 0..8 across and
// 0..10.5 down until a job's SetScale names other corners.
struct PageScale {
    double x1 = 0, y1 = 0, unitsX = 8, unitsY = 10.5;
    // An empty area is refused and the scale kept.
    void Set(float left, float top, float right, float bottom) {
        if (right == left || bottom == top) return;
        x1 = left, y1 = top, unitsX = right - left, unitsY = bottom - top;
    }
    // One scale for both axes, the largest at which the units fit the area,
    // with the units centred in it: nothing is stretched or cut on a paper
    // of other proportions. An area of the units' own proportions (Letter)
    // is filled exactly.
    double PixelsPerUnit(double areaWidth, double areaHeight) const {
        return std::min(areaWidth / unitsX, areaHeight / unitsY);
    }
    double DevX(double x, double areaWidth, double areaHeight) const {
        const double ppu = PixelsPerUnit(areaWidth, areaHeight);
        return (areaWidth - unitsX * ppu) / 2 + (x - x1) * ppu;
    }
    double DevY(double y, double areaWidth, double areaHeight) const {
        const double ppu = PixelsPerUnit(areaWidth, areaHeight);
        return (areaHeight - unitsY * ppu) / 2 + (y - y1) * ppu;
    }
};


// What "auto" comes to on this system, and why.
struct PaperChoice {
    Paper paper = Paper::Letter;   // A4 or Letter
    enum Source {
        Printer,   // the default printer's paper
        Locale,    // no printer that says: the locale's paper
        Neither    // neither says: Letter
    } source = Neither;
};

// What became of a print job, in terms any printer back end can give.
struct JobResult {
    enum Outcome {
        Printed,    // handed to the printer
        KeptOnly,   // no printer: the file is the printout, nothing to say
        Failed      // not written, or refused by the printer
    } outcome = KeptOnly;
    // Printed, KeptOnly: the kept file, if any. Failed: a one-line reason
    // for the user that names the kept file or the one not written.
    std::string text;
    std::string printer = "";   // Printed: the printer that took the job
};

// A print job drawn in page units (SetScale maps the printable area).
class PageDevice {
public:
    virtual ~PageDevice() = default;
    // The paper of the jobs opened from now on.
    virtual void SetPaper(Paper) {}
    // What "auto" comes to now. Unless a device knows better: Letter, as
    // neither a printer nor the locale says.
    virtual PaperChoice AutoPaper() { return {}; }
    // Whether jobs reach a printer; false when the kept file is all there
    // is (no paper to load).
    virtual bool HasPrinter() { return true; }
    // Why no job can be printed at all now (no printer and no file to keep
    // it in); "" when a job can go somewhere.
    virtual std::string CannotPrint() { return ""; }
    // tag is the stem of the job's PDF, e.g. "150307A-handrecords".
    virtual void OpenJob(const std::string& tag) = 0;
    virtual void SetScale(float x1, float y1, float x2, float y2) = 0;
    virtual void SetFont(const FontDesc& font) = 0;
    virtual void SetColor(int red, int green, int blue) = 0;
    virtual void SetPenWidth(int pixels) = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void DrawText(const std::string& text) = 0;
    virtual void NewLine() = 0;
    virtual void TextSize(const std::string& text, double& width, double& height) = 0;
    virtual void LineTo(double x, double y) = 0;
    virtual void RoundBox(double x1, double y1, double x2, double y2, int rounding) = 0;
    virtual void EndPage() = 0;
    // Ends the job and hands it on. complete is false for a job cut short
    // before its last page.
    virtual JobResult CloseJob(bool complete) = 0;
};

struct Platform {
    Console* console = nullptr;
    Clock* clock = nullptr;
    Sound* sound = nullptr;
    FontList* fonts = nullptr;
    Process* process = nullptr;
    PageDevice* printer = nullptr;
};

extern Platform P;

// Real implementations (platform/*.cpp).
// Null when there is no terminal it can use (the reason is on stderr).
Console* MakeTerminalConsole();
// Ctrl+C, SIGTERM, SIGHUP and SIGQUIT (and a crash) end the program at once, with the
// terminal given back and a half-written temporary removed. The terminal
// console installs it; tests may install it alone.
void InstallEndHandlers();
Clock* MakeSystemClock();
Sound* MakeSystemSound();
FontList* MakeSystemFontList();
Process* MakeSystemProcess();
// This system's printer: PDF files handed to CUPS on POSIX, GDI on the
// default printer (or a PDF in PRINTS) on Windows.
PageDevice* MakeSystemPrinter();
// Opens a file in the web browser through this system's opener, run by
// P.process and waited for; P.console is handed over meanwhile.
OpenResult OpenDocument(const std::string& path);
// The part every system shares: the file checked, its address appended to
// the opener's command, which P.process runs with P.console handed over.
OpenResult OpenDocumentWith(const std::string& path, const std::vector<std::string>& opener);

// For a leak checker, at the very end: the caches the system's libraries
// keep for the life of the process (fontconfig's configuration, cairo's
// fonts) let go, so that the check sees only what the program itself lost.
// Every printer and font list must be gone first.
void ReleaseSystemLibraries();

// Ends the program: unwinds to main, which restores the terminal and exits
// with the code.
struct ProgramExit {
    int code;
};
[[noreturn]] void EndProgram(int code);
