// Files and folders as the program names them (see files.h), through the
// Windows API. The file system ignores letter case itself.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <random>
#include <vector>

#include "platform/files.h"
#include "platform/win32/win32.h"

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The temporary of a write in progress. A console event (Ctrl+C, the
// window closed) arrives on a thread of its own: it takes this lock, so it
// never sees a half-made temporary nor one about to be renamed.
std::mutex pendingLock;
std::string pendingTemp;

// 100 ns ticks since 1601 to a timespec since 1970.
timespec FromFileTime(const FILETIME& ft) {
    const unsigned long long ticks = ((unsigned long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    const unsigned long long since1970 = ticks - 116444736000000000ULL;
    timespec t{};
    t.tv_sec = (time_t)(since1970 / 10000000ULL);
    t.tv_nsec = (long)(since1970 % 10000000ULL) * 100;
    return t;
}

const timespec programStart = [] {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FromFileTime(now);
}();

std::string UniqueSuffix() {
    static std::mt19937 random(GetTickCount() ^ GetCurrentProcessId());
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int i = 0; i < 6; i++) suffix += letters[random() % 62];
    return suffix;
}

}  // namespace

std::string ResolvePath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool FileExists(const std::string& name) {
    DWORD a = Attributes(ResolvePath(name));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& name) {
    DWORD a = Attributes(ResolvePath(name));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

thread_local DWORD lastWriteError = 0;

bool WriteFailed(DWORD error) {
    lastWriteError = error ? error : ERROR_WRITE_FAULT;
    return false;
}

}  // namespace

std::string LastFileError() { return lastWriteError == 0 ? "" : SystemMessage(lastWriteError); }

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, (LPSTR)&text, 0, nullptr);
    std::string reason = n && text ? std::string(text, n) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    // The system's sentence without its line end and full stop, to follow a
    // colon.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' ||
                               reason.back() == '.'))
        reason.pop_back();
    return reason;
}

