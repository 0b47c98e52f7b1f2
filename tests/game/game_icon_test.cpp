// The program's icon: its picture, and the .ico file of the Windows build
// made from it.
#include "resources/icon.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(ProgramIcon, PixelsComeFromThePaletteAndAreOpaque) {
    uint32_t pixels[PROGRAM_ICON_SIZE * PROGRAM_ICON_SIZE];
    programIconPixels(pixels);
    for (int y = 0; y < PROGRAM_ICON_SIZE; ++y)
        for (int x = 0; x < PROGRAM_ICON_SIZE; ++x) {
            uint8_t index = programIconIndices[y][x];
            ASSERT_LT(index, PROGRAM_ICON_COLOURS);
            EXPECT_EQ(pixels[y * 16 + x], 0xFF000000u | programIconPalette[index]);
        }
    EXPECT_EQ(pixels[0], 0xFF0000FFu) << "blue";
    EXPECT_EQ(pixels[8 * 16 + 6], 0xFFFFFFFFu) << "the white ball";
    EXPECT_EQ(pixels[16], 0xFFFFFF00u) << "a yellow wall";
}

TEST(ProgramIcon, FileHasOne16By16ImageIn16Colours) {
    std::vector<uint8_t> file = programIconFile();
    ASSERT_EQ(file.size(), 22u + 40 + 64 + 128 + 64);
    auto u16 = [&](size_t at) { return file[at] | file[at + 1] << 8; };
    auto u32 = [&](size_t at) { return (uint32_t)(u16(at) | u16(at + 2) << 16); };
    EXPECT_EQ(u16(2), 1) << "an icon";
    EXPECT_EQ(u16(4), 1) << "one image";
    EXPECT_EQ(file[6], 16);
    EXPECT_EQ(file[7], 16);
    EXPECT_EQ(file[8], 16) << "colours";
    EXPECT_EQ(u16(12), 4) << "bits per pixel";
    EXPECT_EQ(u32(14), file.size() - 22);
    EXPECT_EQ(u32(18), 22u);
    EXPECT_EQ(u32(22 + 8), 32u) << "colour and mask rows";
    // The top-left pixel is the high half of the first byte of the last row.
    size_t colours = 22 + 40 + 64;
    EXPECT_EQ(file[colours + 15 * 8] >> 4, programIconIndices[0][0]);
    EXPECT_EQ(file[colours] & 0x0F, programIconIndices[15][1]);
    // Palette entry 11 (yellow) as blue, green, red, 0.
    EXPECT_EQ(u32(22 + 40 + 11 * 4), 0x00FFFF00u);
}

TEST(ProgramIcon, CheckedInFileIsUpToDate) {
    std::ifstream in(ZANDREL_SOURCE_DIR "/resources/zandrel.ico", std::ios::binary);
    std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(stored, programIconFile()) << "run make_icon resources/zandrel.ico";
}

} // namespace
