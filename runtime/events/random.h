// The tick clock in seconds and the pseudo-random numbers of the runtime.
#pragma once

#include <stdint.h>

// The generator: one 32-bit state stepped as state * 214013 + 2531011.
extern uint32_t randomState;
// 1 once the state has been set, by seedRandom or by the first draw.
extern int32_t randomSeeded;

// The tick count, taken as a signed number, in whole seconds (truncated).
int32_t tickSeconds();

int32_t seedRandom(int32_t seed);

// The next number from a to b inclusive, or from 0 to a when b is 0.
int32_t randomInRange(int32_t a, int32_t b);
