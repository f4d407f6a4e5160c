#include <utility>

#include "dealing/control.h"
#include "dealing/dates.h"
#include "model/model.h"
#include "support/doubles.h"

class ControlTest : public KelmoTest {
protected:
    // Today's serial of a date, as the entry routine takes it from the clock.
    static int32_t Today(int month, int day, int year) { return SerialOfDate(month, day, year); }
    // Nine digits and the check character that makes the sum a multiple of 11.
    static std::string WithCheck(const std::string& nine) {
        int sum = 0;
        for (int i = 0; i < 9; i++) sum += (10 - i) * (nine[i] - '0');
        int c = (11 - sum % 11) % 11;
        return nine + (c == 10 ? 'X' : (char)('0' + c));
    }
};

TEST_F(ControlTest, BuildsTheKnownControlNumbers) {
    EXPECT_EQ(MakeControlString(5179, 1234, 2, 24), "#91722 31459");
    EXPECT_EQ(MakeControlString(5179, 1234, 2, 36), "#91726 31457");
    EXPECT_EQ(MakeControlString(5179, 12, 1, 24), "#90701 1125X");
    // Game numbers 1 and 9999 as four digits each (positions 2, 4, 6, 8).
    for (auto [number, digits] : {std::pair{1, "0001"}, {9999, "9999"}}) {
        std::string s = MakeControlString(5179, number, 1, 24);
        EXPECT_EQ(std::string() + s[2] + s[4] + s[7] + s[9], digits);
    }

    G.GameSerial = 5179, G.GameNumber = 1234, G.SessionNumber = 2, G.TotalBoards = 36;
    BuildControlString();
    EXPECT_EQ(G.ControlString, "#91726 31457");
}

TEST_F(ControlTest, DecodesTypedTextsWithSpacesAnywhere) {
    for (const char* typed : {"9172231459", "91722 31459", "9172 231459", " 9 1 7 2 2 3 1 4 5 9"}) {
        DecodedControl d;
        ASSERT_TRUE(DecodeControlText(typed, Today(12, 7, 26), d)) << typed;
        EXPECT_EQ(d.serial, 5179);
        EXPECT_EQ(d.gameNumber, 1234);
        EXPECT_EQ(d.session, 2);
        EXPECT_EQ(d.boards, 24);
        EXPECT_EQ(d.controlString, "#91722 31459");
    }
    // Session code 9 is session 1 with 36 boards.
    struct { std::string typed; int gameNumber, session, boards; std::string control; } cases[] = {
        {"90701 1125x", 12, 1, 24, "#90701 1125X"}, {"91726 31457", 1234, 2, 36, "#91726 31457"},
        {WithCheck("917293145"), 1234, 1, 36, "#91729 " + WithCheck("917293145").substr(5)}};
    for (auto& c : cases) {
        DecodedControl d;
        ASSERT_TRUE(DecodeControlText(c.typed, Today(12, 7, 26), d)) << c.typed;
        EXPECT_EQ(d.gameNumber, c.gameNumber) << c.typed;
        EXPECT_EQ(d.session, c.session) << c.typed;
        EXPECT_EQ(d.boards, c.boards) << c.typed;
        EXPECT_EQ(d.controlString, c.control) << c.typed;
    }
}

TEST_F(ControlTest, RefusesInputErrors) {
    DecodedControl d;
    int32_t today = Today(12, 7, 26);
    EXPECT_FALSE(DecodeControlText("9172231458", today, d));    // check character
    EXPECT_FALSE(DecodeControlText("917223145", today, d));     // nine characters
    EXPECT_FALSE(DecodeControlText("91722314599", today, d));   // eleven
    EXPECT_FALSE(DecodeControlText("", today, d));
    EXPECT_FALSE(DecodeControlText(WithCheck("917203145"), today, d));   // no session
    // An X in any of the first nine places.
    for (int i = 0; i < 9; i++) {
        std::string text = "9172231459";
        text[i] = 'X';
        EXPECT_FALSE(DecodeControlText(text, today, d)) << text;
    }
    EXPECT_FALSE(DecodeControlText("91722#31459", today, d));
}

TEST_F(ControlTest, SerialDigitsDecodeToTheLatestSerialUpToAYearAhead) {
    // 06/15/35 is serial 12584; its four digits are 2584.
    ASSERT_EQ(SerialOfDate(6, 15, 35), 12584);
    std::string control = MakeControlString(12584, 4321, 3, 24);
    DecodedControl d;
    ASSERT_TRUE(DecodeControlText(control.substr(1), Today(3, 1, 35), d));
    EXPECT_EQ(d.serial, 12584);
    ASSERT_TRUE(DecodeControlText(control.substr(1), Today(12, 7, 26), d));
    EXPECT_EQ(d.serial, 2584);   // 01/28/08, as the digits always meant

    // Digits 9999: no date up to the end of 2027, so refused in 2026 ...
    std::string late = MakeControlString(9999, 1, 1, 24).substr(1);
    EXPECT_FALSE(DecodeControlText(late, Today(12, 31, 26), d));
    // ... and 05/17/28 once 2028 has begun.
    ASSERT_TRUE(DecodeControlText(late, Today(1, 1, 28), d));
    EXPECT_EQ(d.serial, 9999);
    // Digits 0000 mean serial 10000 once it is within a year from today.
    std::string zero = MakeControlString(10000, 1, 1, 24).substr(1);
    EXPECT_FALSE(DecodeControlText(zero, Today(12, 31, 26), d));
    ASSERT_TRUE(DecodeControlText(zero, Today(6, 1, 28), d));
    EXPECT_EQ(d.serial, 10000);

    // With today in 2026, every date from 2001 to 2027 decodes to itself.
    for (int32_t serial = 1; serial <= 9861; serial++) {
        std::string text = MakeControlString(serial, 777, 4, 36).substr(1);
        ASSERT_TRUE(DecodeControlText(text, Today(12, 31, 26), d)) << serial;
        ASSERT_EQ(d.serial, serial);
        ASSERT_TRUE(DecodeControlText(text, Today(1, 1, 26), d)) << serial;
        ASSERT_EQ(d.serial, serial);
    }
}

TEST_F(ControlTest, SerialFromDigitsEdges) {
    struct { int digits; int32_t today, serial; } cases[] = {
        {0, 9861, 0}, {1, 9861, 1}, {9861, 9861, 9861}, {9862, 9861, 0},
        {0, 36526, 30000}, {6526, 36526, 36526}, {6527, 36526, 26527}};
    for (auto c : cases) EXPECT_EQ(SerialFromDigits(c.digits, c.today), c.serial) << c.digits << " " << c.today;

    // Late in 2099 the digits never name a day of 2100.
    DecodedControl d;
    std::string text = MakeControlString(36159 + 100, 5, 1, 24).substr(1);
    ASSERT_TRUE(DecodeControlText(text, SerialOfDate(12, 1, 99), d));
    EXPECT_EQ(d.serial, 26259);
}
