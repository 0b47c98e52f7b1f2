// The reference for numbers as text: the exact decimal expansion of a
// double, worked out on decimal digit strings, and its rounding to a number
// of places, ties to even.
#pragma once

#include <stdint.h>

#include <string>

// "-" when the sign bit is set, then the magnitude with `places` digits
// after the point (a negative `places` means 6); "nan" and "inf" for those.
std::string referenceFixed(double value, int32_t places);
