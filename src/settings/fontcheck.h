// Start-up check that the suit-symbol font is installed.
#pragma once

#include <string>
#include <vector>

// Returns when the suit font is found; otherwise shows the SETUP ERROR
// screen, waits for a key and ends the program (exit code 0).
void checkfont();

// Pure rules under checkfont.

// The system-wide font folders searched when XDG_DATA_DIRS is not set
// (tests point them elsewhere).
extern std::vector<std::string> SystemFontFolders;
// The folders searched for bridge.ttf, in order: the user's folders from
// XDG_DATA_HOME / HOME, then "fonts" in each folder of XDG_DATA_DIRS, or
// SystemFontFolders without it.
std::vector<std::string> SuitFontFolders();
// Whether a file named bridge.ttf, in any letter case, lies in the folder
// or any folder below it.
bool FolderHoldsSuitFont(const std::string& folder);
// Whether a family "Bridge" (any letter case) is among the names.
bool FamiliesHoldSuitFont(const std::vector<std::string>& families);
// Whether the suit font is installed by any of the checks.
bool SuitFontInstalled();
