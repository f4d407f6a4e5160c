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
#include "dealing/control.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbnscan.h"
#include "platform/files.h"
#include "platform/cp437.h"
#include "platform/platform.h"
#include "shell/kit.h"

namespace {

const char* const TrickDigits = "0123456789abcd";
// Declarers in file order N, S, E, W; strains notrump, spades .. clubs.
const int FileSeats[4] = {1, 3, 2, 4};
const int FileStrains[5] = {5, 4, 3, 2, 1};
// The two comment lines the writer puts first; other lines naming the
// program (a club, an event) are no mark.
const std::string CreatedMark = "% Created by KELMO";
const std::string ControlMark = "% KM Game Control: ";
const std::string DealKeyMark = "% KM Deal Key: ";

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

// Whether the file's dealer and vulnerability (empty: not given) are the
// board number's. PBN's other names for the vulnerabilities count as theirs.
bool FileAgreesOnBoard(int board, const std::string& dealer, const std::string& vulnerable) {
    if (!dealer.empty() && AsciiUpper(dealer) != std::string(1, SeatLetters[DealerSeat(board)])) return false;
    return vulnerable.empty() || PbnVulnerabilityName(vulnerable) == AsciiUpper(G.PbnVulName[VulIndex(board)]);
}

}  // namespace

// ---- Writer ---------------------------------------------------------------

void EncodeDDTricksTexts() {
    int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        std::string text;
        for (int seat : FileSeats)
            for (int strain : FileStrains) text += TrickDigits[std::clamp(G.DDTricks[board][seat][strain], 0, 13)];
        G.DDTricksText[board] = text;
    }
}

void MakePbnFilePath() {
    std::string session = SessionLetter(G.SessionNumber);
    if (session.empty()) session = "M";
    G.PbnFilePath = G.PBNfilesDirectory + "\\" + GameDateDigits(G.GameYear, G.GameMonth, G.GameDay) + session + ".pbn";
}

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
    std::vector<std::string> lines = {CreatedMark + ", " + todayMmDdYyyy,
                                      (G.PrivateGame == 1 ? DealKeyMark : ControlMark) + G.ControlString,
                                      "% PBN 2.1", "% EXPORT"};
    auto known = [](const std::string& value) { return value.empty() ? std::string("?") : value; };
    const int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        if (!BoardInGame(board)) continue;
        lines.push_back(Quoted("Event", known(G.EventName)));
        lines.push_back(Quoted("Site", known(G.ClubName)));
        lines.push_back(Quoted("Date", known(G.PbnDate)));
        lines.push_back(Quoted("Board", std::to_string(board)));
        for (const char* player : {"West", "North", "East", "South"}) lines.push_back(Quoted(player, "?"));
        lines.push_back(Quoted("Dealer", std::string(1, SeatLetters[DealerSeat(board)])));
        lines.push_back(Quoted("Vulnerable", G.PbnVulName[VulIndex(board)]));
        lines.push_back(Quoted("Deal", G.DealText[board]));
        for (const char* unplayed : {"Scoring", "Declarer", "Contract", "Result"}) lines.push_back(Quoted(unplayed, "?"));
        lines.push_back(Quoted("DoubleDummyTricks", G.DDTricksText[board]));
        lines.push_back(Quoted("OptimumScore", StandardOptimumScore(G.ParText[board])));
        lines.push_back("[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]");
        for (int k = 0; k < 20; k++) {
            char line[16];
            std::snprintf(line, sizeof line, "%c %s %2d", "NSEW"[k / 5], denominations[k % 5],
                          std::clamp(G.DDTricks[board][FileSeats[k / 5]][FileStrains[k % 5]], 0, 13));
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
    lines.push_back(CreatedMark + ", " + todayMmDdYyyy);
    lines.push_back((G.PrivateGame == 1 ? DealKeyMark : ControlMark) + G.ControlString);
    int total = BoardsInModel(G.TotalBoards);
    bool first = true;
    for (int board = 1; board <= total; board++) {
        // An imported game's file holds the boards it has.
        if (!BoardInGame(board)) continue;
        lines.push_back(Quoted("Event", first ? G.EventName : "#"));
        lines.push_back(Quoted("Site", first ? G.ClubName : "#"));
        lines.push_back(Quoted("Date", first ? G.PbnDate : "#"));
        lines.push_back(Quoted("Board", std::to_string(board)));
        lines.push_back(Quoted("Dealer", std::string(1, SeatLetters[DealerSeat(board)])));
        lines.push_back(Quoted("Vulnerable", G.PbnVulName[VulIndex(board)]));
        lines.push_back(Quoted("Deal", G.DealText[board]));
        lines.push_back(Quoted("OptimumScore", G.ParText[board]));
        lines.push_back(Quoted("DoubleDummyTricks", G.DDTricksText[board]));
        lines.push_back("");
        first = false;
    }
    // PBN files are ISO 8859-1; the names are held in the console's code page.
    return Latin1FromCp437(JoinCrLf(lines));
}

