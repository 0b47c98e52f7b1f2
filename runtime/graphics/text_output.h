// The print statement: a list of typed items formatted into one line, drawn
// in a window at its current position or written to standard output.
#pragma once

#include "runtime/window/window_record.h"

#include <stdint.h>

// Type codes of print items, and the value each is followed by.
constexpr int32_t PRINT_TEXT = 0;    // const char*, zero-terminated: "%s"
constexpr int32_t PRINT_CHAR = 1;    // int, low byte: "%c"
constexpr int32_t PRINT_INT32 = 2;   // int32_t: "%d "
constexpr int32_t PRINT_FLOAT = 3;   // float (passed as double): "% .*f"
constexpr int32_t PRINT_TARGET = 9;  // WindowRecord*: selects the target when first
constexpr int32_t PRINT_UINT16 = 13; // int, low 16 bits: "%hu "
constexpr int32_t PRINT_DOUBLE = 14; // double: "% .*f"
constexpr int32_t PRINT_INT64 = 17;  // int64_t: sign, digits, blank
constexpr int32_t PRINT_UINT64 = 18; // uint64_t: digits, blank
constexpr int32_t PRINT_UINT32 = 19; // uint32_t: "%u "
// Any other code is followed by an int and prints nothing.

constexpr uint32_t PRINT_BUFFER_SIZE = 32767;

// Where prints go: null for standard output. Only a call whose first item
// is a PRINT_TARGET changes it; it keeps its value between calls.
extern WindowRecord* printTarget;

// The latest call's text with its terminating zero. Text that would not fit
// is cut at the end of the buffer.
extern char printBuffer[PRINT_BUFFER_SIZE];

// printItems(count, code 1, value 1, ..., code count, value count). A
// final line end (CR LF, or LF) is not drawn in a window; on standard output
// the text goes out whole.
void printItems(int32_t count, ...);

// The 64-bit decimal conversion of PRINT_INT64 (isSigned) and PRINT_UINT64:
// a "-" for a negative signed value, the digits, one blank. Writes at most
// capacity - 1 characters and a zero; returns the characters written.
uint32_t formatInt64(uint64_t value, bool isSigned, char* out, uint32_t capacity);
