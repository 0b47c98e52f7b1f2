#include <windows.h>

#include <stdint.h>

// number * numerator / denominator with a 64-bit product, rounded half away
// from zero; -1 when the denominator is 0 or the result does not fit.
int WINAPI MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    int64_t product = (int64_t)number * numerator;
    bool negative = (product < 0) != (denominator < 0);
    uint64_t magnitude = product < 0 ? (uint64_t)(-product) : (uint64_t)product;
    uint64_t divisor = denominator < 0 ? (uint64_t)(-(int64_t)denominator) : (uint64_t)denominator;
    uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > (uint64_t)INT32_MAX + (negative ? 1 : 0))
        return -1;
    return negative ? (int)-(int64_t)quotient : (int)quotient;
}
