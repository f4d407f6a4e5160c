// Private deals on Linux: the kernel's getrandom for the secret, libsodium's
// HMAC-SHA-256 for the stream. libsodium's own randombytes_buf aborts the
// program when the kernel gives nothing; getrandom says so instead.
#include "platform/crypto.h"

#include <sodium.h>
#include <sys/random.h>

#include <cerrno>

namespace {

bool randomFails = false;
int hashCallsLeft = -1;

bool Ready() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// One call into the system's hash; a test may make it fail.
bool HashCall(int result) {
    if (hashCallsLeft == 0) return false;
    if (hashCallsLeft > 0) hashCallsLeft--;
    return result == 0;
}

}  // namespace

void FailSystemCryptoForTests(bool random, int hashCalls) {
    randomFails = random;
    hashCallsLeft = hashCalls;
}

bool SystemRandomBytes(uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = randomFails ? (errno = ENOSYS, -1) : getrandom(out + done, size - done, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += (size_t)got;
    }
    return true;
}

bool HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]) {
    if (!Ready()) return false;
    crypto_auth_hmacsha256_state state;
    return HashCall(crypto_auth_hmacsha256_init(&state, key, keySize)) &&
           crypto_auth_hmacsha256_update(&state, message, messageSize) == 0 &&
           crypto_auth_hmacsha256_final(&state, out) == 0;
}
