#include "dealing/private.h"

#include <algorithm>
#include <cstring>

#include "dealing/dates.h"
#include "dealing/deal.h"
#include "model/model.h"
#include "platform/crypto.h"

namespace {

const char* const Alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int DataSymbols = 30, KeySymbols = 32;
constexpr int CheckModulus = 1021;   // a prime: weights 1..30 never cancel a change below 32

int SymbolValue(char ch) {
    if (ch >= 'a' && ch <= 'z') ch = (char)(ch - 'a' + 'A');
    if (ch == 'O') ch = '0';
    if (ch == 'I' || ch == 'L') ch = '1';
    const char* at = std::strchr(Alphabet, ch);
    return ch && at ? (int)(at - Alphabet) : -1;
}

int CheckOf(const int* values) {
    int sum = 0;
    for (int i = 0; i < DataSymbols; i++) sum += (i + 1) * values[i];
    return sum % CheckModulus;
}

// Bits into and out of the 150 bits of the data symbols, high bit first.
struct Bits {
    int values[KeySymbols] = {};
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

}  // namespace

std::string MakeDealKey(const DealKeyParts& parts) {
    Bits bits;
    for (uint8_t byte : parts.secret) bits.Put(byte, 8);
    bits.Put((uint32_t)parts.year, 7);
    bits.Put((uint32_t)parts.month, 4);
    bits.Put((uint32_t)parts.day, 5);
    bits.Put((uint32_t)(parts.session - 1), 2);
    bits.Put(parts.boards == 36 ? 1 : 0, 1);
    bits.Put(0, 3);   // the key's form: 0
    const int check = CheckOf(bits.values);
    bits.values[30] = check / 32;
    bits.values[31] = check % 32;
    std::string key;
    for (int i = 0; i < KeySymbols; i++) {
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
        if (value < 0 || count >= KeySymbols) return false;
        bits.values[count++] = value;
    }
    if (count != KeySymbols || CheckOf(bits.values) != bits.values[30] * 32 + bits.values[31]) return false;
    DealKeyParts parts;
    for (uint8_t& byte : parts.secret) byte = (uint8_t)bits.Take(8);
    parts.year = (int)bits.Take(7);
    parts.month = (int)bits.Take(4);
    parts.day = (int)bits.Take(5);
    parts.session = (int)bits.Take(2) + 1;
    parts.boards = bits.Take(1) ? 36 : 24;
    if (bits.Take(3) != 0 || parts.year > 99 || !IsValidGameDate(parts.month, parts.day, parts.year)) return false;
    out = parts;
    return true;
}

bool LooksLikeDealKey(const std::string& typed) {
    // A control number has ten digits and "X"s ("#" and blanks between).
    int symbols = 0;
    for (char ch : typed) symbols += (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    return symbols > 10;
}

uint32_t PrivateStream::Word() {
    if (used_ == 8) {
        uint8_t message[18] = {'K', 'E', 'L', 'M', 'O', ' ', 'D', 'E', 'A', 'L'};
        for (int i = 0; i < 8; i++) message[10 + i] = (uint8_t)(block_ >> (56 - 8 * i));
        block_++;
        HmacSha256(secret_.data(), secret_.size(), message, sizeof message, words_);
        used_ = 0;
    }
    const uint8_t* w = words_ + 4 * used_++;
    return (uint32_t)w[0] << 24 | (uint32_t)w[1] << 16 | (uint32_t)w[2] << 8 | w[3];
}

int PrivateStream::Below(int range) {
    const uint64_t span = 1ull << 32;
    const uint64_t limit = span - span % (uint64_t)range;
    for (;;) {
        const uint32_t word = Word();
        if (word < limit) return (int)(word % (uint32_t)range);
    }
}

void DealPrivateBoard(PrivateStream& stream, uint16_t masks[4][4]) {
    int deck[52];
    for (int i = 0; i < 52; i++) deck[i] = i;
    // Fisher and Yates: every order of the 52 cards equally likely.
    for (int i = 51; i > 0; i--) std::swap(deck[i], deck[stream.Below(i + 1)]);
    for (int seat = 0; seat < 4; seat++)
        for (int suit = 0; suit < 4; suit++) masks[seat][suit] = 0;
    for (int i = 0; i < 52; i++) masks[i / 13][deck[i] / 13] |= (uint16_t)(1u << (deck[i] % 13));
}

void DealPrivateGame(const DealSecret& secret, int boards) {
    PrivateStream stream(secret);
    for (int board = 1; board <= std::min(boards, MaxBoards); board++)
        DealWithRedeals(board, [&stream](uint16_t masks[4][4]) { DealPrivateBoard(stream, masks); });
}
