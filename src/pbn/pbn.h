// PBN files: writer and reader.
#pragma once

#include <string>

void EncodeDDTricksTexts();    // DDTricksText from DDTricks
void MakePbnFilePath();        // PbnFilePath from date, session and folder
void writepbnfile();
void readpbnfile();
void DecodeDDTricksTexts();    // DDTricks from DDTricksText
// True when the file just read was written here and every board carries a
// complete double-dummy tricks value, so its tricks can be used unanalysed.
bool PbnStoredTricksUsable();

// The whole file as bytes (CR LF lines), from the game model.
std::string PbnFileText(const std::string& todayMmDdYyyy);
