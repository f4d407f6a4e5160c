// Private deals on Windows: the system's own CNG. BCryptGenRandom for the
// secret; HMAC-SHA-256 is the standard's, so it gives Linux's bytes. Every
// status is checked: a failed call is a failure, never bytes of zeros.
#include "platform/crypto.h"

#include <windows.h>
#include <bcrypt.h>

namespace {

bool randomFails = false;
int hashCallsLeft = -1;

constexpr NTSTATUS Unsuccessful = (NTSTATUS)0xC0000001L;   // STATUS_UNSUCCESSFUL

bool Good(NTSTATUS status) { return status >= 0; }

// The hash's first call into the system; a test may make it fail.
NTSTATUS OpenHmac(BCRYPT_ALG_HANDLE* algorithm) {
    if (hashCallsLeft == 0) return Unsuccessful;
    if (hashCallsLeft > 0) hashCallsLeft--;
    return BCryptOpenAlgorithmProvider(algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG);
}

}  // namespace

void FailSystemCryptoForTests(bool random, int hashCalls) {
    randomFails = random;
    hashCallsLeft = hashCalls;
}

bool SystemRandomBytes(uint8_t* out, size_t size) {
    const NTSTATUS status =
        randomFails ? Unsuccessful : BCryptGenRandom(nullptr, out, (ULONG)size, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    return Good(status);
}

bool HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!Good(OpenHmac(&algorithm))) return false;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool good = Good(BCryptCreateHash(algorithm, &hash, nullptr, 0, const_cast<PUCHAR>(key), (ULONG)keySize, 0));
    if (good) {
        good = Good(BCryptHashData(hash, const_cast<PUCHAR>(message), (ULONG)messageSize, 0)) &&
               Good(BCryptFinishHash(hash, out, 32, 0));
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return good;
}
