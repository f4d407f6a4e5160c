#include <array>
#include <ctime>

#include "dealing/dates.h"
#include "model/model.h"
#include "support/doubles.h"

class DatesTest : public KelmoTest {
protected:
    // datecontrol on copies, as every caller passes the game date itself.
    bool Check(int month, int day, int year) {
        G.GameMonth = month, G.GameDay = day, G.GameYear = year;
        datecontrol(G.GameMonth, G.GameDay, G.GameYear);
        return G.DateValid == 1;
    }
};

TEST_F(DatesTest, ValidityOfDates) {
    struct { int month, day, year; bool valid; } dates[] = {
        {2, 29, 24, true}, {2, 29, 25, false}, {2, 30, 24, false}, {0, 10, 15, false}, {13, 10, 15, false},
        {5, 0, 15, false}, {4, 31, 15, false}, {1, 1, 0, true}, {1, 1, -1, false}, {1, 1, 100, false}};
    for (auto d : dates) EXPECT_EQ(Check(d.month, d.day, d.year), d.valid) << d.month << "/" << d.day << "/" << d.year;
    EXPECT_TRUE(Check(12, 31, 27));
    EXPECT_EQ(G.GameSerial, 9861);
}

TEST_F(DatesTest, YearsAfter2027AreGameYears) {
    EXPECT_TRUE(Check(1, 1, 28));
    EXPECT_EQ(G.GameSerial, 9862);
    EXPECT_EQ(G.FullYear, 2028);
    EXPECT_TRUE(Check(2, 29, 96));
    for (auto [month, day, year, serial] : {std::array{6, 15, 35, 12584}, {12, 31, 99, 36159}}) {
        EXPECT_TRUE(Check(month, day, year));
        EXPECT_EQ(G.GameSerial, serial);
    }
    EXPECT_EQ(G.PbnDate, "2099.12.31");
}

TEST_F(DatesTest, TextsOfADate) {
    ASSERT_TRUE(Check(3, 7, 15));
    EXPECT_EQ(G.DateText, "Saturday, March 7");
    EXPECT_EQ(G.WeekdayText, "Saturday");
    EXPECT_EQ(G.PbnDate, "2015.03.07");
    EXPECT_EQ(G.FullYear, 2015);
    EXPECT_EQ(G.GameSerial, 5179);
    // A refused date keeps the texts of the last accepted one.
    EXPECT_FALSE(Check(2, 30, 16));
    EXPECT_EQ(G.DateText, "Saturday, March 7");
    EXPECT_EQ(G.GameSerial, 5179);
}

TEST_F(DatesTest, WeekdaysMatchTheCalendarFrom2000To2099) {
    EXPECT_EQ(WeekdayIndex(1, 1, 0), 0);    // Saturday
    EXPECT_EQ(WeekdayIndex(12, 25, 23), 2); // Monday
    EXPECT_EQ(WeekdayIndex(3, 1, 24), 6);   // Friday
    for (int year = 0; year <= 99; year++) {
        for (int month = 1; month <= 12; month++) {
            for (int day = 1; day <= MonthLength(month, year); day++) {
                std::tm tm{};
                tm.tm_year = 100 + year, tm.tm_mon = month - 1, tm.tm_mday = day;
                time_t t = timegm(&tm);
                std::tm out{};
                gmtime_r(&t, &out);
                // tm_wday 0 is Sunday; our 0 is Saturday.
                ASSERT_EQ(WeekdayIndex(month, day, year), (out.tm_wday + 1) % 7)
                    << month << "/" << day << "/" << year;
            }
        }
    }
}

TEST_F(DatesTest, SerialsAndTheirInverse) {
    struct { int32_t serial; int month, day, year; } known[] = {
        {1, 1, 1, 1}, {365, 12, 31, 1}, {1460, 12, 30, 4}, {1461, 12, 31, 4}, {1462, 1, 1, 5},
        {2584, 1, 28, 8}, {9999, 5, 17, 28}};
    for (auto& k : known) {
        EXPECT_EQ(SerialOfDate(k.month, k.day, k.year), k.serial);
        int32_t serial = k.serial;
        parseserialdate(serial);
        EXPECT_EQ(G.GameMonth, k.month) << k.serial;
        EXPECT_EQ(G.GameDay, k.day) << k.serial;
        EXPECT_EQ(G.GameYear, k.year) << k.serial;
    }
    // Every serial from 1 to the end of 2099 comes back to its date, in
    // order and without gaps.
    int32_t expected = 1;
    for (int year = 1; year <= 99; year++)
        for (int month = 1; month <= 12; month++)
            for (int day = 1; day <= MonthLength(month, year); day++, expected++) {
                ASSERT_EQ(SerialOfDate(month, day, year), expected);
                int m, d, y;
                DateOfSerial(expected, m, d, y);
                ASSERT_TRUE(m == month && d == day && y == year) << expected;
            }
    EXPECT_EQ(expected - 1, 36159);
}

TEST_F(DatesTest, SerialsBelowOneStayInYearZero) {
    for (auto [serial, month, day] : {std::array{0, 12, 30}, {-364, 1, 1}, {-40000, 1, 1}}) {
        int m, d, y;
        DateOfSerial(serial, m, d, y);
        EXPECT_TRUE(m == month && d == day && y == 0) << serial;
    }
}

TEST_F(DatesTest, SystemDateBecomesTheGameDate) {
    clock.SetDate(2031, 11, 9);
    ReadSystemDate();
    EXPECT_EQ(G.GameMonth, 11);
    EXPECT_EQ(G.GameDay, 9);
    EXPECT_EQ(G.GameYear, 31);
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    EXPECT_EQ(G.DateValid, 1);
    EXPECT_EQ(TodaySerial(), SerialOfDate(11, 9, 31));
}
