// The game archive: written on every new and multi-site game, read back on
// a recall.
#include "game/archive.h"

#include <algorithm>
#include <vector>

#include "console/kit.h"
#include "game/entry.h"
#include "model/model.h"
#include "model/text.h"
#include "platform/files.h"

std::string ArchiveFileName(int year, int month, int day, int session) {
    return GameDateDigits(year, month, day) + ".KM" + SessionLetter(session);
}

std::string ArchiveBytes(const std::string& clubName, const std::string& eventName,
                         const std::string& controlString) {
    const std::string end = std::string(1, (char)ArchiveMarker) + "\r\n";
    return clubName + end + eventName + end + (controlString.empty() ? "" : controlString + "\r\n");
}

bool ArchiveLineName(const std::string& line, std::string& name) {
    if (line.empty() || (unsigned char)line.back() != ArchiveMarker) return false;
    name = NameFromFileText(line.substr(0, line.find((char)ArchiveMarker)));
    return true;
}

void MakeArchivePath() {
    G.ArchivePath = G.ArchiveFolder + "\\" +
                    ArchiveFileName(G.GameYear, G.GameMonth, G.GameDay, G.SessionNumber);
}

void WriteArchive() {
    // The folder is made at start-up; make it again should it have gone.
    if (!G.ArchiveFolder.empty() && !FolderExists(G.ArchiveFolder)) MakeFolder(G.ArchiveFolder);
    if (!WriteTextFile(G.ArchivePath, ArchiveBytes(G.ClubName, G.EventName, G.ControlString)))
        ShowWarning(FitWarning(WriteFailureText("Could not write", G.ArchivePath)));
}

void AskReplaceArchive() {
    G.YesNoAnswer = 1;
    if (!FileExists(G.ArchivePath)) return;
    std::vector<std::string> lines;
    std::string event;
    const bool readable = ReadTextLines(G.ArchivePath, lines);
    // The same game again (a multi-site game typed twice): nothing to ask.
    if (readable && lines.size() >= 3 && !G.ControlString.empty() && Trim(lines[2]) == G.ControlString) return;
    if (readable && lines.size() >= 2) ArchiveLineName(lines[1], event);
    const std::string date = GameDateDigits(G.GameYear, G.GameMonth, G.GameDay);
    const std::string head = "A game of " + date.substr(2, 2) + "/" + date.substr(4, 2) + "/" + date.substr(0, 2) +
                             ", " + G.SessionName[std::clamp(G.SessionNumber, 0, 4)] + " exists (";
    const std::string tail = "). Replace it?  (y/N)";
    // The event name is cut to the row.
    const size_t room = WorkAreaWidth - 2 - head.size() - tail.size();
    if (event.size() > room) event = event.substr(0, room - 3) + "...";
    const std::string question = head + event + tail;
    ClearWorkArea();
    const int column = WorkAreaLeft + (WorkAreaWidth - (int)question.size()) / 2;
    WriteAt(MessageRow, column, question, YELLOW, BLUE);
    ConsoleLocate(MessageRow, column + (int)question.size() - 2);
    AskYesNo(0);
}

void LoadArchive() {
    G.LoadFailed = 0;
    G.ArchiveOfOtherGame = 0;
    if (!FileExists(G.ArchivePath)) {
        ClearWorkArea();
        ConsoleCursor(CURSOR_HIDE);
        ConsoleColor(BROWN, BLUE);
        ConsoleLocate(13, 10);
        ConsoleWrite("[ No file exists for this game; some data must be re-created ]");
        G.LoadFailed = 1;
        return;
    }
    std::vector<std::string> lines;
    bool readable = ReadTextLines(G.ArchivePath, lines);
    ClearWorkArea();
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(LIGHTGREEN, BLUE);
    ConsoleLocate(15, 33);
    ConsoleWrite("Loading data...");

    // A third line names the game; a file without one (written before the
    // line was added) is taken as this game's.
    if (readable && lines.size() >= 3 && !Trim(lines[2]).empty() && Trim(lines[2]) != G.ControlString) {
        G.ArchiveOfOtherGame = 1;
        G.LoadFailed = 1;
        ClearWorkArea();
        ConsoleCursor(CURSOR_HIDE);
        ConsoleColor(BROWN, BLUE);
        ConsoleLocate(13, 10);
        ConsoleWrite("[ The archive file is of another game; its names are asked again ]");
        ConsoleColor(YELLOW, BLUE);
        return;
    }
    // Each intact line is used, even after a damaged one.
    std::string* names[2] = {&G.ClubName, &G.EventName};
    for (int i = 0; i < 2; i++) {
        if (!readable || (int)lines.size() <= i) {
            G.LoadFailed = 1;
            break;
        }
        std::string name;
        if (ArchiveLineName(lines[i], name)) {
            *names[i] = name;
        } else {
            G.LoadFailed = 1;
        }
    }
    if (G.LoadFailed) {
        ClearWorkArea();
        ConsoleCursor(CURSOR_HIDE);
        ConsoleColor(BROWN, BLUE);
        ConsoleLocate(13, 11);
        ConsoleWrite("[ The archive file is corrupt; some data must be re-created ]");
    }
    ConsoleColor(YELLOW, BLUE);
}
