// The console kit on the scripted 80 x 25 console: the header screen, the
// game fields, the work area, the input routines and the box.
#include "model/model.h"
#include "shell/kit.h"
#include "support/doubles.h"

namespace {

std::string Chars(unsigned char ch, int count) { return std::string(count, (char)ch); }

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

TEST_F(KitTest, HeaderFramesTheScreenInGreyOnBlue) {
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ShowHeader();
    const std::string side = "  " + Chars(DBL_VERT, 1) + std::string(74, ' ') + Chars(DBL_VERT, 1);
    EXPECT_TRUE(console.Shows(2, 1, "  " + Chars(DBL_TOPLEFT, 1) + Chars(DBL_HORIZ, 74) +
                                        Chars(DBL_TOPRIGHT, 1), GREY, BLUE));
    EXPECT_TRUE(console.Shows(4, 1, "  " + Chars(DBL_TEE_LEFT, 1) + Chars(DBL_HORIZ, 74) +
                                        Chars(DBL_TEE_RIGHT, 1), GREY, BLUE));
    EXPECT_TRUE(console.Shows(12, 1, "  " + Chars(DBL_SGL_TEE_LEFT, 1) + Chars(SGL_HORIZ, 74) +
                                         Chars(DBL_SGL_TEE_RIGHT, 1), GREY, BLUE));
    EXPECT_TRUE(console.Shows(24, 1, "  " + Chars(DBL_BOTLEFT, 1) + Chars(DBL_HORIZ, 74) +
                                         Chars(DBL_BOTRIGHT, 1), GREY, BLUE));
    for (int row : {5, 11, 13, 23}) EXPECT_EQ(console.Text(row, 1, 78), side) << row;
    // The last frame row is written without scrolling the screen.
    EXPECT_EQ(console.Text(1, 1, 80), std::string(80, ' '));
    EXPECT_EQ(console.Text(25, 1, 80), std::string(80, ' '));
    EXPECT_EQ(console.Bg(25, 80), BLUE);
    EXPECT_EQ(console.Bg(1, 1), BLUE);
    EXPECT_FALSE(console.CursorVisible());
}

TEST_F(KitTest, HeaderTitleSuitLinesAndLabels) {
    ShowHeader();
    // Each symbol carries its own blank, and one more joins them.
    const std::string suits = "\x06  \x03  \x04  \x05 ";
    EXPECT_TRUE(console.Shows(3, 10, suits, LIGHTRED, BLUE)) << console.Dump();
    EXPECT_TRUE(console.Shows(3, 31, "HAND-RECORD GENERATOR", LIGHTCYAN, BLUE));
    EXPECT_TRUE(console.Shows(3, 62, suits, LIGHTRED, BLUE));
    EXPECT_EQ(console.CharAt(3, 3), DBL_VERT);
    EXPECT_EQ(console.CharAt(3, 78), DBL_VERT);
    const char* labels[5] = {"CLUB NAME", "GAME DATE", "SESSION", "EVENT NAME", "TOTAL BOARDS"};
    for (int i = 0; i < 5; i++) EXPECT_TRUE(console.Shows(6 + i, 10, labels[i], LIGHTCYAN, BLUE)) << i;
    // No values: ShowGameFields draws those.
    EXPECT_EQ(console.Text(6, 35, 40), std::string(40, ' '));
    EXPECT_EQ(console.Text(10, 35, 10), std::string(10, ' '));
}

TEST_F(KitTest, GameFieldsStandAtColumn35InBrightWhite) {
    ShowHeader();
    ConsoleColor(YELLOW, BLUE);
    ConsoleLocate(8, 26);
    ConsoleWrite("leftover text from an earlier screen");
    G.ClubName = "Keelward Bridge Club";
    G.DateText = "Saturday, March 7";
    G.FullYear = 2015;
    G.SessionNumber = 2;
    G.EventName = "Pairs";
    G.TotalBoards = 24;
    ShowGameFields();
    EXPECT_TRUE(console.Shows(6, 35, "Keelward Bridge Club", BRIGHTWHITE, BLUE));
    EXPECT_TRUE(console.Shows(7, 35, "Saturday, March 7, 2015", BRIGHTWHITE, BLUE));
    EXPECT_TRUE(console.Shows(8, 35, "Afternoon", BRIGHTWHITE, BLUE));
    EXPECT_EQ(console.Text(8, 26, 9), std::string(9, ' '));
    EXPECT_EQ(console.Text(8, 45, 31), std::string(31, ' '));
    EXPECT_TRUE(console.Shows(9, 35, "Pairs", BRIGHTWHITE, BLUE));
    EXPECT_TRUE(console.Shows(10, 35, "24", BRIGHTWHITE, BLUE));
    EXPECT_EQ(console.CharAt(10, 34), ' ');
    EXPECT_FALSE(console.CursorVisible());
    // The frame and labels are untouched.
    EXPECT_TRUE(console.Shows(8, 10, "SESSION", LIGHTCYAN, BLUE));
    EXPECT_EQ(console.CharAt(8, 78), DBL_VERT);
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

TEST_F(KitTest, ReadLineEnterAtOnceBlanksTheShownDefaultAndReturnsEmpty) {
    ShowDefault(17, 33, "Keelward Bridge Club");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { ReadLine(PrintableCharacters, 40); }));
    EXPECT_EQ(G.InputText, "");
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(console.Text(17, 33, 40), std::string(40, ' '));
}

