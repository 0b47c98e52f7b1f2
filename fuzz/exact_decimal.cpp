#include "fuzz/exact_decimal.h"

#include <math.h>
#include <string.h>

namespace {

// Decimal digits, most significant first, times a factor that fits 32 bits.
void multiply(std::string* digits, uint32_t factor) {
    uint64_t carry = 0;
    for (size_t i = digits->size(); i-- > 0;) {
        uint64_t product = (uint64_t)((*digits)[i] - '0') * factor + carry;
        (*digits)[i] = (char)('0' + product % 10);
        carry = product / 10;
    }
    for (; carry != 0; carry /= 10)
        digits->insert(digits->begin(), (char)('0' + carry % 10));
}

// Adds one unit in the last place, carrying to the left.
void increment(std::string* digits) {
    for (size_t i = digits->size(); i-- > 0;) {
        if ((*digits)[i] != '9') {
            (*digits)[i] += 1;
            return;
        }
        (*digits)[i] = '0';
    }
    digits->insert(digits->begin(), '1');
}

// |value| = mantissa * 2^power, exactly; then as whole and fraction digits:
// a negative power is mantissa * 5^k / 10^k.
void expand(double value, std::string* whole, std::string* fraction) {
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    int exponent = (int)((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((1ull << 52) - 1);
    if (exponent != 0)
        mantissa |= 1ull << 52;
    int power = (exponent == 0 ? 1 : exponent) - 1075;
    std::string digits = std::to_string(mantissa);
    for (int k = power; k > 0; k -= 16)
        multiply(&digits, 1u << (k < 16 ? k : 16));
    int places = power < 0 ? -power : 0;
    for (int k = places; k > 0; k -= 13)
        multiply(&digits, k >= 13 ? 1220703125u : (uint32_t)pow(5, k));
    if (digits.size() <= (size_t)places)
        digits.insert(0, (size_t)places + 1 - digits.size(), '0');
    *whole = digits.substr(0, digits.size() - places);
    *fraction = digits.substr(digits.size() - places);
}

// Keeps `places` fraction digits, rounding to nearest with ties to even.
std::string rounded(std::string whole, std::string fraction, size_t places) {
    if (fraction.size() <= places) {
        fraction.resize(places, '0');
    } else {
        char next = fraction[places];
        bool beyond = fraction.find_first_not_of('0', places + 1) != std::string::npos;
        fraction.resize(places);
        std::string kept = whole + fraction;
        bool odd = (kept.back() - '0') % 2 == 1;
        if (next > '5' || (next == '5' && (beyond || odd))) {
            increment(&kept);
            whole = kept.substr(0, kept.size() - places);
            fraction = kept.substr(kept.size() - places);
        }
    }
    return places == 0 ? whole : whole + "." + fraction;
}

} // namespace

std::string referenceFixed(double value, int32_t places) {
    std::string sign = signbit(value) ? "-" : "";
    if (isnan(value))
        return sign + "nan";
    if (isinf(value))
        return sign + "inf";
    std::string whole, fraction;
    expand(value, &whole, &fraction);
    return sign + rounded(whole, fraction, places < 0 ? 6 : (size_t)places);
}
