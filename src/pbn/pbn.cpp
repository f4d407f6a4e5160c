// The game as a Portable Bridge Notation file: writer and reader.
#include "pbn/pbn.h"

#include <dds/dll.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "dealing/control.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "model/text.h"
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
// The header tags taken, one bit each.
constexpr int EventTag = 1, SiteTag = 2, DateTag = 4;

int BoardsInModel(int count) { return std::clamp(count, 0, MaxBoards); }

std::string Quoted(const std::string& tag, const std::string& value) {
    std::string escaped;
    for (char ch : value) {
        if (ch == DoubleQuote || ch == '\\') escaped += '\\';
        escaped += ch;
    }
    return "[" + tag + " " + std::string(1, DoubleQuote) + escaped + std::string(1, DoubleQuote) + "]";
}

// The string that opens at `open`, its escapes undone; without a closing
// quote it runs to the end of the line.
std::string Unquoted(const std::string& line, size_t open) {
    std::string value;
    for (size_t at = open + 1; at < line.size(); at++) {
        char ch = line[at];
        if (ch == DoubleQuote) break;
        bool escape = ch == '\\' && at + 1 < line.size() && (line[at + 1] == DoubleQuote || line[at + 1] == '\\');
        if (escape) ch = line[++at];
        value += ch;
    }
    return value;
}

bool StartsWith(const std::string& line, const std::string& start) { return line.compare(0, start.size(), start) == 0; }

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string ErrorMessage(int code, int tagsTaken, int boards) {
    std::string board = " " + std::to_string(G.PbnErrorBoard);
    std::string line = " " + std::to_string(G.PbnErrorLine);
    switch (code) {
    case PbnMissingHeader:
        if (!(tagsTaken & DateTag)) return "missing [Date] tag or data";
        if (!(tagsTaken & SiteTag)) return "missing [Site] tag or data";
        return "missing [Event] tag or data";
    case PbnMissingDeal: return "missing [Deal] tag";
    case PbnMissingScore: return "missing [OptimumScore] tag";
    case PbnMissingTricks: return "missing [DoubleDummyTricks] tag";
    case PbnMissingBoard: return "missing [Board] tag";
    case PbnBadDeal: return "Hand data corrupt on Board" + board + ", Line" + line;
    case PbnBadTricks: return "DoubleDummy tricks data corrupt on Board" + board + ", Line" + line;
    default: return "Total boards (" + std::to_string(boards) + ") must be 24 or 36";
    }
}

