// The settings file: read, checked line by line, repaired and rewritten.
#include "settings/inifile.h"

#include <cstdlib>
#include <vector>

#include "console/kit.h"
#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"

const SettingsItem SettingsItems[8] = {
    {},
    {"ClubNameFont", "times new roman", "Times New Roman", "Club Name Font", "The font",
     "will be substituted.", "Club Name Font", "Typeface for Club Name", "1. Font to use for Club Name:"},
    {"EventNameFont", "comic sans ms", "Comic Sans MS", "Event Name Font", "The font",
     "will be substituted.", "Event Name Font", "Typeface for Event Name", "2. Font choice for Event Name:"},
    {"ClubNamePrompt", "yes", "Yes", "Prompt the Club Name", nullptr,
     "The most recently used club name will be supplied.", "Prompt the Club Name",
     "Supply the last-used Club Name as a prompt", "3. Display most recent Club Name?"},
    {"ColorPrinting", "no", "No", "Color Printing Option", nullptr, "Color printing will not be enabled.",
     "Color Printing", "Print the Suit Symbols in Red/Blue", "4. Print Card Symbols in color?"},
    {"AutoCreatePBNfile", "no", "No", "Create a PBN File", nullptr, "A PBN file will not be written.",
     "Auto-create PBN file", "Auto-create PBN file for export or archive",
     "5. Auto-create a PBN hand-record file?"},
    {"PBNfilesDirectory", "gamefile.km", "GAMEFILE.KM", "PBN file path", nullptr,
     "Defaulting to folder \"GAMEFILE.KM\"", "PBN File Folder", "Change path to PBN files",
     "6. Change the path to PBN files?"},
    {"", "", "Bridge . For . Keelward", "Error in Print Logo Data", nullptr,
     "Defaulting to \"Bridge . For . Keelward\"", "Logo Text", "Change wording on logo for printing",
     "7. Change the wording in the Logo?"},
};
const char* const LogoDefaults[3] = {"Bridge", "For", "Keelward"};

