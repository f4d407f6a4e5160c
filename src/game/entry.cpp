// Game entry steps and the club-name file.
#include "game/entry.h"

#include <string_view>
#include <vector>

#include "console/kit.h"
#include "dealing/dates.h"
#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace {

constexpr int NameLength = 40;

void Prompt(int row, int column, const std::string& text) {
    ConsoleColor(YELLOW, BLUE);
    ConsoleLocate(row, column);
    ConsoleWrite(text);
}

// A header field: the old value blanked, the new one in bright white.
void ShowField(int row, const std::string& text) {
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleLocate(row, FieldColumn);
    ConsoleWrite(std::string(43, ' '));
    ConsoleLocate(row, FieldColumn);
    ConsoleWrite(text);
}

void AskQuestion(bool clear, int column, int cursorColumn, const std::string& text,
                 int defaultAnswer) {
    if (clear) ClearWorkArea();
    Prompt(18, column, text);
    ConsoleLocate(18, cursorColumn);
    AskYesNo(defaultAnswer);
}

bool ClubNameRemembered() { return G.ClubNamePrompt == 1 && G.PbnImportMode == 0; }

}  // namespace

static void EraseLast(std::string& text) {
    ConsoleLocate(0, ConsoleColumn() - 1);
    ConsoleWrite(" ");
    ConsoleLocate(0, ConsoleColumn() - 1);
    text.pop_back();
}

void ReadDateField() {
    std::string text;
    G.AbandonFlag = 0;
    int start = ConsoleColumn();
    FlushKeys();
    for (;;) {
        std::string key = ReadKey();
        int count = (int)text.size();
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        if (key == KeyEnter) {
            // Enter on an untouched field keeps the date shown there.
            if (count == 0 && ConsoleCharAt(ConsoleRow(), ConsoleColumn()) != ' ') return;
            if (count == 8) break;
            PlayNamedSound("beep2");
            continue;
        }
        if (ConsoleColumn() == start) {
            ConsoleWrite(std::string(12, ' '));
            ConsoleLocate(0, start);
        }
        if (key == KeyBackspace) {
            if (text.empty()) {
                PlayNamedSound("beep2");
                continue;
            }
            EraseLast(text);
            // A slash goes together with the digit before it.
            if (text.size() == 2 || text.size() == 5) EraseLast(text);
            continue;
        }
        if (count == 8 || key.size() != 1 || key[0] < '0' || key[0] > '9') {
            PlayNamedSound("beep2");
            continue;
        }
        ConsoleWrite(key);
        text += key;
        if (text.size() == 2 || text.size() == 5) {
            ConsoleWrite("/");
            text += "/";
        }
    }
    G.GameMonth = std::stoi(text.substr(0, 2));
    G.GameDay = std::stoi(text.substr(3, 2));
    G.GameYear = std::stoi(text.substr(6, 2));
}

std::string NameFromFileText(const std::string& text) {
    // A CR left at the end by the trim would be lost on the next read, and
    // the name saved would not be the name read.
    return Trim(Trim(text, " \r").substr(0, NameLength), " \r");
}

int SessionOfKey(const std::string& key) {
    std::string up = UpperKey(key);
    if (up.size() != 1) return 0;
    size_t at = std::string_view(SessionLetters).find(up[0]);
    return at == std::string_view::npos ? 0 : (int)at + 1;
}

int BoardsOfKey(const std::string& key) {
    if (key == "1" || key == "2") return (4 - (key[0] - '0')) * 12;
    return 0;
}

void EnterClubName() {
    ClearWorkArea();
    if (ClubNameRemembered()) LoadClubName();
    Prompt(PromptRow, PromptColumn, "Enter club name:");
    ConsoleColor(BRIGHTWHITE, BLUE);
    ConsoleLocate(PromptRow, 33);
    // The default fills at most the input field.
    ConsoleWrite(G.ClubName.substr(0, NameLength));
    ConsoleLocate(PromptRow, 33);
    ReadLine(NameCharacters, NameLength);
    if (G.AbandonFlag) return;
    if (!G.InputText.empty()) {
        G.ClubName = G.InputText;
        if (ClubNameRemembered()) SaveClubName();
    }
    ShowField(6, G.ClubName);
}

void EnterGameDate() {
    bool invalid = false;
    for (;;) {
        ClearWorkArea();
        if (invalid) {
            ConsoleCursor(CURSOR_HIDE);
            ConsoleColor(BRIGHTWHITE, MAGENTA);
            ConsoleLocate(MessageRow, 33);
            ConsoleWrite(" Invalid date ");
        }
        Prompt(PromptRow, PromptColumn, "Enter game date <mm/dd/yy>: " + std::string(20, ' '));
        ConsoleLocate(PromptRow, 42);
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleCursor(CURSOR_SHOW);
        ReadDateField();
        if (G.AbandonFlag) return;
        if ((G.GameYear == 0 && G.PbnImportMode == 0) ||
            IsBeyondAYearAhead(G.GameMonth, G.GameDay, G.GameYear)) {
            // Year 00 has no serial a control number can carry, and a date
            // more than a year ahead is a slip: refused like an impossible
            // date, the texts keep the last accepted date.
            G.DateValid = 0;
        } else {
            datecontrol(G.GameMonth, G.GameDay, G.GameYear);
        }
        if (G.DateValid) break;
        PlayNamedSound("beep2");
        invalid = true;
    }
    Pause(250);
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleLocate(7, FieldColumn);
    ConsoleWrite(G.DateText + ",");
    ConsoleWriteNumber(G.FullYear);
    ConsoleWrite(std::string(13, ' '));
}

