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

#include "platform/cp437.h"
#include "platform/files.h"
#include "platform/win32/win32.h"

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WideFromUtf8(path).c_str()); }

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

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return L"";
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide((size_t)n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), wide.data(), n);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
    if (text.empty()) return "";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string narrow((size_t)n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

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
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, (LPWSTR)&text, 0, nullptr);
    // In the console's code page, whatever the language of the system.
    std::string reason = n && text ? Cp437FromTextFile(Utf8FromWide(std::wstring(text, n)))
                                   : "error " + std::to_string(error);
    if (text) LocalFree(text);
    // The system's sentence without its line end and full stop, to follow a
    // colon.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' ||
                               reason.back() == '.'))
        reason.pop_back();
    return reason;
}

bool MakeFolder(const std::string& name) {
    if (CreateDirectoryW(WideFromUtf8(ResolvePath(name)).c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    return FolderExists(name) || WriteFailed(error == ERROR_ALREADY_EXISTS ? ERROR_DIRECTORY : error);
}


int64_t FileSize(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideFromUtf8(ResolvePath(name)).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (int64_t)(((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow);
}

bool PathExists(const std::string& name) {
    return !name.empty() && Attributes(ResolvePath(name)) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& name, std::string& bytes, size_t limit) {
    bytes.clear();
    HANDLE file = CreateFileW(WideFromUtf8(ResolvePath(name)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
            file = CreateFileW(WideFromUtf8(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
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
    ok = ok && step(MoveFileExW(WideFromUtf8(temp).c_str(), WideFromUtf8(path).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (!ok) DeleteFileW(WideFromUtf8(temp).c_str());
    pendingTemp.clear();
    return ok || WriteFailed(error);
}

bool FolderTakesFiles(const std::string& folder) {
    lastWriteError = 0;
    std::string probe = ResolvePath(folder);
    if (!probe.empty() && probe.back() != '/') probe += '/';
    probe += ".kelmo-probe." + UniqueSuffix();
    // Gone when closed, whatever becomes of the program.
    HANDLE file = CreateFileW(WideFromUtf8(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WriteFailed(GetLastError());
    CloseHandle(file);
    return true;
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails where a file stands.
    return MoveFileExW(WideFromUtf8(ResolvePath(from)).c_str(), WideFromUtf8(ResolvePath(to)).c_str(),
                       MOVEFILE_WRITE_THROUGH) != 0;
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
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(WideFromUtf8(shown + part).c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                part = Utf8FromWide(found.cFileName);
                FindClose(search);
            }
        }
        shown += part;
        if (end < path.size()) shown += '\\';
        at = end + 1;
    }
    // For the code page 437 screen.
    return Cp437FromTextFile(shown);
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
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // A read-only folder that has the file still takes the lock.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
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
    if (!pendingTemp.empty()) DeleteFileW(WideFromUtf8(pendingTemp).c_str());
    pendingTemp.clear();
}

int RemoveStaleTemporaries(const std::string& folder, const timespec& before) {
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideFromUtf8(path + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> stale;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const std::string name = Utf8FromWide(found.cFileName);
        if (!IsOwnTemporaryName(name)) continue;
        // Newer ones may belong to a write going on now.
        const timespec changed = FromFileTime(found.ftLastWriteTime);
        if (changed.tv_sec < before.tv_sec || (changed.tv_sec == before.tv_sec && changed.tv_nsec < before.tv_nsec))
            stale.push_back(path + "/" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    int removed = 0;
    for (const auto& file : stale) removed += DeleteFileW(WideFromUtf8(file).c_str()) != 0;
    return removed;
}

int RemoveStaleTemporaries(const std::string& folder) { return RemoveStaleTemporaries(folder, programStart); }

std::vector<FolderFile> FilesInFolder(const std::string& folder) {
    std::vector<FolderFile> files;
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideFromUtf8(path + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files.push_back({Utf8FromWide(found.cFileName), (int64_t)FromFileTime(found.ftLastWriteTime).tv_sec,
                         (int64_t)(((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow)});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

std::string GetEnvironment(const std::string& name) {
    // Windows matches variable names without regard to case itself.
    // As UTF-8, like every path the program holds: a profile folder named
    // for "Jos\u00e9" must reach the system as it is.
    if (name.empty()) return "";
    const std::wstring wide = WideFromUtf8(name);
    wchar_t small[1024];
    DWORD n = GetEnvironmentVariableW(wide.c_str(), small, 1024);
    if (n == 0) return "";
    if (n < 1024) return Utf8FromWide(std::wstring(small, n));
    std::vector<wchar_t> big(n);
    n = GetEnvironmentVariableW(wide.c_str(), big.data(), (DWORD)big.size());
    return n < big.size() ? Utf8FromWide(std::wstring(big.data(), n)) : "";
}

namespace {

std::string ExecutableFolder() {
    wchar_t buffer[32768];
    DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    if (n == 0 || n >= 32768) return "";
    std::string path = ResolvePath(Utf8FromWide(std::wstring(buffer, n)));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

std::string AbsolutePath(const std::string& name) {
    wchar_t full[32768];
    const DWORD n = GetFullPathNameW(WideFromUtf8(ResolvePath(name)).c_str(), 32768, full, nullptr);
    return n == 0 || n >= 32768 ? "" : ResolvePath(Utf8FromWide(std::wstring(full, n)));
}

std::string FindSharedFile(const std::string& relative) {
    std::vector<std::string> folders;
    std::string exe = ExecutableFolder();
    // An installed program keeps its files beside it.
    if (!exe.empty()) folders.push_back(exe);
    for (const std::string& folder : BuildTreeFolders()) folders.push_back(folder);
    return FindInFolders(folders, relative);
}
