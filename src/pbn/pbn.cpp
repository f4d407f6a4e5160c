// The game as a Portable Bridge Notation file: writer and reader.
#include "pbn/pbn.h"

#include <dds/dll.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "analysis/analysis.h"
#include "console/kit.h"
#include "dealing/control.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbnscan.h"
#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace {

const char* const TrickDigits = "0123456789abcd";

int BoardsInModel(int count) { return std::clamp(count, 0, MaxBoards); }

std::string Quoted(const std::string& tag, const std::string& value) {
    std::string escaped;
    for (char ch : value) {
        if (ch == DoubleQuote || ch == '\\') escaped += '\\';
        escaped += ch;
    }
    return "[" + tag + " " + std::string(1, DoubleQuote) + escaped + std::string(1, DoubleQuote) + "]";
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

// ---- Writer ---------------------------------------------------------------

void EncodeDDTricksTexts() {
    int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        std::string text;
        for (int seat : PbnFileSeats)
            for (int strain : PbnFileStrains) text += TrickDigits[std::clamp(G.DDTricks[board][seat][strain], 0, 13)];
        G.DDTricksText[board] = text;
    }
}

std::string GameFilePath(const std::string& extension) {
    std::string session = SessionLetter(G.SessionNumber);
    if (session.empty()) session = "M";
    return G.PBNfilesDirectory + "\\" + GameDateDigits(G.GameYear, G.GameMonth, G.GameDay) + session + extension;
}

void MakePbnFilePath() { G.PbnFilePath = GameFilePath(".pbn"); }

std::string StandardOptimumScore(const std::string& par) {
    const size_t space = par.find(' ');
    if (par.empty() || space == std::string::npos) return "NS 0";   // "Passout"
    // The side of the first seat named: its score.
    return std::string(par[0] == 'N' || par[0] == 'S' ? "NS" : "EW") + par.substr(space);
}

namespace {

// The game in the standard's export format: its tags in their order, every
// value written out ("?" where unknown), the par for a side, and the table
// of the twenty double-dummy results.
std::string PbnExportText(const std::string& todayMmDdYyyy) {
    static const char* const denominations[5] = {"NT", " S", " H", " D", " C"};
    std::vector<std::string> lines = {PbnCreatedMark + ", " + todayMmDdYyyy,
                                      (G.PrivateGame == 1 ? PbnDealKeyMark : PbnControlMark) + G.ControlString,
                                      "% PBN 2.1", "% EXPORT"};
    auto known = [](const std::string& value) { return value.empty() ? std::string("?") : value; };
    const int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        if (!BoardInGame(board)) continue;
        lines.push_back(Quoted("Event", known(G.EventName)));
        lines.push_back(Quoted("Site", known(G.ClubName)));
        lines.push_back(Quoted("Date", known(G.PbnDate)));
        lines.push_back(Quoted("Board", std::to_string(BoardNumberShown(board))));
        for (const char* player : {"West", "North", "East", "South"}) lines.push_back(Quoted(player, "?"));
        lines.push_back(Quoted("Dealer", std::string(1, SeatLetters[BoardDealer(board)])));
        lines.push_back(Quoted("Vulnerable", G.PbnVulName[BoardVul(board)]));
        // The dealer's hand first, as the standard has it, also for a deal
        // another program wrote in another order.
        lines.push_back(Quoted("Deal", DealTextFromSeat(G.DealText[board], BoardDealer(board))));
        for (const char* unplayed : {"Scoring", "Declarer", "Contract", "Result"}) lines.push_back(Quoted(unplayed, "?"));
        lines.push_back(Quoted("DoubleDummyTricks", G.DDTricksText[board]));
        lines.push_back(Quoted("OptimumScore", StandardOptimumScore(G.ParText[board])));
        lines.push_back("[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]");
        for (int k = 0; k < 20; k++) {
            char line[16];
            std::snprintf(line, sizeof line, "%c %s %2d", "NSEW"[k / 5], denominations[k % 5],
                          std::clamp(G.DDTricks[board][PbnFileSeats[k / 5]][PbnFileStrains[k % 5]], 0, 13));
            lines.push_back(line);
        }
        lines.push_back("");
    }
    return Latin1FromCp437(JoinCrLf(lines));
}

}  // namespace

