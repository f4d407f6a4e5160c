// The real console on Windows: the shadow screen shown in the console
// window through the console API. Cells hold code page 437 codes; the
// console gets their Unicode characters, so its own code page never matters.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/win32/win32.h"

namespace {

std::atomic<bool> childRunning{false};

class WindowsConsole;
WindowsConsole* active = nullptr;

class WindowsConsole : public Console {
public:
    bool Start() {
        out_ = GetStdHandle(STD_OUTPUT_HANDLE);
        in_ = GetStdHandle(STD_INPUT_HANDLE);
        if (!GetConsoleMode(out_, &outMode_) || !GetConsoleMode(in_, &inMode_)) {
            std::fprintf(stderr, "kelmo: needs a console window to run in\n");
            return false;
        }
        // Keys one by one, no echo; Ctrl+C still comes as a console event,
        // and a resized window as an input event.
        SetConsoleMode(in_, InputMode);
        oldOutputCp_ = GetConsoleOutputCP();
        oldInputCp_ = GetConsoleCP();
        SetConsoleOutputCP(437);
        SetConsoleCP(437);
        GetConsoleCursorInfo(out_, &oldCursor_);
        char title[512];
        if (GetConsoleTitleA(title, sizeof title) > 0) oldTitle_ = title;
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (GetConsoleScreenBufferInfo(out_, &info)) oldAttributes_ = info.wAttributes;
        active = this;
        running_ = true;
        InstallEndHandlers();
        return true;
    }

    ~WindowsConsole() override {
        Restore();
        if (active == this) active = nullptr;
    }

    // Gives the console back as it was; safe to call more than once and
    // from the console-event thread.
    void Restore() {
        if (!running_.exchange(false)) return;
        SetConsoleTextAttribute(out_, oldAttributes_);
        SetConsoleCursorInfo(out_, &oldCursor_);
        SetConsoleMode(in_, inMode_);
        SetConsoleOutputCP(oldOutputCp_);
        SetConsoleCP(oldInputCp_);
        if (titleSet_) SetConsoleTitleA(oldTitle_.c_str());
        // Below the program's screen, so the shell's prompt does not land
        // on it.
        COORD below{0, (SHORT)(origin_.Y + ScreenRows - 1)};
        SetConsoleCursorPosition(out_, below);
        DWORD wrote;
        WriteConsoleA(out_, "\r\n", 2, &wrote, nullptr);
    }

    void Refresh() override {
        if (!running_) return;
        Draw();
    }

    std::string ReadKey() override {
        Refresh();
        for (;;) {
            INPUT_RECORD record;
            DWORD got = 0;
            if (!ReadConsoleInputW(in_, &record, 1, &got)) EndProgram(1);   // no console any more
            if (got == 1 && record.EventType == WINDOW_BUFFER_SIZE_EVENT) {
                Resized();
                continue;
            }
            if (got == 1) {
                std::string key = KeyOf(record);
                if (!key.empty()) return key;
            }
        }
    }

    std::string PollKey() override {
        if (!running_) return "";
        for (;;) {
            DWORD waiting = 0;
            if (!GetNumberOfConsoleInputEvents(in_, &waiting) || waiting == 0) return "";
            INPUT_RECORD record;
            DWORD got = 0;
            if (!ReadConsoleInputW(in_, &record, 1, &got) || got == 0) return "";
            if (record.EventType == WINDOW_BUFFER_SIZE_EVENT) Resized();
            std::string key = KeyOf(record);
            if (!key.empty()) return key;
        }
    }

    void FlushKeys() override {
        if (running_) FlushConsoleInputBuffer(in_);
    }

    void SetTitle(const std::string& title) override {
        if (!running_) return;
        std::wstring wide;
        for (unsigned char ch : title) wide += Cp437Glyph(ch);
        SetConsoleTitleW(wide.c_str());
        titleSet_ = true;
    }

