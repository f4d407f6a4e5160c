// Files and folders as the program names them (see files.h).
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "model/text.h"
#include "platform/cp437.h"
#include "platform/posix/signals.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` that matches `name` without regard to letter case;
// the name itself when nothing matches. Several matches: the first in byte
// order, so the answer does not depend on the directory's order.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return name;
    const std::string want = AsciiLower(name);
    std::vector<std::string> found;
    while (dirent* entry = readdir(dir)) {
        if (AsciiLower(entry->d_name) == want) found.push_back(entry->d_name);
    }
    closedir(dir);
    if (found.empty()) return name;
    return *std::min_element(found.begin(), found.end());
}

// The temporary of a write in progress, for a signal handler to remove.
// Changed only while the ending signals are blocked, so the handler never
// sees a half-copied name nor misses a temporary that exists.
char pendingTemp[4096];
volatile std::sig_atomic_t pendingSet = 0;

// When the program started: temporaries older than this are left over
// from an earlier run.
const timespec programStart = [] {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

mode_t NewFileMode() {
    static const mode_t mode = [] {
        mode_t mask = umask(0);
        umask(mask);
        return (mode_t)(0666 & ~mask);
    }();
    return mode;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += (size_t)n;
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

std::string ResolvePath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) return path;

    const bool absolute = path[0] == '/';
    const bool trailing = path.size() > 1 && path.back() == '/';
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= path.size()) {
        size_t next = path.find('/', at);
        if (next == std::string::npos) next = path.size();
        if (next > at) parts.push_back(path.substr(at, next - at));
        at = next + 1;
    }

    std::string result = absolute ? "/" : "";
    bool onDisk = true;   // every component so far exists
    for (size_t i = 0; i < parts.size(); i++) {
        std::string part = parts[i];
        std::string candidate = result + part;
        if (onDisk && part != "." && part != ".." && !Exists(candidate)) {
            part = MatchInFolder(result, part);
            candidate = result + part;
            onDisk = Exists(candidate);
        }
        result = candidate;
        if (i + 1 < parts.size() || trailing) result += '/';
    }
    return result;
}

