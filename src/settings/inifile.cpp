// The settings file: read, checked line by line, repaired and rewritten.
#include "settings/inifile.h"

#include <cstdlib>
#include <vector>

#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"
#include "shell/kit.h"

namespace {

const char* const DefaultLines[SettingsLineCount + 1] = {
    "9",
    "ClubNameFont=times new roman",
    "EventNameFont=comic sans ms",
    "ClubNamePrompt=yes",
    "ColorPrinting=no",
    "AutoCreatePBNfile=no",
    "PBNfilesDirectory=gamefile.km",
    "Bridge",
    "For",
    "Keelward",
};

const char* const KeyNames[7] = {"", "ClubNameFont", "EventNameFont", "ClubNamePrompt",
                                 "ColorPrinting", "AutoCreatePBNfile", "PBNfilesDirectory"};

bool IsYesNoLine(int index) { return index >= 3 && index <= 5; }

void SetDefaultSetting(int index) {
    switch (index) {
    case 1: G.ClubNameFont = "times new roman"; break;
    case 2: G.EventNameFont = "comic sans ms"; break;
    case 3: G.ClubNamePrompt = 1; break;
    case 4: G.ColorPrinting = 0; break;
    case 5: G.AutoCreatePBNfile = 0; break;
    case 6: G.PBNfilesDirectory = "gamefile.km"; break;
    default:
        G.LogoText[1] = "Bridge";
        G.LogoText[2] = "For";
        G.LogoText[3] = "Keelward";
        break;
    }
}

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

void WriteAt(int row, int column, const std::string& text, int fg) {
    ConsoleLocate(row, column);
    ConsoleColor(fg, BLUE);
    ConsoleWrite(text);
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
    WriteAt(14, column, "There is an error in a system file, ", YELLOW);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleWrite(G.SettingsFileName);

    static const char* const items[8] = {"",
                                         "Club Name Font",
                                         "Event Name Font",
                                         "Prompt the Club Name",
                                         "Color Printing Option",
                                         "Create a PBN File",
                                         "PBN file path",
                                         "Error in Print Logo Data"};
    const bool logo = index >= 7;
    WriteAt(16, column, "The definition for ", YELLOW);
    ConsoleColor(BRIGHTWHITE, BLUE);
    ConsoleWrite(items[logo ? 7 : index]);
    if (!logo) {
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite(" is missing.");
    }

    const std::string quote(1, DoubleQuote);
    ConsoleLocate(18, column);
    ConsoleColor(YELLOW, BLUE);
    switch (index) {
    case 1:
    case 2:
        ConsoleWrite("The font");
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleWrite(index == 1 ? " Times New Roman " : " Comic Sans MS ");
        ConsoleColor(YELLOW, BLUE);
        ConsoleWrite("will be substituted.");
        break;
    case 3: ConsoleWrite("The most recently used club name will be supplied."); break;
    case 4: ConsoleWrite("Color printing will not be enabled."); break;
    case 5: ConsoleWrite("A PBN file will not be written."); break;
    case 6: ConsoleWrite("Defaulting to folder " + quote + "GAMEFILE.KM" + quote); break;
    default: ConsoleWrite("Defaulting to " + quote + "Bridge . For . Keelward" + quote); break;
    }
    WaitAnyKey(MessageRow);
}

// The default table and settings; true when the file was written.
bool ResetToDefaults() {
    for (int i = 0; i <= SettingsLineCount; i++) G.SettingsLines[i] = DefaultLines[i];
    G.SettingsLines[10].clear();
    for (int i = 1; i <= 7; i++) SetDefaultSetting(i);
    return WriteSettingsLines();
}

// Returns whether the defaults reached the file.
bool ShowSystemFileError() {
    // Written before the screen is drawn, so a warning about a failed write
    // cannot wipe one of its lines.
    bool written = ResetToDefaults();
    ShowHeader();
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    const std::string rule(1, (char)SGL_HORIZ);
    WriteAt(13, 30, rule + " SYSTEM FILE ERROR " + rule, LIGHTRED);
    WriteAt(14, 16, "The program initialization file is missing or has ", YELLOW);
    WriteAt(15, 16, "been corrupted. Reverting to default specifications:", YELLOW);
    static const char* const lines[7] = {
        "Club Name Font         =  Times New Roman",
        "Event Name Font        =  Comic Sans MS",
        "Prompt the Club Name   =  Yes",
        "Color Printing         =  No",
        "Auto-create PBN file   =  No",
        "PBN File Folder        =  GAMEFILE.KM",
        "Logo Text              =  Bridge . For . Keelward",
    };
    for (int i = 0; i < 7; i++) WriteAt(17 + i, 20, lines[i], BRIGHTWHITE);
    WaitAnyKey(24);
    return written;
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
    if (index < 1 || parts.value.empty() || parts.key != KeyNames[index]) return false;
    if (IsYesNoLine(index)) {
        std::string up = AsciiUpper(parts.value);
        return up == "YES" || up == "NO";
    }
    return true;
}

std::string DefaultSettingsLine(int index) {
    if (index < 0 || index > SettingsLineCount) return "";
    return DefaultLines[index];
}

bool ReadSettingsLines() {
    for (auto& line : G.SettingsLines) line.clear();
    std::vector<std::string> lines;
    int count = 0;
    const bool readable = ReadTextLines(G.SettingsFileName, lines);
    for (const auto& line : lines) {
        if (line.empty()) continue;
        count++;
        if (count <= 10) G.SettingsLines[count] = line;
    }
    G.SettingsLines[0] = std::to_string(count);
    return readable;
}

bool WriteSettingsLines() {
    if (std::atoi(G.SettingsLines[0].c_str()) == 0) G.SettingsLines[0] = "9";
    std::vector<std::string> lines(G.SettingsLines + 1, G.SettingsLines + 1 + SettingsLineCount);
    if (WriteFileAtomic(G.SettingsFileName, JoinCrLf(lines))) return true;
    ShowWarning("Could not write " + G.SettingsFileName);
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
        for (int i = 0; i <= SettingsLineCount; i++) G.SettingsLines[i] = DefaultLines[i];
        G.SettingsLines[10].clear();
        for (int i = 1; i <= 7; i++) SetDefaultSetting(i);
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
            for (int k = 7; k <= 9; k++) G.SettingsLines[k] = DefaultLines[k];
        } else {
            G.SettingsLines[i] = DefaultLines[i];
        }
    }
    if (G.ErrorCode == 1 && WriteSettingsLines()) ReadSettingsLines();
}
