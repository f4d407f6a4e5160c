// The settings editor. Every change goes into the setting in memory and its
// line in SettingsLines at once; the file is rewritten once, on leaving.
#include "settings/editor.h"

#include "console/kit.h"
#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "printing/print.h"
#include "settings/inifile.h"

namespace {

constexpr int ValueColumn = 55, ValueWidth = 22;
constexpr int QuestionRow = 21, QuestionColumn = 10, InputColumn = 50;
constexpr int LogoMaximum = 40;

// The trimmed text after the first "=" of a settings line.
std::string ValuePart(const std::string& line) {
    size_t eq = line.find('=');
    return eq == std::string::npos ? "" : Trim(line.substr(eq + 1));
}

// Item n's value on the settings screen (row n + 6), cut to fit.
void ShowValue(int item, const std::string& value) {
    WriteAt(item + 6, ValueColumn, std::string(ValueWidth + 1, ' '), BRIGHTWHITE, BLUE);
    WriteAt(item + 6, ValueColumn, value.substr(0, ValueWidth), BRIGHTWHITE, BLUE);
}

// A settings screen's frame, header and title.
void DrawSettingsFrame(int titleColumn, const std::string& title) {
    DrawScreenFrame(15);
    const std::string suits = SuitLine();
    WriteAt(3, 10, suits, LIGHTRED);
    WriteAt(3, 30, "HAND-RECORD GENERATOR", LIGHTGREEN);
    WriteAt(3, 62, suits, LIGHTRED);
    const std::string rule(1, (char)SGL_HORIZ);
    WriteAt(5, titleColumn, rule + " " + title + " " + rule, YELLOW);
}

void DrawSettingsScreen() {
    DrawSettingsFrame(31, "CURRENT SETTINGS");
    for (int item = 1; item <= 7; item++) {
        WriteAt(item + 6, 6, std::to_string(item) + "  ", YELLOW);
        ConsoleColor(LIGHTCYAN, KEEP_BACKGROUND);
        ConsoleWrite(SettingsItems[item].label);
    }
}

void SetLine(int item, const std::string& value) {
    G.SettingsLines[item] = std::string(SettingsItems[item].key) + "=" + value;
    G.SettingsChanged = 1;
}

// Items 1 and 2.
void EditFont(int item) {
    for (;;) {
        // The old value is cut to the field, so it never runs into the frame
        // and the first key blanks all of it.
        const std::string old = ValuePart(G.SettingsLines[item]).substr(0, FontNameMaximum);
        // The field blanked first: a refused name longer than the old one
        // must not show through behind it.
        WriteAt(QuestionRow, InputColumn, std::string(WorkAreaLeft + WorkAreaWidth - InputColumn, ' '), GREY, BLUE);
        WriteAt(QuestionRow, InputColumn, old, GREY, BLUE);
        ConsoleLocate(QuestionRow, InputColumn);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleCursor(CURSOR_SHOW);
        ReadLine(LetterCharacters, FontNameMaximum);
        // Esc cancels the item, as an empty entry does: nothing changes.
        if (G.InputText.empty() || G.AbandonFlag) {
            G.AbandonFlag = 0;
            BlankRow(QuestionRow);
            return;
        }
        if (G.FontListText.empty()) display();
        const std::string name = CutRegular(G.InputText);
        if (FontListed(G.FontListText, name) || (P.fonts && P.fonts->TakesFace(name))) {
            SetLine(item, name);
            (item == 1 ? G.ClubNameFont : G.EventNameFont) = name;
            CreateNameFonts();
            ShowValue(item, name);
            BlankRow(QuestionRow);
            BlankRow(WorkAreaBottom);
            PlayNamedSound("notify2");
            return;
        }
        WriteAt(WorkAreaBottom, 16, " The specified font does not exist on your system ", BRIGHTWHITE, MAGENTA);
        PlayNamedSound("beep2");
        ReadKey();
        BlankRow(WorkAreaBottom);
    }
}

// Items 3, 4 and 5. False when Esc leaves the editor.
bool EditYesNo(int item) {
    const int defaultAnswer = item == 4 ? 0 : 1;
    WriteAt(QuestionRow, InputColumn, "Y/N", YELLOW, BLUE);
    ConsoleLocate(QuestionRow, defaultAnswer ? InputColumn : InputColumn + 2);
    AskYesNo(defaultAnswer);
    if (G.AbandonFlag) return false;
    const std::string answer = G.YesNoAnswer ? "yes" : "no";
    if (AsciiLower(ValuePart(G.SettingsLines[item])) != answer) {
        SetLine(item, answer);
        int& flag = item == 3 ? G.ClubNamePrompt : item == 4 ? G.ColorPrinting : G.AutoCreatePBNfile;
        flag = G.YesNoAnswer;
    }
    BlankRow(QuestionRow);
    BlankRow(WorkAreaBottom);
    ShowValue(item, answer);
    return true;
}

// Item 6. False when Esc leaves the editor.
bool EditFolder() {
    BlankRows(16, WorkAreaBottom);
    WriteAt(16, 8, "Enter a fully qualified path. ", YELLOW, BLUE);
    ConsoleWrite("Example: ");
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleWrite(ExampleFolderPath());
    WriteAt(17, 8, "Use " + FolderSeparatorName() + ", include any spaces, but do not type any quotes.", YELLOW);
    WriteAt(18, 8, "(50-character maximum; letter case is immaterial)", YELLOW);
    for (;;) {
        WriteAt(20, 12, std::string(62, ' '), YELLOW, BLUE);
        WriteAt(20, 12, "Enter path: ", YELLOW);
        ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
        ConsoleCursor(CURSOR_SHOW);
        ReadLine(PrintableCharacters, 50);
        if (G.AbandonFlag) return false;
        const std::string folder = TrimTrailingSeparators(G.InputText);
        if (!folder.empty() && FolderExists(folder)) {
            SetLine(6, folder);
            G.PBNfilesDirectory = folder;
            ShowValue(6, folder);
            WriteAt(MessageRow, 30, "Path changed.", LIGHTCYAN, BLUE);
            Pause(1800);
            return true;
        }
        WriteAt(MessageRow, 15, " The specified path does not exist on your computer ", MAGENTA, BRIGHTWHITE);
        PlayNamedSound("beep2");
        ReadKey();
        BlankRow(MessageRow);
    }
}

// Item 7.
void EditLogo() {
    for (;;) {
        BlankRows(16, WorkAreaBottom);
        WriteAt(17, 23, "Enter new text:", YELLOW, BLUE);
        for (int k = 1; k <= 3; k++) {
            WriteAt(18 + k, 26, "Line " + std::to_string(k) + ":", LIGHTCYAN);
            // Cut to the field, so a long line from the file stays inside
            // the frame and the first key blanks all of it.
            WriteAt(18 + k, 36, G.SettingsLines[6 + k].substr(0, LogoMaximum), BRIGHTWHITE);
        }
        for (int k = 1; k <= 3; k++) {
            ConsoleLocate(18 + k, 36);
            ConsoleColor(BRIGHTWHITE, BLUE);
            ConsoleCursor(CURSOR_SHOW);
            ReadLine(NameCharacters, LogoMaximum);
            if (G.AbandonFlag) return;
            // An entry that would read back as an empty logo line (blanks, or
            // nothing before "=") keeps the old line: the next start would
            // take it as a broken file and reset all three lines.
            if (!LogoPart(G.InputText).empty()) {
                G.SettingsLines[6 + k] = G.InputText;
                G.SettingsChanged = 1;
                // In memory at once, as the next start will read it, so the
                // printouts agree with the file even if Esc follows.
                G.LogoText[k] = LogoPart(G.InputText);
            }
            WriteAt(18 + k, 36, G.SettingsLines[6 + k].substr(0, LogoMaximum), BRIGHTWHITE, BLUE);
        }
        WriteAt(17, 23, "Entries Okay?   (Y/n)", YELLOW, BLUE);
        ConsoleLocate(17, 40);
        AskYesNo(1);
        if (G.AbandonFlag) return;
        if (G.YesNoAnswer == 1) break;
    }
    if (G.SettingsChanged)
        for (int k = 1; k <= 3; k++) G.LogoText[k] = LogoPart(G.SettingsLines[6 + k]);
    BlankRows(16, WorkAreaBottom);
}

}  // namespace