bool PbnFileIsOfGame(const std::string& path, const std::string& controlString) {
    std::vector<std::string> lines;
    if (controlString.empty() || !ReadTextLines(path, lines)) return false;
    for (size_t i = 0; i < lines.size() && i < 2; i++)
        if (TrimTrailing(lines[i]) == ControlMark + controlString || TrimTrailing(lines[i]) == DealKeyMark + controlString)
            return true;
    return false;
}

namespace {

bool WritePbnFile() {
    // Another game's file of the same date and session is kept under the
    // first free "-2", "-3"... name: no game's file is ever replaced by
    // another's.
    if (PathExists(G.PbnFilePath) && !PbnFileIsOfGame(G.PbnFilePath, G.ControlString)) {
        const std::string kept = FirstFreeName(G.PbnFilePath);
        if (!MoveFileNoReplace(G.PbnFilePath, kept)) {
            ShowWarning(FitWarning("PBN file not written: cannot keep " + SystemPath(G.PbnFilePath) + " as " +
                                   SystemPath(kept)));
            return false;
        }
    }
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
    const std::string base = G.PbnFilePath;
    for (int n = 2; PathExists(G.PbnFilePath) && !PbnFileIsOfGame(G.PbnFilePath, G.ControlString); n++)
        G.PbnFilePath = NumberedName(base, n);
    if (WritePbnFile()) G.PrintNote = "Saved " + SystemPath(G.PbnFilePath);
}

// ---- Reader ---------------------------------------------------------------

namespace {

// One game of a PBN file, as the chooser lists it.
struct PbnChoice {
    std::string path;   // as the program names files ("folder\\name")
    std::string name;   // the file's own name
    int game = 0;       // its index in the file
    std::string event, date;
    int boards = 0;
    int64_t written = 0;
};

// A name the file gives: there, and neither empty nor PBN's "?".
bool NameGiven(const std::string& value, bool has) { return has && !value.empty() && value != "?"; }

std::string ShownValue(const std::string& value, bool has) { return NameGiven(value, has) ? value : "-"; }

// The games of a file, as the list shows them.
void AddChoices(std::vector<PbnChoice>& choices, const std::string& path, const std::string& name,
                const PbnFileFound& found, int64_t written) {
    for (size_t game = 0; game < found.games.size(); game++) {
        const PbnGameFound& g = found.games[game];
        choices.push_back({path, Cp437FromTextFile(name), (int)game, ShownValue(g.event, g.hasEvent),
                           ShownValue(g.date, g.hasDate), (int)g.boards.size(), written});
    }
}

// The games of every PBN file of the PBN folder and the working folder,
// newest file first.
std::vector<PbnChoice> PbnChoices() {
    std::vector<PbnChoice> choices;
    std::vector<std::string> folders;
    if (!G.PBNfilesDirectory.empty()) folders.push_back(G.PBNfilesDirectory);
    folders.push_back("");
    std::vector<std::string> seen;
    for (const std::string& folder : folders) {
        for (const FolderFile& file : FilesInFolder(folder)) {
            const std::string lower = AsciiLower(file.name);
            if (lower.size() < 5 || lower.compare(lower.size() - 4, 4, ".pbn") != 0) continue;
            const std::string path = folder.empty() ? file.name : folder + "\\" + file.name;
            // A folder named twice (the PBN folder is the working folder)
            // lists its files once.
            const std::string resolved = ResolvePath(path);
            if (std::find(seen.begin(), seen.end(), resolved) != seen.end()) continue;
            seen.push_back(resolved);
            std::string bytes;
            if (!ReadWholeFile(path, bytes)) continue;
            AddChoices(choices, path, file.name, ScanPbnText(PbnTextFromBytes(bytes)), file.written);
        }
    }
    std::stable_sort(choices.begin(), choices.end(), [](const PbnChoice& a, const PbnChoice& b) {
        if (a.written != b.written) return a.written > b.written;
        return a.path != b.path ? a.path < b.path : a.game < b.game;
    });
    return choices;
}

std::string ChoiceLine(const PbnChoice& c) {
    char line[96];
    std::snprintf(line, sizeof line, " %-20.20s  %-26.26s  %-10.10s  %2d board%s ", c.name.c_str(), c.event.c_str(),
                  c.date.c_str(), c.boards, c.boards == 1 ? " " : "s");
    return line;
}

// The chooser: rows 17..21 list the games, row 23 says how to choose.
// Sets G.PbnFilePath and G.PbnGameChoice; false on Esc.
bool ChoosePbnGame(const std::vector<PbnChoice>& choices) {
    constexpr int top = 17, rows = 5;
    const int count = (int)choices.size();
    if (count == 0) return false;
    int chosen = 0, first = 0;
    ConsoleCursor(CURSOR_HIDE);
    ConsoleLocate(23, 8);
    ConsoleColor(LIGHTCYAN, BLUE);
    ConsoleWrite("Up/Down, PgUp/PgDn: choose a PBN game    Enter: take it    Esc: menu");
    FlushKeys();
    for (;;) {
        first = std::clamp(first, std::max(0, chosen - rows + 1), chosen);
        for (int row = 0; row < rows; row++) {
            const int at = first + row;
            ConsoleLocate(top + row, 4);
            if (at >= count) {
                ConsoleColor(BRIGHTWHITE, BLUE);
                ConsoleWrite(std::string(74, ' '));
                continue;
            }
            ConsoleColor(at == chosen ? BLUE : BRIGHTWHITE, at == chosen ? WHITE : BLUE);
            ConsoleWrite(ChoiceLine(choices[(size_t)at]));
        }
        const std::string key = ReadKey();
        if (key == KeyUp) chosen = std::max(chosen - 1, 0);
        else if (key == KeyDown) chosen = std::min(chosen + 1, count - 1);
        else if (key == KeyPageUp) chosen = std::max(chosen - rows, 0);
        else if (key == KeyPageDown) chosen = std::min(chosen + rows, count - 1);
        else if (key == KeyEnter) break;
        else if (key == KeyEsc) return false;
        else PlayNamedSound("beep2");
    }
    G.PbnFilePath = choices[(size_t)chosen].path;
    G.PbnGameChoice = choices[(size_t)chosen].game;
    BlankRows(WorkAreaTop, WorkAreaBottom);
    return true;
}

// The faults of the game taken, in the order they are reported: the first
// board without a deal or with a deal, or tricks, that cannot be read; then
// scores or tricks on some boards but not all.
void CheckGame(const PbnGameFound& game) {
    int scores = 0, tricks = 0;
    for (const PbnBoardFound& board : game.boards) {
        scores += board.hasScore;
        tricks += board.hasTricks;
        if (G.ErrorCode != PbnNoFault) continue;
        G.PbnErrorBoard = board.number;
        if (!board.hasDeal) {
            G.ErrorCode = PbnMissingDeal;
            G.PbnErrorLine = board.line;
        } else if (TrimTrailing(board.deal).size() != DealTextLength ||
                   DealFault(TrimTrailing(board.deal)) != RETURN_NO_FAULT) {
            // The same check as a new analysis makes.
            G.ErrorCode = PbnBadDeal;
            G.PbnErrorLine = board.dealLine;
        } else if (board.hasTricks && board.tricks.size() != 20) {
            G.ErrorCode = PbnBadTricks;
            G.PbnErrorLine = board.tricksLine;
        }
    }
    const int boards = (int)game.boards.size();
    if (G.ErrorCode == PbnNoFault) {
        G.PbnErrorBoard = G.PbnErrorLine = 0;
        if (scores && scores < boards) G.ErrorCode = PbnMissingScore;
        else if (tricks && tricks < boards) G.ErrorCode = PbnMissingTricks;
        else if (boards == 0) G.ErrorCode = PbnWrongBoardCount;
    }
}

// The fault's message as before, and below it what is wrong, in words.
std::pair<std::string, std::string> FaultText(const PbnGameFound& game) {
    const std::string board = std::to_string(G.PbnErrorBoard), line = std::to_string(G.PbnErrorLine);
    switch (G.ErrorCode) {
    case PbnMissingDeal: return {"missing [Deal] tag", "Board " + board + " (line " + line + ") has no deal"};
    case PbnMissingScore: return {"missing [OptimumScore] tag", "Some boards have one, others not"};
    case PbnMissingTricks: return {"missing [DoubleDummyTricks] tag", "Some boards have one, others not"};
    case PbnBadTricks: return {"DoubleDummy tricks data corrupt on Board " + board + ", Line " + line, ""};
    case PbnBadDeal:
        for (const PbnBoardFound& b : game.boards)
            if (b.number == G.PbnErrorBoard) {
                std::string words = DealFaultWords(b.deal);
                // Every card once, 13 a hand, but a suit's dot left out.
                if (words.empty()) words = "a hand has fewer than four suits";
                words[0] = AsciiUpper(words.substr(0, 1))[0];
                return {"Hand data corrupt on Board " + board + ", Line " + line, words};
            }
        return {"Hand data corrupt on Board " + board + ", Line " + line, ""};
    default: return {"No deals in the file", ""};
    }
}

}  // namespace

void readpbnfile() {
    G.ErrorCode = PbnNoFault;
    G.LoadFailed = 0;
    G.PbnCreatedHere = 0;
    G.PbnBoardCount = G.PbnHighestBoard = 0;
    G.PbnErrorBoard = G.PbnErrorLine = 0;
    G.PbnAskNames = 0;
    G.PbnEventText.clear();
    G.PbnSiteText.clear();
    // An imported game has a control number only when its file proves it.
    G.ControlString.clear();
    G.PrivateGame = 0;
    // Nothing of an earlier game may pass for this file's values.
    for (int board = 0; board <= MaxBoards; board++) {
        G.DealText[board].clear();
        G.ParText[board].clear();
        G.DDTricksText[board].clear();
        G.BoardAbsent[board] = 0;
    }

    bool chosen = false;
    if (!FileExists(G.PbnFilePath)) {
        BlankRows(WorkAreaTop, WorkAreaBottom);
        ConsoleLocate(16, 18);
        ConsoleColor(BRIGHTWHITE, MAGENTA);
        // The path as this system writes it (the kit keeps the line inside
        // the frame).
        ConsoleWrite(" Filename  " + SystemPath(G.PbnFilePath) + "  not found ");
        PlayNamedSound("beep2");
        // The PBN files there are: the director takes one of their games.
        const std::vector<PbnChoice> choices = PbnChoices();
        if (choices.empty()) {
            ConsoleLocate(18, 36);
            ConsoleColor(YELLOW, BLUE);
            ConsoleWrite("<any key>");
            G.LoadFailed = 1;
            FlushKeys();
            ReadKey();
            return;
        }
        if (!ChoosePbnGame(choices)) {
            G.LoadFailed = 1;
            return;
        }
        chosen = true;
    } else {
        G.PbnGameChoice = 0;
    }

    std::string bytes;
    if (!ReadWholeFile(G.PbnFilePath, bytes)) {
        G.LoadFailed = 1;
        ShowWarning(FitWarning("Cannot read PBN file " + SystemPath(G.PbnFilePath)));
        return;
    }
    PbnFileFound found = ScanPbnText(PbnTextFromBytes(bytes));
    // A file of several games: the director says which.
    if (found.games.size() > 1 && !chosen) {
        BlankRows(WorkAreaTop, WorkAreaBottom);
        ConsoleLocate(16, 18);
        ConsoleColor(BRIGHTWHITE, MAGENTA);
        ConsoleWrite(" " + SystemPath(G.PbnFilePath) + " holds " + std::to_string(found.games.size()) + " games ");
        std::vector<PbnChoice> choices;
        const std::string& path = G.PbnFilePath;
        AddChoices(choices, path, path.substr(path.find_last_of("/\\") + 1), found, 0);
        if (!ChoosePbnGame(choices)) {
            G.LoadFailed = 1;
            return;
        }
    }
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(15, 33);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("Loading data...");

    static const PbnGameFound none;
    const bool have = G.PbnGameChoice >= 0 && G.PbnGameChoice < (int)found.games.size();
    const PbnGameFound& game = have ? found.games[(size_t)G.PbnGameChoice] : none;
    G.PbnCreatedHere = found.createdHere ? 1 : 0;
    CheckGame(game);

    // The names: a file without them (or with "?") has them asked.
    if (NameGiven(game.event, game.hasEvent)) G.PbnEventText = game.event;
    if (NameGiven(game.site, game.hasSite)) G.PbnSiteText = game.site;
    if (!NameGiven(game.event, game.hasEvent) || !NameGiven(game.site, game.hasSite)) G.PbnAskNames = 1;

    G.PbnBoardCount = (int)game.boards.size();
    G.PbnHighestBoard = game.highest;
    const int total = game.highest <= 24 ? 24 : 36;
    for (int board = 1; board <= MaxBoards; board++) G.BoardAbsent[board] = board <= total;
    std::vector<int> disagreeing;   // boards whose dealer or vulnerability differ
    for (const PbnBoardFound& board : game.boards) {
        G.BoardAbsent[board.number] = 0;
        G.DealText[board.number] = TrimTrailing(board.deal);
        G.ParText[board.number] = board.score;
        G.DDTricksText[board.number] = board.tricks;
        if (!FileAgreesOnBoard(board.number, board.dealer, board.vulnerable)) disagreeing.push_back(board.number);
    }
    std::sort(disagreeing.begin(), disagreeing.end());
    if (G.ErrorCode == PbnNoFault && G.PbnCreatedHere)
        G.ControlString = GameCodeOfFile(found.controlWritten, G.GameSerial, G.SessionNumber,
                                         G.PbnBoardCount == G.PbnHighestBoard ? G.PbnBoardCount : 0);
    // A file of ours whose deals were edited is another program's file: no
    // control number printed for deals it does not deal, analysed afresh.
    const int same = G.ControlString.empty()
                         ? 1
                         : DealTextsAreTheGamesDeals(G.PbnBoardCount, GameNumberOfControl(G.ControlString));
    if (same != 1) {
        G.ControlString.clear();
        G.PrivateGame = 0;
        G.PbnCreatedHere = 0;
        ShowWarning(same == 0 ? "Deals differ from the file's control number: analysed afresh"
                              : "The system's hash failed: the deal key is not checked; analysed afresh");
    }

    // The board number decides dealer and vulnerability, as for every game;
    // a file that says otherwise is told of once, and the import goes on.
    if (G.ErrorCode == PbnNoFault && !disagreeing.empty()) {
        std::string list;
        for (int board : disagreeing) list += (list.empty() ? "" : ", ") + std::to_string(board);
        ShowWarning(FitWarning("Dealer/vulnerability by board number; the file differs on board" +
                               std::string(disagreeing.size() > 1 ? "s " : " ") + list));
    }
    if (G.ErrorCode != PbnNoFault) {
        // A text the hands cannot be built from never reaches them.
        if (G.ErrorCode == PbnBadDeal) G.DealText[G.PbnErrorBoard].clear();
        BlankRows(WorkAreaTop, WorkAreaBottom);
        ConsoleLocate(15, 10);
        ConsoleColor(LIGHTRED, BLUE);
        ConsoleWrite("[File ERROR]  ");
        ConsoleColor(YELLOW, BLUE);
        const auto [message, words] = FaultText(game);
        ConsoleWrite(message);
        ConsoleLocate(16, 24);
        ConsoleWrite(words);
        G.LoadFailed = 1;
        PlayNamedSound("beep2");
        ReadKey();
        FlushKeys();
    }
}

void DecodeDDTricksTexts() {
    const std::string digits = "123456789abcd";
    int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        const std::string& text = G.DDTricksText[board];
        for (int k = 0; k < 20; k++) {
            int value = 0;
            if (k < (int)text.size()) {
                // Other programs write the digits in upper case too.
                size_t at = digits.find(AsciiLower(text.substr((size_t)k, 1))[0]);
                if (at != std::string::npos) value = (int)at + 1;
            }
            G.DDTricks[board][FileSeats[k / 5]][FileStrains[k % 5]] = value;
        }
    }
}

bool PbnStoredTricksUsable() {
    if (!G.PbnCreatedHere) return false;
    int boards = G.PbnBoardCount;
    if ((boards != 24 && boards != 36) || G.PbnHighestBoard != boards) return false;
    for (int board = 1; board <= boards; board++)
        if (G.DDTricksText[board].size() != 20) return false;
    return true;
}
