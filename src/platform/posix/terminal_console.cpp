// The real console: the shadow screen shown on a terminal through ncursesw.
// Cells hold code page 437 codes; the terminal gets their Unicode glyphs.
#include <curses.h>
#include <pthread.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <string>

#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/posix/signals.h"

namespace {

// Console colour numbers (0 black, 1 blue .. 6 brown, 7 white, +8 bright)
// to curses colour numbers, whose order differs (1 red, 4 blue).
constexpr short CursesColour[8] = {COLOR_BLACK, COLOR_BLUE, COLOR_GREEN, COLOR_CYAN,
                                   COLOR_RED, COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

bool TermStartsWith(const char* term, const char* prefix) {
    return term && std::strncmp(term, prefix, std::strlen(prefix)) == 0;
}

// Terminals that take the xterm title sequence.
bool TitleCapable() {
    const char* term = std::getenv("TERM");
    for (const char* p : {"xterm", "tmux", "screen", "rxvt", "alacritty", "foot", "kitty", "vte",
                          "gnome", "konsole", "wezterm", "st-"})
        if (TermStartsWith(term, p)) return true;
    return false;
}

// Terminals that act on the xterm window-size request.
bool ResizeCapable() { return TermStartsWith(std::getenv("TERM"), "xterm"); }

// Straight to the terminal (also from a signal handler, so no stdio).
void WriteRaw(const char* text, size_t left) {
    while (left > 0) {
        ssize_t n = write(STDOUT_FILENO, text, left);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;
        }
        text += n;
        left -= (size_t)n;
    }
}

void WriteRaw(const char* text) { WriteRaw(text, std::strlen(text)); }

// What a signal handler sends to give the terminal back, worked out
// beforehand: curses itself may not be called from a handler. Changed only
// while the ending signals are blocked.
char resetBytes[1024];
volatile std::sig_atomic_t resetLength = 0;
termios shellModes;
volatile std::sig_atomic_t shellModesSaved = 0;

const int CrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void PublishResetBytes(const std::string& bytes) {
    EndSignalsBlocked blocked;
    const size_t n = std::min(bytes.size(), sizeof resetBytes);
    std::memcpy(resetBytes, bytes.data(), n);
    resetLength = (std::sig_atomic_t)n;
}

// A terminfo string without its padding marks ("$<5>"), which only slow
// serial terminals needed; empty when the terminal has none.
std::string TermString(const char* capability) {
    const char* value = tigetstr(capability);
    if (!value || value == (const char*)-1) return "";
    std::string out;
    for (const char* p = value; *p; p++) {
        if (p[0] == '$' && p[1] == '<') {
            const char* close = std::strchr(p, '>');
            if (close) {
                p = close;
                continue;
            }
        }
        out += *p;
    }
    return out;
}

class TerminalConsole;
TerminalConsole* active = nullptr;

void RestoreOnExit();
void RestoreOnSignal(int sig);

class TerminalConsole : public Console {
public:
    bool Start() {
        if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
            std::fprintf(stderr, "kelmo: needs a terminal to run in\n");
            return false;
        }
        if (tcgetattr(STDIN_FILENO, &shellModes) == 0) shellModesSaved = 1;
        screen_ = newterm(nullptr, stdout, stdin);
        if (!screen_) {
            const char* term = std::getenv("TERM");
            std::fprintf(stderr, "kelmo: cannot use the terminal type \"%s\"\n", term ? term : "");
            return false;
        }
        set_term(screen_);
        char* cup = tigetstr("cup");
        if (!cup || cup == (char*)-1) {
            endwin();
            delscreen(screen_);
            screen_ = nullptr;
            const char* term = std::getenv("TERM");
            std::fprintf(stderr, "kelmo: the terminal type \"%s\" cannot place the cursor\n", term ? term : "");
            return false;
        }
        cbreak();   // Ctrl+C still raises SIGINT
        noecho();
        nonl();
        keypad(stdscr, TRUE);
        meta(stdscr, TRUE);
        set_escdelay(25);
        leaveok(stdscr, FALSE);
        scrollok(stdscr, FALSE);
        SetUpColours();
        unicode_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;

