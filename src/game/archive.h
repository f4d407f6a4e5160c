// The per-game archive file: the club and event name of a game, the only
// particulars its control number cannot re-create. One file per date and
// session in the archive folder, e.g. GAMEFILE.KM\090105.KMA.
#pragma once

#include <string>

void MakeArchivePath();
// Replaces the file atomically; a failed write shows a warning naming the
// file and leaves the old one as it was.
void WriteArchive();
void LoadArchive();

// Pure rules under the routines above.
// File name of a game: yymmdd, ".KM", the session letter of "MAEL".
std::string ArchiveFileName(int year, int month, int day, int session);
// The two lines of a file, each ended by the marker and CR LF.
std::string ArchiveBytes(const std::string& clubName, const std::string& eventName);
// A line of the file: false when damaged (its last character is not the
// marker); else the text before the first marker, stripped of blanks.
bool ArchiveLineName(const std::string& line, std::string& name);
