#include "platform/host/headless/png_stored.h"
#include "platform/host/headless/png_file.h"
#include "platform/host/tape/crc32.h"

#include <algorithm>
#include <cstddef>
#include <string.h>

namespace {

// The most bytes a stored deflate block holds.
constexpr size_t STORED_BLOCK = 65535;

void put_u32_be(std::vector<uint8_t>* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(uint8_t(value >> shift));
}

// A chunk: length, type, data, and the CRC-32 of type and data.
void put_chunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data) {
    put_u32_be(out, uint32_t(data.size()));
    size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    put_u32_be(out, tape_crc32(0, out->data() + start, out->size() - start));
}

// Each row as PNG filters it with filter 0 (none): a zero byte, then R, G, B.
std::vector<uint8_t> filtered_rows(const uint32_t* pixels, int32_t width, int32_t height,
                                   int32_t stride) {
    std::vector<uint8_t> rows;
    rows.reserve(size_t(height) * (1 + 3 * size_t(width)));
    for (int32_t y = 0; y < height; ++y) {
        rows.push_back(0);
        const uint32_t* row = pixels + size_t(y) * size_t(stride);
        for (int32_t x = 0; x < width; ++x) {
            rows.push_back(uint8_t(row[x] >> 16));
            rows.push_back(uint8_t(row[x] >> 8));
            rows.push_back(uint8_t(row[x]));
        }
    }
    return rows;
}

uint32_t adler32(const std::vector<uint8_t>& bytes) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A zlib stream (RFC 1950) of stored deflate blocks (RFC 1951, 3.2.4).
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t size = std::min(STORED_BLOCK, data.size() - at);
        bool last = at + size == data.size();
        out.push_back(last ? 1 : 0);
        uint16_t length = uint16_t(size);
        for (uint16_t word : {length, uint16_t(~length)}) {
            out.push_back(uint8_t(word));
            out.push_back(uint8_t(word >> 8));
        }
        out.insert(out.end(), data.begin() + ptrdiff_t(at), data.begin() + ptrdiff_t(at + size));
        at += size;
    } while (at < data.size());
    put_u32_be(&out, adler32(data));
    return out;
}

} // namespace

std::vector<uint8_t> png_encode_stored(const uint32_t* pixels, int32_t width, int32_t height,
                                       int32_t stride) {
    if (!png_can_encode(pixels, width, height, stride))
        return {};
    static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> png(SIGNATURE, SIGNATURE + 8);
    std::vector<uint8_t> header;
    put_u32_be(&header, uint32_t(width));
    put_u32_be(&header, uint32_t(height));
    // 8 bits a sample, RGB, deflate, adaptive filters, not interlaced.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    put_chunk(&png, "IHDR", header);
    put_chunk(&png, "IDAT", zlib_stored(filtered_rows(pixels, width, height, stride)));
    put_chunk(&png, "IEND", {});
    return png;
}
