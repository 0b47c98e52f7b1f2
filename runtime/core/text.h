// Strings: zero-terminated 8-bit text in the system code page. Every
// operation here returns a new block of the private heap that the caller
// owns, or null when the heap has no block to give; none changes its
// arguments.
#pragma once

#include <stdint.h>

// Digits after the decimal point wherever a number that is not whole becomes
// text. Set at load; no operation changes it.
extern int32_t decimalPlaces;
constexpr int32_t DECIMAL_PLACES_AT_LOAD = 2;

// The size of every block that numberToText requests.
constexpr uint32_t NUMBER_TEXT_BLOCK = 512;

// All `count` strings of `parts` joined in order, in one block.
char* concatStringArray(const char* const* parts, int32_t count);

// concatStrings(first, s2, ..., sN): the strings joined in order.
template <typename... Rest> char* concatStrings(const char* first, Rest... rest) {
    const char* parts[] = {first, rest...};
    return concatStringArray(parts, (int32_t)(sizeof(parts) / sizeof(parts[0])));
}

// A blank, then the number: whole numbers as integers, others with
// decimalPlaces digits after the point.
char* numberToText(double value);

char* duplicateString(const char* text);
char* upperCaseCopy(const char* text);

// The fixed-point text of `value` with `places` digits after the point,
// rounded to nearest (ties to even) from the exact value of the double, as
// C's "%.*f" does in the default rounding mode, but independent of the
// rounding mode in force. A negative `places` means 6, as in C. Writes at
// most capacity - 1 characters and a terminating zero, cutting what does not
// fit; returns the length written.
uint32_t formatFixed(double value, int32_t places, char* out, uint32_t capacity);