// Whether the file's dealer and vulnerability (empty: not given) are the
// board number's. PBN's other names for the vulnerabilities count as theirs.
bool FileAgreesOnBoard(int board, const std::string& dealer, const std::string& vulnerable) {
    if (!dealer.empty() && AsciiUpper(dealer) != std::string(1, SeatLetters[DealerSeat(board)])) return false;
    if (vulnerable.empty()) return true;
    std::string vul = AsciiUpper(vulnerable);
    if (vul == "LOVE" || vul == "-") vul = "NONE";
    if (vul == "BOTH") vul = "ALL";
    return vul == AsciiUpper(G.PbnVulName[VulIndex(board)]);
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

std::string PbnFileText(const std::string& todayMmDdYyyy) {
    std::vector<std::string> lines;
    lines.push_back(CreatedMark + ", " + todayMmDdYyyy);
    lines.push_back(ControlMark + G.ControlString);
    int total = BoardsInModel(G.TotalBoards);
    for (int board = 1; board <= total; board++) {
        bool first = board == 1;
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
    }
    // PBN files are ISO 8859-1; the names are held in the console's code page.
    return Latin1FromCp437(JoinCrLf(lines));
}

bool PbnFileIsOfGame(const std::string& path, const std::string& controlString) {
    std::vector<std::string> lines;
    if (controlString.empty() || !ReadTextLines(path, lines)) return false;
    for (size_t i = 0; i < lines.size() && i < 2; i++)
        if (TrimTrailing(lines[i]) == ControlMark + controlString) return true;
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

void readpbnfile() {
    int deals = 0, scores = 0, tricks = 0, boards = 0, lineNumber = 0;
    int tagsTaken = 0;
    std::string controlWritten;
    int numbers[MaxBoards + 1] = {};   // each block's [Board] value
    std::vector<int> disagreeing;      // boards whose dealer or vulnerability differ
    // Each block's [Dealer] and [Vulnerable] as the file gives them ("#":
    // the block before's), to compare with the board number's.
    std::string dealers[MaxBoards + 1], vulnerable[MaxBoards + 1];
    std::string lastDealer, lastVulnerable;
    bool controlSeen = false, scoresSeen = false, tricksSeen = false;
    G.ErrorCode = PbnNoFault;
    G.LoadFailed = 0;
    G.PbnCreatedHere = 0;
    G.PbnBoardCount = 0;
    G.PbnErrorBoard = G.PbnErrorLine = 0;
    G.PbnEventText.clear();
    G.PbnSiteText.clear();
    // An imported game has a control number only when its file proves it.
    G.ControlString.clear();
    // Nothing of an earlier game may pass for this file's values.
    for (int board = 0; board <= MaxBoards; board++) {
        G.DealText[board].clear();
        G.ParText[board].clear();
        G.DDTricksText[board].clear();
    }

    if (!FileExists(G.PbnFilePath)) {
        BlankRows(WorkAreaTop, WorkAreaBottom);
        ConsoleLocate(16, 18);
        ConsoleColor(BRIGHTWHITE, MAGENTA);
        // The path as this system writes it (the kit keeps the line inside
        // the frame).
        ConsoleWrite(" Filename  " + SystemPath(G.PbnFilePath) + "  not found ");
        ConsoleLocate(18, 36);
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite("<any key>");
        G.LoadFailed = 1;
        PlayNamedSound("beep2");
        FlushKeys();
        ReadKey();
        return;
    }

    std::string bytes;
    if (!ReadWholeFile(G.PbnFilePath, bytes)) {
        G.LoadFailed = 1;
        ShowWarning("Cannot read PBN file " + G.PbnFilePath);
        return;
    }
    BlankRows(WorkAreaTop, WorkAreaBottom);
    ConsoleLocate(15, 33);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite("Loading data...");

    auto noteFault = [&](int code) {
        G.ErrorCode = code;
        G.PbnErrorBoard = boards;
        G.PbnErrorLine = lineNumber;
    };

    for (const std::string& line : SplitTextLines(Cp437FromLatin1(bytes))) {
        lineNumber++;
        if (StartsWith(line, CreatedMark)) {
            G.PbnCreatedHere = 1;
            continue;
        }
        if (StartsWith(line, ControlMark) && !controlSeen) {
            controlSeen = true;
            controlWritten = TrimTrailing(line.substr(ControlMark.size()));
            continue;
        }
        if (line.empty() || line[0] != '[') continue;

        size_t open = line.find(DoubleQuote);
        std::string tag = TrimTrailing(line.substr(0, open));
        std::string value;
        if (open != std::string::npos) value = Unquoted(line, open);
        // Values of boards past the tables are counted, never stored.
        bool stored = boards >= 1 && boards <= MaxBoards;

        if (tag == "[Event" || tag == "[Site" || tag == "[Date") {
            int bit = tag == "[Event" ? EventTag : tag == "[Site" ? SiteTag : DateTag;
            if (tagsTaken & bit) continue;
            tagsTaken |= bit;
            // The date comes from the director, not the file.
            if (bit == DateTag) continue;
            (bit == EventTag ? G.PbnEventText : G.PbnSiteText) = value.empty() ? "----" : value;
        } else if (tag == "[Board") {
            boards++;
            if (boards <= MaxBoards) numbers[boards] = std::atoi(value.c_str());
        } else if (tag == "[Dealer" || tag == "[Vulnerable") {
            std::string& last = tag == "[Dealer" ? lastDealer : lastVulnerable;
            if (value != "#") last = value;
            if (stored) (tag == "[Dealer" ? dealers : vulnerable)[boards] = last;
        } else if (tag == "[Deal") {
            deals++;
            if (stored) G.DealText[boards] = value;
            // The same check as a new analysis: four hands of thirteen, every
            // card once, whether the file is ours or not.
            if (value.size() != DealTextLength || DealFault(value) != RETURN_NO_FAULT) {
                noteFault(PbnBadDeal);
                // A text the hands cannot be built from never reaches them.
                if (stored) G.DealText[boards].clear();
            }
        } else if (tag == "[OptimumScore") {
            scores++;
            scoresSeen = true;
            if (stored) G.ParText[boards] = value;
        } else if (tag == "[DoubleDummyTricks") {
            tricks++;
            tricksSeen = true;
            if (stored) G.DDTricksText[boards] = value;
            if (value.size() != 20) noteFault(PbnBadTricks);
        }
    }

    G.PbnBoardCount = (int)std::min(boards, 32767);
    // Boards go under the numbers their [Board] tags give them when those
    // number the boards 1 to the count, in any order (a file sorted as text
    // runs 1, 10, 11, ...); otherwise in the order of the file, as before.
    if (boards >= 1 && boards <= MaxBoards) {
        bool numbered = true;
        std::vector<bool> seen((size_t)boards + 1, false);
        for (int block = 1; block <= boards && numbered; block++) {
            const int number = numbers[block];
            numbered = number >= 1 && number <= boards && !seen[(size_t)number];
            if (numbered) seen[(size_t)number] = true;
        }
        if (numbered) {
            std::vector<std::string> deal(G.DealText, G.DealText + boards + 1), par(G.ParText, G.ParText + boards + 1),
                tricksText(G.DDTricksText, G.DDTricksText + boards + 1);
            for (int block = 1; block <= boards; block++) {
                G.DealText[numbers[block]] = deal[(size_t)block];
                G.ParText[numbers[block]] = par[(size_t)block];
                G.DDTricksText[numbers[block]] = tricksText[(size_t)block];
            }
        }
        for (int block = 1; block <= boards; block++) {
            const int board = numbered ? numbers[block] : block;
            if (!FileAgreesOnBoard(board, dealers[block], vulnerable[block])) disagreeing.push_back(board);
        }
        std::sort(disagreeing.begin(), disagreeing.end());
    }
    if (tagsTaken != (EventTag | SiteTag | DateTag)) G.ErrorCode = PbnMissingHeader;
    if (deals < boards) G.ErrorCode = PbnMissingDeal;
    if (deals > boards) G.ErrorCode = PbnMissingBoard;
    if (scoresSeen && scores < boards) G.ErrorCode = PbnMissingScore;
    if (tricksSeen && tricks < boards) G.ErrorCode = PbnMissingTricks;
    if (boards != 24 && boards != 36) G.ErrorCode = PbnWrongBoardCount;
    if (G.ErrorCode == PbnNoFault && G.PbnCreatedHere)
        G.ControlString = ControlStringOfFile(controlWritten, G.GameSerial, G.SessionNumber, boards);

    // The board number decides dealer and vulnerability, as for every game;
    // a file that says otherwise is told of once, and the import goes on.
    if (G.ErrorCode == PbnNoFault && !disagreeing.empty()) {
        std::string list;
        for (int board : disagreeing) list += (list.empty() ? "" : ", ") + std::to_string(board);
        ShowWarning(FitWarning("Dealer/vulnerability by board number; the file differs on board" +
                               std::string(disagreeing.size() > 1 ? "s " : " ") + list));
    }
    if (G.ErrorCode != PbnNoFault) {
        BlankRows(WorkAreaTop, WorkAreaBottom);
        ConsoleLocate(15, 10);
        ConsoleColor(LIGHTRED, BLUE);
        ConsoleWrite("[File ERROR]  ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(ErrorMessage(G.ErrorCode, tagsTaken, boards));
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
    if (boards != 24 && boards != 36) return false;
    for (int board = 1; board <= boards; board++)
        if (G.DDTricksText[board].size() != 20) return false;
    return true;
}