        // What endwin sends, in its order: plain attributes, a visible
        // cursor, the keypad back in its normal mode, the normal screen.
        terminalReset_ = TermString("sgr0") + TermString("cnorm") + TermString("rmkx") + TermString("rmcup");
        PublishReset();

        active = this;
        static bool registered = false;
        if (!registered) {
            std::atexit(RestoreOnExit);
            registered = true;
        }
        InstallEndHandlers();
        state_ = Running;
        return true;
    }

    ~TerminalConsole() override {
        Restore();
        if (screen_) delscreen(screen_);
        if (active == this) active = nullptr;
    }

    // Gives the terminal back to the shell; safe to call more than once.
    // (Signal handlers send the bytes worked out beforehand instead.)
    void Restore() {
        if (state_ == Off) return;
        if (state_ == Running) {
            curs_set(1);
            endwin();
        }
        state_ = Off;
        PublishResetBytes("");
        WriteRaw(AfterEnd().c_str());
    }

    void Refresh() override {
        if (state_ != Running) return;
        WaitForSize();
        Draw();
    }

    std::string ReadKey() override {
        Refresh();
        for (;;) {
            std::string key;
            if (NextKey(true, key)) return key;
        }
    }

    std::string PollKey() override {
        if (state_ != Running) return "";
        std::string key;
        nodelay(stdscr, TRUE);
        while (!NextKey(false, key)) {
            if (noInput_) break;
        }
        nodelay(stdscr, FALSE);
        return key;
    }

    void FlushKeys() override {
        if (state_ == Running) flushinp();
    }

    void SetTitle(const std::string& title) override {
        if (state_ != Running || !TitleCapable()) return;
        std::string clean;
        for (unsigned char ch : title)
            if (ch >= 32 && ch < 127) clean += (char)ch;
        if (!titlePushed_) {
            WriteRaw("\033[22;0t");   // keep the old title to put back at the end
            titlePushed_ = true;
            PublishReset();
        }
        WriteRaw(("\033]0;" + clean + "\007").c_str());
    }

    void SetSize(int columns, int rows) override {
        if (state_ != Running) return;
        int nowRows = 0, nowColumns = 0;
        if (!TerminalSize(nowRows, nowColumns)) return;
        if (ResizeCapable() && (nowRows != rows || nowColumns != columns)) {
            if (!resized_) {
                originalRows_ = nowRows;
                originalColumns_ = nowColumns;
                resized_ = true;
                PublishReset();
            }
            char request[40];
            std::snprintf(request, sizeof request, "\033[8;%d;%dt", rows, columns);
            WriteRaw(request);
            // Give the terminal a moment to answer, so the enlarge message
            // does not flash up for a request that is about to succeed.
            for (int i = 0; i < 30 && (nowRows < rows || nowColumns < columns); i++) {
                napms(10);
                TerminalSize(nowRows, nowColumns);
            }
            if (nowRows != LINES || nowColumns != COLS) resizeterm(nowRows, nowColumns);
        }
    }

    void Suspend() override {
        if (state_ != Running) return;
        def_prog_mode();
        endwin();
        state_ = Suspended;
    }

    void Resume() override {
        if (state_ != Suspended) return;
        reset_prog_mode();
        state_ = Running;
        int rows = 0, columns = 0;
        if (TerminalSize(rows, columns) && (rows != LINES || columns != COLS)) resizeterm(rows, columns);
        Repaint();
        Refresh();
    }

private:
    enum State { Off, Running, Suspended };
    SCREEN* screen_ = nullptr;
    volatile State state_ = Off;
    bool unicode_ = true;
    enum { Mono, Eight, Sixteen } colours_ = Mono;
    Cell drawn_[ScreenRows][ScreenColumns];
    bool drawnValid_ = false;
    int drawnCursor_ = -1;
    bool titlePushed_ = false, resized_ = false;
    int originalRows_ = 0, originalColumns_ = 0;
    std::string terminalReset_;

    // The old title and window size, put back after curses has ended.
    std::string AfterEnd() const {
        std::string bytes;
        if (titlePushed_) bytes += "\033[23;0t";
        if (resized_) {
            char request[40];
            std::snprintf(request, sizeof request, "\033[8;%d;%dt", originalRows_, originalColumns_);
            bytes += request;
        }
        return bytes;
    }

