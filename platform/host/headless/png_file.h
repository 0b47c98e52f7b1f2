// PNG files in and out, for screen captures and golden images, through
// libpng.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>
#include <vector>

// A decoded picture: pixels 0x00RRGGBB, rows top-down, no gap between rows.
// Alpha, where a file has it, is dropped: the surfaces these pictures are
// compared with have none.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // width * height entries once decoded

    uint32_t at(int32_t x, int32_t y) const {
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
};

// Encodes pixels (0x00RRGGBB, rows top-down, `stride` pixels from one row to
// the next) as an 8-bit RGB PNG. The compression settings are fixed, so the
// same pixels always give the same bytes. Returns an empty vector when the
// size is not a valid picture size.
std::vector<uint8_t> png_encode(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride);

// The largest picture read or written: larger ones are refused rather than
// risk a huge allocation from a damaged header; a screen is a few million
// pixels.
constexpr uint64_t PNG_MAX_PIXELS = uint64_t(1) << 26;

// Whether png_encode can take this picture, whichever encoder the build has.
inline bool png_can_encode(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
    return pixels && width > 0 && height > 0 && stride >= width &&
           uint64_t(width) * uint64_t(height) <= PNG_MAX_PIXELS;
}

bool png_write_file(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t stride, std::string* error);

// Reads PNGs of every colour type and bit depth, interlaced or not, as 8 bits
// per channel (16-bit samples keep their high byte). Malformed or unsupported
// input gives false and one sentence in *error; *image is then left empty.
bool png_decode(const uint8_t* data, size_t size, Image* image, std::string* error);
bool png_read_file(const char* path, Image* image, std::string* error);
