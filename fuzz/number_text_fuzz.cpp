// Numbers as text: formatFixed with random doubles, places and capacities,
// and numberToText with random doubles and decimalPlaces, both checked
// against the exact decimal expansion of the double, rounded to nearest
// with ties to even.
#include "fuzz/exact_decimal.h"
#include "runtime/core/heap.h"
#include "runtime/core/text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <bit>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* call, double value, int32_t places, const std::string& got,
                       const std::string& expected) {
    fprintf(stderr, "number text fuzz: %s(%.17g, %d)\n  got      \"%s\"\n  expected \"%s\"\n", call,
            value, places, got.c_str(), expected.c_str());
    abort();
}

// Mostly any bit pattern; now and then a value near a rounding tie.
double randomDouble(FuzzedDataProvider& input) {
    double value = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
    if (input.ConsumeIntegralInRange<int32_t>(0, 3) == 0)
        value = (double)input.ConsumeIntegralInRange<int32_t>(-100000, 100000) / 8.0 +
                input.ConsumeIntegralInRange<int32_t>(-2, 2) * 0.005;
    return value;
}

void checkFixed(double value, int32_t places, uint32_t capacity) {
    std::vector<char> out(capacity + 1, '\x7F');
    uint32_t length = formatFixed(value, places, out.data(), capacity);
    std::string expected = referenceFixed(value, places);
    if (capacity == 0) {
        if (length != 0 || out[0] != '\x7F')
            fail("formatFixed into no room", value, places, out.data(), "");
        return;
    }
    if (expected.size() > capacity - 1)
        expected.resize(capacity - 1);
    if (length != expected.size() || out[length] != '\0' || expected != out.data() ||
        out[capacity] != '\x7F')
        fail("formatFixed", value, places, std::string(out.data(), strnlen(out.data(), capacity)),
             expected);
}

// " %d" for whole numbers in the signed 32-bit range; otherwise a blank and
// the fixed-point text, whole numbers with no places, cut to the block.
std::string expectedNumberText(double value) {
    bool whole = isfinite(value) && trunc(value) == value;
    if (whole && value >= -2147483648.0 && value <= 2147483647.0)
        return " " + std::to_string((int32_t)value);
    std::string text = " " + referenceFixed(value, whole ? 0 : decimalPlaces);
    if (text.size() > NUMBER_TEXT_BLOCK - 1)
        text.resize(NUMBER_TEXT_BLOCK - 1);
    return text;
}

void checkNumberText(double value) {
    char* text = numberToText(value);
    std::string expected = expectedNumberText(value);
    if (text == nullptr || expected != text)
        fail("numberToText", value, decimalPlaces, text ? text : "(null)", expected);
    heapFree(text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    createPrivateHeap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    double value = randomDouble(input);
    int32_t places = input.ConsumeIntegralInRange<int32_t>(0, 15) == 0
                         ? input.ConsumeIntegralInRange<int32_t>(-5, 1200)
                         : input.ConsumeIntegralInRange<int32_t>(0, 20);
    uint32_t capacity = input.ConsumeIntegralInRange<int32_t>(0, 7) == 0
                            ? (uint32_t)input.ConsumeIntegralInRange<int32_t>(0, 40)
                            : 2000;
    checkFixed(value, places, capacity);
    int32_t saved = decimalPlaces;
    decimalPlaces = input.ConsumeIntegralInRange<int32_t>(0, 12);
    checkNumberText(value);
    decimalPlaces = saved;
    return 0;
}
