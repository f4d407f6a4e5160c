// The one game model. Every routine reads and writes it directly; there is
// exactly one current game. Texts are single-byte (code page 437) strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/paper.h"

// Console colours by their standard numbers.
enum ConsoleColour {
    BLACK = 0, BLUE = 1, GREEN = 2, CYAN = 3, RED = 4, MAGENTA = 5, BROWN = 6,
    WHITE = 7, GREY = 8, LIGHTBLUE = 9, LIGHTGREEN = 10, LIGHTCYAN = 11,
    LIGHTRED = 12, LIGHTMAGENTA = 13, YELLOW = 14, BRIGHTWHITE = 15
};

// Leave the background as it is (ConsoleColor).
constexpr int KEEP_BACKGROUND = -1;

// Cursor states for ConsoleCursor: hide, show with its current size, or a
// size of 10..99 percent of the cell.
constexpr int CURSOR_HIDE = 0;
constexpr int CURSOR_SHOW = 1;

// Code page 437 line-drawing and block characters.
enum BoxChar : unsigned char {
    DBL_TOPLEFT = 201, DBL_TOPRIGHT = 187, DBL_BOTLEFT = 200, DBL_BOTRIGHT = 188,
    DBL_HORIZ = 205, DBL_VERT = 186, DBL_TEE_LEFT = 204, DBL_TEE_RIGHT = 185,
    DBL_SGL_TEE_LEFT = 199, DBL_SGL_TEE_RIGHT = 182, SGL_HORIZ = 196,
    SGL_TOPLEFT = 218, SGL_TOPRIGHT = 191, SGL_BOTLEFT = 192, SGL_BOTRIGHT = 217,
    SGL_VERT = 179, LOWER_HALF_BLOCK = 220, FULL_BLOCK = 219, UPPER_HALF_BLOCK = 223
};
constexpr unsigned char ArchiveMarker = 246;
constexpr char DoubleQuote = 34;

// Fixed screen positions (rows and columns from 1 on 80 x 25).
constexpr int WorkAreaTop = 14, WorkAreaBottom = 23, WorkAreaLeft = 4, WorkAreaWidth = 74;
constexpr int MenuTopRow = 14, PromptRow = 17, SelectRow = 20, MessageRow = 22;
constexpr int PromptColumn = 13, FieldColumn = 35;

constexpr int MaxBoards = 36;
constexpr int SettingsLineCount = 9;

// A font as MakeFont records it.
struct PrintFontDesc {
    std::string face;
    float points = 0;
    int style = 0;   // 1 = bold
};

// A private game's deal stream: blocks of its secret's HMAC-SHA-256, read a
// 32-bit word at a time (dealing/private.h). Part of the game: set up by
// ApplyDealingKey, gone with the game.
struct PrivateDealStream {
    uint8_t secret[16] = {};
    uint64_t block = 0;      // the next block to make
    uint8_t words[32] = {};
    int used = 8;            // words of the current block taken
    int failed = 0;          // the system's hash failed: it deals nothing more
};

// Why a game could not be dealt (GameModel::DealingFailure). Nothing of it
// is dealt then, and the path ends with a message.
enum DealingFailureKind {
    DealingGood = 0,
    DealingNoRandom,     // the system gave no random bytes for a secret
    DealingHashFailed,   // the system's hash failed under the stream
    DealingNoFairDeal    // no deal the re-deal rule takes in MaxDealTries
};

struct GameModel {
    // Game particulars.
    std::string ClubName, EventName;
    int GameMonth = 0, GameDay = 0, GameYear = 0;
    int SessionNumber = 0;
    int TotalBoards = 0;
    int DateValid = 0;
    std::string ArchivePath;
    // LoadArchive found the file of another game of the date and session
    // (its control number differs): its names are not this game's, and the
    // file is not replaced.
    int ArchiveOfOtherGame = 0;
    int PbnImportMode = 0;
    int LoadFailed = 0;
    int PbnCreatedHere = 0;

    // Derived date values.
    std::string WeekdayText, DateText, PbnDate;
    int FullYear = 0;
    int32_t GameSerial = 0;   // 32 bits: passes 32767 in 2089

    // Control number, or for a private game its deal key (ControlString
    // then holds the key) and the secret the boards are dealt from.
    int GameNumber = 0;
    std::string ControlString;
    int PrivateGame = 0;
    uint8_t DealSecretBytes[16] = {};
    PrivateDealStream DealStream;
    int DealingFailure = DealingGood;
    int DealingFailureBoard = 0;   // the board it failed on; 0 before any

    // Per-board tables, index 1..36 (0 unused).
    int Deck[52] = {};
    uint16_t HandMasks[MaxBoards + 1][4][4] = {};      // board, seat, suit
    std::string HoldingText[MaxBoards + 1][4][4];
    int SuitLength[MaxBoards + 1][4][4] = {};
    int LongestEast[MaxBoards + 1] = {};
    int LongestWest[MaxBoards + 1] = {};
    std::string DupeText[MaxBoards + 1][4];
    std::string DealText[MaxBoards + 1];
    int DDTricks[MaxBoards + 1][5][6] = {};             // board, seat 1..4, strain 1..5
    std::string DDTricksText[MaxBoards + 1];
    std::string ParText[MaxBoards + 1];

