// The game archive: written on every new and multi-site game, read back on
// a recall.
#include "game/archive.h"

#include <vector>

#include "game/entry.h"
#include "model/model.h"
#include "platform/files.h"
#include "shell/kit.h"

std::string ArchiveFileName(int year, int month, int day, int session) {
    return GameDateDigits(year, month, day) + ".KM" + SessionLetter(session);
}

std::string ArchiveBytes(const std::string& clubName, const std::string& eventName) {
    const std::string end = std::string(1, (char)ArchiveMarker) + "\r\n";
    return clubName + end + eventName + end;
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
    if (!WriteTextFile(G.ArchivePath, ArchiveBytes(G.ClubName, G.EventName)))
        ShowWarning("Could not write " + G.ArchivePath);
}

void LoadArchive() {
    G.LoadFailed = 0;
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
