// Private deals on Linux: libsodium's randomness (getrandom underneath) and
// its HMAC-SHA-256.
#include "platform/crypto.h"

#include <sodium.h>

namespace {

bool Ready() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

}  // namespace

bool SystemRandomBytes(uint8_t* out, size_t size) {
    if (!Ready()) return false;
    randombytes_buf(out, size);
    return true;
}

void HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]) {
    Ready();
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, key, keySize);
    crypto_auth_hmacsha256_update(&state, message, messageSize);
    crypto_auth_hmacsha256_final(&state, out);
}
