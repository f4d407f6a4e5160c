// The pseudo-random generator: integer-exact on every computer.
#pragma once

#include <cstdint>

void RandomReseed(double value);
void RandomReseedFromTime();
uint32_t RandomStep();
double RandomUniform();
int RandomInRange(int a, int b);

// Pure forms.
uint32_t NextRandomState(uint32_t state);
uint32_t ReseedState(double value);
