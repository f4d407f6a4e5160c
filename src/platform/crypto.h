// The system's cryptographic randomness and a keyed hash from a well-kept
// library: the two things private deals need, and nothing written by hand.
// Both report a failure rather than give bytes that only look right: a
// private game is never dealt from a broken source.
#pragma once

#include <cstddef>
#include <cstdint>

// Fills out with bytes from the system's cryptographic source; false when
// it gives none (out then holds nothing to use).
bool SystemRandomBytes(uint8_t* out, size_t size);

// HMAC-SHA-256 of the message under the key (any length); false when the
// system's hash fails (out then holds nothing to use).
bool HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]);

// For tests: the system's source fails from now on (random), and its hash
// after hashCalls more calls (-1: never), as a broken or locked-down system
// would: the very call into the system reports failure.
void FailSystemCryptoForTests(bool random, int hashCalls);
