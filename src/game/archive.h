// The per-game archive file: the club and event name of a game, the only
// particulars its control number cannot re-create. One file per date and
// session in the archive folder, e.g. GAMEFILE.KM\090105.KMA.
#pragma once

#include <string>

void MakeArchivePath();
// A game whose date and session have the archive file of another game
// (another control number, or none: a new game has none yet) asks on the
// message row whether to replace it. YesNoAnswer 1 when there is no such
// file or the answer is yes.
void AskReplaceArchive();
// Replaces the file atomically; a failed write shows a warning naming the
// file and leaves the old one as it was.
void WriteArchive();
void LoadArchive();

// Pure rules under the routines above.
// File name of a game: yymmdd, ".KM", the session letter of "MAEL".
std::string ArchiveFileName(int year, int month, int day, int session);
// The lines of a file: the two names, each ended by the marker, then the
// control number when there is one; each line ended by CR LF.
std::string ArchiveBytes(const std::string& clubName, const std::string& eventName,
                         const std::string& controlString);
// A line of the file: false when damaged (its last character is not the
// marker); else the text before the first marker, stripped of blanks.
bool ArchiveLineName(const std::string& line, std::string& name);
