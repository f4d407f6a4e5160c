// Date control and serial dates.
#pragma once

#include <cstdint>

void ReadSystemDate();
void ReadDateField();
void datecontrol(int& month, int& day, int& year);
void parseserialdate(int32_t& serial);

// Pure rules under the routines above.
bool IsValidGameDate(int month, int day, int year);
int WeekdayIndex(int month, int day, int year);        // 0 = Saturday
int32_t SerialOfDate(int month, int day, int year);
void DateOfSerial(int32_t serial, int& month, int& day, int& year);
