#include "dealing/private.h"

#include <algorithm>
#include <cstring>

#include "dealing/dates.h"
#include "dealing/redeal.h"
#include "platform/crypto.h"

namespace {

const char* const Alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int DataSymbols = 30;

int SymbolValue(char ch) {
    if (ch >= 'a' && ch <= 'z') ch = (char)(ch - 'a' + 'A');
    if (ch == 'O') ch = '0';
    if (ch == 'I' || ch == 'L') ch = '1';
    const char* at = std::strchr(Alphabet, ch);
    return ch && at ? (int)(at - Alphabet) : -1;
}

// The first keys' check: a weighted sum of the data symbols modulo a prime,
// in two characters. It fails one wrong character or two swapped
// neighbours, but two wrong characters pass it about once in 510.
constexpr int CheckModulus = 1021;
int WeightedCheck(const int* values) {
    int sum = 0;
    for (int i = 0; i < DataSymbols; i++) sum += (i + 1) * values[i];
    return sum % CheckModulus;
}

// Today's check: a Reed-Solomon code over GF(2^10). Pairs of data
// characters are 15 symbols of 10 bits; three check symbols (six
// characters) give a distance of 4, so any three wrong characters, which
// touch at most three symbols, fail it.
struct Gf1024 {
    int exp[2046], log[1024];
    Gf1024() {
        int x = 1;
        for (int i = 0; i < 1023; i++) {
            exp[i] = exp[i + 1023] = x;
            log[x] = i;
            x <<= 1;
            if (x & 0x400) x ^= 0x409;   // x^10 + x^3 + 1, primitive
        }
        log[0] = 0;
    }
    int Mul(int a, int b) const { return a && b ? exp[log[a] + log[b]] : 0; }
};
const Gf1024 gf;

// The check symbols of the 15 data symbols: the remainder of m(x) x^3 by
// g(x) = (x - a)(x - a^2)(x - a^3).
void ReedSolomonCheck(const int* values, int check[3]) {
    int g[4] = {1, 0, 0, 0};   // g[0] x^3 + g[1] x^2 + g[2] x + g[3]
    for (int i = 1; i <= 3; i++) {
        const int root = gf.exp[i];
        for (int k = 3; k >= 1; k--) g[k] = g[k] ^ gf.Mul(g[k - 1], root);
    }
    int r[3] = {0, 0, 0};
    for (int i = 0; i < DataSymbols / 2; i++) {
        const int feedback = (values[2 * i] * 32 + values[2 * i + 1]) ^ r[0];
        r[0] = r[1] ^ gf.Mul(feedback, g[1]);
        r[1] = r[2] ^ gf.Mul(feedback, g[2]);
        r[2] = gf.Mul(feedback, g[3]);
    }
    std::copy(r, r + 3, check);
}

int KeySymbols(int form) { return form == 1 ? 36 : 32; }

// The check characters of a key's data symbols, after them.
void PutCheck(int* values, int form) {
    if (form == 0) {
        const int check = WeightedCheck(values);
        values[30] = check / 32;
        values[31] = check % 32;
        return;
    }
    int check[3];
    ReedSolomonCheck(values, check);
    for (int i = 0; i < 3; i++) values[30 + 2 * i] = check[i] / 32, values[31 + 2 * i] = check[i] % 32;
}

// Bits into and out of the 150 bits of the data symbols, high bit first.
struct Bits {
    int values[36] = {};
    int at = 0;
    void Put(uint32_t value, int count) {
        for (int bit = count - 1; bit >= 0; bit--, at++)
            values[at / 5] |= (int)((value >> bit) & 1u) << (4 - at % 5);
    }
    uint32_t Take(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; i++, at++) value = (value << 1) | (uint32_t)((values[at / 5] >> (4 - at % 5)) & 1);
        return value;
    }
};

// Block `stream.block` of the stream into its words.
bool NextBlock(PrivateDealStream& stream) {
    uint8_t message[18] = {'K', 'E', 'L', 'M', 'O', ' ', 'D', 'E', 'A', 'L'};
    for (int i = 0; i < 8; i++) message[10 + i] = (uint8_t)(stream.block >> (56 - 8 * i));
    stream.block++;
    stream.used = 0;
    if (!HmacSha256(stream.secret, sizeof stream.secret, message, sizeof message, stream.words)) stream.failed = 1;
    return !stream.failed;
}

}  // namespace

