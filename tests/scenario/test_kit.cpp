// The console kit on the scripted 80 x 25 console: the header screen, the
// game fields, the work area, the input routines and the box.
#include <cstdio>

#include "console/kit.h"
#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

namespace {

std::string Chars(unsigned char ch, int count) { return std::string(count, (char)ch); }

// Two-byte keys are pressed, anything else typed a character at a time.
void Keys(ScriptedConsole& c, const std::vector<std::string>& keys) {
    for (const auto& k : keys) k.size() == 2 && k[0] == '\0' ? c.Press(k) : c.Type(k);
}

class KitTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
    }
    // Shows `text` at (row, column) in bright white and puts the cursor back
    // on its first character, as the callers do with a default value.
    void ShowDefault(int row, int column, const std::string& text) {
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleLocate(row, column);
        ConsoleWrite(text);
        ConsoleLocate(row, column);
    }
};

// The frame in grey on blue, its last row written without scrolling; the
// title, suit lines and labels, no values. Whatever colours stood before.
TEST_F(KitTest, HeaderScreen) {
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ShowHeader();
    EXPECT_TRUE(MatchesGolden(console, "header"));
    EXPECT_FALSE(console.CursorVisible());
}

// The comparison names what differs: a cell's text, a run of colours.
TEST_F(KitTest, GoldenScreenNamesWhatDiffers) {
    // Never rewrite the header with this screen; an update run goes on after.
    const char* update = getenv("KELMO_UPDATE_GOLDEN");
    const std::string kept = update ? update : "";
    unsetenv("KELMO_UPDATE_GOLDEN");
    ShowHeader();
    ConsoleColor(YELLOW, MAGENTA);
    ConsoleLocate(6, 10);
    ConsoleWrite("X");
    ConsoleLocate(20, 5);
    ConsoleWrite("  ");
    std::string message = MatchesGolden(console, "header").message();
    // Row 6 differs in all three blocks, the caret under column 10 only; row
    // 20 in its colours alone.
    for (const char* row : {"text row 6\n", "foreground row 6\n", "background row 6\n", "background row 20\n"})
        EXPECT_NE(message.find(row), std::string::npos) << row << message;
    EXPECT_NE(message.find("\n" + std::string(21, ' ') + "^\n"), std::string::npos) << message;
    EXPECT_EQ(message.find("text row 20"), std::string::npos) << message;

    // Update mode writes the screen and fails naming the file; the next
    // comparison passes.
    const std::string probe = std::string(KELMO_SOURCE_DIR) + "/tests/golden/screens/update-probe.txt";
    setenv("KELMO_UPDATE_GOLDEN", "1", 1);
    message = MatchesGolden(console, "update-probe").message();
    unsetenv("KELMO_UPDATE_GOLDEN");
    EXPECT_NE(message.find("rewrote " + probe), std::string::npos) << message;
    EXPECT_TRUE(MatchesGolden(console, "update-probe"));
    std::remove(probe.c_str());
    if (update) setenv("KELMO_UPDATE_GOLDEN", kept.c_str(), 1);
}

// Earlier text at rows 6 to 9 from column 26 goes; the values stand at
// column 35 in bright white, the frame and labels untouched.
TEST_F(KitTest, GameFieldsStandAtColumn35InBrightWhite) {
    ShowHeader();
    ConsoleColor(YELLOW, BLUE);
    ConsoleLocate(8, 26);
    ConsoleWrite("leftover text from an earlier screen");
    G.ClubName = "Keelward Bridge Club", G.DateText = "Saturday, March 7", G.FullYear = 2015;
    G.SessionNumber = 2, G.EventName = "Pairs", G.TotalBoards = 24;
    ShowGameFields();
    EXPECT_TRUE(MatchesGolden(console, "header-game-fields"));
    EXPECT_FALSE(console.CursorVisible());
}

