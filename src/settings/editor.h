// The settings editor: the CURRENT SETTINGS screen, where the director
// changes the seven settings one at a time.
#pragma once

#include <string>

// Shows the screen, runs the editor, rewrites the settings file when
// anything changed.
void programsettings();
// The selection loop and the seven item editors.
void editsettings();
// Builds the installed-font list (G.FontListText) from the platform.
void display();

// Pure rules under the editor.

// Longest font name that can be typed: a full name with " Regular" has to
// fit ("Times New Roman Regular" is 23 characters), and the field must end
// inside the frame (columns 50..77).
constexpr int FontNameMaximum = 28;

// The name cut before " REGULAR" (any letter case) and trimmed; unchanged
// when it has no such word.
std::string CutRegular(const std::string& name);
// Whether the name, letter case ignored, is one of the families in a list
// of upper-cased names each followed by ", ".
bool FontListed(const std::string& fontList, const std::string& name);
// The folder text without trailing "/" or "\" (a leading one stays: it
// makes the folder absolute). A text of separators only stays as it is.
std::string TrimTrailingSeparators(const std::string& folder);
// The logo text of a settings line as the next start reads it: the text
// before any "=", trimmed.
std::string LogoPart(const std::string& line);
