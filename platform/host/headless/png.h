// PNG pictures in and out, for screen captures and golden images. The codec
// carries its own DEFLATE, so it builds anywhere the tests build, with no
// library beside the C++ standard one.
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

// The per-row predictor written before each row. Adaptive tries all five on
// every row and keeps the one whose bytes look smallest.
enum class PngFilter { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4, Adaptive = 5 };

// Encodes pixels (0x00RRGGBB, rows top-down, `stride` pixels from one row to
// the next) as an 8-bit RGB PNG. The same pixels always give the same bytes.
// Returns an empty vector when the size is not a valid picture size.
std::vector<uint8_t> png_encode(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride, PngFilter filter = PngFilter::Adaptive);

bool png_write_file(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t stride, std::string* error);

// Reads non-interlaced PNGs: grey, RGB, palette, grey with alpha and RGBA, at
// any bit depth the format allows. Malformed or unsupported input gives false
// and a sentence in *error; *image is then left empty.
bool png_decode(const uint8_t* data, size_t size, Image* image, std::string* error);
bool png_read_file(const char* path, Image* image, std::string* error);

// The pieces underneath, usable on their own: zlib-wrapped DEFLATE and the two
// checksums the format uses.
std::vector<uint8_t> zlib_compress(const uint8_t* data, size_t size);
// Fails rather than produce more than max_size bytes.
bool zlib_decompress(const uint8_t* data, size_t size, size_t max_size, std::vector<uint8_t>* out,
                     std::string* error);
uint32_t crc32_update(uint32_t crc, const uint8_t* data, size_t size);     // start with 0
uint32_t adler32_update(uint32_t adler, const uint8_t* data, size_t size); // start with 1
