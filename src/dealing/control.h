// The control number: serial date, game number, session with board count
// and a check character in ten characters, shown as "#ddddd ddddd".
#pragma once

#include <cstdint>
#include <string>

// Reseeds from the time of day and draws GameNumber 1..9999.
void DrawGameNumber();
// A private game's secret from the system's cryptographic source; without
// one G.DealingFailure says so, and nothing is dealt.
void DrawDealSecret();
// ControlString from GameSerial, GameNumber, SessionNumber, TotalBoards;
// for a private game the deal key of its secret, date, session and boards.
void BuildControlString();
// A control number or deal key a PBN file names, when it is the very game
// of the date, session and board count; else "". A key also gives the
// model its secret and makes the game private.
std::string GameCodeOfFile(const std::string& written, int32_t serial, int session, int boards);

// What a typed control number or deal key becomes: the game's date,
// GameNumber (or the key's secret), SessionNumber, TotalBoards and
// ControlString.
struct DealKeyParts;
void TakeDealKey(const DealKeyParts& parts);
struct DecodedControl;
void TakeDecodedControl(const DecodedControl& decoded);

// Pure rules: the control string of the values, and the decoding of a typed
// text (spaces are dropped, "x" taken as "X"). Decode returns false on an
// input error, which includes serial digits that name no serial from 1 up
// to the latest one accepted: max(9861, todaySerial + 366), and at most
// the end of 2099.
std::string MakeControlString(int32_t serial, int gameNumber, int session, int boards);
struct DecodedControl {
    int32_t serial = 0;
    int gameNumber = 0, session = 0, boards = 0;
    std::string controlString;
};
bool DecodeControlText(const std::string& text, int32_t todaySerial, DecodedControl& out);
// The largest serial s >= 1 with s = digits mod 10000 and s <= latest; 0 when
// there is none.
int32_t SerialFromDigits(int digits, int32_t latest);
// The control string a PBN file names, when it is the very game of the
// file's date, session and board count; else "" (a wrong one would send
// another site to other deals).
std::string ControlStringOfFile(const std::string& written, int32_t serial, int session, int boards);
// The game number a control string ("#ddddd ddddd") holds; 0 when it is
// none.
int GameNumberOfControl(const std::string& control);
