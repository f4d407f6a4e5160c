// Reading PBN text as other programs write it: the tags of each board,
// the games a file holds, and what is wrong with a deal, in words. Pure:
// text in, values out.
#pragma once

#include <string>
#include <vector>

// The comment lines that mark a file as this program's own: the first line
// of every file it writes, then its control number or deal key. The writer
// and the reader take them from here, so they cannot drift apart.
inline const std::string PbnCreatedMark = "% Created by KELMO";
inline const std::string PbnControlMark = "% KM Game Control: ";
inline const std::string PbnDealKeyMark = "% KM Deal Key: ";

// One board of a file, its values after "#" inheritance.
struct PbnBoardFound {
    int number = 0;      // its place in the game (1..36)
    int tagNumber = 0;   // its [Board] value; 0 when none or not a number
    // The number it carries: its [Board] value where the place is not, and
    // a number of two figures can show it; else 0 (its place).
    int label = 0;
    int line = 0;        // the line of its first tag
    int dealLine = 0, tricksLine = 0;
    std::string deal, dealer, vulnerable, score, tricks;
    bool hasDeal = false, hasScore = false, hasTricks = false;
};

// One game: boards of one Event and Date, each board number once (a board
// repeated with the same deal, as results files have it once a table, is
// the same board), at most 36 boards. Boards go under their [Board]
// numbers when all of them are 1 to 36, else in file order.
struct PbnGameFound {
    std::string event, site, date;   // its first board's own tags
    bool hasEvent = false, hasSite = false, hasDate = false;
    bool renumbered = false;   // a [Board] value too big to show: in file order
    int line = 0;
    std::vector<PbnBoardFound> boards;   // in file order
    int highest = 0;                     // the highest board number
};

struct PbnFileFound {
    bool createdHere = false;     // our first comment line
    std::string controlWritten;   // our control line's value (a number or a deal key)
    std::vector<PbnGameFound> games;
};

// The file's bytes as code page 437 text: UTF-16 with a byte-order mark,
// UTF-8 with or without one when the bytes are valid UTF-8, else ISO
// 8859-1, the charset the standard names.
std::string PbnTextFromBytes(const std::string& bytes);

// The games of a file's text.
PbnFileFound ScanPbnText(const std::string& text);

// What keeps a deal text from being a whole deal, in words ("North holds 12
// cards", "the seven of clubs is held twice", "no cards"); "" for a whole
// deal.
std::string DealFaultWords(const std::string& deal);

// The dealer letter and vulnerability name of PBN's other spellings, in
// upper case: "Love" and "-" are "NONE", "Both" is "ALL".
std::string PbnVulnerabilityName(const std::string& value);
