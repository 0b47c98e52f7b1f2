// Rounding of scaled coordinates, the same on every compiler and in every
// rounding mode the floating-point unit may be left in.
#pragma once

#include <math.h>
#include <stdint.h>

// Nearest integer, halves to the even one.
inline int32_t roundHalfEven(double value) {
    double low = floor(value);
    double fraction = value - low;
    if (fraction > 0.5 || (fraction == 0.5 && fmod(low, 2.0) != 0.0))
        low += 1.0;
    return (int32_t)low;
}
