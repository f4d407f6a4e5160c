// The system's cryptographic randomness and a keyed hash from a well-kept
// library: the two things private deals need, and nothing written by hand.
#pragma once

#include <cstddef>
#include <cstdint>

// Fills out with bytes from the system's cryptographic source; false when
// it gives none.
bool SystemRandomBytes(uint8_t* out, size_t size);

// HMAC-SHA-256 of the message under the key (any length).
void HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]);