TEST_F(KitTest, ReadLineFirstKeyReplacesTheDefault) {
    ShowDefault(17, 33, "Keelward Bridge Club");
    console.Type("Ace");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { ReadLine(PrintableCharacters, 40); }));
    EXPECT_EQ(G.InputText, "Ace");
    EXPECT_EQ(console.Text(17, 33, 40), "Ace" + std::string(37, ' '));
    EXPECT_EQ(console.Fg(17, 33), BRIGHTWHITE);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(KitTest, ReadLineRefusesPastTheMaximumAndBackspaceAtTheStart) {
    ConsoleLocate(17, 33);
    console.Press(KEY_BACKSPACE);   // at the start: beep, nothing changes
    console.Type("abcde");         // the fifth letter is one too many
    console.Press(KEY_UP);         // a key without a character
    console.Press(KEY_BACKSPACE);
    console.Type("Z");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { ReadLine(PrintableCharacters, 4); }));
    EXPECT_EQ(G.InputText, "abcZ");
    EXPECT_EQ(console.Text(17, 33, 6), "abcZ  ");
    EXPECT_EQ(console.Column(), 37);
    EXPECT_EQ(sound.Count("beep2"), 3);
}

TEST_F(KitTest, ReadLineKeepsToTheAllowedCharactersAndLeavesOnEsc) {
    ConsoleLocate(15, 53);
    console.Type("91a7 x#");
    console.Press(KEY_ESC);
    ASSERT_FALSE(Run([] { ReadLine(ControlCharacters, 11); }));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(console.Text(15, 53, 6), "917 x ");
    EXPECT_EQ(sound.Count("beep2"), 2);   // "a" and "#"
}

TEST_F(KitTest, InputIntegerRefusesZeroBlanksTheFieldAndTakes100) {
    ConsoleLocate(16, 60);
    console.Type("0");
    console.Press(KEY_ENTER);
    console.onReadKey = [this](ScriptedConsole& c) {
        // After the refused 0 the field is blank and the cursor at its start.
        if (c.ReadKeyCalls() == 3) {
            EXPECT_EQ(c.Text(16, 60, 3), "   ");
            EXPECT_EQ(c.Column(), 60);
            EXPECT_EQ(sound.Count("beep2"), 1);
        }
    };
    console.Type("1000");   // a fourth digit beeps
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.InputNumber, 100);
    EXPECT_EQ(console.Text(16, 60, 4), "100 ");
    EXPECT_EQ(sound.Count("beep2"), 2);
}

TEST_F(KitTest, InputIntegerShownDefaultAndEnterGivesTheDefault) {
    ShowDefault(16, 49, "1  ");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.InputNumber, 1);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(KitTest, InputIntegerTypingReplacesTheDefault) {
    ShowDefault(16, 49, "1  ");
    console.Type("25");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.InputNumber, 25);
    EXPECT_EQ(console.Text(16, 49, 3), "25 ");
}

TEST_F(KitTest, InputIntegerOneDigitDefaultCanBeTypedOver) {
    // A field of one digit that already shows its default: the first digit
    // replaces the default instead of counting as a second digit.
    ShowDefault(16, 49, "1");
    console.Type("3");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { inputinteger(1, 4); }));
    EXPECT_EQ(G.InputNumber, 3);
    EXPECT_EQ(console.CharAt(16, 49), '3');
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(KitTest, InputIntegerBackspaceAndRefusedKeys) {
    ConsoleLocate(16, 49);
    console.Press(KEY_BACKSPACE);   // at the start
    console.Type("4x");
    console.Press(KEY_RIGHT);
    console.Type("7");
    console.Press(KEY_BACKSPACE);
    console.Type("2");
    console.Press(KEY_ENTER);
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.InputNumber, 42);
    EXPECT_EQ(console.Text(16, 49, 3), "42 ");
    EXPECT_EQ(sound.Count("beep2"), 3);
}

TEST_F(KitTest, InputIntegerEscAbandonsWithZero) {
    ConsoleLocate(16, 49);
    console.Type("12");
    console.Press(KEY_ESC);
    ASSERT_FALSE(Run([] { inputinteger(1, 100); }));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.InputNumber, 0);
}

TEST_F(KitTest, AskYesNoDefaultsLowerCaseAndRefusedKeys) {
    struct Case {
        int defaultAnswer;
        std::vector<std::string> keys;
        int answer, abandon, beeps;
    };
    const Case cases[] = {
        {0, {KEY_ENTER}, 0, 0, 0},
        {1, {KEY_ENTER}, 1, 0, 0},
        {0, {"y"}, 1, 0, 0},
        {1, {"n"}, 0, 0, 0},
        {1, {"x", KEY_DOWN, " ", "Y"}, 1, 0, 3},
        {1, {KEY_ESC}, 0, 1, 0},
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
    EXPECT_TRUE(console.Shows(6, 40, Chars(SGL_TOPLEFT, 1) + Chars(SGL_HORIZ, 24) +
                                         Chars(SGL_TOPRIGHT, 1), GREEN, WHITE));
    for (int row = 7; row <= 18; row++)
        EXPECT_TRUE(console.Shows(row, 40, Chars(SGL_VERT, 1) + std::string(24, ' ') +
                                               Chars(SGL_VERT, 1), GREEN, WHITE)) << row;
    EXPECT_TRUE(console.Shows(19, 40, Chars(SGL_BOTLEFT, 1) + Chars(SGL_HORIZ, 24) +
                                          Chars(SGL_BOTRIGHT, 1), GREEN, WHITE));
    EXPECT_EQ(console.CharAt(20, 40), ' ');
    EXPECT_EQ(console.CharAt(6, 66), ' ');
    EXPECT_FALSE(console.CursorVisible());
}

}  // namespace
