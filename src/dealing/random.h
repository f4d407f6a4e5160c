// The pseudo-random generator: integer-exact on every computer, since two
// sites must deal the same boards from the same control number.
#pragma once

#include <cstdint>

// Sets the state to the single-precision bit pattern of the value.
void RandomReseed(double value);
// Reseeds with the local time of day in seconds (milliseconds included).
void RandomReseedFromTime();
// One step; returns the top 31 bits of the new state.
uint32_t RandomStep();
// One step; the 31-bit value times 2^-31, in [0, 1).
double RandomUniform();
// One step; an integer from min(a, b) to max(a, b), both included.
int RandomInRange(int a, int b);

// Pure forms.
uint32_t NextRandomState(uint32_t state);
uint32_t ReseedState(double value);
// lo + floor(k * n / 2^31) for the 31-bit value k, exact.
int ScaleToRange(uint32_t value31, int a, int b);
