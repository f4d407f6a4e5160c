// Private deals: every board dealt from a secret of 128 bits through
// HMAC-SHA-256 in counter mode, and the deal key that carries the secret
// with the game's date, session and board count. Nobody at the table can
// work the deals out from the date and the hand in front of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using DealSecret = std::array<uint8_t, 16>;

struct DealKeyParts {
    DealSecret secret{};
    int year = 0, month = 0, day = 0;   // year as two digits
    int session = 0, boards = 0;
};

// The key as typed and printed: 32 characters of Crockford's base 32 (no
// I, L, O or U) in eight groups of four joined by "-", the last two
// characters a check that any one wrong character or two swapped
// neighbours fail.
std::string MakeDealKey(const DealKeyParts& parts);
// A typed key: blanks and "-" dropped, any letter case, O read as 0 and I
// or L as 1. False when it is no key (wrong length, a character outside
// the alphabet, a wrong check, a date or session that cannot be).
bool DecodeDealKey(const std::string& typed, DealKeyParts& out);
// Whether a typed text is meant as a key rather than a control number.
bool LooksLikeDealKey(const std::string& typed);

// Draws from the secret's stream: block n is HMAC-SHA-256(secret,
// "KELMO DEAL" + n as 8 bytes, high first), read as 32-bit words high
// byte first.
class PrivateStream {
public:
    explicit PrivateStream(const DealSecret& secret) : secret_(secret) {}
    uint32_t Word();
    // Uniform in 0..range-1 (range >= 1): words at or above the largest
    // multiple of range are drawn again, never folded by a bare modulo.
    int Below(int range);

private:
    DealSecret secret_;
    uint64_t block_ = 0;
    uint8_t words_[32] = {};
    int used_ = 8;
};

// One board from the stream: a shuffle of the 52 cards, 13 to each seat.
void DealPrivateBoard(PrivateStream& stream, uint16_t masks[4][4]);
// Boards 1..boards of the game into G.HandMasks, each dealt again from the
// same stream while its East and West longest suits exceed 22 cards.
void DealPrivateGame(const DealSecret& secret, int boards);