    void PublishReset() { PublishResetBytes(terminalReset_ + AfterEnd()); }
    bool noInput_ = false;

    static bool TerminalSize(int& rows, int& columns) {
        winsize ws{};
        if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) != 0 || ws.ws_row == 0 || ws.ws_col == 0) return false;
        rows = ws.ws_row;
        columns = ws.ws_col;
        return true;
    }

    void SetUpColours() {
        if (!has_colors() || start_color() == ERR) return;
        if (COLORS >= 16 && COLOR_PAIRS >= 256) colours_ = Sixteen;
        else if (COLORS >= 8 && COLOR_PAIRS >= 64) colours_ = Eight;
        else return;
        // Pair 0 cannot be redefined: make it white on black, the colours
        // PairFor gives it.
        assume_default_colors(COLOR_WHITE, COLOR_BLACK);
        const int n = colours_ == Sixteen ? 16 : 8;
        for (int bg = 0; bg < n; bg++)
            for (int fg = 0; fg < n; fg++) {
                short pair = PairFor(fg, bg);
                if (pair != 0)
                    init_pair(pair, (short)(CursesColour[fg & 7] + (fg & 8)), (short)(CursesColour[bg & 7] + (bg & 8)));
            }
    }

    // Every colour pair its own number, white on black (7, 0) being 0.
    short PairFor(int fg, int bg) const {
        const int n = colours_ == Sixteen ? 16 : 8;
        return (short)((fg + n * bg + n * n - 7) % (n * n));
    }

    // Pair numbers above 255 do not fit COLOR_PAIR(): they go to setcchar
    // as numbers. Eight colours: bright foregrounds by A_BOLD, backgrounds
    // lose their brightness.
    void Style(const Cell& cell, attr_t& attr, short& pair) const {
        attr = A_NORMAL;
        pair = 0;
        switch (colours_) {
        case Sixteen:
            pair = PairFor(cell.fg & 15, cell.bg & 15);
            break;
        case Eight:
            pair = PairFor(cell.fg & 7, cell.bg & 7);
            if (cell.fg & 8) attr |= A_BOLD;
            break;
        case Mono:
            if (cell.bg != 0) attr |= A_REVERSE;
            if (cell.fg & 8) attr |= A_BOLD;
            break;
        }
    }

    void Draw() {
        for (int r = 0; r < ScreenRows && r < LINES; r++) {
            for (int c = 0; c < ScreenColumns && c < COLS; c++) {
                const Cell& cell = cells_[r][c];
                if (drawnValid_ && drawn_[r][c] == cell) continue;
                wchar_t glyph[2] = {Cp437Glyph(cell.ch, unicode_), 0};
                attr_t attr;
                short pair;
                Style(cell, attr, pair);
                cchar_t cc;
                setcchar(&cc, glyph, attr, pair, nullptr);
                // The bottom-right cell of the terminal takes an insert, as
                // writing there would try to move the cursor past the end.
                if (r == LINES - 1 && c == COLS - 1)
                    mvwins_wch(stdscr, r, c, &cc);
                else
                    mvwadd_wch(stdscr, r, c, &cc);
                drawn_[r][c] = cell;
            }
        }
        drawnValid_ = true;
        int cursor = !cursorVisible_ ? 0 : cursorSize_ >= 50 ? 2 : 1;
        if (cursor != drawnCursor_) {
            // Some terminals' "very visible" sequence (cvvis) does not show
            // a hidden cursor: from hidden, the normal one comes first.
            if (cursor == 2 && drawnCursor_ != 1) curs_set(1);
            if (curs_set(cursor) == ERR && cursor == 2) curs_set(1);
            drawnCursor_ = cursor;
        }
        wmove(stdscr, row_ - 1, column_ - 1);
        wrefresh(stdscr);
    }

    // Forget what the terminal shows, so the next Draw paints every cell.
    void Repaint() {
        drawnValid_ = false;
        drawnCursor_ = -1;
        clearok(curscr, TRUE);
        werase(stdscr);
    }

    bool TooSmall() const { return LINES < ScreenRows || COLS < ScreenColumns; }

    // While the terminal is smaller than the screen, say so and wait; keys
    // typed meanwhile are dropped. Then paint everything afresh.
    void WaitForSize() {
        if (!TooSmall()) return;
        while (TooSmall()) {
            werase(stdscr);
            wattr_set(stdscr, A_NORMAL, 0, nullptr);
            int row = 0;
            for (const std::string& line : EnlargeMessage(COLS, LINES, false))
                mvwaddnstr(stdscr, row++, 0, line.c_str(), (int)line.size());
            curs_set(0);
            drawnCursor_ = -1;
            wrefresh(stdscr);
            wint_t ch;
            int got = wget_wch(stdscr, &ch);
            if (got == KEY_CODE_YES && ch == KEY_RESIZE) continue;
            if (got == ERR) napms(50);
        }
        Repaint();
    }

    // One key into `key`: true when there is one. False for something that
    // is not a key (a resize, an unknown code); noInput_ tells when nothing
    // waited at all (polling).
    bool NextKey(bool wait, std::string& key) {
        noInput_ = false;
        wint_t ch = 0;
        int got = wget_wch(stdscr, &ch);
        if (got == ERR) {
            noInput_ = !wait;
            return false;
        }
        if (got == KEY_CODE_YES) {
            if (ch == KEY_RESIZE) {
                Repaint();
                WaitForSize();
                Draw();
                if (!wait) nodelay(stdscr, TRUE);
                return false;
            }
            key = SpecialKey((int)ch);
            return !key.empty();
        }
        if (ch == '\r' || ch == '\n') key = KeyEnter;
        else if (ch == 127 || ch == 8) key = KeyBackspace;
        else if (ch < 128) key = std::string(1, (char)ch);
        else {
            int code = Cp437FromUnicode((wchar_t)ch);
            if (code < 0) return false;
            key = std::string(1, (char)code);
        }
        return true;
    }

    // Keys without a character of their own.
    static std::string SpecialKey(int code) {
        switch (code) {
        case KEY_UP: return KeyUp;
        case KEY_DOWN: return KeyDown;
        case KEY_LEFT: return KeyLeft;
        case KEY_RIGHT: return KeyRight;
        case KEY_HOME: case KEY_A1: return KeyHome;
        case KEY_END: case KEY_C1: return KeyEnd;
        case KEY_PPAGE: case KEY_A3: return KeyPageUp;
        case KEY_NPAGE: case KEY_C3: return KeyPageDown;
        case KEY_IC: return KeyInsert;
        case KEY_DC: return KeyDelete;
        case KEY_B2: return KeyCentre;
        case KEY_BTAB: return KeyBackTab;
        case KEY_ENTER: return KeyEnter;
        case KEY_BACKSPACE: return KeyBackspace;
        default: break;
        }
        if (code >= KEY_F(1) && code <= KEY_F(12)) return FunctionKey(code - KEY_F(1) + 1);
        return "";
    }
};