    void SetSize(int columns, int rows) override {
        if (!running_) return;
        // The window first (it must fit the buffer), then the buffer.
        SMALL_RECT window{0, 0, (SHORT)(columns - 1), (SHORT)(rows - 1)};
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (GetConsoleScreenBufferInfo(out_, &info) && (info.dwSize.X < columns || info.dwSize.Y < rows)) {
            COORD size{(SHORT)std::max<int>(info.dwSize.X, columns), (SHORT)std::max<int>(info.dwSize.Y, rows)};
            SetConsoleScreenBufferSize(out_, size);
        }
        // Windows Terminal keeps its window as the user made it.
        if (!SetConsoleWindowInfo(out_, TRUE, &window) || !GetEnvironment("WT_SESSION").empty())
            sizedByUserOnly_ = true;
        SetConsoleScreenBufferSize(out_, COORD{(SHORT)columns, (SHORT)rows});
        drawnValid_ = false;
    }

    void Suspend() override { suspended_ = true; }

    void Resume() override {
        suspended_ = false;
        SetConsoleMode(in_, InputMode);
        drawnValid_ = false;
        Refresh();
    }

private:
    static constexpr DWORD InputMode = ENABLE_PROCESSED_INPUT | ENABLE_EXTENDED_FLAGS | ENABLE_WINDOW_INPUT;
    HANDLE out_ = nullptr, in_ = nullptr;
    bool sizedByUserOnly_ = false;
    DWORD outMode_ = 0, inMode_ = 0;
    UINT oldOutputCp_ = 437, oldInputCp_ = 437;
    CONSOLE_CURSOR_INFO oldCursor_{25, TRUE};
    WORD oldAttributes_ = 7;
    std::string oldTitle_;
    bool titleSet_ = false, suspended_ = false;
    std::atomic<bool> running_{false};
    COORD origin_{0, 0};
    Cell drawn_[ScreenRows][ScreenColumns];
    bool drawnValid_ = false;

    // The part of the window that shows: no more than the console says
    // the window can be (a console on a terminal, as under wine, may take
    // a window size larger than the terminal it is shown on).
    bool Visible(int& columns, int& rows) {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!GetConsoleScreenBufferInfo(out_, &info)) return false;
        columns = std::min(info.srWindow.Right - info.srWindow.Left + 1, (int)info.dwMaximumWindowSize.X);
        rows = std::min(info.srWindow.Bottom - info.srWindow.Top + 1, (int)info.dwMaximumWindowSize.Y);
        return true;
    }

    bool TooSmall(int& columns, int& rows) {
        return Visible(columns, rows) && (columns < ScreenColumns || rows < ScreenRows);
    }

    // A resized window may have moved or lost what was drawn.
    void Resized() {
        drawnValid_ = false;
        Draw();
    }

    // While the window is smaller than the screen, say so and wait; keys
    // typed meanwhile are dropped. Then everything is drawn afresh.
    void WaitForSize() {
        int columns = 0, rows = 0, shownColumns = -1, shownRows = -1;
        if (!TooSmall(columns, rows)) return;
        do {
            if (columns != shownColumns || rows != shownRows) ShowEnlarge(columns, rows);
            shownColumns = columns, shownRows = rows;
            // A resize or a key wakes us; a quarter second looks again anyway.
            if (WaitForSingleObject(in_, 250) == WAIT_OBJECT_0) FlushConsoleInputBuffer(in_);
        } while (TooSmall(columns, rows));
        drawnValid_ = false;
    }