bool MakeFolder(const std::string& name) {
    if (CreateDirectoryA(ResolvePath(name).c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    return FolderExists(name) || WriteFailed(error == ERROR_ALREADY_EXISTS ? ERROR_DIRECTORY : error);
}


int64_t FileSize(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(ResolvePath(name).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (int64_t)(((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow);
}

bool PathExists(const std::string& name) {
    return !name.empty() && Attributes(ResolvePath(name)) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& name, std::string& bytes, size_t limit) {
    bytes.clear();
    HANDLE file = CreateFileA(ResolvePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Only plain files: a device (CON, NUL) would never end or never start.
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || (uint64_t)size.QuadPart > limit) {
        CloseHandle(file);
        return false;
    }
    char buffer[65536];
    for (;;) {
        // A file that grows while it is read stops at the bound too.
        if (bytes.size() > limit) {
            CloseHandle(file);
            bytes.clear();
            return false;
        }
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            CloseHandle(file);
            bytes.clear();
            return false;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return true;
}

bool WriteFileAtomic(const std::string& name, const std::string& bytes) {
    lastWriteError = 0;
    const std::string path = ResolvePath(name);
    if (path.empty() || path.back() == '/') return WriteFailed(ERROR_DIRECTORY);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);

    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    {
        std::lock_guard<std::mutex> lock(pendingLock);
        for (int tries = 0; tries < 100 && file == INVALID_HANDLE_VALUE; tries++) {
            temp = folder + "." + base + "." + UniqueSuffix();
            file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return WriteFailed(GetLastError());
        }
        if (file == INVALID_HANDLE_VALUE) return WriteFailed(ERROR_FILE_EXISTS);
        pendingTemp = temp;
    }
    // The first step that fails gives the reason.
    DWORD error = 0;
    auto step = [&error](bool good) {
        if (!good && error == 0) error = GetLastError();
        return good;
    };
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = (DWORD)std::min<size_t>(bytes.size() - done, 1u << 20);
        ok = step(WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) && wrote > 0);
        done += wrote;
    }
    ok = step(FlushFileBuffers(file)) && ok;
    ok = step(CloseHandle(file)) && ok;
    std::lock_guard<std::mutex> lock(pendingLock);
    ok = ok && step(MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (!ok) DeleteFileA(temp.c_str());
    pendingTemp.clear();
    return ok || WriteFailed(error);
}

bool FolderTakesFiles(const std::string& folder) {
    lastWriteError = 0;
    std::string probe = ResolvePath(folder);
    if (!probe.empty() && probe.back() != '/') probe += '/';
    probe += ".kelmo-probe." + UniqueSuffix();
    // Gone when closed, whatever becomes of the program.
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WriteFailed(GetLastError());
    CloseHandle(file);
    return true;
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails where a file stands.
    return MoveFileExA(ResolvePath(from).c_str(), ResolvePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

std::string SystemPath(const std::string& name) {
    // Part by part, each one that exists as the disk spells it.
    const std::string path = ResolvePath(name);
    std::string shown;
    size_t at = 0;
    while (at <= path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(at, end - at);
        const bool plain = !part.empty() && part != "." && part != ".." && part.back() != ':' &&
                           part.find_first_of("*?") == std::string::npos;
        if (plain) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((shown + part).c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                part = found.cFileName;
                FindClose(search);
            }
        }
        shown += part;
        if (end < path.size()) shown += '\\';
        at = end + 1;
    }
    return shown;
}

std::string ExampleFolderPath() { return "c:\\bridge\\dealer_4 data"; }
std::string FolderSeparatorName() { return "backslashes"; }

namespace {

// Kept open for the life of the process; Windows lets the lock go when the
// process ends, however it ends.
HANDLE lockFile = INVALID_HANDLE_VALUE;

FolderClaim ClaimFailed(const std::string& reason) { return {FolderClaim::Failed, reason}; }

}  // namespace

FolderClaim ClaimWorkingFolder() {
    if (lockFile != INVALID_HANDLE_VALUE) return {};
    const std::string path = ResolvePath("KELMO.LCK");
    const DWORD attributes = Attributes(path);
    // A link (or junction) in its place could lead the lock anywhere.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return ClaimFailed("KELMO.LCK is a link, not a file");
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ClaimFailed("KELMO.LCK is not a plain file");
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // A read-only folder that has the file still takes the lock.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ClaimFailed(SystemMessage(GetLastError()));
    OVERLAPPED at{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        lockFile = file;
        return {};
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION) return {FolderClaim::HeldByAnother, ""};
    return ClaimFailed(SystemMessage(error));
}

void ReleaseWorkingFolder() {
    if (lockFile != INVALID_HANDLE_VALUE) CloseHandle(lockFile);
    lockFile = INVALID_HANDLE_VALUE;
}

void RemovePendingTemporary() {
    // From the console-event thread: waits for a write's step to finish.
    std::lock_guard<std::mutex> lock(pendingLock);
    if (!pendingTemp.empty()) DeleteFileA(pendingTemp.c_str());
    pendingTemp.clear();
}

int RemoveStaleTemporaries(const std::string& folder, const timespec& before) {
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> stale;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (!IsOwnTemporaryName(found.cFileName)) continue;
        // Newer ones may belong to a write going on now.
        const timespec changed = FromFileTime(found.ftLastWriteTime);
        if (changed.tv_sec < before.tv_sec || (changed.tv_sec == before.tv_sec && changed.tv_nsec < before.tv_nsec))
            stale.push_back(path + "/" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    int removed = 0;
    for (const auto& file : stale) removed += DeleteFileA(file.c_str()) != 0;
    return removed;
}

int RemoveStaleTemporaries(const std::string& folder) { return RemoveStaleTemporaries(folder, programStart); }

std::vector<FolderFile> FilesInFolder(const std::string& folder) {
    std::vector<FolderFile> files;
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files.push_back({found.cFileName, (int64_t)FromFileTime(found.ftLastWriteTime).tv_sec,
                         (int64_t)(((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

std::string GetEnvironment(const std::string& name) {
    // Windows matches variable names without regard to case itself.
    if (name.empty()) return "";
    char small[1024];
    DWORD n = GetEnvironmentVariableA(name.c_str(), small, sizeof small);
    if (n == 0) return "";
    if (n < sizeof small) return std::string(small, n);
    std::vector<char> big(n);
    n = GetEnvironmentVariableA(name.c_str(), big.data(), (DWORD)big.size());
    return n < big.size() ? std::string(big.data(), n) : "";
}

namespace {

std::string ExecutableFolder() {
    char buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return "";
    std::string path = ResolvePath(std::string(buffer, n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

std::string FindSharedFile(const std::string& relative) {
    std::vector<std::string> folders;
    std::string exe = ExecutableFolder();
    // An installed program keeps its files beside it.
    if (!exe.empty()) folders.push_back(exe);
    for (const std::string& folder : BuildTreeFolders()) folders.push_back(folder);
    return FindInFolders(folders, relative);
}