namespace {

bool IsYesNoLine(int index) { return index >= 3 && index <= 5; }

// The later settings' defaults, for a file that does not name them.
void DefaultLaterSettings() {
    G.PaperSize = Paper::Auto;
    G.PbnExportFormat = 0;
    G.PrivateDeals = 0;
    G.WebPage = 0;
}

// The keys of the later settings, upper-cased, as the reader compares them.
bool IsLaterSettingKey(const std::string& upperKey) {
    return upperKey == "PAPERSIZE" || upperKey == "PBNEXPORT" || upperKey == "PRIVATEDEALS" || upperKey == "WEBPAGE";
}

// A line after the nine that sets one of the later settings: taken. False
// for any other line, and for a value the setting does not have (the
// setting then keeps its default).
bool TakeLaterSetting(const std::string& line) {
    const SettingsLineParts parts = SplitSettingsLine(line);
    const std::string key = AsciiUpper(parts.key);
    if (key == "PAPERSIZE") return PaperOfSetting(parts.value, G.PaperSize);
    const int flag = YesNoValue(parts.value);
    if (flag < 0 || !IsLaterSettingKey(key)) return false;
    (key == "PBNEXPORT" ? G.PbnExportFormat : key == "PRIVATEDEALS" ? G.PrivateDeals : G.WebPage) = flag;
    return true;
}

// A line of blanks and tabs only is an empty line: nobody sees it in an
// editor.
bool BlankLine(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// Stores the value of a line already found good.
void StoreSetting(int index, const SettingsLineParts& parts) {
    int flag = AsciiUpper(parts.value) == "YES" ? 1 : 0;
    switch (index) {
    case 1: G.ClubNameFont = parts.value; break;
    case 2: G.EventNameFont = parts.value; break;
    case 3: G.ClubNamePrompt = flag; break;
    case 4: G.ColorPrinting = flag; break;
    case 5: G.AutoCreatePBNfile = flag; break;
    case 6: G.PBNfilesDirectory = parts.value; break;
    default: G.LogoText[index - 6] = parts.key; break;
    }
}

void SetDefaultSetting(int index) {
    if (index < 7) {
        StoreSetting(index, SplitSettingsLine(DefaultSettingsLine(index)));
        return;
    }
    for (int k = 7; k <= SettingsLineCount; k++) StoreSetting(k, SplitSettingsLine(DefaultSettingsLine(k)));
}

// The default lines and settings in memory.
void UseDefaults() {
    for (int i = 0; i <= SettingsLineCount; i++) G.SettingsLines[i] = DefaultSettingsLine(i);
    G.SettingsLines[10].clear();
    for (int i = 1; i <= 7; i++) SetDefaultSetting(i);
    DefaultLaterSettings();
    G.SettingsOddLines.clear();
}

void WaitAnyKey(int row) {
    ConsoleColor(BRIGHTWHITE, MAGENTA);
    ConsoleLocate(row, 35);
    ConsoleWrite(" <any key> ");
    ConsoleColor(YELLOW, BLUE);
    FlushKeys();
    PlayNamedSound("notify2");
    ReadKey();
}

void ShowKeyError(int index) {
    ShowHeader();
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    const int column = 18;
    WriteAt(14, column, "There is an error in a system file, ", YELLOW, BLUE);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite(G.SettingsFileName);

    const SettingsItem& item = SettingsItems[index < 7 ? index : 7];
    WriteAt(16, column, "The definition for ", YELLOW, BLUE);
    ConsoleColor(BRIGHTWHITE, BLUE);
    ConsoleWrite(item.name);
    if (index < 7) {
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(" is missing.");
    }

    ConsoleLocate(18, column);
    ConsoleColor(YELLOW, BLUE);
    if (item.lead) {
        ConsoleWrite(item.lead);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite(std::string(" ") + item.shown + " ");
        ConsoleColor(YELLOW, BLUE);
    }
    ConsoleWrite(item.consequence);
    WaitAnyKey(MessageRow);
}

// The default table and settings; true when the file was written.
bool ResetToDefaults() {
    UseDefaults();
    return WriteSettingsLines();
}

// The file as it stands, kept under the first free of KELMO.BAK,
// KELMO-2.BAK... before the defaults replace it. Its name, or "" and why
// not.
std::string KeepOldSettingsFile(std::string& why) {
    const std::string& name = G.SettingsFileName;
    const std::string copy = FirstFreeName(name.substr(0, name.rfind('.')) + ".BAK");
    std::string bytes;
    if (!ReadWholeFile(name, bytes)) {
        why = "it cannot be read";
        return "";
    }
    if (!WriteFileAtomic(copy, bytes)) {
        why = "no copy can be written (" + LastFileError() + ")";
        return "";
    }
    return copy;
}

// Returns whether the defaults reached the file. They replace it only once
// a copy of it is kept: a club's settings are never lost to one bad line.
bool ShowSystemFileError() {
    std::string why;
    const std::string kept = KeepOldSettingsFile(why);
    // Written before the screen is drawn, so a warning about a failed write
    // cannot wipe one of its lines.
    bool written = false;
    if (kept.empty()) UseDefaults();
    else written = ResetToDefaults();
    ShowHeader();
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    const std::string rule(1, (char)SGL_HORIZ);
    WriteAt(13, 30, rule + " SYSTEM FILE ERROR " + rule, LIGHTRED, BLUE);
    WriteAt(14, 16, "The program initialization file is missing or has ", YELLOW, BLUE);
    WriteAt(15, 16, "been corrupted. Reverting to default specifications:", YELLOW, BLUE);
    if (kept.empty()) {
        WriteAt(16, 16, G.SettingsFileName + " is left as it is: " + why + ".", YELLOW, BLUE);
    } else {
        WriteAt(16, 16, "The old file is kept as ", YELLOW, BLUE);
        ConsoleColor(LIGHTGREEN, BLUE);
        ConsoleWrite(SystemPath(kept));
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(".");
    }
    for (int i = 1; i <= 7; i++) {
        std::string name = SettingsItems[i].summaryName;
        name.resize(23, ' ');
        WriteAt(16 + i, 20, name + "=  " + SettingsItems[i].shown, BRIGHTWHITE, BLUE);
    }
    WaitAnyKey(24);
    return written;
}

// The lines after the nine that were passed over, named once on row 22.
void ShowOddLines() {
    const std::vector<std::string>& odd = G.SettingsOddLines;
    if (odd.empty()) return;
    const std::string lines = odd.size() == 1 ? "a line" : std::to_string(odd.size()) + " lines";
    ShowHeader();
    const std::string quoted = std::string(1, DoubleQuote) + odd[0] + DoubleQuote;
    ShowWarning(FitWarning(G.SettingsFileName + " keeps " + lines + " it does not understand: " + quoted +
                           (odd.size() == 1 ? "" : ", ...")));
}

}  // namespace

SettingsLineParts SplitSettingsLine(const std::string& line) {
    SettingsLineParts parts;
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
        parts.key = Trim(line);
    } else {
        parts.key = Trim(line.substr(0, eq));
        parts.value = Trim(line.substr(eq + 1));
    }
    return parts;
}