void EnterSession() {
    G.AbandonFlag = 0;
    G.SessionNumber = 0;
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    static const char* const choices[4] = {"(M)orning", "(A)fternoon", "(E)vening", "(L)ate"};
    for (int i = 0; i < 4; i++) Prompt(MenuTopRow + i, FieldColumn, choices[i]);
    Prompt(SelectRow, 30, "Select session:" + std::string(20, ' '));
    FlushKeys();
    ConsoleLocate(SelectRow, 47);
    ConsoleCursor(CURSOR_SHOW);
    for (;;) {
        std::string key = ReadChoiceKey();
        if (key == KeyEsc) return;
        G.SessionNumber = SessionOfKey(key);
        if (G.SessionNumber != 0) break;
        PlayNamedSound("beep2");
    }
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleLocate(8, FieldColumn);
    // Padded to the longest name, so a shorter one does not leave letters
    // of the last.
    std::string name = G.SessionName[G.SessionNumber];
    if (name.size() < 9) name += std::string(9 - name.size(), ' ');
    ConsoleWrite(name);
}

void EnterEventName() {
    ClearWorkArea();
    Prompt(PromptRow, PromptColumn, "Enter event name: " + std::string(45, ' '));
    ConsoleLocate(PromptRow, 32);
    ConsoleColor(BRIGHTWHITE, BLUE);
    if (G.PbnImportMode == 1 && !G.EventName.empty()) {
        ConsoleWrite(G.EventName.substr(0, NameLength));
        ConsoleLocate(PromptRow, 32);
    }
    ReadLine(NameCharacters, NameLength);
    if (G.AbandonFlag) return;
    if (!G.InputText.empty()) G.EventName = G.InputText;
    // The kept name is shown too: the header tells what the game will carry
    // even when no default was offered.
    ShowField(9, G.EventName);
}

void EnterBoardCount() {
    G.AbandonFlag = 0;
    ClearWorkArea();
    Prompt(15, 31, "(1)  36 boards");
    Prompt(16, 31, "(2)  24 boards");
    Prompt(SelectRow, 27, "Select print format: " + std::string(10, ' '));
    FlushKeys();
    ConsoleLocate(SelectRow, 49);
    ConsoleCursor(CURSOR_SHOW);
    int boards = 0;
    while (boards == 0) {
        std::string key = ReadKey();
        G.KeyText = key;
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        boards = BoardsOfKey(key);
    }
    G.TotalBoards = boards;
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
    ConsoleLocate(10, FieldColumn);
    ConsoleWrite(std::to_string(G.TotalBoards));
}

void ConfirmEntries() { AskQuestion(true, 28, 47, "Entries correct?  (Y/n)", 1); }

void ConfirmDateSession() {
    AskQuestion(true, 18, 60, "Are the Date and Session specs correct?  (Y/n)", 1);
}

void AskChangeNames() {
    AskQuestion(false, 16, 61, "Make changes to Event Name or Club Name?  (y/N)", 0);
}

void ShowPbnFound() {
    ClearWorkArea();
    ConsoleColor(BROWN, BLUE);
    ConsoleLocate(MenuTopRow, 20);
    ConsoleWrite("PBN File found: " + SystemPath(G.PbnFilePath));
    ShowField(6, "");
    ConsoleColor(BROWN, KEEP_BACKGROUND);
    ConsoleLocate(6, FieldColumn);
    ConsoleWrite(G.ClubName);
    ShowField(9, "");
    ConsoleColor(BROWN, KEEP_BACKGROUND);
    ConsoleLocate(9, FieldColumn);
    ConsoleWrite(G.EventName);
    ShowField(10, std::to_string(G.PbnBoardCount));
    // What the import changed of the file's game, said plainly.
    for (size_t i = 0; i < G.PbnNotes.size() && i < 2; i++) WriteAt(15 + (int)i, 8, G.PbnNotes[i], YELLOW, BLUE);
    // Names to be asked clear the screen at once: the notes wait for a key.
    if (!G.PbnNotes.empty() && G.PbnAskNames == 1) {
        WriteAt(18, 36, "<any key>", BRIGHTWHITE, BLUE);
        FlushKeys();
        if (ReadKey() == KeyEsc) G.AbandonFlag = 1;
    }
}

void LoadClubName() {
    if (!FileExists(G.ClubNameFile)) return;
    std::vector<std::string> lines;
    if (!ReadTextLines(G.ClubNameFile, lines) || lines.empty()) return;
    G.ClubName = NameFromFileText(lines[0]);
}

void SaveClubName() {
    if (!WriteTextFile(G.ClubNameFile, G.ClubName + "\r\n"))
        ShowWarning(FitWarning(WriteFailureText("Could not write", G.ClubNameFile)));
}