TEST_F(KitTest, ClearWorkAreaBlanksRows14To23InsideTheFrame) {
    ShowHeader();
    for (int row = 13; row <= 24; row++) {
        ConsoleLocate(row, 4);
        ConsoleWrite(std::string(74, 'x'));
    }
    // A warning left the colours at white on magenta.
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ClearWorkArea();
    for (int row = 14; row <= 23; row++) {
        EXPECT_TRUE(console.Shows(row, 4, std::string(74, ' '), -1, BLUE)) << row;
        EXPECT_EQ(console.CharAt(row, 3), DBL_VERT);
        EXPECT_EQ(console.CharAt(row, 78), DBL_VERT);
    }
    EXPECT_EQ(console.Text(13, 4, 74), std::string(74, 'x'));
    EXPECT_EQ(console.Foreground(), YELLOW);
    EXPECT_EQ(console.Background(), BLUE);
    EXPECT_TRUE(console.CursorVisible());
}

// One field read from a script, with a default shown or on a bare cursor.
struct FieldCase {
    const char* name;
    const char* shown;   // nullptr: no default
    int row, column;
    std::vector<std::string> keys;
    std::string (*read)();   // the value read: G.InputText or G.InputNumber
    const char* value;   // nullptr: not checked
    int abandon;
    std::string field;   // the field afterwards from (row, column); empty: not checked
    int beeps;           // 0: no sound at all; -1: not checked
    void (*more)(const ScriptedConsole&);
};

std::string Text40() { ReadLine(PrintableCharacters, 40); return G.InputText; }
std::string Int100() { inputinteger(1, 100); return std::to_string(G.InputNumber); }
const char* const Club = "Keelward Bridge Club";

void PrintTo(const FieldCase& f, std::ostream* os) { *os << f.name; }

// Built when the tests are listed: the two-byte keys are not there before.
std::vector<FieldCase> FieldCases() { return {
    {"ReadLineEnterAtOnceBlanksTheShownDefaultAndReturnsEmpty", Club, 17, 33, {KeyEnter}, Text40, "", 0,
     std::string(40, ' '), -1, nullptr},
    {"ReadLineFirstKeyReplacesTheDefault", Club, 17, 33, {"Ace\r"}, Text40, "Ace", 0, "Ace" + std::string(37, ' '),
     0, [](const ScriptedConsole& c) { EXPECT_EQ(c.Fg(17, 33), BRIGHTWHITE); }},
    // Backspace at the start beeps, so do the fifth letter and up.
    {"ReadLineRefusesPastTheMaximumAndBackspaceAtTheStart", nullptr, 17, 33,
     {KeyBackspace, "abcde", KeyUp, KeyBackspace, "Z\r"}, [] { ReadLine(PrintableCharacters, 4); return G.InputText; },
     "abcZ", 0, "abcZ  ", 3, [](const ScriptedConsole& c) { EXPECT_EQ(c.Column(), 37); }},
    {"ReadLineKeepsToTheAllowedCharactersAndLeavesOnEsc", nullptr, 15, 53, {"91a7 x#", KeyEsc},
     [] { ReadLine(ControlCharacters, 11); return G.InputText; }, nullptr, 1, "917 x ", 2, nullptr},
    {"InputIntegerShownDefaultAndEnterGivesTheDefault", "1  ", 16, 49, {KeyEnter}, Int100, "1", 0, "", 0, nullptr},
    {"InputIntegerTypingReplacesTheDefault", "1  ", 16, 49, {"25\r"}, Int100, "25", 0, "25 ", -1, nullptr},
    // The first digit replaces a one-digit default, not a second digit.
    {"InputIntegerOneDigitDefaultCanBeTypedOver", "1", 16, 49, {"3\r"},
     [] { inputinteger(1, 4); return std::to_string(G.InputNumber); }, "3", 0, "3", 0, nullptr},
    {"InputIntegerBackspaceAndRefusedKeys", nullptr, 16, 49, {KeyBackspace, "4x", KeyRight, "7", KeyBackspace, "2\r"},
     Int100, "42", 0, "42 ", 3, nullptr},
    {"InputIntegerEscAbandonsWithZero", nullptr, 16, 49, {"12", KeyEsc}, Int100, "0", 1, "", -1, nullptr},
}; }

