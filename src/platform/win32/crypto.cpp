// Private deals on Windows: the system's own CNG. BCryptGenRandom for the
// secret; HMAC-SHA-256 is the standard's, so it gives Linux's bytes.
#include "platform/crypto.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>

bool SystemRandomBytes(uint8_t* out, size_t size) {
    return BCryptGenRandom(nullptr, out, (ULONG)size, BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

void HmacSha256(const uint8_t* key, size_t keySize, const uint8_t* message, size_t messageSize, uint8_t out[32]) {
    std::memset(out, 0, 32);
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG) != 0)
        return;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCryptCreateHash(algorithm, &hash, nullptr, 0, const_cast<PUCHAR>(key), (ULONG)keySize, 0) == 0) {
        BCryptHashData(hash, const_cast<PUCHAR>(message), (ULONG)messageSize, 0);
        BCryptFinishHash(hash, out, 32, 0);
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
}
