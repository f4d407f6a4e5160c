// Where this system keeps the suit-symbol font.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

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
// The checks in order: bridge.ttf in SuitFontFolders(), then the family
// "Bridge" among fonts.Families().
bool SuitFontInstalled(FontList& fonts);
