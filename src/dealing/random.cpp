#include "dealing/random.h"

#include <cstring>

#include "model/model.h"
#include "platform/platform.h"

uint32_t NextRandomState(uint32_t state) { return state * 0x08088405u + 1u; }

uint32_t ReseedState(double value) {
    float single = (float)value;
    uint32_t bits;
    std::memcpy(&bits, &single, sizeof bits);
    return bits;
}

int ScaleToRange(uint32_t value31, int a, int b) {
    int64_t lo = a < b ? a : b;
    int64_t hi = a < b ? b : a;
    int64_t n = hi - lo + 1;
    // k < 2^31 and n < 2^33, so the product fits in 64 bits.
    return (int)(lo + (int64_t)(((uint64_t)value31 * (uint64_t)n) >> 31));
}

void RandomReseed(double value) { G.RandomState = ReseedState(value); }

void RandomReseedFromTime() {
    LocalTime now = P.clock->Now();
    long long ms = (long long)now.hour * 3600000 + (long long)now.minute * 60000 +
                   (long long)now.second * 1000 + now.millisecond;
    RandomReseed((double)ms / 1000.0);
}

uint32_t RandomStep() {
    G.RandomState = NextRandomState(G.RandomState);
    return G.RandomState >> 1;
}

double RandomUniform() { return (double)RandomStep() / 2147483648.0; }

int RandomInRange(int a, int b) { return ScaleToRange(RandomStep(), a, b); }
