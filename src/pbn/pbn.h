// PBN files: writer and reader.
#pragma once

#include <string>

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

void EncodeDDTricksTexts();    // DDTricksText from DDTricks
void MakePbnFilePath();        // PbnFilePath from date, session and folder
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
// Reads G.PbnFilePath into the model: one game of it, chosen by the
// director when the file holds several, or from the PBN files there are
// when it is missing. A fault leaves its PbnFault in G.ErrorCode.
void readpbnfile();
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