std::string PbnFileText(const std::string& todayMmDdYyyy) {
    if (G.PbnExportFormat == 1) return PbnExportText(todayMmDdYyyy);
    std::vector<std::string> lines;
    lines.push_back(PbnCreatedMark + ", " + todayMmDdYyyy);
    lines.push_back((G.PrivateGame == 1 ? PbnDealKeyMark : PbnControlMark) + G.ControlString);
    int total = BoardsInModel(G.TotalBoards);
    bool first = true;
    for (int board = 1; board <= total; board++) {
        // An imported game's file holds the boards it has.
        if (!BoardInGame(board)) continue;
        lines.push_back(Quoted("Event", first ? G.EventName : "#"));
        lines.push_back(Quoted("Site", first ? G.ClubName : "#"));
        lines.push_back(Quoted("Date", first ? G.PbnDate : "#"));
        lines.push_back(Quoted("Board", std::to_string(BoardNumberShown(board))));
        lines.push_back(Quoted("Dealer", std::string(1, SeatLetters[BoardDealer(board)])));
        lines.push_back(Quoted("Vulnerable", G.PbnVulName[BoardVul(board)]));
        // The dealer's hand first, as the standard has it, also for a deal
        // another program wrote in another order.
        lines.push_back(Quoted("Deal", DealTextFromSeat(G.DealText[board], BoardDealer(board))));
        lines.push_back(Quoted("OptimumScore", G.ParText[board]));
        lines.push_back(Quoted("DoubleDummyTricks", G.DDTricksText[board]));
        lines.push_back("");
        first = false;
    }
    // PBN files are ISO 8859-1; the names are held in the console's code page.
    return Latin1FromCp437(JoinCrLf(lines));
}

bool PbnFileIsOfGame(const std::string& path, const std::string& controlString) {
    std::string bytes;
    if (controlString.empty() || !ReadWholeFile(path, bytes, PbnFileLimit)) return false;
    const std::vector<std::string> lines = SplitTextLines(Cp437FromTextFile(bytes.substr(0, 4096)));
    for (size_t i = 0; i < lines.size() && i < 2; i++)
        if (TrimTrailing(lines[i]) == PbnControlMark + controlString || TrimTrailing(lines[i]) == PbnDealKeyMark + controlString)
            return true;
    return false;
}

namespace {

bool WritePbnFile() {
    // Another game's file of the same date and session is kept under the
    // first free "-2", "-3"... name: no game's file is ever replaced by
    // another's.
    if (!KeepAnotherGamesFile(G.PbnFilePath, PbnFileIsOfGame, "PBN file")) return false;
    LocalTime today = P.clock->Now();
    std::string date = TwoDigits(today.month) + "-" + TwoDigits(today.day) + "-" + std::to_string(today.year);
    // Written under a temporary name and renamed, so a failure leaves no
    // partial file behind; the game goes on without it.
    if (!WriteFileAtomic(G.PbnFilePath, PbnFileText(date))) {
        ShowWarning(FitWarning(WriteFailureText("Cannot write PBN file", G.PbnFilePath)));
        return false;
    }
    return true;
}

}  // namespace

void writepbnfile() { WritePbnFile(); }

void CheckPbnFolder() {
    if (G.AutoCreatePBNfile != 1) return;
    const std::string folder = G.PBNfilesDirectory.empty() ? "." : G.PBNfilesDirectory;
    if (FolderTakesFiles(folder)) return;
    ShowWarning(FitWarning("PBN folder " + SystemPath(folder) + " cannot be written: " + LastFileError()));
}

void SavePbnFile() {
    EncodeDDTricksTexts();
    MakePbnFilePath();
    // This game's own file, under whichever of the numbered names it has,
    // is rewritten; else the first free name beside the others' files.
    G.PbnFilePath = NameOfThisGamesFile(G.PbnFilePath, PbnFileIsOfGame);
    if (WritePbnFile()) G.MenuNote = "Saved " + SystemPath(G.PbnFilePath);
}

bool KeepAnotherGamesFile(const std::string& path, FileOfGame ofGame, const std::string& what) {
    if (!PathExists(path) || ofGame(path, G.ControlString)) return true;
    const std::string kept = FirstFreeName(path);
    if (MoveFileNoReplace(path, kept)) return true;
    ShowWarning(FitWarning(what + " not written: cannot keep " + SystemPath(path) + " as " + SystemPath(kept)));
    return false;
}

std::string NameOfThisGamesFile(const std::string& base, FileOfGame ofGame) {
    std::string path = base;
    for (int n = 2; PathExists(path) && !ofGame(path, G.ControlString); n++) path = NumberedName(base, n);
    return path;
}

