#include "model/text.h"

std::string AsciiUpper(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = (char)(ch - 'a' + 'A');
    return text;
}

std::string Cp437Upper(std::string text) {
    // Codes 128..165: the capital of each; its own code for the capitals.
    static const char capitals[] = "\x80\x9a\x90" "A" "\x8e" "A" "\x8f\x80" "EEEIII" "\x8e\x8f\x90\x92\x92"
                                   "O" "\x99" "OUUY" "\x99\x9a" "\x9b\x9c\x9d\x9e\x9f" "AIOU" "\xa5\xa5";
    static_assert(sizeof capitals == 165 - 128 + 2);
    for (char& ch : text) {
        const unsigned char code = (unsigned char)ch;
        if (ch >= 'a' && ch <= 'z') ch = (char)(ch - 'a' + 'A');
        else if (code >= 128 && code <= 165) ch = capitals[code - 128];
    }
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
