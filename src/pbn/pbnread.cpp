// Reading a PBN file into the game, in the steps a reader follows: the file
// chosen (the one named by date and session, else one from the list of
// the PBN files there are), read with a bound and scanned, its game checked,
// then applied to the model, and the director told what became of it.
#include <dds/dll.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "console/kit.h"
#include "dealing/control.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "pbn/pbnscan.h"
#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace {

// A name the file gives: there, and neither empty nor PBN's "?".
bool NameGiven(const std::string& value, bool has) { return has && !value.empty() && value != "?"; }

std::string ShownValue(const std::string& value, bool has) { return NameGiven(value, has) ? value : "-"; }

bool IsPbnName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    return lower.size() >= 5 && lower.compare(lower.size() - 4, 4, ".pbn") == 0;
}

std::string Megabytes(int64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB"; }

// The games of a file, as the list shows them.
void AddGames(std::vector<PbnListEntry>& games, const std::string& path, const std::string& name,
              const PbnFileFound& found, int64_t written) {
    for (size_t game = 0; game < found.games.size(); game++) {
        const PbnGameFound& g = found.games[game];
        games.push_back({path, Cp437FromTextFile(name), (int)game, ShownValue(g.event, g.hasEvent),
                         ShownValue(g.date, g.hasDate), (int)g.boards.size(), written});
    }
}

std::string ListLine(const PbnListEntry& c) {
    char line[96];
    std::snprintf(line, sizeof line, " %-20.20s  %-26.26s  %-10.10s  %2d board%s ", c.name.c_str(), c.event.c_str(),
                  c.date.c_str(), c.boards, c.boards == 1 ? " " : "s");
    return line;
}

// Files passed over as too big, said once on row 22 under the list.
void ShowTooBig(const std::vector<std::string>& tooBig) {
    if (tooBig.empty()) return;
    const std::string text = tooBig.size() == 1 ? "Passed over as too big to be a game: " + tooBig[0]
                                                : "Passed over " + std::to_string(tooBig.size()) +
                                                      " files too big to be games: " + tooBig[0] + ", ...";
    WriteAt(MessageRow, WorkAreaLeft + 1, FitWarning(text), BRIGHTWHITE, BLUE);
}

// The chooser: rows 17..21 list the games, row 23 says how to choose.
// Sets G.PbnFilePath and G.PbnGameChoice; false on Esc.
bool ChoosePbnGame(const std::vector<PbnListEntry>& games) {
    constexpr int top = 17, rows = 5;
    const int count = (int)games.size();
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
            ConsoleWrite(ListLine(games[(size_t)at]));
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
    G.PbnFilePath = games[(size_t)chosen].path;
    G.PbnGameChoice = games[(size_t)chosen].game;
    BlankRows(WorkAreaTop, WorkAreaBottom);
    return true;
}

// Step 1: the file. The one of the date and session when it is there, else
// a game chosen from the PBN files there are. False when there is none to
// take, or Esc.
bool ChoosePbnFile(bool& fromList) {
    fromList = false;
    G.PbnGameChoice = 0;
    if (FileExists(G.PbnFilePath)) return true;
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(16, 18);
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    // The path as this system writes it (the kit keeps the line inside the
    // frame).
    ConsoleWrite(" Filename  " + SystemPath(G.PbnFilePath) + "  not found ");
    PlayNamedSound("beep2");
    const PbnGameList list = ListPbnGames();
    ShowTooBig(list.tooBig);
    if (list.games.empty()) {
        ConsoleLocate(18, 36);
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite("<any key>");
        FlushKeys();
        ReadKey();
        return false;
    }
    fromList = true;
    return ChoosePbnGame(list.games);
}

// Step 2: the file read, with its bound, and scanned. False (and said so)
// when it cannot be read.
bool ReadPbnGames(PbnFileFound& found) {
    std::string bytes;
    const std::string where = SystemPath(G.PbnFilePath);
    const int64_t size = FileSize(G.PbnFilePath);
    if (size > (int64_t)PbnFileLimit) {
        ShowWarning(FitWarning(where + " is too big to be a game (" + Megabytes(size) + ")"));
        return false;
    }
    if (!ReadWholeFile(G.PbnFilePath, bytes, PbnFileLimit)) {
        ShowWarning(FitWarning("Cannot read PBN file " + where));
        return false;
    }
    found = ScanPbnText(PbnTextFromBytes(bytes));
    return true;
}

// Step 3: a file of several games, named by date and session: the director
// says which.
bool ChooseGameOfFile(const PbnFileFound& found, bool fromList) {
    if (found.games.size() <= 1 || fromList) return true;
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(16, 18);
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ConsoleWrite(" " + SystemPath(G.PbnFilePath) + " holds " + std::to_string(found.games.size()) + " games ");
    std::vector<PbnListEntry> games;
    const std::string& path = G.PbnFilePath;
    AddGames(games, path, path.substr(path.find_last_of("/\\") + 1), found, 0);
    return ChoosePbnGame(games);
}

// Step 4: the faults of the game taken, in the order they are reported: the
// first board without a deal or with a deal, or tricks, that cannot be
// read; then scores or tricks on some boards but not all. Pure.
struct PbnCheck {
    int fault = PbnNoFault;
    int board = 0, line = 0;
};
PbnCheck CheckGame(const PbnGameFound& game) {
    PbnCheck check;
    int scores = 0, tricks = 0;
    for (const PbnBoardFound& board : game.boards) {
        scores += board.hasScore;
        tricks += board.hasTricks;
        if (check.fault != PbnNoFault) continue;
        if (!board.hasDeal) {
            check = {PbnMissingDeal, board.number, board.line};
        } else if (TrimTrailing(board.deal).size() != DealTextLength ||
                   DealFault(TrimTrailing(board.deal)) != RETURN_NO_FAULT) {
            // The same check as a new analysis makes.
            check = {PbnBadDeal, board.number, board.dealLine};
        } else if (board.hasTricks && board.tricks.size() != 20) {
            check = {PbnBadTricks, board.number, board.tricksLine};
        }
    }
    const int boards = (int)game.boards.size();
    if (check.fault == PbnNoFault) {
        if (scores && scores < boards) check.fault = PbnMissingScore;
        else if (tricks && tricks < boards) check.fault = PbnMissingTricks;
        else if (boards == 0) check.fault = PbnWrongBoardCount;
    }
    return check;
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

void ShowFault(const PbnGameFound& game) {
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(15, 10);
    ConsoleColor(LIGHTRED, BLUE);
    ConsoleWrite("[File ERROR]  ");
    ConsoleColor(YELLOW, BLUE);
    const auto [message, words] = FaultText(game);
    ConsoleWrite(message);
    ConsoleLocate(16, 24);
    ConsoleWrite(words);
    PlayNamedSound("beep2");
    ReadKey();
    FlushKeys();
}

// A file's dealer ("N".."W") as a seat, its vulnerability (in any of PBN's
// spellings) as an index of VulName; -1 when it gives none that is good.
int SeatOfDealer(const std::string& dealer) {
    const std::string up = AsciiUpper(Trim(dealer));
    const size_t at = std::string(SeatLetters).find(up.empty() ? '?' : up[0]);
    return up.size() == 1 && at != std::string::npos ? (int)at : -1;
}
int IndexOfVulnerability(const std::string& vulnerable) {
    const std::string name = PbnVulnerabilityName(Trim(vulnerable));
    for (int v = 0; v < 4; v++)
        if (AsciiUpper(G.PbnVulName[v]) == name) return v;
    return -1;
}

// A name of the file as the header's field takes it; a note when cut.
std::string NameOfFile(const std::string& value, const char* what) {
    const std::string name = NameFromPbnValue(value);
    if (Trim(value).size() > name.size())
        G.PbnNotes.push_back(std::string("The file's ") + what + " name is cut to its first 40 characters");
    return name;
}

// Step 5: the game into the model. Its names (or none, to be asked), its
// boards under their places, each with the number, dealer and
// vulnerability the file gives it, and the layout its highest place takes.
void ApplyGame(const PbnGameFound& game) {
    const bool eventGiven = NameGiven(game.event, game.hasEvent), siteGiven = NameGiven(game.site, game.hasSite);
    G.PbnEventText = eventGiven ? game.event : "";
    G.PbnSiteText = siteGiven ? game.site : "";
    G.PbnAskNames = eventGiven && siteGiven ? 0 : 1;
    G.ClubName = NameOfFile(G.PbnSiteText, "club");
    G.EventName = NameOfFile(G.PbnEventText, "event");

    G.PbnBoardCount = (int)game.boards.size();
    G.PbnHighestBoard = game.highest;
    G.TotalBoards = BoardsOfLayout(game.highest);
    ClearBoardMarks();
    for (int board = 1; board <= MaxBoards; board++) G.BoardAbsent[board] = board <= G.TotalBoards;
    int firstRenumbered = 0, lastRenumbered = 0;
    for (const PbnBoardFound& board : game.boards) {
        const int place = board.number;
        G.BoardAbsent[place] = 0;
        G.DealText[place] = TrimTrailing(board.deal);
        G.ParText[place] = board.score;
        G.DDTricksText[place] = board.tricks;
        // Dealer and vulnerability as the file gives them, else as its own
        // number (the [Board] value, even one too big to show) has them.
        const int own = board.tagNumber > 0 ? board.tagNumber : place;
        const int dealer = SeatOfDealer(board.dealer), vul = IndexOfVulnerability(board.vulnerable);
        G.BoardMarks[place] = {board.label, dealer >= 0 ? dealer : DealerSeat(own), vul >= 0 ? vul : VulIndex(own)};
        if (board.tagNumber > 99) {
            if (!firstRenumbered) firstRenumbered = board.tagNumber;
            lastRenumbered = board.tagNumber;
        }
    }
    if (game.renumbered)
        G.PbnNotes.push_back("Boards " + std::to_string(firstRenumbered) + "-" + std::to_string(lastRenumbered) +
                             " are shown as 1-" + std::to_string(G.PbnBoardCount) +
                             " (dealer and vulnerability their own)");
}

// Step 6: a file of ours keeps its control number or deal key when the
// deals read are the very ones it deals; a file whose deals were edited is
// another program's: no number printed for deals it does not deal, and
// analysed afresh.
void TakeOwnCode(const PbnFileFound& found) {
    if (!G.PbnCreatedHere) return;
    const bool whole = G.PbnBoardCount == G.PbnHighestBoard;
    G.ControlString = GameCodeOfFile(found.controlWritten, G.GameSerial, G.SessionNumber, whole ? G.PbnBoardCount : 0);
    if (G.ControlString.empty()) return;
    const int same = DealTextsAreTheGamesDeals(G.PbnBoardCount, GameNumberOfControl(G.ControlString));
    if (same == 1) return;
    G.ControlString.clear();
    G.PrivateGame = 0;
    G.PbnCreatedHere = 0;
    ShowWarning(same == 0 ? "Deals differ from the file's control number: analysed afresh"
                          : "The system's hash failed: the deal key is not checked; analysed afresh");
}

}  // namespace

std::string NameFromPbnValue(const std::string& value) {
    std::string padded = value + std::string(40, ' ');
    return Trim(padded.substr(0, 40));
}

PbnGameList ListPbnGames() {
    PbnGameList list;
    std::vector<std::string> folders;
    if (!G.PBNfilesDirectory.empty()) folders.push_back(G.PBNfilesDirectory);
    folders.push_back("");
    std::vector<std::string> seen;
    for (const std::string& folder : folders) {
        for (const FolderFile& file : FilesInFolder(folder)) {
            if (!IsPbnName(file.name)) continue;
            const std::string path = folder.empty() ? file.name : folder + "\\" + file.name;
            // A folder named twice (the PBN folder is the working folder)
            // lists its files once.
            const std::string resolved = ResolvePath(path);
            if (std::find(seen.begin(), seen.end(), resolved) != seen.end()) continue;
            seen.push_back(resolved);
            // Only what the list needs, and never a stray file of gigabytes:
            // one too big to be a game is named, not read.
            if (file.size > (int64_t)PbnFileLimit) {
                list.tooBig.push_back(Cp437FromTextFile(file.name) + " (" + Megabytes(file.size) + ")");
                continue;
            }
            std::string bytes;
            if (!ReadWholeFile(path, bytes, PbnFileLimit)) continue;
            AddGames(list.games, path, file.name, ScanPbnText(PbnTextFromBytes(bytes)), file.written);
        }
    }
    std::stable_sort(list.games.begin(), list.games.end(), [](const PbnListEntry& a, const PbnListEntry& b) {
        if (a.written != b.written) return a.written > b.written;
        return a.path != b.path ? a.path < b.path : a.game < b.game;
    });
    return list;
}

void readpbnfile() {
    G.ErrorCode = PbnNoFault;
    G.LoadFailed = 1;
    G.PbnCreatedHere = 0;
    G.PbnBoardCount = G.PbnHighestBoard = 0;
    G.PbnErrorBoard = G.PbnErrorLine = 0;
    G.PbnAskNames = 0;
    G.PbnEventText.clear();
    G.PbnSiteText.clear();
    G.PbnNotes.clear();
    // An imported game has a control number only when its file proves it.
    G.ControlString.clear();
    G.PrivateGame = 0;
    // Nothing of an earlier game may pass for this file's values.
    for (int board = 0; board <= MaxBoards; board++) {
        G.DealText[board].clear();
        G.ParText[board].clear();
        G.DDTricksText[board].clear();
    }
    ClearBoardMarks();

    bool fromList = false;
    PbnFileFound found;
    if (!ChoosePbnFile(fromList) || !ReadPbnGames(found) || !ChooseGameOfFile(found, fromList)) return;
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(15, 33);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("Loading data...");

    static const PbnGameFound none;
    const bool have = G.PbnGameChoice >= 0 && G.PbnGameChoice < (int)found.games.size();
    const PbnGameFound& game = have ? found.games[(size_t)G.PbnGameChoice] : none;
    const PbnCheck check = CheckGame(game);
    G.ErrorCode = check.fault;
    G.PbnErrorBoard = check.board;
    G.PbnErrorLine = check.line;
    if (check.fault != PbnNoFault) {
        ShowFault(game);
        return;
    }
    G.LoadFailed = 0;
    G.PbnCreatedHere = found.createdHere ? 1 : 0;
    ApplyGame(game);
    TakeOwnCode(found);
}

void DecodeDDTricksTexts() {
    const std::string digits = "123456789abcd";
    const int total = std::clamp(G.TotalBoards, 0, MaxBoards);
    for (int board = 1; board <= total; board++) {
        const std::string& text = G.DDTricksText[board];
        for (int k = 0; k < 20; k++) {
            int value = 0;
            if (k < (int)text.size()) {
                // Other programs write the digits in upper case too.
                size_t at = digits.find(AsciiLower(text.substr((size_t)k, 1))[0]);
                if (at != std::string::npos) value = (int)at + 1;
            }
            G.DDTricks[board][PbnFileSeats[k / 5]][PbnFileStrains[k % 5]] = value;
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