    void ShowEnlarge(int columns, int rows) {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!GetConsoleScreenBufferInfo(out_, &info)) return;
        DWORD done;
        for (int r = 0; r < rows; r++) {
            COORD at{info.srWindow.Left, (SHORT)(info.srWindow.Top + r)};
            FillConsoleOutputCharacterW(out_, L' ', columns, at, &done);
            FillConsoleOutputAttribute(out_, 7, columns, at, &done);
        }
        int r = 0;
        for (const std::string& line : EnlargeMessage(columns, rows, sizedByUserOnly_)) {
            COORD at{info.srWindow.Left, (SHORT)(info.srWindow.Top + r++)};
            WriteConsoleOutputCharacterA(out_, line.c_str(), (DWORD)line.size(), at, &done);
        }
        CONSOLE_CURSOR_INFO hidden{25, FALSE};
        SetConsoleCursorInfo(out_, &hidden);
    }

    void Draw() {
        if (suspended_) return;
        WaitForSize();
        // The screen starts at the top-left corner of the visible window.
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (GetConsoleScreenBufferInfo(out_, &info)) {
            COORD origin{info.srWindow.Left, info.srWindow.Top};
            if (origin.X != origin_.X || origin.Y != origin_.Y) drawnValid_ = false;
            origin_ = origin;
        }
        if (!drawnValid_ || !SameAsDrawn()) {
            CHAR_INFO cells[ScreenRows * ScreenColumns];
            for (int r = 0; r < ScreenRows; r++)
                for (int c = 0; c < ScreenColumns; c++) {
                    const Cell& cell = cells_[r][c];
                    CHAR_INFO& out = cells[r * ScreenColumns + c];
                    out.Char.UnicodeChar = Cp437Glyph(cell.ch);
                    // The console's colour numbers are the program's.
                    out.Attributes = (WORD)((cell.fg & 15) | (cell.bg & 15) << 4);
                    drawn_[r][c] = cell;
                }
            SMALL_RECT area{origin_.X, origin_.Y, (SHORT)(origin_.X + ScreenColumns - 1),
                            (SHORT)(origin_.Y + ScreenRows - 1)};
            WriteConsoleOutputW(out_, cells, COORD{ScreenColumns, ScreenRows}, COORD{0, 0}, &area);
            drawnValid_ = true;
        }
        CONSOLE_CURSOR_INFO cursor{(DWORD)(cursorSize_ < 1 ? 1 : cursorSize_ > 100 ? 100 : cursorSize_),
                                   cursorVisible_ ? TRUE : FALSE};
        SetConsoleCursorInfo(out_, &cursor);
        SetConsoleCursorPosition(out_, COORD{(SHORT)(origin_.X + column_ - 1), (SHORT)(origin_.Y + row_ - 1)});
        SetConsoleTextAttribute(out_, (WORD)(fg_ | bg_ << 4));
    }

    bool SameAsDrawn() const {
        for (int r = 0; r < ScreenRows; r++)
            for (int c = 0; c < ScreenColumns; c++)
                if (!(drawn_[r][c] == cells_[r][c])) return false;
        return true;
    }

    // The program's key for a console event; empty for anything else.
    static std::string KeyOf(const INPUT_RECORD& record) {
        if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) return "";
        const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
        const bool shift = key.dwControlKeyState & SHIFT_PRESSED;
        switch (key.wVirtualKeyCode) {
        case VK_UP: return KeyUp;
        case VK_DOWN: return KeyDown;
        case VK_LEFT: return KeyLeft;
        case VK_RIGHT: return KeyRight;
        case VK_HOME: return KeyHome;
        case VK_END: return KeyEnd;
        case VK_PRIOR: return KeyPageUp;
        case VK_NEXT: return KeyPageDown;
        case VK_INSERT: return KeyInsert;
        case VK_DELETE: return KeyDelete;
        case VK_CLEAR: return KeyCentre;
        case VK_RETURN: return KeyEnter;
        case VK_BACK: return KeyBackspace;
        case VK_ESCAPE: return KeyEsc;
        case VK_TAB: return shift ? KeyBackTab : KeyTab;
        default: break;
        }
        if (key.wVirtualKeyCode >= VK_F1 && key.wVirtualKeyCode <= VK_F12)
            return FunctionKey(key.wVirtualKeyCode - VK_F1 + 1);
        const wchar_t ch = key.uChar.UnicodeChar;
        if (ch == 0) return "";   // Shift, Ctrl and the like alone
        if (ch < 128) return std::string(1, (char)ch);
        const int code = Cp437FromUnicode(ch);
        return code < 0 ? "" : std::string(1, (char)code);
    }

};

void RestoreActive() {
    if (active) active->Restore();
}

// Runs on a thread of its own. Ctrl+C, Ctrl+Break and the window closed
// end the program with no half-written file and the console given back.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if ((event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) && childRunning) return TRUE;
    RemovePendingTemporary();
    RestoreActive();
    ExitProcess(event == CTRL_C_EVENT ? 130 : 129);
    return TRUE;
}

// A crash, too, leaves no temporary and a usable console.
LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    RemovePendingTemporary();
    RestoreActive();
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void ChildRunning(bool running) { childRunning = running; }

void InstallEndHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    SetUnhandledExceptionFilter(OnCrash);
}

Console* MakeTerminalConsole() {
    auto* console = new WindowsConsole;
    if (!console->Start()) {
        delete console;
        return nullptr;
    }
    return console;
}
