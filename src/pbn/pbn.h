// PBN files: writer and reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum PbnFault {
    PbnNoFault = 0,
    PbnMissingHeader = 1,     // no longer a fault: the names are asked
    PbnMissingDeal = 2,
    PbnMissingScore = 3,
    PbnMissingTricks = 4,
    PbnMissingBoard = 5,
    PbnBadDeal = 6,
    PbnBadTricks = 7,
    PbnWrongBoardCount = 8,   // no boards
};

// Declarers in the order of a file's tricks text, N, S, E, W (seats 1..4 of
// DDTricks), and the strains of each: notrump, spades .. clubs.
inline constexpr int PbnFileSeats[4] = {1, 3, 2, 4};
inline constexpr int PbnFileStrains[5] = {5, 4, 3, 2, 1};

// The most of one PBN file that is read: a session with every table's
// auction and play is far less. A bigger file is no game, and is not read.
constexpr size_t PbnFileLimit = 8u << 20;

void EncodeDDTricksTexts();    // DDTricksText from DDTricks
// The game's file of that extension in the PBN folder: yymmdd, the
// session's letter, the extension ("PBNfiles\\150307A.pbn").
std::string GameFilePath(const std::string& extension);
void MakePbnFilePath();        // PbnFilePath: GameFilePath(".pbn")
// Writes the game to PbnFilePath. Another game's file there is first kept
// under the first free "-2", "-3"... name.
void writepbnfile();
// The printing options' "Save PBN file": the game's file written on any
// path, beside (never over) another game's; the message row says where.
void SavePbnFile();
// Before a new game is dealt, when its PBN file is to be written: a folder
// that cannot be written is reported now, not after the analysis.
void CheckPbnFolder();
// Whether the file is the PBN file of the game with this control number.
bool PbnFileIsOfGame(const std::string& path, const std::string& controlString);
// The two rules that keep every game's files, by a test of whether a file
// is the game's (PbnFileIsOfGame, WebPageIsOfGame). A new game takes its
// own name: another game's file there is first kept under the first free
// "-2", "-3"... name (false, and row 22 says why, when it cannot be). A
// file saved from the printing options goes beside the others' instead: the
// first of base, -2, -3... that is free or this game's own.
using FileOfGame = bool (*)(const std::string& path, const std::string& controlString);
bool KeepAnotherGamesFile(const std::string& path, FileOfGame ofGame, const std::string& what);
std::string NameOfThisGamesFile(const std::string& base, FileOfGame ofGame);
// Reads G.PbnFilePath into the model: one game of it, chosen by the
// director when the file holds several, or from the PBN files there are
// when it is missing. A fault leaves its PbnFault in G.ErrorCode. The game
// taken sets the names (or PbnAskNames), the boards with their numbers,
// dealers and vulnerabilities, TotalBoards and PbnNotes.
void readpbnfile();
// A PBN name value as a club or event name: padded to 40, cut to 40, stripped.
std::string NameFromPbnValue(const std::string& value);
// One game of a PBN file, as the list of games shows it.
struct PbnListEntry {
    std::string path;   // as the program names files ("folder\\name")
    std::string name;   // the file's own name
    int game = 0;       // its index in the file
    std::string event, date;
    int boards = 0;
    int64_t written = 0;
};
// The games of every PBN file of the PBN folder and the working folder,
// newest file first; a file over PbnFileLimit is not read, only named in
// tooBig with its size.
struct PbnGameList {
    std::vector<PbnListEntry> games;
    std::vector<std::string> tooBig;
};
PbnGameList ListPbnGames();
void DecodeDDTricksTexts();    // DDTricks from DDTricksText
// True when the file just read was written here and every board carries a
// complete double-dummy tricks value, so its tricks can be used unanalysed.
bool PbnStoredTricksUsable();

// The whole file as bytes (CR LF lines), from the game model: in the
// standard's export format when the setting asks for it.
std::string PbnFileText(const std::string& todayMmDdYyyy);
// A par ("N 140", "S -500", "NE 90", "Passout") as the standard's
// two-side form ("NS 140", "NS -500", "NS 90", "NS 0").
std::string StandardOptimumScore(const std::string& par);
