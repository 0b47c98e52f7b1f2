// Unsigned and signed (zigzag) LEB128 numbers, as the tape writes them.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>

inline void varint_put(std::string* out, uint64_t value) {
    while (value >= 0x80) {
        out->push_back(char((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out->push_back(char(value));
}

inline void varint_put_signed(std::string* out, int64_t value) {
    varint_put(out, (uint64_t(value) << 1) ^ uint64_t(value >> 63));
}

// Reads a number at *offset of the `size` bytes; false when the bytes end
// first or the number does not fit 64 bits.
inline bool varint_get(const uint8_t* bytes, size_t size, size_t* offset, uint64_t* value) {
    uint64_t result = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (*offset >= size)
            return false;
        uint8_t byte = bytes[(*offset)++];
        if (shift == 63 && byte > 1)
            return false;
        result |= uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) {
            *value = result;
            return true;
        }
    }
    return false;
}

inline bool varint_get_signed(const uint8_t* bytes, size_t size, size_t* offset, int64_t* value) {
    uint64_t raw = 0;
    if (!varint_get(bytes, size, offset, &raw))
        return false;
    *value = int64_t(raw >> 1) ^ -int64_t(raw & 1);
    return true;
}
