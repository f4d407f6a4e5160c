// The parts of the file operations that are the same on every system.
#include <cctype>

#include "model/text.h"
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
    lines = SplitTextLines(bytes);
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

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}
