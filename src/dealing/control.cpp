#include "dealing/control.h"

#include <algorithm>

#include "dealing/dates.h"
#include "dealing/private.h"
#include "dealing/random.h"
#include "model/model.h"
#include "platform/crypto.h"
#include "platform/platform.h"

void DrawGameNumber() {
    RandomReseedFromTime();
    G.GameNumber = 1 + (int)(9999.0 * RandomUniform());
}

static int LastFourDigits(int32_t value) { return (int)(((value % 10000) + 10000) % 10000); }

std::string MakeControlString(int32_t serial, int gameNumber, int session, int boards) {
    int a = LastFourDigits(serial), b = LastFourDigits(gameNumber);
    int a1 = a / 1000, a2 = a / 100 % 10, a3 = a / 10 % 10, a4 = a % 10;
    int b1 = b / 1000, b2 = b / 100 % 10, b3 = b / 10 % 10, b4 = b % 10;
    int code = session + (boards == 36 ? 4 : 0);
    int values[9] = {a4, b1, a3, b2, code, b3, a2, b4, a1};
    int sum = 0;
    for (int i = 0; i < 9; i++) sum += (10 - i) * values[i];
    int check = (11 - sum % 11) % 11;
    std::string chars;
    for (int v : values) chars += (char)('0' + v % 10);
    chars += check == 10 ? 'X' : (char)('0' + check);
    return "#" + chars.substr(0, 5) + " " + chars.substr(5, 5);
}

void DrawDealSecret() {
    if (G.PrivateGame != 1 || SystemRandomBytes(G.DealSecretBytes, sizeof G.DealSecretBytes)) return;
    // Nothing is ever dealt from a weak secret.
    std::fill(std::begin(G.DealSecretBytes), std::end(G.DealSecretBytes), 0);
    G.DealingFailure = DealingNoRandom;
}

namespace {

DealKeyParts KeyPartsOfGame() {
    DealKeyParts parts;
    std::copy(std::begin(G.DealSecretBytes), std::end(G.DealSecretBytes), parts.secret.begin());
    parts.year = G.GameYear, parts.month = G.GameMonth, parts.day = G.GameDay;
    parts.session = G.SessionNumber;
    parts.boards = G.TotalBoards;
    return parts;
}

}  // namespace

void TakeDealKey(const DealKeyParts& parts) {
    G.PrivateGame = 1;
    std::copy(parts.secret.begin(), parts.secret.end(), std::begin(G.DealSecretBytes));
    G.GameYear = parts.year, G.GameMonth = parts.month, G.GameDay = parts.day;
    G.SessionNumber = parts.session;
    G.TotalBoards = parts.boards;
    G.GameNumber = 0;
    G.ControlString = MakeDealKey(parts);
}

void TakeDecodedControl(const DecodedControl& decoded) {
    G.PrivateGame = 0;
    G.ControlString = decoded.controlString;
    int32_t serial = decoded.serial;
    parseserialdate(serial);
    G.GameNumber = decoded.gameNumber;
    G.SessionNumber = decoded.session;
    G.TotalBoards = decoded.boards;
}

void BuildControlString() {
    if (G.PrivateGame == 1) {
        G.ControlString = MakeDealKey(KeyPartsOfGame());
        return;
    }
    G.ControlString = MakeControlString(G.GameSerial, G.GameNumber, G.SessionNumber, G.TotalBoards);
}

std::string GameCodeOfFile(const std::string& written, int32_t serial, int session, int boards) {
    DealKeyParts parts;
    if (!LooksLikeDealKey(written)) {
        G.PrivateGame = 0;
        return ControlStringOfFile(written, serial, session, boards);
    }
    if (!DecodeDealKey(written, parts) || SerialOfDate(parts.month, parts.day, parts.year) != serial ||
        parts.session != session || parts.boards != boards)
        return {};
    TakeDealKey(parts);
    return G.ControlString;
}

int GameNumberOfControl(const std::string& control) {
    if (control.size() != 12 || control[0] != '#' || control[6] != ' ') return 0;
    int gameNumber = 0;
    for (int at : {2, 4, 7, 9}) {
        char ch = control[(size_t)at];
        if (ch < '0' || ch > '9') return 0;
        gameNumber = gameNumber * 10 + (ch - '0');
    }
    return gameNumber;
}

std::string ControlStringOfFile(const std::string& written, int32_t serial, int session, int boards) {
    const int gameNumber = GameNumberOfControl(written);
    if (gameNumber < 1 || session < 1 || session > 4 || (boards != 24 && boards != 36)) return {};
    std::string expected = MakeControlString(serial, gameNumber, session, boards);
    return expected == written ? expected : std::string();
}

int32_t SerialFromDigits(int digits, int32_t latest) {
    if (digits < 0 || digits > 9999 || latest < 1) return 0;
    int32_t s = latest - ((latest - digits) % 10000 + 10000) % 10000;
    return s >= 1 ? s : 0;
}

bool DecodeControlText(const std::string& typed, int32_t todaySerial, DecodedControl& out) {
    std::string text;
    for (char ch : typed) {
        if (ch == ' ') continue;
        text += ch == 'x' ? 'X' : ch;
    }
    if (text.size() != 10) return false;
    int value[11] = {};
    for (int i = 1; i <= 10; i++) {
        char ch = text[i - 1];
        if (ch == 'X' && i == 10) {
            value[i] = 10;
        } else if (ch >= '0' && ch <= '9') {
            value[i] = ch - '0';
        } else {
            return false;
        }
    }
    int sum = 0;
    for (int i = 1; i <= 10; i++) sum += (11 - i) * value[i];
    if (sum % 11 != 0 || value[5] == 0) return false;

    int digits = 1000 * value[9] + 100 * value[7] + 10 * value[3] + value[1];
    // Four digits carry the serial modulo 10000: take the latest serial that
    // is no later than a year from today (and never short of 2027's end),
    // within the game years.
    int32_t latest = std::max<int32_t>(LastSerialOf2027, todaySerial + 366);
    latest = std::min(latest, LastGameSerial);
    int32_t serial = SerialFromDigits(digits, latest);
    if (serial < 1) return false;

    out.serial = serial;
    out.gameNumber = 1000 * value[2] + 100 * value[4] + 10 * value[6] + value[8];
    out.session = (value[5] - 1) % 4 + 1;
    out.boards = value[5] > 4 ? 36 : 24;
    out.controlString = "#" + text.substr(0, 5) + " " + text.substr(5, 5);
    return true;
}