    // PBN file values (reader and writer).
    std::string PbnFilePath;
    std::string PbnEventText, PbnSiteText;
    int PbnBoardCount = 0;     // the boards the imported game has
    int PbnHighestBoard = 0;   // its highest board number
    int PbnErrorBoard = 0, PbnErrorLine = 0;
    // Which game of the file the import takes (a file may hold several),
    // and whether the file names no club or event, so they are asked.
    int PbnGameChoice = 0;
    int PbnAskNames = 0;
    // What the import changed of the file's game (a name cut to its field,
    // boards shown under other numbers), for the PBN File found screen.
    std::vector<std::string> PbnNotes;
    // Boards up to TotalBoards that an imported game does not have: no
    // analysis, no printing, not in the file written.
    int BoardAbsent[MaxBoards + 1] = {};
    // The number each board carries on screen, paper and files, and its
    // dealer and vulnerability. A new game's board b is number b with that
    // number's dealer and vulnerability; an imported game keeps its file's.
    struct BoardMark {
        int number = 0;    // 0: the board's own place
        int dealer = -1;   // seat 0..3; -1: the number's
        int vul = -1;      // index of VulName; -1: the number's
    } BoardMarks[MaxBoards + 1];

    // Name tables.
    std::string SuitSymbol[5];
    std::string SuitFontLetter[5];
    std::string SeatName[4];
    std::string SeatLetter[5];
    std::string DealerName[4];
    std::string VulName[4];
    std::string PbnVulName[4];
    std::string SessionName[5];

    // Settings.
    std::string SettingsLines[11];
    std::string LogoText[4];
    int ClubNamePrompt = 1, ColorPrinting = 0, AutoCreatePBNfile = 0;
    std::string ClubNameFont, EventNameFont, PBNfilesDirectory;
    // Settings after the nine lines, each a "Key=value" line of its own.
    Paper PaperSize = Paper::Auto;
    int PbnExportFormat = 0;          // 1: PBN files in the standard's export format
    int PrivateDeals = 0;             // 1: new games dealt from a secret (a deal key)
    int WebPage = 0;                  // 1: a web page written with every PBN file
    // Lines after the nine that the program does not understand (a key it
    // does not know, a value it cannot read), as they stand: passed over,
    // and written back with the file, so a misspelt line loses nothing.
    std::vector<std::string> SettingsOddLines;

    // Settings editor: the changed flag, and the installed-font list (each
    // family upper-cased and followed by ", "), built once per run.
    int SettingsChanged = 0;
    std::string FontListText;

    // Print fonts: handles by face 0..6, points 0..60, style 0..1. Handle n
    // is entry n - 1 of MadeFonts; 0 is no font.
    int32_t PrintFonts[7][61][2] = {};
    std::vector<PrintFontDesc> MadeFonts;

    // File names.
    std::string SettingsFileName, ClubNameFile, ArchiveFolder;

    // Blank texts and void marks.
    std::string Blank50;
    std::string VoidMark4;

    // Shared interaction state.
    int AbandonFlag = 0;
    int YesNoAnswer = 0;
    std::string KeyText;
    std::string InputText;
    int InputNumber = 0;
    std::string MenuChoice;
    int ErrorCode = 0;
    int BoardOneMatches = 0;
    // What the next menu says once on row 22, waiting for nothing: where the
    // last printout went, a manual that could not be opened. Empty when
    // there is nothing to say.
    std::string MenuNote;
    // Whether this run has said what the paper "auto" comes to.
    int PaperNoteSaid = 0;

    // Generator state: all ones at program start.
    uint32_t RandomState = 0xFFFFFFFFu;
};

extern GameModel G;

// The model's fixed texts: file names, blanks, the name tables.
void FillModelConstants();

// Letters of the seats (North first), the ranks (ace first) and the
// sessions (Morning first), as deal texts and file names spell them.
constexpr char SeatLetters[] = "NESW";
constexpr char RankLetters[] = "AKQJT98765432";
constexpr char SessionLetters[] = "MAEL";

// Board attributes from the board number alone.
int DealerSeat(int board);        // 0 North .. 3 West
int VulIndex(int board);          // index into VulName / PbnVulName
bool SeatVulnerable(int board, int seat);  // seat 0..3
// What a board of the game carries (BoardMarks): the number shown, its
// dealer (seat 0..3), its vulnerability (index of VulName) and whether a
// seat (0..3) is vulnerable on it.
int BoardNumberShown(int board);
int BoardDealer(int board);
int BoardVul(int board);
bool BoardSeatVulnerable(int board, int seat);
// A new game's boards: every board its own number, dealer and
// vulnerability, and none absent.
void ClearBoardMarks();
// The layouts a game takes, 24 or 36 boards: the 24-board sheets while its
// highest board allows, else the 36-board ones.
inline int BoardsOfLayout(int highestBoard) { return highestBoard <= 24 ? 24 : 36; }
// Whether the game has the board: 1..TotalBoards, and not one an imported
// game lacks.
inline bool BoardInGame(int board) {
    return board >= 1 && board <= G.TotalBoards && board <= MaxBoards && !G.BoardAbsent[board];
}

// The stem of a game's file names (archive, PBN file, print jobs): the date
// as yymmdd and the session's letter ("" outside 1..4).
std::string GameDateDigits(int year, int month, int day);
std::string SessionLetter(int session);

