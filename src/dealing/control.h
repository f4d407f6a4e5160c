// The control number.
#pragma once

#include <string>

void DrawGameNumber();
void BuildControlString();
void EnterControlString();

// Pure rules: the control string of the values, and the decoding of a typed
// text (spaces removed, upper case). Decode returns false on input error.
std::string MakeControlString(int serial, int gameNumber, int session, int boards);
struct DecodedControl {
    int serial = 0, gameNumber = 0, session = 0, boards = 0;
    std::string controlString;
};
bool DecodeControlText(const std::string& text, int todaySerial, DecodedControl& out);
