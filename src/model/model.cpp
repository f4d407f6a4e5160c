#include "model/model.h"


GameModel G;

int DealerSeat(int board) { return (board - 1) % 4; }

int VulIndex(int board) { return (board + (board - 1) / 4) % 4; }

namespace {

bool VulnerableIn(int vul, int seat) {
    if (seat == 0 || seat == 2) return vul == 0 || vul == 2;
    return vul == 0 || vul == 3;
}

const GameModel::BoardMark& MarkOf(int board) {
    static const GameModel::BoardMark none;
    return board >= 0 && board <= MaxBoards ? G.BoardMarks[board] : none;
}

}  // namespace

bool SeatVulnerable(int board, int seat) { return VulnerableIn(VulIndex(board), seat); }

int BoardNumberShown(int board) { return MarkOf(board).number > 0 ? MarkOf(board).number : board; }

int BoardDealer(int board) { return MarkOf(board).dealer >= 0 ? MarkOf(board).dealer : DealerSeat(BoardNumberShown(board)); }

int BoardVul(int board) { return MarkOf(board).vul >= 0 ? MarkOf(board).vul : VulIndex(BoardNumberShown(board)); }

bool BoardSeatVulnerable(int board, int seat) { return VulnerableIn(BoardVul(board), seat); }

void ClearBoardMarks() {
    for (int board = 0; board <= MaxBoards; board++) {
        G.BoardAbsent[board] = 0;
        G.BoardMarks[board] = GameModel::BoardMark{};
    }
}

std::string GameDateDigits(int year, int month, int day) {
    std::string digits = std::to_string(1000000L + year * 10000L + month * 100L + day);
    // Only a date outside the game years gives fewer digits; never cut short.
    return digits.size() > 6 ? digits.substr(digits.size() - 6) : digits;
}

std::string SessionLetter(int session) {
    return session >= 1 && session <= 4 ? std::string(1, SessionLetters[session - 1]) : "";
}

void FillModelConstants() {
    G.SettingsFileName = "KELMO.INI";
    G.ClubNameFile = "CLUBNAME.KM";
    G.ArchiveFolder = "GAMEFILE.KM";
    G.Blank50 = std::string(50, ' ');
    G.VoidMark4 = "____";

    const char symbols[4] = {6, 3, 4, 5};
    for (int i = 0; i < 4; i++) G.SuitSymbol[i] = std::string(1, symbols[i]) + " ";
    G.SuitSymbol[4] = "NT";
    static const char* letters[5] = {"a", "b", "c", "d", "n"};
    for (int i = 0; i < 5; i++) G.SuitFontLetter[i] = letters[i];
    static const char* seats[4] = {"NORTH", "EAST", "SOUTH", "WEST"};
    for (int i = 0; i < 4; i++) G.SeatName[i] = seats[i];
    static const char* seatLetters[5] = {"", "N", "E", "S", "W"};
    for (int i = 0; i < 5; i++) G.SeatLetter[i] = seatLetters[i];
    static const char* dealers[4] = {"WEST", "NORTH", "EAST", "SOUTH"};
    for (int i = 0; i < 4; i++) G.DealerName[i] = dealers[i];
    static const char* vul[4] = {"BOTH", "NONE", "N-S", "E-W"};
    static const char* pbnVul[4] = {"All", "None", "NS", "EW"};
    for (int i = 0; i < 4; i++) {
        G.VulName[i] = vul[i];
        G.PbnVulName[i] = pbnVul[i];
    }
    static const char* sessions[5] = {"", "Morning", "Afternoon", "Evening", "Late"};
    for (int i = 0; i < 5; i++) G.SessionName[i] = sessions[i];
}
