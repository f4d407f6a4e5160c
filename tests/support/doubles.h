// Test doubles for the platform: a scripted console, a virtual clock, a
// sound recorder, a fake font list and a process recorder; and a fixture
// that gives each test its own working folder and a fresh game model.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/platform.h"

// Thrown when the program waits for a key and the script has none left: a
// test never hangs.
struct ScriptExhausted {};

class ScriptedConsole : public Console {
public:
    // Each character of text is one key press.
    void Type(const std::string& text);
    // One key press of any text (KeyEnter, KeyUp, ...).
    void Press(const std::string& key);
    // A key that arrives while the program works: the next `pollsBefore`
    // PollKey calls see nothing, the one after takes it. ReadKey takes it
    // like any other key.
    void PressDuringWork(const std::string& key, int pollsBefore = 0);
    // A key pressed before the program asks: FlushKeys discards it while it
    // is next in line; ReadKey takes it like any other key.
    void TypeAhead(const std::string& key);

    std::string ReadKey() override;
    std::string PollKey() override;
    void FlushKeys() override;   // other keys are typed after the flush

    size_t KeysLeft() const { return keys_.size(); }
    int ReadKeyCalls() const { return readKeyCalls_; }

    // Text of row `row` from `column`, `length` characters (code page 437).
    std::string Text(int row, int column, int length) const;
    // The whole screen as 25 lines of 80, for failure messages.
    std::string Dump() const;
    int Fg(int row, int column) const { return CellAt(row, column).fg; }
    int Bg(int row, int column) const { return CellAt(row, column).bg; }
    // True when `text` stands at (row, column), in fg/bg when given (>= 0).
    bool Shows(int row, int column, const std::string& text, int fg = -1, int bg = -1) const;

    // Called before each ReadKey; lets a test look at the screen at the
    // moment the program waits.
    std::function<void(ScriptedConsole&)> onReadKey;

    std::string title;

private:
    struct Key {
        std::string text;
        bool duringWork = false;
        int pollsBefore = 0;
        bool ahead = false;
    };
    std::deque<Key> keys_;
    int readKeyCalls_ = 0;
};

class VirtualClock : public Clock {
public:
    LocalTime Now() override;
    double ElapsedSeconds() override { return elapsedMs_ / 1000.0; }
    void Pause(int milliseconds) override;
    void Set(const LocalTime& time) { start_ = time; elapsedMs_ = 0; }
    void SetDate(int year, int month, int day);
    long long PausedMs() const { return pausedMs_; }
    std::vector<int> pauses;

private:
    LocalTime start_{2026, 12, 7, 12, 0, 0, 0};
    long long elapsedMs_ = 0;
    long long pausedMs_ = 0;
};

// A virtual clock that lets a test look at the screen at every pause, the
// moments the program shows its work without waiting for a key.
class WatchingClock : public VirtualClock {
public:
    void Pause(int milliseconds) override {
        if (onPause) onPause(milliseconds);
        VirtualClock::Pause(milliseconds);
    }
    std::function<void(int)> onPause;
};

class RecordingSound : public Sound {
public:
    void Play(const std::string& name) override { played.push_back(name); }
    int Count(const std::string& name) const;
    std::vector<std::string> played;
};

class FakeFontList : public FontList {
public:
    std::vector<std::string> Families() override { return families; }
    bool HasSuitFont() override { return suitFont; }
    SuitFontState CheckSuitFont() override {
        return suitFont ? SuitFontState::Usable : unusable ? SuitFontState::Unusable : SuitFontState::Missing;
    }
    std::vector<std::string> families{"Arial", "Times New Roman", "Courier New",
                                      "Comic Sans MS", "Bridge", "DejaVu Sans"};
    bool suitFont = true;
    bool unusable = false;   // with suitFont false: the file is there, the font not
};

class RecordingProcess : public Process {
public:
    int Run(const std::vector<std::string>& argv) override {
        runs.push_back(argv);
        return result;
    }
    std::vector<std::vector<std::string>> runs;
    int result = 0;
};

// One expected screen text at a position, in given colours (-1: any).
struct ShownText {
    int row, column;
    std::string text;
    int fg = -1, bg = -1;
};
// Fails the test for every text not standing where expected, with the screen.
void ExpectShown(const ScriptedConsole& c, std::initializer_list<ShownText> texts);

// Board 1 of the example game #91722 31459 as a deal text.
inline const std::string ExampleBoardOne = "N:A753.Q975.2.J952 KQJT942.T6.53.63 .KJ3.AQ9864.K874 86.A842.KJT7.AQT";

// The model as at program start (the generator's state all ones).
inline void ResetGameModel() { G = GameModel(); }

// A fresh game model and these doubles in P (no printer): what every test
// and every fuzz input starts from.
void StartWith(Console& console, Clock& clock, Sound& sound, FontList& fonts, Process& process);

// Every setting in memory on one line, for comparing them at once.
std::string SettingsInMemory();

// Each test gets an empty working folder of its own, a fresh game model and
// the doubles installed in P. P.printer stays null unless a test sets it.
class KelmoTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a routine until it returns or the script runs out of keys.
    // Returns true when the script ran out.
    bool Run(const std::function<void()>& routine);
    // Writes a file in the working folder (bytes as given).
    void WriteFile(const std::string& name, const std::string& bytes);
    std::string ReadFile(const std::string& name);
    // The start-up font check finds the suit font, so the program gets past
    // it.
    void ProvideSuitFont();

    ScriptedConsole console;
    VirtualClock clock;
    RecordingSound sound;
    FakeFontList fonts;
    RecordingProcess process;
    std::string workDir;

private:
    std::string oldDir_;
};
