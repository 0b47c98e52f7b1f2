// Numbers as text. Fixed-point text is computed here from the exact binary
// value of the double with integer arithmetic, so the result is the same on
// every C library and in every floating-point rounding mode.
#include "runtime/core/text.h"

#include "runtime/core/heap.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

// A double's exact fractional expansion has at most 1074 digits, so more
// places than this only add zeros, which are written without arithmetic.
constexpr int32_t EXACT_PLACES = 1100;

// Unsigned big integers, little-endian 32-bit limbs: enough for the largest
// double times 10^EXACT_PLACES (about 4700 bits).
struct BigNumber {
    static constexpr int LIMBS = 152;
    uint32_t limb[LIMBS];
    int used; // limbs in use; the top one is nonzero unless used is 0

    explicit BigNumber(uint64_t value) : limb{}, used(0) {
        while (value != 0) {
            limb[used++] = (uint32_t)value;
            value >>= 32;
        }
    }

    void multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (int i = 0; i < used; ++i) {
            uint64_t product = (uint64_t)limb[i] * factor + carry;
            limb[i] = (uint32_t)product;
            carry = product >> 32;
        }
        if (carry != 0)
            limb[used++] = (uint32_t)carry;
    }

    void multiply_by_power_of_ten(int32_t exponent) {
        for (; exponent >= 9; exponent -= 9)
            multiply(1000000000u);
        for (; exponent > 0; --exponent)
            multiply(10);
    }

    void shift_left(int bits) {
        int words = bits / 32, rest = bits % 32;
        for (int i = used - 1; i >= 0; --i) {
            uint64_t wide = (uint64_t)limb[i] << rest;
            limb[i + words + 1] |= (uint32_t)(wide >> 32);
            limb[i + words] = (uint32_t)wide;
        }
        for (int i = 0; i < words; ++i)
            limb[i] = 0;
        used += words + 1;
        trim();
    }

    bool bit(int index) const {
        int word = index / 32;
        return word < used && ((limb[word] >> (index % 32)) & 1) != 0;
    }

    // True when any of the lowest `count` bits is set.
    bool any_bit_below(int count) const {
        for (int i = 0; i < count / 32 && i < used; ++i) {
            if (limb[i] != 0)
                return true;
        }
        int word = count / 32;
        return word < used && (limb[word] & ((1u << (count % 32)) - 1)) != 0;
    }

    void shift_right(int bits) {
        int words = bits / 32, rest = bits % 32;
        for (int i = 0; i < used; ++i) {
            uint64_t high = i + words + 1 < used ? limb[i + words + 1] : 0;
            uint64_t low = i + words < used ? limb[i + words] : 0;
            limb[i] = (uint32_t)(((high << 32) | low) >> rest);
        }
        trim();
    }

    void add_one() {
        for (int i = 0; i < LIMBS; ++i) {
            if (++limb[i] != 0) {
                if (i >= used)
                    used = i + 1;
                return;
            }
        }
    }

    // Divides by 10^9 in place and returns the remainder.
    uint32_t divide_by_billion() {
        uint64_t remainder = 0;
        for (int i = used - 1; i >= 0; --i) {
            uint64_t current = (remainder << 32) | limb[i];
            limb[i] = (uint32_t)(current / 1000000000u);
            remainder = current % 1000000000u;
        }
        trim();
        return (uint32_t)remainder;
    }

    void trim() {
        while (used > 0 && limb[used - 1] == 0)
            --used;
    }
};

// round(|value| * 10^places), ties to even, for a finite value.
BigNumber scaled_magnitude(double value, int32_t places) {
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    int exponent = (int)((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((1ull << 52) - 1);
    if (exponent != 0)
        mantissa |= 1ull << 52;
    int power = (exponent == 0 ? 1 : exponent) - 1075; // value = mantissa * 2^power
    BigNumber number(mantissa);
    number.multiply_by_power_of_ten(places);
    if (power >= 0) {
        number.shift_left(power);
        return number;
    }
    int shift = -power;
    bool half = number.bit(shift - 1);
    bool beyond_half = number.any_bit_below(shift - 1);
    number.shift_right(shift);
    if (half && (beyond_half || number.bit(0)))
        number.add_one();
    return number;
}

// Decimal digits of `number`, most significant first, at least `minimum` of
// them (with leading zeros). Returns the count; `digits` needs room for 1500.
int decimal_digits(BigNumber number, int minimum, char* digits) {
    char reversed[1500];
    int count = 0;
    do {
        uint32_t group = number.divide_by_billion();
        for (int i = 0; i < 9; ++i, group /= 10)
            reversed[count++] = (char)('0' + group % 10);
    } while (number.used > 0);
    while (count > 1 && reversed[count - 1] == '0')
        --count;
    while (count < minimum)
        reversed[count++] = '0';
    for (int i = 0; i < count; ++i)
        digits[i] = reversed[count - 1 - i];
    return count;
}

struct TextWriter {
    char* out;
    uint32_t capacity;
    uint32_t length = 0;

    void put(char c) {
        if (length + 1 < capacity)
            out[length++] = c;
    }
    void put(const char* text, size_t count) {
        for (size_t i = 0; i < count; ++i)
            put(text[i]);
    }
};

} // namespace

uint32_t formatFixed(double value, int32_t places, char* out, uint32_t capacity) {
    if (capacity == 0)
        return 0;
    TextWriter writer{out, capacity};
    if (signbit(value))
        writer.put('-');
    if (isnan(value) || isinf(value)) {
        writer.put(isnan(value) ? "nan" : "inf", 3);
    } else {
        if (places < 0)
            places = 6;
        int32_t exact = places < EXACT_PLACES ? places : EXACT_PLACES;
        char digits[1500];
        int count = decimal_digits(scaled_magnitude(value, exact), exact + 1, digits);
        writer.put(digits, (size_t)(count - exact));
        if (places > 0)
            writer.put('.');
        writer.put(digits + count - exact, (size_t)exact);
        for (int32_t i = exact; i < places && writer.length + 1 < capacity; ++i)
            writer.put('0');
    }
    out[writer.length] = '\0';
    return writer.length;
}

// Whole numbers in the signed 32-bit range are written as " %d"; other whole
// numbers are written exactly, with all their digits; everything else gets
// decimalPlaces digits. NaN and infinities read " nan", " inf" and " -inf".
char* numberToText(double value) {
    char* text = (char*)heapAllocate(NUMBER_TEXT_BLOCK);
    if (text == nullptr)
        return nullptr;
    bool whole = isfinite(value) && trunc(value) == value;
    if (whole && value >= -2147483648.0 && value <= 2147483647.0) {
        snprintf(text, NUMBER_TEXT_BLOCK, " %d", (int)(int32_t)(int64_t)value);
    } else {
        text[0] = ' ';
        formatFixed(value, whole ? 0 : decimalPlaces, text + 1, NUMBER_TEXT_BLOCK - 1);
    }
    return text;
}