std::string MakeDealKey(const DealKeyParts& parts) {
    Bits bits;
    for (uint8_t byte : parts.secret) bits.Put(byte, 8);
    bits.Put((uint32_t)parts.year, 7);
    bits.Put((uint32_t)parts.month, 4);
    bits.Put((uint32_t)parts.day, 5);
    bits.Put((uint32_t)(parts.session - 1), 2);
    bits.Put(parts.boards == 36 ? 1 : 0, 1);
    const int form = parts.form == 0 ? 0 : 1;
    bits.Put((uint32_t)form, 3);
    PutCheck(bits.values, form);
    std::string key;
    for (int i = 0; i < KeySymbols(form); i++) {
        if (i > 0 && i % 4 == 0) key += '-';
        key += Alphabet[bits.values[i]];
    }
    return key;
}

bool DecodeDealKey(const std::string& typed, DealKeyParts& out) {
    Bits bits;
    int count = 0;
    for (char ch : typed) {
        if (ch == ' ' || ch == '-') continue;
        const int value = SymbolValue(ch);
        if (value < 0 || count >= 36) return false;
        bits.values[count++] = value;
    }
    if (count != 32 && count != 36) return false;
    const int form = count == 36 ? 1 : 0;
    int expected[36];
    std::copy(bits.values, bits.values + 36, expected);
    PutCheck(expected, form);
    if (!std::equal(expected + 30, expected + count, bits.values + 30)) return false;
    DealKeyParts parts;
    for (uint8_t& byte : parts.secret) byte = (uint8_t)bits.Take(8);
    parts.year = (int)bits.Take(7);
    parts.month = (int)bits.Take(4);
    parts.day = (int)bits.Take(5);
    parts.session = (int)bits.Take(2) + 1;
    parts.boards = bits.Take(1) ? 36 : 24;
    parts.form = form;
    if ((int)bits.Take(3) != form || parts.year > 99 || !IsValidGameDate(parts.month, parts.day, parts.year))
        return false;
    out = parts;
    return true;
}

bool LooksLikeDealKey(const std::string& typed) {
    // A control number has ten digits and "X"s ("#" and blanks between).
    int symbols = 0;
    for (char ch : typed) symbols += (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    return symbols > 10;
}

std::string DealKeyCheck(const uint8_t secret[16]) {
    static const uint8_t label[] = {'K', 'E', 'L', 'M', 'O', ' ', 'C', 'H', 'E', 'C', 'K'};
    uint8_t hash[32];
    if (!HmacSha256(secret, 16, label, sizeof label, hash)) return "";
    Bits bits;
    for (int i = 0; i < 5; i++) bits.Put(hash[i], 8);
    std::string check;
    for (int i = 0; i < 8; i++) check += std::string(i == 4 ? "-" : "") + Alphabet[bits.values[i]];
    return check;
}

bool StartPrivateStream(PrivateDealStream& stream, const uint8_t secret[16]) {
    stream = PrivateDealStream{};
    std::copy(secret, secret + 16, stream.secret);
    return NextBlock(stream);
}

uint32_t StreamWord(PrivateDealStream& stream) {
    if (stream.failed || (stream.used == 8 && !NextBlock(stream))) return 0;
    const uint8_t* w = stream.words + 4 * stream.used++;
    return (uint32_t)w[0] << 24 | (uint32_t)w[1] << 16 | (uint32_t)w[2] << 8 | w[3];
}

int StreamBelow(PrivateDealStream& stream, int range) {
    const uint64_t span = 1ull << 32;
    const uint64_t limit = span - span % (uint64_t)range;
    for (;;) {
        const uint32_t word = StreamWord(stream);
        if (stream.failed) return 0;
        if (word < limit) return (int)(word % (uint32_t)range);
    }
}

bool DealPrivateBoard(PrivateDealStream& stream, uint16_t masks[4][4]) {
    int deck[52];
    for (int i = 0; i < 52; i++) deck[i] = i;
    // Fisher and Yates: every order of the 52 cards equally likely.
    for (int i = 51; i > 0; i--) std::swap(deck[i], deck[StreamBelow(stream, i + 1)]);
    for (int seat = 0; seat < 4; seat++)
        for (int suit = 0; suit < 4; suit++) masks[seat][suit] = 0;
    if (stream.failed) return false;
    for (int i = 0; i < 52; i++) masks[i / 13][deck[i] / 13] |= (uint16_t)(1u << (deck[i] % 13));
    return true;
}

bool DealPrivateGame(const DealSecret& secret, int boards) {
    PrivateDealStream stream;
    const int last = std::min(boards, MaxBoards);
    bool good = StartPrivateStream(stream, secret.data());
    for (int board = 1; good && board <= last; board++)
        good = DealByRule(G.HandMasks[board], [&stream](uint16_t masks[4][4]) {
                   return DealPrivateBoard(stream, masks);
               }) == DealingGood;
    if (!good)
        for (int board = 1; board <= last; board++)
            for (auto& seat : G.HandMasks[board])
                for (auto& suit : seat) suit = 0;
    return good;
}
