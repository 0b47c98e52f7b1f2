#include "platform/host/tape/crc32.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> make_table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> crc_table = make_table();

} // namespace

uint32_t tape_crc32(uint32_t crc, const void* bytes, size_t size) {
    const auto* byte = static_cast<const uint8_t*>(bytes);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = crc_table[(crc ^ byte[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}
