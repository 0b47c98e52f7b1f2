#include "platform/host/tape/crc32.h"

#include <array>

namespace {

// table[0] is the classic byte-at-a-time table; table[k][i] is the CRC of
// byte i followed by k zero bytes, so that eight bytes are folded in with
// eight independent lookups ("slicing by eight").
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables make_tables() {
    Tables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        tables[0][i] = value;
    }
    for (size_t k = 1; k < tables.size(); ++k)
        for (uint32_t i = 0; i < 256; ++i)
            tables[k][i] = tables[0][tables[k - 1][i] & 0xFFu] ^ (tables[k - 1][i] >> 8);
    return tables;
}

constexpr Tables crc_tables = make_tables();

uint32_t little_endian_word(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

} // namespace

uint32_t tape_crc32(uint32_t crc, const void* bytes, size_t size) {
    const auto* byte = static_cast<const uint8_t*>(bytes);
    const auto& t = crc_tables;
    crc = ~crc;
    for (; size >= 8; size -= 8, byte += 8) {
        uint32_t low = crc ^ little_endian_word(byte), high = little_endian_word(byte + 4);
        crc = t[7][low & 0xFFu] ^ t[6][(low >> 8) & 0xFFu] ^ t[5][(low >> 16) & 0xFFu] ^
              t[4][low >> 24] ^ t[3][high & 0xFFu] ^ t[2][(high >> 8) & 0xFFu] ^
              t[1][(high >> 16) & 0xFFu] ^ t[0][high >> 24];
    }
    for (; size > 0; --size, ++byte)
        crc = t[0][(crc ^ *byte) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}