void RestoreOnExit() {
    if (active) active->Restore();
}

// Only async-signal-safe calls: the bytes worked out at start, the
// terminal modes of the shell, the half-written temporary removed.
void RestoreOnSignal(int sig) {
    if (resetLength > 0) WriteRaw(resetBytes, (size_t)resetLength);
    if (shellModesSaved) tcsetattr(STDIN_FILENO, TCSANOW, &shellModes);
    RemovePendingTemporary();
    // Ctrl+C and the like end the program with the usual 128 + signal;
    // a crash goes on as the crash it is.
    if (IsEndSignal(sig)) _exit(128 + sig);
    signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);
}

}  // namespace

void InstallEndHandlers() {
    struct sigaction sa {};
    sa.sa_handler = RestoreOnSignal;
    // A second Ctrl+C must not cut the first one's clean-up short.
    sa.sa_mask = EndSignalSet();
    // A crash, too, must not leave the terminal unusable.
    for (int sig : EndSignals) sigaction(sig, &sa, nullptr);
    for (int sig : CrashSignals) sigaction(sig, &sa, nullptr);
}

Console* MakeTerminalConsole() {
    std::setlocale(LC_ALL, "");
    // Box and suit characters need a UTF-8 character type.
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
    auto* console = new TerminalConsole;
    if (!console->Start()) {
        delete console;
        return nullptr;
    }
    return console;
}
