#include "platform/cp437.h"

namespace {

const char16_t Low[32] = {
    u' ',    u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};

const char16_t High[128] = {
    u'\u00C7', u'\u00FC', u'\u00E9', u'\u00E2', u'\u00E4', u'\u00E0', u'\u00E5', u'\u00E7',
    u'\u00EA', u'\u00EB', u'\u00E8', u'\u00EF', u'\u00EE', u'\u00EC', u'\u00C4', u'\u00C5',
    u'\u00C9', u'\u00E6', u'\u00C6', u'\u00F4', u'\u00F6', u'\u00F2', u'\u00FB', u'\u00F9',
    u'\u00FF', u'\u00D6', u'\u00DC', u'\u00A2', u'\u00A3', u'\u00A5', u'\u20A7', u'\u0192',
    u'\u00E1', u'\u00ED', u'\u00F3', u'\u00FA', u'\u00F1', u'\u00D1', u'\u00AA', u'\u00BA',
    u'\u00BF', u'\u2310', u'\u00AC', u'\u00BD', u'\u00BC', u'\u00A1', u'\u00AB', u'\u00BB',
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',
    u'\u03B1', u'\u00DF', u'\u0393', u'\u03C0', u'\u03A3', u'\u03C3', u'\u00B5', u'\u03C4',
    u'\u03A6', u'\u0398', u'\u03A9', u'\u03B4', u'\u221E', u'\u03C6', u'\u03B5', u'\u2229',
    u'\u2261', u'\u00B1', u'\u2265', u'\u2264', u'\u2320', u'\u2321', u'\u00F7', u'\u2248',
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u207F', u'\u00B2', u'\u25A0', u'\u00A0'};

// Plain stand-ins: lines become - = | +, blocks #, suits their letters.
wchar_t Ascii(unsigned char code) {
    if (code >= 32 && code < 127) return code;
    switch (code) {
    case 3: return 'H';
    case 4: return 'D';
    case 5: return 'C';
    case 6: return 'S';
    case 179: case 186: return '|';
    case 196: return '-';
    case 205: return '=';
    case 176: case 177: case 178: case 219: case 220: case 221: case 222: case 223: return '#';
    case 246: return '/';
    default: break;
    }
    if (code >= 180 && code <= 218) return '+';
    return code == 0 ? ' ' : '?';
}

}  // namespace

wchar_t Cp437Glyph(unsigned char code, bool unicode) {
    if (!unicode) return Ascii(code);
    if (code < 32) return Low[code];
    if (code == 127) return L'\u2302';
    if (code == 255) return L' ';   // no-break space: a blank cell
    if (code > 127) return High[code - 128];
    return code;
}

int Cp437FromUnicode(wchar_t ch) {
    if (ch < 128) return (int)ch;
    for (int i = 0; i < 128; i++)
        if (High[i] == ch) return 128 + i;
    return -1;
}

std::string Cp437FromLatin1(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        unsigned char code = (unsigned char)ch;
        int mapped = code < 128 ? code : Cp437FromUnicode((wchar_t)code);
        out += mapped < 0 ? '?' : (char)mapped;
    }
    return out;
}

std::string Latin1FromCp437(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        unsigned char code = (unsigned char)ch;
        char16_t mapped = code < 128 ? code : High[code - 128];
        out += mapped > 0xFF ? '?' : (char)mapped;
    }
    return out;
}

namespace {

void AppendCp437(std::string& out, char32_t ch) {
    int code = ch < 0x10000 ? Cp437FromUnicode((wchar_t)ch) : -1;
    out += code < 0 ? '?' : (char)code;
}

// Length of the UTF-8 sequence at i and its character; 0 when the bytes
// there are not one (overlong, a surrogate, past U+10FFFF, cut short).
size_t Utf8At(const std::string& s, size_t i, char32_t& ch) {
    const unsigned char lead = (unsigned char)s[i];
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                  : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > s.size()) return 0;
    ch = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; k++) {
        const unsigned char next = (unsigned char)s[i + k];
        if ((next & 0xC0) != 0x80) return 0;
        ch = ch << 6 | (next & 0x3F);
    }
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (ch < least[length] || ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000)) return 0;
    return length;
}

// True when the bytes are valid UTF-8 and not plain ASCII.
bool IsUtf8BeyondAscii(const std::string& s) {
    bool beyond = false;
    for (size_t i = 0; i < s.size();) {
        char32_t ch;
        size_t length = Utf8At(s, i, ch);
        if (length == 0) return false;
        beyond |= length > 1;
        i += length;
    }
    return beyond;
}

std::string Cp437FromUtf8(const std::string& s, size_t from) {
    std::string out;
    for (size_t i = from; i < s.size();) {
        char32_t ch = '?';
        size_t length = Utf8At(s, i, ch);
        AppendCp437(out, length ? ch : U'?');
        i += length ? length : 1;
    }
    return out;
}

std::string Cp437FromUtf16(const std::string& s, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t i) -> char32_t {
        unsigned char a = (unsigned char)s[i], b = (unsigned char)s[i + 1];
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 2; i + 1 < s.size(); i += 2) {
        char32_t ch = unit(i);
        if (ch >= 0xD800 && ch < 0xDC00 && i + 3 < s.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            i += 2;   // a pair: beyond the basic plane, so beyond code page 437
            ch = U'?';
        } else if (ch >= 0xD800 && ch < 0xE000) {
            ch = U'?';
        }
        AppendCp437(out, ch);
    }
    return out;
}

}  // namespace

std::string Cp437FromTextFile(const std::string& bytes, bool latin1) {
    auto starts = [&bytes](const char* mark) { return bytes.rfind(mark, 0) == 0; };
    if (starts("\xFF\xFE")) return Cp437FromUtf16(bytes, false);
    if (starts("\xFE\xFF")) return Cp437FromUtf16(bytes, true);
    if (starts("\xEF\xBB\xBF")) return Cp437FromUtf8(bytes, 3);
    if (IsUtf8BeyondAscii(bytes)) return Cp437FromUtf8(bytes, 0);
    return latin1 ? Cp437FromLatin1(bytes) : bytes;
}

std::string TextFileFromCp437(const std::string& text) {
    // Written as it is, unless a reader would take it for UTF-8 or for a
    // byte-order mark (box drawing and Greek letters can spell those).
    bool marked = false;
    for (const char* mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"}) marked |= text.rfind(mark, 0) == 0;
    if (!marked && !IsUtf8BeyondAscii(text)) return text;
    std::string out = "\xEF\xBB\xBF";
    for (unsigned char code : text) AppendUtf8(out, code < 128 ? code : (char32_t)High[code - 128]);
    return out;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += (char)ch;
    } else if (ch < 0x800) {
        out += (char)(0xC0 | (ch >> 6));
        out += (char)(0x80 | (ch & 0x3F));
    } else {
        out += (char)(0xE0 | (ch >> 12));
        out += (char)(0x80 | ((ch >> 6) & 0x3F));
        out += (char)(0x80 | (ch & 0x3F));
    }
}
