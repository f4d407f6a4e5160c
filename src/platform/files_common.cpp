// The parts of the file operations that are the same on every system.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "model/text.h"
#include "platform/cp437.h"
#include "platform/files.h"

std::vector<std::string> SplitTextLines(const std::string& bytes) {
    std::vector<std::string> lines;
    // Every CR at a line's end goes: an editor that wrote CR CR LF must not
    // leave one in a value (a folder name, say).
    auto end = [&lines](std::string& line) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        line.clear();
    };
    std::string line;
    for (char ch : bytes) {
        if (ch == '\n') end(line);
        else line += ch;
    }
    if (!line.empty()) end(line);
    return lines;
}

bool ReadTextLines(const std::string& name, std::vector<std::string>& lines) {
    std::string bytes;
    lines.clear();
    if (!ReadWholeFile(name, bytes)) return false;
    lines = SplitTextLines(Cp437FromTextFile(bytes));
    return true;
}

bool IsOwnTemporaryName(const std::string& name) {
    // "." NAME "." and the six letters or digits of the unique part.
    const size_t n = name.size();
    if (n < 9 || name[0] != '.' || name[n - 7] != '.') return false;
    for (size_t i = n - 6; i < n; i++)
        if (!std::isalnum((unsigned char)name[i])) return false;
    // NAME must be one of the program's own files: KELMO.INI, CLUBNAME.KM,
    // an archive (.KMA etc.), a PBN or PDF file. A user's ".notes.backup"
    // in a PBN folder shared with other things is not ours.
    const std::string base = name.substr(1, n - 8);
    const size_t dot = base.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::string ext = AsciiLower(base.substr(dot + 1));
    for (const char* own : {"ini", "km", "kmm", "kma", "kme", "kml", "pbn", "pdf"})
        if (ext == own) return true;
    return false;
}

bool WriteTextFile(const std::string& name, const std::string& text) {
    return WriteFileAtomic(name, TextFileFromCp437(text));
}

std::string WriteFailureText(const std::string& what, const std::string& name) {
    const std::string reason = LastFileError();
    return what + " " + SystemPath(name) + (reason.empty() ? "" : ": " + reason);
}

std::string NumberedName(const std::string& name, int n) {
    if (n < 2) return name;
    const size_t slash = name.find_last_of("/\\");
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = name.size();
    return name.substr(0, dot) + "-" + std::to_string(n) + name.substr(dot);
}

std::string FirstFreeName(const std::string& name) {
    std::string free = name;
    for (int n = 2; PathExists(free); n++) free = NumberedName(name, n);
    return free;
}

std::string KeptFileName(const std::string& tag, bool complete, const std::string& extension) {
    return FirstFreeName("PRINTS/" + tag + (complete ? "" : "-partial") + extension);
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string FileAddress(const std::string& absolutePath) {
    // Percent-encode everything but the unreserved characters and "/", so a
    // club folder with blanks in its name still makes one valid address.
    static const char* hex = "0123456789ABCDEF";
    std::string address = "file://";
    // A Windows path: its separators become "/", and its drive ("C:") the
    // address's first component.
    std::string path = absolutePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive) address += "/";
    for (size_t i = 0; i < path.size(); i++) {
        const unsigned char ch = (unsigned char)path[i];
        bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                     (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_' ||
                     ch == '~' || ch == '/' || (drive && i == 1);
        if (plain) {
            address += (char)ch;
        } else {
            address += '%';
            address += hex[ch >> 4];
            address += hex[ch & 15];
        }
    }
    return address;
}

std::vector<std::string> BuildTreeFolders() {
    std::vector<std::string> folders;
#ifdef KELMO_SOURCE_DIR
    folders.push_back(std::string(KELMO_SOURCE_DIR) + "/resources");
#endif
#ifdef KELMO_BUILD_DIR
    folders.push_back(std::string(KELMO_BUILD_DIR) + "/resources");
#endif
    return folders;
}

std::string FindInFolders(const std::vector<std::string>& folders, const std::string& relative) {
    if (relative.empty()) return "";
    for (const std::string& folder : folders) {
        std::string path = ResolvePath(folder + "/" + relative);
        if (!PathExists(path)) continue;
        std::error_code error;
        std::string full = std::filesystem::canonical(path, error).string();
        return error ? path : ResolvePath(full);
    }
    return "";
}
