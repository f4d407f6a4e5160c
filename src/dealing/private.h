// Private deals: every board dealt from a secret of 128 bits through
// HMAC-SHA-256 in counter mode, and the deal key that carries the secret
// with the game's date, session and board count. Nobody at the table can
// work the deals out from the date and the hand in front of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/model.h"

using DealSecret = std::array<uint8_t, 16>;

struct DealKeyParts {
    DealSecret secret{};
    int year = 0, month = 0, day = 0;   // year as two digits
    int session = 0, boards = 0;
    // 1: the key of today, 36 characters whose six check characters fail
    // any three wrong characters; 0: the first keys, 32 characters with two
    // check characters, still read.
    int form = 1;
};

// The key as typed and printed: characters of Crockford's base 32 (no I,
// L, O or U) in groups of four joined by "-".
std::string MakeDealKey(const DealKeyParts& parts);
// A typed key of either form: blanks and "-" dropped, any letter case, O
// read as 0 and I or L as 1. False when it is no key (wrong length, a
// character outside the alphabet, a wrong check, a date or session that
// cannot be).
bool DecodeDealKey(const std::string& typed, DealKeyParts& out);
// Whether a typed text is meant as a key rather than a control number.
bool LooksLikeDealKey(const std::string& typed);
// What the hand-records for making up the boards carry instead of the key:
// eight characters ("7KQ2-M9XD") that tell one game from another and deal
// nothing. "" when the system's hash fails.
std::string DealKeyCheck(const uint8_t secret[16]);

// The stream (model.h's PrivateDealStream): block n is
// HMAC-SHA-256(secret, "KELMO DEAL" + n as 8 bytes, high first), read as
// 32-bit words high byte first. Starting makes block 0 at once, so a hash
// that fails is known before anything is dealt: false then.
bool StartPrivateStream(PrivateDealStream& stream, const uint8_t secret[16]);
uint32_t StreamWord(PrivateDealStream& stream);   // 0, and failed, once the hash fails
// Uniform in 0..range-1 (range >= 1): words at or above the largest
// multiple of range are drawn again, never folded by a bare modulo.
int StreamBelow(PrivateDealStream& stream, int range);

// One board from the stream: a shuffle of the 52 cards, 13 to each seat.
// False when the stream failed under it.
bool DealPrivateBoard(PrivateDealStream& stream, uint16_t masks[4][4]);
// Boards 1..boards of the game into G.HandMasks by the re-deal rule; false
// (and no board dealt) when the stream fails.
bool DealPrivateGame(const DealSecret& secret, int boards);