bool SettingsLineGood(int index, const std::string& line) {
    SettingsLineParts parts = SplitSettingsLine(line);
    if (index >= 7) return !parts.key.empty();
    if (index < 1 || parts.value.empty() || parts.key != SettingsItems[index].key) return false;
    if (IsYesNoLine(index)) {
        std::string up = AsciiUpper(parts.value);
        return up == "YES" || up == "NO";
    }
    return true;
}

int YesNoValue(const std::string& value) {
    const std::string up = AsciiUpper(Trim(value, " \t"));
    for (const char* yes : {"YES", "Y", "TRUE", "1"})
        if (up == yes) return 1;
    for (const char* no : {"NO", "N", "FALSE", "0"})
        if (up == no) return 0;
    return -1;
}

std::string DefaultSettingsLine(int index) {
    if (index < 0 || index > SettingsLineCount) return "";
    if (index == 0) return std::to_string(SettingsLineCount);
    if (index >= 7) return LogoDefaults[index - 7];
    return std::string(SettingsItems[index].key) + "=" + SettingsItems[index].defaultValue;
}

bool ReadSettingsLines() {
    for (auto& line : G.SettingsLines) line.clear();
    std::vector<std::string> lines;
    int count = 0;
    const bool readable = ReadTextLines(G.SettingsFileName, lines);
    DefaultLaterSettings();
    G.SettingsOddLines.clear();
    for (const auto& line : lines) {
        if (BlankLine(line)) continue;
        if (count < SettingsLineCount) {
            G.SettingsLines[++count] = line;
        } else if (!TakeLaterSetting(line)) {
            // After the nine, a line not understood is passed over and kept:
            // it never makes the file a wrong one.
            G.SettingsOddLines.push_back(line);
        }
    }
    G.SettingsLines[0] = std::to_string(count);
    return readable;
}

bool WriteSettingsLines() {
    if (std::atoi(G.SettingsLines[0].c_str()) == 0) G.SettingsLines[0] = "9";
    std::vector<std::string> lines(G.SettingsLines + 1, G.SettingsLines + 1 + SettingsLineCount);
    lines.push_back(std::string("PaperSize=") + PaperName(G.PaperSize));
    lines.push_back(std::string("PbnExport=") + (G.PbnExportFormat == 1 ? "yes" : "no"));
    lines.push_back(std::string("PrivateDeals=") + (G.PrivateDeals == 1 ? "yes" : "no"));
    lines.push_back(std::string("WebPage=") + (G.WebPage == 1 ? "yes" : "no"));
    // The lines not understood, as they stood; one that gave a later setting
    // a value it does not have is replaced by that setting's own line.
    for (const std::string& line : G.SettingsOddLines)
        if (!IsLaterSettingKey(AsciiUpper(SplitSettingsLine(line).key))) lines.push_back(line);
    if (WriteTextFile(G.SettingsFileName, JoinCrLf(lines))) return true;
    ShowWarning(FitWarning(WriteFailureText("Could not write", G.SettingsFileName)));
    return false;
}

void WriteSettingsDefaults() { ResetToDefaults(); }

void processinifile() {
    if (!PathExists(G.SettingsFileName)) {
        WriteSettingsDefaults();
        return;
    }
    // A file that is there but cannot be read (no permission, a folder of
    // that name) holds settings we cannot see: it is left as it is, and this
    // run goes on with the defaults in memory.
    if (!FileExists(G.SettingsFileName) || !ReadSettingsLines()) {
        UseDefaults();
        G.ErrorCode = 1;
        ShowWarning("Cannot read " + G.SettingsFileName + "; the default settings are used");
        return;
    }
    if (G.SettingsLines[0] != std::to_string(SettingsLineCount)) {
        // The defaults are in the table already; read back only what reached
        // the disk, so a failed write cannot bring the bad file back.
        if (ShowSystemFileError()) ReadSettingsLines();
    }

    G.ErrorCode = 0;
    for (int i = 1; i <= SettingsLineCount; i++) {
        if (SettingsLineGood(i, G.SettingsLines[i])) {
            StoreSetting(i, SplitSettingsLine(G.SettingsLines[i]));
            continue;
        }
        G.ErrorCode = 1;
        ShowKeyError(i);
        SetDefaultSetting(i);
        if (i >= 7) {
            for (int k = 7; k <= 9; k++) G.SettingsLines[k] = DefaultSettingsLine(k);
        } else {
            G.SettingsLines[i] = DefaultSettingsLine(i);
        }
    }
    if (G.ErrorCode == 1 && WriteSettingsLines()) ReadSettingsLines();
    ShowOddLines();
}
