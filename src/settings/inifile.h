// The settings file KELMO.INI: nine lines read and checked at start-up,
// repaired with defaults (each repair explained on screen) and rewritten.
#pragma once

#include <string>

// A file that exists but cannot be read is left untouched: one warning,
// and the defaults in memory.
void processinifile();
// Fills SettingsLines 1..10 with the file's non-empty lines; entry 0 holds
// the count of all non-empty lines ("0" when the file cannot be read).
// False when the file cannot be read.
bool ReadSettingsLines();
// Rewrites the file from SettingsLines 1..9, atomically. On failure shows
// the one-line warning naming the file itself and returns false; the old
// file is then untouched.
bool WriteSettingsLines();
// Default lines and settings in memory, then the file written.
void WriteSettingsDefaults();

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
