#include "runtime/events/random.h"

#include <windows.h>

uint32_t randomState = 0;
int32_t randomSeeded = 0;

int32_t tickSeconds() {
    return (int32_t)GetTickCount() / 1000;
}

int32_t seedRandom(int32_t seed) {
    randomState = (uint32_t)seed;
    randomSeeded = 1;
    return 0;
}

// A range of size n = 0 (modulo 2^32) is the whole 32-bit range: the number
// drawn is then used as it is, offset by a.
int32_t randomInRange(int32_t a, int32_t b) {
    if (randomSeeded != 1)
        seedRandom((int32_t)GetTickCount() / 2);
    randomState = randomState * 214013u + 2531011u;
    uint32_t r = randomState >> 16;
    uint32_t first = b == 0 ? 0 : (uint32_t)a;
    uint32_t n = b == 0 ? (uint32_t)a + 1 : (uint32_t)b - (uint32_t)a + 1;
    uint32_t offset = n == 0 ? r : r % n;
    return (int32_t)(offset + first);
}