bool FileExists(const std::string& name) {
    struct stat st;
    return stat(ResolvePath(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& name) {
    struct stat st;
    return stat(ResolvePath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

thread_local int lastWriteError = 0;

bool WriteFailed(int error) {
    lastWriteError = error;
    return false;
}

// Makes a temporary from a mkostemp pattern, its name recorded for the
// signal handler, both while the ending signals are blocked. The open
// descriptor, or -1 with the reason in lastWriteError.
int OpenPendingTemporary(const std::string& pattern) {
    if (pattern.size() >= sizeof pendingTemp) {
        WriteFailed(ENAMETOOLONG);
        return -1;
    }
    EndSignalsBlocked blocked;
    std::memcpy(pendingTemp, pattern.c_str(), pattern.size() + 1);
    const int fd = mkostemp(pendingTemp, O_CLOEXEC);
    if (fd < 0) WriteFailed(errno);
    else pendingSet = 1;
    return fd;
}

}  // namespace

std::string LastFileError() { return lastWriteError ? std::strerror(lastWriteError) : ""; }

bool MakeFolder(const std::string& name) {
    std::string path = ResolvePath(name);
    if (mkdir(path.c_str(), 0777) == 0) return true;
    if (errno == EEXIST && FolderExists(path)) return true;
    return WriteFailed(errno == EEXIST ? ENOTDIR : errno);
}

bool ReadWholeFile(const std::string& name, std::string& bytes, size_t limit) {
    bytes.clear();
    // Without waiting: opening a named pipe would wait for a writer.
    int fd = open(ResolvePath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    // Only plain files: a device such as /dev/zero would never end, a pipe
    // never start.
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (uint64_t)st.st_size > limit) {
        close(fd);
        return false;
    }
    bytes.reserve((size_t)st.st_size);
    char buffer[65536];
    for (;;) {
        // A file that grows while it is read stops at the bound too.
        if (bytes.size() > limit) {
            close(fd);
            bytes.clear();
            return false;
        }
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, (size_t)n);
    }
    close(fd);
    return true;
}

int64_t FileSize(const std::string& name) {
    struct stat st;
    if (stat(ResolvePath(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return (int64_t)st.st_size;
}

bool PathExists(const std::string& name) {
    struct stat st;
    return !name.empty() && lstat(ResolvePath(name).c_str(), &st) == 0;
}

bool WriteFileAtomic(const std::string& name, const std::string& bytes) {
    lastWriteError = 0;
    const std::string path = ResolvePath(name);
    if (path.empty() || path.back() == '/') return WriteFailed(EISDIR);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);

    // A hidden, unique name beside the file, so the rename stays on one
    // file system.
    // The temporary exists only once the handler knows its name.
    const int fd = OpenPendingTemporary(folder + "." + base + ".XXXXXX");
    if (fd < 0) return false;
    const std::string temp = pendingTemp;

    // A plain file keeps its mode (readable by its owner, or the program
    // could not read back what it wrote); anything else, such as a link
    // to a device, gets the mode of a new file.
    struct stat old;
    mode_t mode = stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                      ? ((old.st_mode & 07777) | S_IRUSR)
                      : NewFileMode();
    // The first step that fails gives the reason.
    int error = 0;
    auto step = [&error](bool good) {
        if (!good && error == 0) error = errno ? errno : EIO;
        return good;
    };
    bool ok = step(fchmod(fd, mode) == 0) && step(WriteAll(fd, bytes)) && step(fsync(fd) == 0);
    ok = step(close(fd) == 0) && ok;
    {
        EndSignalsBlocked blocked;
        ok = ok && step(rename(temp.c_str(), path.c_str()) == 0);
        if (!ok) unlink(temp.c_str());
        pendingSet = 0;
    }
    if (!ok) return WriteFailed(error);
    SyncFolder(folder);
    return true;
}

bool FolderTakesFiles(const std::string& folder) {
    lastWriteError = 0;
    std::string probe = ResolvePath(folder);
    if (!probe.empty() && probe.back() != '/') probe += '/';
    const int fd = OpenPendingTemporary(probe + ".kelmo-probe.XXXXXX");
    if (fd < 0) return false;
    close(fd);
    EndSignalsBlocked blocked;
    unlink(pendingTemp);
    pendingSet = 0;
    return true;
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    const std::string source = ResolvePath(from), target = ResolvePath(to);
    // A hard link is never made over an existing name; a file system
    // without links (a FAT stick) gets a rename after a look.
    if (link(source.c_str(), target.c_str()) == 0) {
        if (unlink(source.c_str()) == 0) return true;
        unlink(target.c_str());
        return false;
    }
    if (errno == EEXIST || PathExists(to)) return false;
    return rename(source.c_str(), target.c_str()) == 0;
}

std::string SystemPath(const std::string& name) {
    // For the code page 437 screen: the names on disk are UTF-8.
    return Cp437FromTextFile(ResolvePath(name));
}

std::string ExampleFolderPath() { return "/home/club/bridge/dealer data"; }
std::string FolderSeparatorName() { return "slashes"; }

namespace {

// Kept open for the life of the process; close-on-exec, so a browser the
// program starts never inherits the lock.
int lockFile = -1;

FolderClaim ClaimFailed(const std::string& reason) { return {FolderClaim::Failed, reason}; }

}  // namespace

FolderClaim ClaimWorkingFolder() {
    if (lockFile >= 0) return {};
    const std::string path = ResolvePath("KELMO.LCK");
    struct stat st;
    // A link in its place could lead the lock anywhere, or nowhere.
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return ClaimFailed("KELMO.LCK is a link, not a file");
    int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, NewFileMode());
    // A read-only folder that has the file still takes the lock.
    if (file < 0 && (errno == EACCES || errno == EROFS)) file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (file < 0) return ClaimFailed(std::strerror(errno));
    if (fstat(file, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(file);
        return ClaimFailed("KELMO.LCK is not a plain file");
    }
    if (flock(file, LOCK_EX | LOCK_NB) == 0) {
        lockFile = file;
        return {};
    }
    const int error = errno;
    close(file);
    if (error == EWOULDBLOCK) return {FolderClaim::HeldByAnother, ""};
    return ClaimFailed(std::strerror(error));
}

void ReleaseWorkingFolder() {
    if (lockFile >= 0) close(lockFile);
    lockFile = -1;
}

void RemovePendingTemporary() {
    if (pendingSet) unlink(pendingTemp);
}

int RemoveStaleTemporaries(const std::string& folder, const timespec& before) {
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    DIR* dir = opendir(path.c_str());
    if (!dir) return 0;
    std::vector<std::string> stale;
    while (dirent* entry = readdir(dir)) {
        if (!IsOwnTemporaryName(entry->d_name)) continue;
        const std::string file = path + "/" + entry->d_name;
        struct stat st;
        if (lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // Newer ones may belong to a write going on now.
        const bool older = st.st_mtim.tv_sec < before.tv_sec ||
                           (st.st_mtim.tv_sec == before.tv_sec && st.st_mtim.tv_nsec < before.tv_nsec);
        if (older) stale.push_back(file);
    }
    closedir(dir);
    int removed = 0;
    for (const auto& file : stale) removed += unlink(file.c_str()) == 0;
    return removed;
}

int RemoveStaleTemporaries(const std::string& folder) { return RemoveStaleTemporaries(folder, programStart); }

std::vector<FolderFile> FilesInFolder(const std::string& folder) {
    std::vector<FolderFile> files;
    const std::string path = ResolvePath(folder.empty() ? "." : folder);
    DIR* dir = opendir(path.c_str());
    if (!dir) return files;
    while (dirent* entry = readdir(dir)) {
        struct stat st;
        if (stat((path + "/" + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            files.push_back({entry->d_name, (int64_t)st.st_mtim.tv_sec, (int64_t)st.st_size});
    }
    closedir(dir);
    return files;
}

std::string GetEnvironment(const std::string& name) {
    // POSIX names are exact: "home" is not "HOME".
    if (name.empty()) return "";
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

namespace {

std::string ExecutableFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    std::string path(buffer, (size_t)n);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

std::string AbsolutePath(const std::string& name) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(ResolvePath(name), error);
    return error ? "" : path.lexically_normal().string();
}

std::string FindSharedFile(const std::string& relative) {
    std::vector<std::string> folders;
    std::string exe = ExecutableFolder();
    // An installed program first, so it never picks up a stale build tree.
    if (!exe.empty()) folders.push_back(exe + "/../share/kelmo");
    for (const std::string& folder : BuildTreeFolders()) folders.push_back(folder);
#ifdef KELMO_DATADIR
    folders.push_back(KELMO_DATADIR);
#endif
    return FindInFolders(folders, relative);
}
