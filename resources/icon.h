// The program's icon, resource 101: one 16 by 16 picture in 16 colours, a
// white ball between two yellow walls on blue. The same data makes the
// layer's icon at start-up and, through tools/make_icon, zandrel.ico for
// the Windows build.
#pragma once

#include <stdint.h>
#include <vector>

constexpr int32_t PROGRAM_ICON_SIZE = 16;
constexpr int32_t PROGRAM_ICON_COLOURS = 16;

// Palette indices, rows top-down.
extern const uint8_t programIconIndices[PROGRAM_ICON_SIZE][PROGRAM_ICON_SIZE];
// The 16 colours as 0x00RRGGBB.
extern const uint32_t programIconPalette[PROGRAM_ICON_COLOURS];

// The picture as opaque 0xAARRGGBB pixels, rows top-down.
void programIconPixels(uint32_t pixels[PROGRAM_ICON_SIZE * PROGRAM_ICON_SIZE]);

// The bytes of an .ico file holding the picture: one 4-bit image with its
// palette, an all-opaque mask and rows stored bottom-up.
std::vector<uint8_t> programIconFile();
