// Placeholder file operations (no letter-case lookup yet).
#include "platform/files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string ResolvePath(const std::string& name) {
    std::string path = name;
    for (char& ch : path)
        if (ch == '\\') ch = '/';
    return path;
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(name), ec);
}

bool FolderExists(const std::string& name) {
    std::error_code ec;
    return fs::is_directory(ResolvePath(name), ec);
}

bool MakeFolder(const std::string& name) {
    std::error_code ec;
    return fs::create_directory(ResolvePath(name), ec);
}

bool RemoveFile(const std::string& name) {
    std::error_code ec;
    return fs::remove(ResolvePath(name), ec);
}

bool ReadWholeFile(const std::string& name, std::string& bytes) {
    std::ifstream in(ResolvePath(name), std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

bool ReadTextLines(const std::string& name, std::vector<std::string>& lines) {
    std::string bytes;
    lines.clear();
    if (!ReadWholeFile(name, bytes)) return false;
    std::string line;
    for (char ch : bytes) {
        if (ch == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += ch;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return true;
}

bool WriteFileAtomic(const std::string& name, const std::string& bytes) {
    std::string path = ResolvePath(name);
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << bytes;
        if (!out) return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    return !ec;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string GetEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

std::string FindSharedFile(const std::string& /*relative*/) { return {}; }
