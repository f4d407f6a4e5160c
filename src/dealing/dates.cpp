#include "dealing/dates.h"

#include <cstdio>
#include <string>

#include "model/model.h"
#include "platform/platform.h"

static const int MonthCodes[13] = {0, 0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};
const char* const MonthNames[13] = {"", "January", "February", "March", "April",
                                           "May", "June", "July", "August", "September",
                                           "October", "November", "December"};
static const char* const WeekdayNames[7] = {"Saturday", "Sunday", "Monday", "Tuesday",
                                            "Wednesday", "Thursday", "Friday"};

// No century rule: 2000 is a leap year and 2100 is out of range.
bool IsLeapGameYear(int year) { return year % 4 == 0; }

int MonthLength(int month, int year) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    if (month == 2) return IsLeapGameYear(year) ? 29 : 28;
    return 31;
}

bool IsValidGameDate(int month, int day, int year) {
    if (month < 1 || month > 12) return false;
    if (year < 0 || year > LastGameYear) return false;
    return day >= 1 && day <= MonthLength(month, year);
}

int WeekdayIndex(int month, int day, int year) {
    int leapCorrection = (IsLeapGameYear(year) && month <= 2) ? 1 : 0;
    return (day + MonthCodes[month] - leapCorrection + year + year / 4) % 7;
}

int32_t SerialOfDate(int month, int day, int year) {
    int32_t before = 0;
    for (int m = 1; m < month; m++) before += MonthLength(m, year);
    // C++ division truncates toward zero, as the formula wants for year 00.
    return (int32_t)(year - 1) * 365 + (int32_t)(year - 1) / 4 + before + day;
}

void DateOfSerial(int32_t serial, int& month, int& day, int& year) {
    if (serial < 1) {
        // Below 1 only year 00 remains: read the serial as that year's
        // formula gives it (day of year serial + 365), never before Jan 1.
        int32_t dayOfYear = serial + 365;
        if (dayOfYear < 1) dayOfYear = 1;
        year = 0;
        month = 1;
        while (dayOfYear > MonthLength(month, 0)) {
            dayOfYear -= MonthLength(month, 0);
            month++;
        }
        day = (int)dayOfYear;
        return;
    }
    int32_t cycles = (serial - 1) / 1461;
    int32_t rest = (serial - 1) % 1461;
    int32_t k = rest / 365;
    if (k > 3) k = 3;
    int32_t dayOfYear = rest - 365 * k + 1;
    year = (int)(4 * cycles + k + 1);
    // The fourth year of a cycle is the leap year.
    int leapOrNot = (k == 3) ? 0 : 1;
    month = 1;
    while (month < 12 && dayOfYear > MonthLength(month, leapOrNot)) {
        dayOfYear -= MonthLength(month, leapOrNot);
        month++;
    }
    day = (int)dayOfYear;
}

int32_t TodaySerial() {
    LocalTime now = P.clock->Now();
    return SerialOfDate(now.month, now.day, now.year - 2000);
}

bool IsBeyondAYearAhead(int month, int day, int year) {
    LocalTime now = P.clock->Now();
    const long date = (2000L + year) * 10000 + month * 100 + day;
    const long limit = (now.year + 1L) * 10000 + now.month * 100 + now.day;
    return date > limit;
}

void ReadSystemDate() {
    LocalTime now = P.clock->Now();
    G.GameMonth = now.month;
    G.GameDay = now.day;
    G.GameYear = now.year % 100;
}

void datecontrol(int& month, int& day, int& year) {
    G.DateValid = 1;
    if (!IsValidGameDate(month, day, year)) {
        G.DateValid = 0;
        return;
    }
    G.WeekdayText = WeekdayNames[WeekdayIndex(month, day, year)];
    G.DateText = G.WeekdayText + ", " + MonthNames[month] + " " + std::to_string(day);
    G.FullYear = year + 2000;
    char pbn[32];
    std::snprintf(pbn, sizeof pbn, "%04d.%02d.%02d", G.FullYear, month, day);
    G.PbnDate = pbn;
    G.GameSerial = SerialOfDate(month, day, year);
}

void parseserialdate(int32_t& serial) { DateOfSerial(serial, G.GameMonth, G.GameDay, G.GameYear); }

