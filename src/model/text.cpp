#include "model/text.h"

std::string AsciiUpper(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = (char)(ch - 'a' + 'A');
    return text;
}

std::string AsciiLower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z') ch = (char)(ch - 'A' + 'a');
    return text;
}

std::string Trim(const std::string& text, const char* characters) {
    size_t first = text.find_first_not_of(characters);
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(characters);
    return text.substr(first, last - first + 1);
}

std::string TrimTrailing(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}