std::string CutRegular(const std::string& name) {
    size_t at = AsciiUpper(name).find(" REGULAR");
    if (at == std::string::npos) return name;
    return Trim(name.substr(0, at));
}

bool FontListed(const std::string& fontList, const std::string& name) {
    if (name.empty()) return false;
    // Whole entries only: "AL" must not match inside "ARIAL, ".
    return (", " + fontList).find(", " + AsciiUpper(name) + ", ") != std::string::npos;
}

std::string TrimTrailingSeparators(const std::string& folder) {
    size_t end = folder.find_last_not_of("/\\");
    if (end == std::string::npos) return folder;
    return folder.substr(0, end + 1);
}

std::string LogoPart(const std::string& line) { return Trim(line.substr(0, line.find('='))); }

void display() {
    G.FontListText.clear();
    if (!P.fonts) return;
    for (const std::string& family : P.fonts->Families()) G.FontListText += AsciiUpper(family) + ", ";
}

// The second screen: the settings after the nine lines. "1" steps the
// paper through auto, A4 and Letter; "2" turns the export format of the
// PBN files on and off, "3" private deals, "4" the web page.
void MoreSettings() {
    DrawSettingsFrame(32, "MORE SETTINGS");
    static const char* const labels[4] = {
        "Paper for the printouts (auto: the printer's)", "PBN files in export form, for other programs",
        "Private deals (a deal key, no control number)", "Write a web page with every PBN file"};
    for (int item = 1; item <= 4; item++) {
        WriteAt(item + 6, 6, std::to_string(item) + "  ", YELLOW);
        ConsoleColor(LIGHTCYAN, KEEP_BACKGROUND);
        ConsoleWrite(labels[item - 1]);
    }
    int* const flags[4] = {nullptr, &G.PbnExportFormat, &G.PrivateDeals, &G.WebPage};
    for (;;) {
        ShowValue(1, PaperName(G.PaperSize));
        for (int item = 2; item <= 4; item++) ShowValue(item, *flags[item - 1] == 1 ? "yes" : "no");
        // What auto comes to here, and why, under the items.
        const std::string paper = G.PaperSize == Paper::Auto && P.printer ? AutoPaperText(P.printer->AutoPaper()) : "";
        WriteAt(12, 9, paper + std::string(68 - paper.size(), ' '), LIGHTCYAN, BLUE);
        BlankRows(16, WorkAreaBottom);
        WriteAt(17, 29, "Change (1-4)  or  (Q)uit ", YELLOW, BLUE);
        WriteAt(19, 35, "Select:  Q", YELLOW, BLUE);
        ConsoleLocate(19, 44);
        ConsoleCursor(99);
        FlushKeys();
        const std::string key = UpperKey(ReadKey());
        if (key == "Q" || key == KeyEnter || key == KeyEsc) return;
        if (key == "1") {
            G.PaperSize = G.PaperSize == Paper::Auto ? Paper::A4 : G.PaperSize == Paper::A4 ? Paper::Letter : Paper::Auto;
        } else if (key.size() == 1 && key[0] >= '2' && key[0] <= '4') {
            int& flag = *flags[key[0] - '1'];
            flag = 1 - flag;
        } else {
            PlayNamedSound("beep2");
            continue;
        }
        G.SettingsChanged = 1;
    }
}

