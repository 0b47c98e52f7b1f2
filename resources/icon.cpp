// The icon's pixels and their encoding as an .ico file.
#include "resources/icon.h"

namespace {

// Indices into the palette below.
constexpr uint8_t K = 0;  // black: the ball's outline
constexpr uint8_t Y = 11; // yellow: the walls
constexpr uint8_t B = 12; // blue: the play area
constexpr uint8_t W = 15; // white: the ball

// Sizes of the .ico structures for one 16 by 16 image at 4 bits a pixel.
constexpr uint32_t DIRECTORY_SIZE = 6;
constexpr uint32_t ENTRY_SIZE = 16;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t PALETTE_SIZE = PROGRAM_ICON_COLOURS * 4;
constexpr uint32_t COLOUR_ROW_BYTES = PROGRAM_ICON_SIZE / 2; // 8, already a multiple of 4
constexpr uint32_t MASK_ROW_BYTES = 4;                       // 2 bytes of bits, padded to 4
constexpr uint32_t COLOUR_BYTES = COLOUR_ROW_BYTES * PROGRAM_ICON_SIZE;
constexpr uint32_t MASK_BYTES = MASK_ROW_BYTES * PROGRAM_ICON_SIZE;
constexpr uint32_t IMAGE_SIZE = INFO_HEADER_SIZE + PALETTE_SIZE + COLOUR_BYTES + MASK_BYTES;

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back((uint8_t)(value & 0xFF));
    out.push_back((uint8_t)((value >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putHeaders(std::vector<uint8_t>& out) {
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, 1); // one image
    out.push_back((uint8_t)PROGRAM_ICON_SIZE);
    out.push_back((uint8_t)PROGRAM_ICON_SIZE);
    out.push_back((uint8_t)PROGRAM_ICON_COLOURS);
    out.push_back(0);
    put16(out, 1); // planes
    put16(out, 4); // bits per pixel
    put32(out, IMAGE_SIZE);
    put32(out, DIRECTORY_SIZE + ENTRY_SIZE);
    // The image's bitmap header: its height counts the colour rows and the
    // mask rows together.
    put32(out, INFO_HEADER_SIZE);
    put32(out, PROGRAM_ICON_SIZE);
    put32(out, PROGRAM_ICON_SIZE * 2);
    put16(out, 1);
    put16(out, 4);
    put32(out, 0); // no compression
    put32(out, COLOUR_BYTES + MASK_BYTES);
    put32(out, 0);
    put32(out, 0);
    put32(out, PROGRAM_ICON_COLOURS);
    put32(out, 0);
}

void putPalette(std::vector<uint8_t>& out) {
    for (uint32_t colour : programIconPalette) {
        out.push_back((uint8_t)(colour & 0xFF));         // blue
        out.push_back((uint8_t)((colour >> 8) & 0xFF));  // green
        out.push_back((uint8_t)((colour >> 16) & 0xFF)); // red
        out.push_back(0);
    }
}

// Two pixels a byte, the left one in the high half; bottom row first.
void putColourRows(std::vector<uint8_t>& out) {
    for (int32_t y = PROGRAM_ICON_SIZE - 1; y >= 0; --y) {
        for (int32_t x = 0; x < PROGRAM_ICON_SIZE; x += 2) {
            const uint8_t* row = programIconIndices[y];
            out.push_back((uint8_t)((row[x] << 4) | (row[x + 1] & 0x0F)));
        }
    }
}

} // namespace

const uint8_t programIconIndices[PROGRAM_ICON_SIZE][PROGRAM_ICON_SIZE] = {
    {B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B},
    {Y, Y, Y, Y, Y, Y, Y, Y, B, B, B, B, B, Y, Y, Y},
    {Y, Y, Y, Y, Y, Y, Y, Y, B, B, B, B, B, Y, Y, Y},
    {B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B},
    {B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B},
    {B, B, B, B, B, K, K, K, K, B, B, B, B, B, B, B},
    {B, B, B, B, K, W, W, W, W, K, B, B, B, B, B, B},
    {B, B, B, K, W, W, W, W, W, W, K, B, B, B, B, B},
    {B, B, B, K, W, W, W, W, W, W, K, B, B, B, B, B},
    {B, B, B, K, W, W, W, W, W, W, K, B, B, B, B, B},
    {B, B, B, K, W, W, W, W, W, W, K, B, B, B, B, B},
    {B, B, B, B, K, W, W, W, W, K, B, B, B, B, B, B},
    {B, B, B, B, B, K, K, K, K, B, B, B, B, B, B, B},
    {B, B, B, B, B, B, B, B, B, B, B, B, B, B, B, B},
    {Y, Y, Y, B, B, B, B, B, Y, Y, Y, Y, Y, Y, Y, Y},
    {Y, Y, Y, B, B, B, B, B, Y, Y, Y, Y, Y, Y, Y, Y},
};

// The classic 16-colour palette, in its usual order.
const uint32_t programIconPalette[PROGRAM_ICON_COLOURS] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void programIconPixels(uint32_t pixels[PROGRAM_ICON_SIZE * PROGRAM_ICON_SIZE]) {
    for (int32_t y = 0; y < PROGRAM_ICON_SIZE; ++y) {
        for (int32_t x = 0; x < PROGRAM_ICON_SIZE; ++x) {
            uint8_t index = programIconIndices[y][x] & 0x0F;
            pixels[y * PROGRAM_ICON_SIZE + x] = 0xFF000000u | programIconPalette[index];
        }
    }
}

std::vector<uint8_t> programIconFile() {
    std::vector<uint8_t> out;
    out.reserve(DIRECTORY_SIZE + ENTRY_SIZE + IMAGE_SIZE);
    putHeaders(out);
    putPalette(out);
    putColourRows(out);
    // The mask is all zero: every pixel is opaque.
    out.insert(out.end(), MASK_BYTES, 0);
    return out;
}
