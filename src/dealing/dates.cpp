// Placeholder: replaced when this part is built.
#include "dealing/dates.h"

void ReadSystemDate() {}
void ReadDateField() {}
void datecontrol(int& /*month*/, int& /*day*/, int& /*year*/) {}
void parseserialdate(int32_t& /*serial*/) {}
bool IsValidGameDate(int /*month*/, int /*day*/, int /*year*/) { return 0; }
int WeekdayIndex(int /*month*/, int /*day*/, int /*year*/) { return 0; }
int32_t SerialOfDate(int /*month*/, int /*day*/, int /*year*/) { return 0; }
void DateOfSerial(int32_t /*serial*/, int& /*month*/, int& /*day*/, int& /*year*/) {}
