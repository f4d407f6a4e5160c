// Files and folders as the program names them: relative to the working
// folder, "\" and "/" both separators, existing names found without regard
// to letter case. Every write goes to a temporary name and is renamed into
// place, so a crash never leaves a half-written file.
#pragma once

#include <ctime>
#include <cstdint>
#include <string>
#include <vector>

// The path to use on this system for a name as the program gives it: the
// separators made "/", and every component that exists in another letter
// case replaced by its spelling on disk.
std::string ResolvePath(const std::string& name);

bool FileExists(const std::string& name);
bool FolderExists(const std::string& name);
// True when the folder exists afterwards (made now or already there).
bool MakeFolder(const std::string& name);
// True when anything at all stands under the name: a file, a folder, a link
// (even one that leads nowhere).
bool PathExists(const std::string& name);

// No file is read without a bound: a settings, club-name or archive file
// is a few lines, and a stray file of gigabytes must not take the memory.
constexpr size_t SmallFileLimit = 1u << 20;
// Reads the whole file as bytes; false when it cannot be read, is not a
// plain file (a folder, a device) or holds more than `limit` bytes.
bool ReadWholeFile(const std::string& name, std::string& bytes, size_t limit = SmallFileLimit);
// The size of a plain file in bytes; -1 when there is none of that name.
int64_t FileSize(const std::string& name);
// Splits bytes into lines at LF, dropping every CR at a line's end.
std::vector<std::string> SplitTextLines(const std::string& bytes);
// The lines of a file, split as above; false when unreadable or over
// SmallFileLimit.
bool ReadTextLines(const std::string& name, std::vector<std::string>& lines);
// Writes bytes to a temporary name in the same folder, then renames it over
// the file. False (and no file changed) when any step fails.
bool WriteFileAtomic(const std::string& name, const std::string& bytes);
// Whether a file can be made in the folder now (one is made and removed);
// when not, LastFileError says why.
bool FolderTakesFiles(const std::string& folder);
// Why the last failed write of this thread failed, in the system's words
// ("No space left on device"); empty when it did not say.
std::string LastFileError();
// "<what> <path as the system writes it>: <reason>" for the warning after a
// failed write of the file.
std::string WriteFailureText(const std::string& what, const std::string& name);
// Writes code page 437 text as a text file that ReadTextLines reads back the
// same (see TextFileFromCp437), as WriteFileAtomic does.
bool WriteTextFile(const std::string& name, const std::string& text);
// Removes the temporary of a write cut short by a signal; safe to call
// from a signal handler.
void RemovePendingTemporary();
// Whether a name in a folder is a temporary as WriteFileAtomic makes them
// for the program's own files (".KELMO.INI.a1B2c3").
bool IsOwnTemporaryName(const std::string& name);
// Removes from the folder the temporaries of writes cut short (kill -9, a
// power cut) last changed before `before`; returns how many went.
int RemoveStaleTemporaries(const std::string& folder, const timespec& before);
// The same for temporaries older than this run of the program.
int RemoveStaleTemporaries(const std::string& folder);

// The plain files of a folder ("" is the working folder), each with the
// time it was last written (seconds) and its size; unsorted.
struct FolderFile {
    std::string name;
    int64_t written = 0;
    int64_t size = 0;   // bytes
};
std::vector<FolderFile> FilesInFolder(const std::string& folder);
// Claims the working folder for this copy of the program: a lock on the
// file KELMO.LCK there (made when missing, never changed), held until the
// process ends; the system lets it go even when a copy is killed.
struct FolderClaim {
    enum Outcome {
        Claimed,
        HeldByAnother,   // another copy works in the folder
        Failed           // no lock could be taken: never run unlocked
    } outcome = Claimed;
    std::string reason;   // Failed: why, in the system's words
};
FolderClaim ClaimWorkingFolder();
// Lets the lock go. The program never does (the system does it when the
// process ends); tests claim one folder after another.
void ReleaseWorkingFolder();
// Lines joined with CR LF, each line ended.
std::string JoinCrLf(const std::vector<std::string>& lines);

// The name with "-n" before its extension ("a/b-2.pbn"); the name itself
// for n below 2.
std::string NumberedName(const std::string& name, int n);
// The name itself when nothing stands there, else the first free of
// NumberedName(name, 2), (name, 3)...
std::string FirstFreeName(const std::string& name);
// Moves a file to a name where nothing stands; false (and nothing moved)
// when something does, or the move fails.
bool MoveFileNoReplace(const std::string& from, const std::string& to);
// A name as this system writes paths, for the user to read: "/" on POSIX,
// "\" on Windows; every part that exists in the letter case it has on
// disk (GAMEFILE.KM, however the settings spell it).
std::string SystemPath(const std::string& name);

// For the settings editor: a full folder path as this system writes it,
// and the name of its separator ("backslashes", "slashes").
std::string ExampleFolderPath();
std::string FolderSeparatorName();

// Where a print job's file is kept: "PRINTS/" + tag + extension, or
// "-partial" after the tag for a job cut short; when that file exists
// already, the first free of "-2", "-3"... before the extension. A job never
// replaces an earlier one.
std::string KeptFileName(const std::string& tag, bool complete, const std::string& extension = ".pdf");

// Environment variable, empty text when not set. Names match as the
// system has it: exactly on POSIX, without regard to case on Windows.
std::string GetEnvironment(const std::string& name);

// A file that ships with the program (manual, fonts), found in the build
// tree or under the install prefix. Empty text when not found.
std::string FindSharedFile(const std::string& relative);

// The full path of a name ("/" between its parts, "." and ".." gone); ""
// when the system cannot say.
std::string AbsolutePath(const std::string& name);
// The file:// address of an absolute path (a Windows drive path too).
std::string FileAddress(const std::string& absolutePath);

// For the platform folders: the resources of the trees the program was
// built from, and the first folder holding a file (its full path, or "").
std::vector<std::string> BuildTreeFolders();
std::string FindInFolders(const std::vector<std::string>& folders, const std::string& relative);