void editsettings() {
    for (int item = 1; item <= 6; item++) ShowValue(item, ValuePart(G.SettingsLines[item]));
    for (;;) {
        BlankRows(16, WorkAreaBottom);
        WriteAt(17, 28, "Change (1-7)  or  (Q)uit ", YELLOW, BLUE);
        // The settings that came later, on a screen of their own.
        WriteAt(WorkAreaBottom, 32, "(M) More settings", YELLOW, BLUE);
        WriteAt(19, 35, "Select:  Q", YELLOW, BLUE);
        ConsoleLocate(19, 44);
        ConsoleCursor(99);
        int item = 0;
        FlushKeys();
        while (item == 0) {
            const std::string key = UpperKey(ReadKey());
            if (key == "Q" || key == KeyEnter || key == KeyEsc) return;
            if (key.size() == 1 && key[0] >= '1' && key[0] <= '7') {
                item = key[0] - '0';
            } else if (key == "M") {
                MoreSettings();
                DrawSettingsScreen();
                for (int shown = 1; shown <= 6; shown++) ShowValue(shown, ValuePart(G.SettingsLines[shown]));
                break;
            } else {
                PlayNamedSound("beep2");
            }
        }
        if (item == 0) continue;
        BlankRow(18);
        WriteAt(QuestionRow, QuestionColumn, SettingsItems[item].question, YELLOW, BLUE);
        switch (item) {
            case 1:
            case 2:
                EditFont(item);
                break;
            case 3:
            case 4:
            case 5:
                if (!EditYesNo(item)) return;
                break;
            case 6:
                if (!EditFolder()) return;
                break;
            case 7:
                EditLogo();
                break;
        }
    }
}

void programsettings() {
    G.SettingsChanged = 0;
    DrawSettingsScreen();
    editsettings();
    if (G.SettingsChanged) {
        // A failed write shows its own warning; the changes stay in memory.
        WriteSettingsLines();
        G.SettingsChanged = 0;
    }
    // Esc here only leaves the editor; it does not abandon the game.
    G.AbandonFlag = 0;
}
