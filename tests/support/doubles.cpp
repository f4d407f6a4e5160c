#include "support/doubles.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/analysis.h"
#include "model/model.h"

namespace fs = std::filesystem;

void ScriptedConsole::Type(const std::string& text) {
    for (char ch : text) keys_.push_back(Key{std::string(1, ch)});
}

void ScriptedConsole::Press(const std::string& key) { keys_.push_back(Key{key}); }

void ScriptedConsole::PressDuringWork(const std::string& key, int pollsBefore) {
    keys_.push_back(Key{key, true, pollsBefore});
}

void ScriptedConsole::TypeAhead(const std::string& key) { keys_.push_back(Key{key, false, 0, true}); }

void ScriptedConsole::FlushKeys() {
    while (!keys_.empty() && keys_.front().ahead) keys_.pop_front();
}

std::string ScriptedConsole::ReadKey() {
    readKeyCalls_++;
    if (onReadKey) onReadKey(*this);
    if (keys_.empty()) throw ScriptExhausted{};
    std::string key = keys_.front().text;
    keys_.pop_front();
    return key;
}

std::string ScriptedConsole::PollKey() {
    if (keys_.empty() || !keys_.front().duringWork) return "";
    if (keys_.front().pollsBefore > 0) {
        keys_.front().pollsBefore--;
        return "";
    }
    std::string key = keys_.front().text;
    keys_.pop_front();
    return key;
}

std::string ScriptedConsole::Text(int row, int column, int length) const {
    std::string text;
    for (int c = column; c < column + length && c <= ScreenColumns; c++) text += (char)CharAt(row, c);
    return text;
}

std::string ScriptedConsole::Dump() const {
    std::string text;
    for (int r = 1; r <= ScreenRows; r++) {
        std::string line = RowText(r);
        for (char& ch : line)
            if ((unsigned char)ch < 32 || (unsigned char)ch > 126) ch = '#';
        text += line + "\n";
    }
    return text;
}

bool ScriptedConsole::Shows(int row, int column, const std::string& text, int fg, int bg) const {
    for (size_t i = 0; i < text.size(); i++) {
        const Cell& cell = CellAt(row, column + (int)i);
        if (cell.ch != (unsigned char)text[i]) return false;
        if (fg >= 0 && cell.fg != fg) return false;
        if (bg >= 0 && cell.bg != bg) return false;
    }
    return true;
}

LocalTime VirtualClock::Now() {
    // Start time plus the virtual time that has passed, carried through the
    // calendar by the C library.
    std::tm tm{};
    tm.tm_year = start_.year - 1900;
    tm.tm_mon = start_.month - 1;
    tm.tm_mday = start_.day;
    tm.tm_hour = start_.hour;
    tm.tm_min = start_.minute;
    tm.tm_sec = start_.second;
    long long totalMs = start_.millisecond + elapsedMs_;
    tm.tm_sec += (int)(totalMs / 1000);
    tm.tm_isdst = 0;
    time_t t = timegm(&tm);
    std::tm out{};
    gmtime_r(&t, &out);
    LocalTime now;
    now.year = out.tm_year + 1900;
    now.month = out.tm_mon + 1;
    now.day = out.tm_mday;
    now.hour = out.tm_hour;
    now.minute = out.tm_min;
    now.second = out.tm_sec;
    now.millisecond = (int)(totalMs % 1000);
    return now;
}

void VirtualClock::Pause(int milliseconds) {
    pauses.push_back(milliseconds);
    if (milliseconds > 0) {
        elapsedMs_ += milliseconds;
        pausedMs_ += milliseconds;
    }
}

void VirtualClock::SetDate(int year, int month, int day) {
    start_.year = year;
    start_.month = month;
    start_.day = day;
    elapsedMs_ = 0;
}

int RecordingSound::Count(const std::string& name) const {
    int n = 0;
    for (const auto& played_name : played)
        if (played_name == name) n++;
    return n;
}

void KelmoTest::SetUp() {
    oldDir_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "kelmo-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    workDir = buffer.data();
    fs::current_path(workDir);
    StartWith(console, clock, sound, fonts, process);
}

void StartWith(Console& console, Clock& clock, Sound& sound, FontList& fonts, Process& process) {
    ResetGameModel();
    P = Platform{};
    P.console = &console;
    P.clock = &clock;
    P.sound = &sound;
    P.fonts = &fonts;
    P.process = &process;
}

void ExpectShown(const ScriptedConsole& c, std::initializer_list<ShownText> texts) {
    for (const ShownText& t : texts)
        EXPECT_TRUE(c.Shows(t.row, t.column, t.text, t.fg, t.bg))
            << t.row << "," << t.column << " \"" << t.text << "\"\n" << c.Dump();
}

std::string SettingsInMemory() {
    return G.ClubNameFont + "|" + G.EventNameFont + "|" + std::to_string(G.ClubNamePrompt) + "|" +
           std::to_string(G.ColorPrinting) + "|" + std::to_string(G.AutoCreatePBNfile) + "|" +
           G.PBNfilesDirectory + "|" + G.LogoText[1] + "." + G.LogoText[2] + "." + G.LogoText[3];
}

void KelmoTest::ProvideSuitFont() { fonts.suitFont = true; }

void KelmoTest::TearDown() {
    // As the program does before it ends: no solver thread outlives the test.
    StopSolving();
    P = Platform{};
    fs::current_path(oldDir_);
    std::error_code ec;
    fs::remove_all(workDir, ec);
}

bool KelmoTest::Run(const std::function<void()>& routine) {
    try {
        routine();
    } catch (const ScriptExhausted&) {
        return true;
    }
    return false;
}

void KelmoTest::WriteFile(const std::string& name, const std::string& bytes) {
    fs::path path(name);
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(name, std::ios::binary);
    out << bytes;
}

std::string KelmoTest::ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
