// A program's pixel layout as its BITMAPINFO describes it: rows of 1, 4, 8,
// 16, 24 or 32 bits per pixel, with a colour table for the paletted depths
// and colour masks for 16 and 32 bits.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

struct DibFormat {
    int32_t width;
    int32_t height; // rows, always positive
    bool top_down;  // the header's height was negative: the first row is the top one
    uint16_t depth; // 1, 4, 8, 16, 24 or 32
    size_t stride;  // bytes from one row to the next
    // 16 and 32 bits: where each colour lies in a pixel.
    uint32_t masks[3]; // red, green, blue
    // 1, 4 and 8 bits: the colours of the indices, as 0x00RRGGBB; indices
    // past `colors` read as black.
    uint32_t table[256];
    uint32_t colors;
    // DIB_PAL_COLORS: the program's table holds indices into the palette.
    bool palette_indices;
};

size_t dib_stride(int32_t width, uint16_t depth);

// False, with nothing read, for a header the layer cannot take. The colour
// table and masks are read from `info` unless `fill_table`, when the table is
// the system's default for the depth and the masks its own (GetDIBits).
bool dib_format_of(const BITMAPINFO& info, UINT usage, bool fill_table, DibFormat* format);

// Writes what GetDIBits reports beside the pixels: the colour table of a
// paletted depth (the palette's indices in order for DIB_PAL_COLORS) and the
// masks of BI_BITFIELDS.
void dib_write_table(const DibFormat& format, BITMAPINFO* info);

// A pixel of a row as 0x00RRGGBB; 32-bit BI_RGB pixels keep their top byte.
uint32_t dib_read(const DibFormat& format, const BYTE* row, int32_t x);
// Writes a 0x00RRGGBB pixel: the nearest colour of the table at the
// paletted depths.
void dib_write(const DibFormat& format, BYTE* row, int32_t x, uint32_t pixel);
