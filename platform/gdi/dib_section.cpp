// Sections in a layout other than the layer's own (1, 4, 8, 16 and 24 bits,
// or 32 bits with other masks): the program's bits live in its layout beside
// the 32-bit pixels that drawing uses. The pixels are read from the bits
// before the layer looks at the bitmap, and the bits written from the pixels
// after it draws, so that each sees the other's changes as the system's
// sections do; writing takes the nearest colour of a colour table, and the
// pixels are then read back so that they hold what the bits can.
#include "platform/gdi/dib_format.h"
#include "platform/gdi/gdi_private.h"

#include <vector>

struct SectionBits {
    DibFormat format;
    std::vector<BYTE> bits; // the program's rows, in memory order
};

namespace {

void read_bits(GdiBitmap& bitmap) {
    const SectionBits& section = *bitmap.section;
    for (int32_t y = 0; y < bitmap.height; ++y) {
        const BYTE* row = section.bits.data() + (size_t)y * section.format.stride;
        uint32_t* pixels = bitmap.pixels.data() + (size_t)y * (size_t)bitmap.width;
        for (int32_t x = 0; x < bitmap.width; ++x)
            pixels[x] = dib_read(section.format, row, x) & 0xFFFFFF;
    }
}

void write_bits(GdiBitmap& bitmap) {
    SectionBits& section = *bitmap.section;
    for (int32_t y = 0; y < bitmap.height; ++y) {
        BYTE* row = section.bits.data() + (size_t)y * section.format.stride;
        const uint32_t* pixels = bitmap.pixels.data() + (size_t)y * (size_t)bitmap.width;
        for (int32_t x = 0; x < bitmap.width; ++x)
            dib_write(section.format, row, x, pixels[x]);
    }
}

} // namespace

void gdi_section_read(GdiBitmap& bitmap) {
    if (bitmap.section != nullptr)
        read_bits(bitmap);
}

void gdi_section_written(GdiBitmap& bitmap) {
    if (bitmap.section == nullptr)
        return;
    write_bits(bitmap);
    read_bits(bitmap);
}

bool gdi_make_section_bits(GdiBitmap& bitmap, const BITMAPINFO& info, UINT usage, void** bits) {
    auto section = std::make_shared<SectionBits>();
    if (!dib_format_of(info, usage, false, &section->format))
        return false;
    section->bits.assign(section->format.stride * (size_t)section->format.height, 0);
    bitmap.bits_per_pixel = section->format.depth;
    bitmap.section = section;
    read_bits(bitmap);
    if (bits != nullptr)
        *bits = section->bits.data();
    return true;
}

