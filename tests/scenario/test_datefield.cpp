#include "console/kit.h"
#include "dealing/dates.h"
#include "game/entry.h"
#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

class DateFieldTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        initialize();
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleLocate(17, 35);
    }
    // Shows a date at the field, as game entry does before reading it.
    void ShowDefault(const std::string& text) {
        ConsoleWrite(text);
        ConsoleLocate(17, 35);
    }
    static void ExpectDate(int month, int day, int year) {
        EXPECT_EQ(G.GameMonth, month);
        EXPECT_EQ(G.GameDay, day);
        EXPECT_EQ(G.GameYear, year);
    }
};

TEST_F(DateFieldTest, TypedDigitsGetTheirSlashes) {
    G.GameMonth = G.GameDay = G.GameYear = 0;
    console.Type("030715");
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(ReadDateField));
    EXPECT_EQ(console.Text(17, 35, 8), "03/07/15");
    ExpectDate(3, 7, 15);
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(DateFieldTest, BackspaceTakesASlashWithTheDigitBeforeIt) {
    std::vector<std::string> shown;
    console.Type("03071");
    for (int i = 0; i < 3; i++) console.Press(KeyBackspace);
    console.Type("1231");   // 03/ + 12 -> 03/12/ + 31 -> 03/12/31
    console.Type("9");      // a ninth character: refused
    console.Press(KeyEnter);
    console.onReadKey = [&](ScriptedConsole& c) { shown.push_back(c.Text(17, 35, 8)); };
    ASSERT_FALSE(Run(ReadDateField));
    // Screen at each wait: after 5 digits, then after each backspace.
    ASSERT_GE(shown.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 5, shown.begin() + 9),
              (std::vector<std::string>{"03/07/1 ", "03/07/  ", "03/0    ", "03/     "}));
    EXPECT_EQ(console.Text(17, 35, 8), "03/12/31");
    ExpectDate(3, 12, 31);
    EXPECT_EQ(sound.Count("beep2"), 1);
}

TEST_F(DateFieldTest, EnterKeepsAShownDateAndRefusesAShortOne) {
    G.GameMonth = 12, G.GameDay = 25, G.GameYear = 23;
    ShowDefault("12/25/23");
    console.Press(KeyEnter);
    ASSERT_FALSE(Run(ReadDateField));
    EXPECT_EQ(console.Text(17, 35, 8), "12/25/23");
    EXPECT_EQ(G.GameDay, 25);
    EXPECT_TRUE(sound.played.empty());

    // The first key wipes the shown date; Enter short of 8 characters beeps.
    ConsoleLocate(17, 35);
    console.Type("0x1");
    console.Press(KeyEnter);
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(ReadDateField));
    EXPECT_EQ(console.Text(17, 35, 12), "01/         ");
    EXPECT_EQ(sound.Count("beep2"), 2);   // "x" and the early Enter
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(G.GameMonth, 12);   // Esc keeps the date fields
}

TEST_F(DateFieldTest, BackspaceOnAnEmptyFieldBeeps) {
    console.Press(KeyBackspace);
    console.Press(KeyUp);
    console.Press(KeyEsc);
    ASSERT_FALSE(Run(ReadDateField));
    EXPECT_EQ(sound.Count("beep2"), 2);
    EXPECT_EQ(G.AbandonFlag, 1);
}
