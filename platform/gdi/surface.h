// What the rasteriser draws into: 32-bit pixels, and the rectangles that a
// drawing may touch.
#pragma once

#include <stdint.h>
#include <windows.h>

// Pixels are 0x00RRGGBB, as in a 32-bit Windows bitmap; rows go downwards.
// Coordinates run from (left, top) to (width, height), right and bottom
// excluded. A bitmap starts at (0, 0); a window context whose origin lies
// inside its top-level window's pixels reaches left of and above it, to
// negative coordinates, when it may draw over its parent (CS_PARENTDC).
struct Surface {
    uint32_t* bits; // the pixel at (0, 0)
    int32_t width;  // the right edge: pixels per row of a bitmap
    int32_t height; // the bottom edge: rows of a bitmap
    int32_t stride; // pixels from one row to the next
    // The bits of a pixel that mixing writes: all 32 on a 32-bit bitmap,
    // whose top byte is the program's own and is mixed like the others, and
    // the colour alone elsewhere, where nothing is kept above it.
    uint32_t written = 0x00FFFFFF;
    int32_t left = 0, top = 0;
};

// Where drawing may land: disjoint rectangles in surface coordinates, each
// inside the surface, right and bottom excluded. Sorted top to bottom, then
// left to right.
struct Clip {
    const RECT* rects;
    int32_t count;
};

// A COLORREF (0x00BBGGRR) as a pixel, and back.
inline uint32_t pixel_from_colorref(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF colorref_from_pixel(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
