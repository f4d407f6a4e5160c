// Placeholder: replaced when this part is built.
#include "dealing/control.h"

void DrawGameNumber() {}
void BuildControlString() {}
void EnterControlString() {}
std::string MakeControlString(int /*serial*/, int /*gameNumber*/, int /*session*/, int /*boards*/) { return {}; }
bool DecodeControlText(const std::string& /*text*/, int /*todaySerial*/, DecodedControl& /*out*/) { return 0; }
