// Date control and serial dates. Game years are two digits, 2000 + value;
// serial 1 is January 1 of year 01.
#pragma once

#include <cstdint>

// Today's date (the platform clock) becomes the game date.
void ReadSystemDate();
// Validates the date (years 00..99) and fills DateValid, WeekdayText,
// DateText, FullYear, PbnDate and GameSerial.
void datecontrol(int& month, int& day, int& year);
// Sets GameYear, GameMonth, GameDay from a serial (1 .. end of 2099).
void parseserialdate(int32_t& serial);

// Pure rules under the routines above.
constexpr int LastGameYear = 99;
constexpr int32_t LastSerialOf2027 = 9861;
constexpr int32_t LastGameSerial = 36159;   // December 31, 2099
bool IsLeapGameYear(int year);
int MonthLength(int month, int year);
bool IsValidGameDate(int month, int day, int year);
extern const char* const MonthNames[13];   // 1 January .. 12 December
int WeekdayIndex(int month, int day, int year);        // 0 = Saturday
int32_t SerialOfDate(int month, int day, int year);
void DateOfSerial(int32_t serial, int& month, int& day, int& year);
// Serial of the platform clock's date.
int32_t TodaySerial();
// True for a date later than today's month and day one year on (the
// clock's date): a slip of the year (51 for 15), or a date so far ahead
// that its control number would decode to another day. Today 02/29 allows
// up to 02/28 of next year.
bool IsBeyondAYearAhead(int month, int day, int year);
