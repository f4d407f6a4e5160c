// Placeholder: replaced when this part is built.
#include "dealing/random.h"

void RandomReseed(double /*value*/) {}
void RandomReseedFromTime() {}
uint32_t RandomStep() { return 0; }
double RandomUniform() { return 0; }
int RandomInRange(int /*a*/, int /*b*/) { return 0; }
uint32_t NextRandomState(uint32_t /*state*/) { return 0; }
uint32_t ReseedState(double /*value*/) { return 0; }