class FieldTest : public KitTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldTest, Reads) {
    const FieldCase& f = GetParam();
    if (f.shown) ShowDefault(f.row, f.column, f.shown);
    else ConsoleLocate(f.row, f.column);
    Keys(console, f.keys);
    std::string value;
    ASSERT_FALSE(Run([&] { value = f.read(); }));
    if (f.value) { EXPECT_EQ(value, f.value); }
    EXPECT_EQ(G.AbandonFlag, f.abandon);
    if (!f.field.empty()) { EXPECT_EQ(console.Text(f.row, f.column, (int)f.field.size()), f.field); }
    if (f.beeps == 0) { EXPECT_TRUE(sound.played.empty()); }
    if (f.beeps > 0) { EXPECT_EQ(sound.Count("beep2"), f.beeps); }
    if (f.more) f.more(console);
}

INSTANTIATE_TEST_SUITE_P(Kit, FieldTest, ::testing::ValuesIn(FieldCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KitTest, InputIntegerRefusesZeroBlanksTheFieldAndTakes100) {
    ConsoleLocate(16, 60);
    console.Type("0\r");
    console.onReadKey = [this](ScriptedConsole& c) {
        // After the refused 0 the field is blank and the cursor at its start.
        if (c.ReadKeyCalls() == 3) {
            EXPECT_EQ(c.Text(16, 60, 3), "   ");
            EXPECT_EQ(c.Column(), 60);
            EXPECT_EQ(sound.Count("beep2"), 1);
        }
    };
    console.Type("1000\r");   // a fourth digit beeps
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.InputNumber, 100);
    EXPECT_EQ(console.Text(16, 60, 4), "100 ");
    EXPECT_EQ(sound.Count("beep2"), 2);
}

TEST_F(KitTest, AskYesNoDefaultsLowerCaseAndRefusedKeys) {
    struct Case {
        int defaultAnswer;
        std::vector<std::string> keys;
        int answer, abandon, beeps;
    };
    const Case cases[] = {
        {0, {KeyEnter}, 0, 0, 0},
        {1, {KeyEnter}, 1, 0, 0},
        {0, {"y"}, 1, 0, 0},
        {1, {"n"}, 0, 0, 0},
        {1, {"x", KeyDown, " ", "Y"}, 1, 0, 3},
        {1, {KeyEsc}, 0, 1, 0},
    };
    for (const Case& c : cases) {
        sound.played.clear();
        for (const auto& key : c.keys) console.Press(key);
        G.AbandonFlag = 1 - c.abandon;
        ConsoleCursor(CURSOR_HIDE);
        ASSERT_FALSE(Run([&] { AskYesNo(c.defaultAnswer); }));
        EXPECT_EQ(G.YesNoAnswer, c.answer) << c.keys[0];
        EXPECT_EQ(G.AbandonFlag, c.abandon) << c.keys[0];
        EXPECT_EQ(sound.Count("beep2"), c.beeps) << c.keys[0];
        EXPECT_TRUE(console.CursorVisible());
    }
}

TEST_F(KitTest, DrawBoxIncludesTheBorderInItsSize) {
    ShowHeader();
    DrawBox(6, 40, 26, 14, GREEN, WHITE);
    auto rule = [](unsigned char left, unsigned char line, unsigned char right) {
        return Chars(left, 1) + Chars(line, 24) + Chars(right, 1);
    };
    EXPECT_TRUE(console.Shows(6, 40, rule(SGL_TOPLEFT, SGL_HORIZ, SGL_TOPRIGHT), GREEN, WHITE));
    for (int row = 7; row <= 18; row++)
        EXPECT_TRUE(console.Shows(row, 40, rule(SGL_VERT, ' ', SGL_VERT), GREEN, WHITE)) << row;
    EXPECT_TRUE(console.Shows(19, 40, rule(SGL_BOTLEFT, SGL_HORIZ, SGL_BOTRIGHT), GREEN, WHITE));
    EXPECT_EQ(console.CharAt(20, 40), ' ');
    EXPECT_EQ(console.CharAt(6, 66), ' ');
    EXPECT_FALSE(console.CursorVisible());
}

}  // namespace
