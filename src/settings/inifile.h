// The settings file KELMO.INI: nine lines read and checked at start-up,
// repaired with defaults (each repair explained on screen) and rewritten.
// Later settings follow the nine as "Key=value" lines; a file without them
// reads without complaint and gains them when next written.
#pragma once

#include <string>

// A file that exists but cannot be read is left untouched: one warning,
// and the defaults in memory.
void processinifile();
// Fills SettingsLines 1..9 with the file's first nine non-empty lines (a
// line of blanks is empty); entry 0 holds their count ("0" when the file
// cannot be read). The lines after them set the later settings; those it
// does not understand go to SettingsOddLines. False when the file cannot
// be read.
bool ReadSettingsLines();
// Rewrites the file from SettingsLines 1..9, then a line for each later
// setting ("PaperSize=auto") and the lines not understood, atomically. On failure shows
// the one-line warning naming the file itself and returns false; the old
// file is then untouched.
bool WriteSettingsLines();
// Default lines and settings in memory, then the file written.
void WriteSettingsDefaults();

// One setting: its key and default in the file and its texts on the
// screens. Items 1..7; the logo (7) has no key and spans lines 7..9.
struct SettingsItem {
    const char* key;
    const char* defaultValue;  // after "=" in the file
    const char* shown;         // the default as the screens name it
    const char* name;          // "The definition for <name> is missing."
    const char* lead;          // before the shown default, when it is marked
    const char* consequence;   // what the default means
    const char* summaryName;   // its line on the system-file-error screen
    const char* label;         // the editor's list
    const char* question;      // the editor's question
};
extern const SettingsItem SettingsItems[8];
extern const char* const LogoDefaults[3];

// Pure rules under the routines above.
struct SettingsLineParts {
    std::string key, value;
};
// Key: text before the first "=", trimmed; value: text after it, trimmed.
SettingsLineParts SplitSettingsLine(const std::string& line);
// Whether line 1..9 holds a good entry.
bool SettingsLineGood(int index, const std::string& line);
// The default text of line 1..9.
std::string DefaultSettingsLine(int index);
// A later setting's yes or no as people write it, in any letter case: 1
// for yes, y, true, 1; 0 for no, n, false, 0; -1 for anything else.
int YesNoValue(const std::string& value);
