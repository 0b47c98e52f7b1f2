// Bitmaps and their bits, handles and clip results, and the device's
// capabilities, as rows that hold on Windows (under Wine) and on the layer.
#include "tests/support/bitmap_dc.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <utility>
#include <vector>

namespace {

// Between two 32-bit bitmaps every raster operation works on all 32 bits.
TEST(BitmapBits, BlitsBetween32BitBitmapsKeepTheTopByte) {
    static const struct {
        DWORD rop;
        uint32_t expected;
    } rows[] = {{SRCCOPY, 0xFEDCBA98},
                {SRCINVERT, 0x64606468},
                {SRCAND, 0x9A9C9A90},
                {SRCPAINT, 0xFEFCFEF8},
                {NOTSRCCOPY, 0x01234567}};
    BitmapDc source(2, 1), target(2, 1);
    for (const auto& row : rows) {
        source.fill(0xFEDCBA98);
        target.fill(0x9ABCDEF0);
        EXPECT_TRUE(BitBlt(target.dc(), 0, 0, 2, 1, source.dc(), 0, 0, row.rop));
        EXPECT_EQ(target.bits()[1], row.expected) << "rop " << std::hex << row.rop;
    }
    target.fill(0);
    EXPECT_TRUE(StretchBlt(target.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(target.bits()[1], 0xFEDCBA98u) << "stretched";
}

// Operations without a source mix all 32 bits too: the brush's or pen's top
// byte is 0, so WHITENESS sets the top byte, DSTINVERT inverts it, a copied
// brush clears it and an exclusive-or keeps it.
TEST(BitmapBits, PatternAndPenOperationsOn32BitBitmapsMixTheTopByte) {
    static const struct {
        DWORD rop; // a PatBlt operation, or 0 for a line in mix mode `rop2`
        int rop2;
        uint32_t expected;
    } rows[] = {{WHITENESS, 0, 0xFFFFFFFF},  {BLACKNESS, 0, 0x00000000},
                {DSTINVERT, 0, 0x01234567},  {PATCOPY, 0, 0x00FFFFFF},
                {PATINVERT, 0, 0xFE234567},  {0, R2_WHITE, 0xFFFFFFFF},
                {0, R2_NOT, 0x01234567},     {0, R2_NOTCOPYPEN, 0xFF000000},
                {0, R2_XORPEN, 0xFE234567},  {0, R2_MERGEPENNOT, 0x01FFFFFF},
                {0, R2_MASKPEN, 0x00DCBA98}, {0, R2_COPYPEN, 0x00FFFFFF}};
    BitmapDc m(2, 1);
    SelectObject(m.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(m.dc(), GetStockObject(WHITE_PEN));
    for (const auto& row : rows) {
        m.fill(0xFEDCBA98);
        if (row.rop != 0) {
            EXPECT_TRUE(PatBlt(m.dc(), 0, 0, 2, 1, row.rop));
        } else {
            SetROP2(m.dc(), row.rop2);
            MoveToEx(m.dc(), 0, 0, nullptr);
            LineTo(m.dc(), 2, 0);
        }
        EXPECT_EQ(m.bits()[1], row.expected) << std::hex << row.rop << " " << row.rop2;
    }
}

// Handles are 32-bit values: what is above them on 64-bit builds is ignored,
// while a change to the 32 bits themselves names no object.
TEST(BitmapBits, HandlesAreReadAsTheir32Bits) {
    static const struct {
        uint32_t high, low;
        bool accepted;
    } rows[] = {{0, 0, true},
                {0xFFFFFFFF, 0, true},
                {0xDEADBEEF, 0, true},
                {0, 0xFFE0, false},
                {0xFFFFFFFF, 0xFFFF0000, false}};
    for (const auto& row : rows) {
        if (sizeof(void*) == 4 && row.high != 0)
            continue;
        HRGN region = CreateRectRgn(1, 2, 3, 4);
        uint64_t high = (uint64_t)row.high << 16 << 16; // no shift past a 32-bit pointer
        auto changed = (HRGN)(ULONG_PTR)((ULONG_PTR)region | (ULONG_PTR)high | row.low);
        EXPECT_EQ(GetObjectType(changed) == OBJ_REGION, row.accepted) << std::hex << row.high;
        EXPECT_EQ(DeleteObject(changed) != FALSE, row.accepted) << std::hex << row.high;
        EXPECT_EQ(DeleteObject(region) != FALSE, !row.accepted) << "deleted once";
    }
    // A context gives back the handle as it was made, not as it was passed.
    BitmapDc m(1, 1);
    HGDIOBJ pen = GetStockObject(WHITE_PEN);
    HGDIOBJ original = SelectObject(m.dc(), (HGDIOBJ)((ULONG_PTR)pen | ~(ULONG_PTR)0xFFFFFFFF));
    EXPECT_EQ(SelectObject(m.dc(), original), pen);
}

TEST(BitmapBits, ClipRegionResults) {
    HDC screen = GetDC(nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(nullptr, nullptr), -1);
    EXPECT_EQ(GetClipRgn(screen, nullptr), 0) << "no clip region: the region is not looked at";
    EXPECT_EQ(GetClipRgn(screen, region), 0);
    EXPECT_EQ(SelectClipRgn(screen, region), NULLREGION);
    EXPECT_EQ(GetClipRgn(screen, nullptr), -1) << "a clip region and nowhere to put it";
    EXPECT_EQ(GetClipRgn(screen, region), 1);
    EXPECT_EQ(SelectClipRgn(screen, nullptr), SIMPLEREGION) << "the screen is one rectangle";
    EXPECT_EQ(GetClipRgn(screen, region), 0);
    DeleteObject(region);
    ReleaseDC(nullptr, screen);
}

TEST(BitmapBits, CreateBitmapDepthsAndSizes) {
    static const struct {
        int width, height;
        UINT planes, bits;
        LONG width_made, bits_made, width_bytes; // width_made 0: refused
    } rows[] = {
        {3, 2, 1, 1, 3, 1, 2},
        {17, 2, 1, 1, 17, 1, 4},
        {3, 2, 1, 24, 3, 24, 10},
        {3, 2, 1, 17, 3, 24, 10},
        {3, 2, 1, 32, 3, 32, 12},
        {3, 2, 1, 25, 3, 32, 12},
        {-3, 2, 1, 32, 3, 32, 12},
        {3, 2, 1, 33, 0, 0, 0},
        {3, 2, 2, 1, 0, 0, 0},
        {3, 2, 0, 32, 0, 0, 0},
        {0, 5, 1, 32, 1, 1, 2}, // empty: the stock 1 by 1 bitmap
        {0x10000, 0x10000, 1, 32, 0, 0, 0},
    };
    for (const auto& row : rows) {
        HBITMAP bitmap = CreateBitmap(row.width, row.height, row.planes, row.bits, nullptr);
        BITMAP made{};
        GetObjectA(bitmap, sizeof made, &made);
        EXPECT_EQ(made.bmWidth, row.width_made) << row.width << " by " << row.bits;
        EXPECT_EQ(made.bmBitsPixel, row.bits_made) << row.width << " by " << row.bits;
        EXPECT_EQ(made.bmWidthBytes, row.width_bytes) << row.width << " by " << row.bits;
        DeleteObject(bitmap);
    }
}

// Monochrome rows hold a bit per pixel, set for white; colour rows four
// bytes, blue first; both padded to 16 bits.
TEST(BitmapBits, CreateBitmapTakesItsBits) {
    static const BYTE mono[] = {0xA0, 0x00, 0x50, 0x00};
    static const DWORD color[] = {0xFF112233, 0x00445566, 0x778899, 0xAABBCC};
    static const COLORREF expected[] = {0xFFFFFF, 0,        0,        0xFFFFFF,
                                        0x332211, 0x665544, 0x998877, 0xCCBBAA};
    HDC dc = CreateCompatibleDC(nullptr);
    for (int i = 0; i < 8; ++i) {
        HBITMAP b = i < 4 ? CreateBitmap(3, 2, 1, 1, mono) : CreateBitmap(2, 2, 1, 32, color);
        HGDIOBJ original = SelectObject(dc, b);
        EXPECT_EQ(GetPixel(dc, i % 2, i % 4 / 2), expected[i]) << i;
        SelectObject(dc, original);
        DeleteObject(b);
    }
    DeleteDC(dc);
}

// A 3 by 4 bitmap whose pixel (x, y) has red x and green y, read and
// written as program rows.
struct DibRig {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(3, 4, 1, 32, nullptr);
    BITMAPINFO info{};
    DibRig() {
        HGDIOBJ original = SelectObject(dc, bitmap);
        for (int i = 0; i < 12; ++i)
            SetPixel(dc, i % 3, i / 3, RGB(i % 3, i / 3, 99));
        SelectObject(dc, original);
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    }
    ~DibRig() {
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// Scan lines count from the bottom of a bottom-up layout, from the top of a
// top-down one, and a layout shorter than the bitmap covers its top rows.
TEST(BitmapBits, GetDIBitsRows) {
    static const struct {
        LONG height;
        UINT start, lines;
        int copied;
        int rows[4]; // the bitmap row of each scan line written
    } rows[] = {{4, 0, 4, 4, {3, 2, 1, 0}},
                {4, 1, 2, 2, {2, 1}},
                {4, 2, 10, 2, {1, 0}},
                {-4, 0, 4, 4, {0, 1, 2, 3}},
                {2, 0, 2, 2, {1, 0}}};
    DibRig rig;
    for (const auto& row : rows) {
        std::vector<DWORD> bits(12, 0xABABABAB);
        rig.info.bmiHeader.biHeight = row.height;
        int copied = GetDIBits(rig.dc, rig.bitmap, row.start, row.lines, bits.data(), &rig.info,
                               DIB_RGB_COLORS);
        EXPECT_EQ(copied, row.copied) << row.height << " from " << row.start;
        for (int i = 0; i < 12; ++i) {
            DWORD expected = i / 3 < row.copied
                                 ? 0x000063u | (DWORD)(i % 3) << 16 | (DWORD)row.rows[i / 3] << 8
                                 : 0xABABABABu;
            EXPECT_EQ(bits[(size_t)i], expected)
                << row.height << " from " << row.start << ": " << i;
        }
    }
}

TEST(BitmapBits, GetDIBitsDescribesAndRefuses) {
    DibRig rig;
    BITMAPINFO asked{};
    asked.bmiHeader.biSize = sizeof asked.bmiHeader;
    EXPECT_NE(GetDIBits(rig.dc, rig.bitmap, 0, 0, nullptr, &asked, DIB_RGB_COLORS), 0);
    const BITMAPINFOHEADER& h = asked.bmiHeader;
    EXPECT_EQ(h.biWidth * 1000 + h.biHeight * 100 + h.biBitCount, 3432) << "3 by 4, 32 bits";
    EXPECT_EQ(h.biSizeImage, 48u);
    rig.info.bmiHeader.biBitCount = 24;
    EXPECT_NE(GetDIBits(rig.dc, rig.bitmap, 0, 4, nullptr, &rig.info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(rig.info.bmiHeader.biSizeImage, 48u) << "24-bit rows of 3 pixels pad to 12 bytes";
    DWORD bits[12];
    EXPECT_EQ(GetDIBits(rig.dc, (HBITMAP)rig.dc, 0, 4, bits, &rig.info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(rig.dc, rig.bitmap, 0, 4, bits, &rig.info, 5), 0);
    rig.info.bmiHeader.biCompression = 1;
    EXPECT_EQ(GetDIBits(rig.dc, rig.bitmap, 0, 4, bits, &rig.info, DIB_RGB_COLORS), 0);
}

TEST(BitmapBits, SetDIBitsWritesTheScanLinesAsked) {
    DibRig rig;
    DWORD in[12];
    for (int i = 0; i < 12; ++i)
        in[i] = 0x111111u * (DWORD)i;
    EXPECT_EQ(SetDIBits(rig.dc, rig.bitmap, 1, 2, in, &rig.info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(SetDIBits(rig.dc, rig.bitmap, 3, 5, in, &rig.info, DIB_RGB_COLORS), 1);
    SelectObject(rig.dc, rig.bitmap);
    static const COLORREF column0[4] = {0x000000, 0x333333, 0x000000, RGB(0, 3, 99)};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(GetPixel(rig.dc, 0, y), column0[y]) << y;
}

// The source rectangle counts from the bottom of a bottom-up layout.
TEST(BitmapBits, StretchDIBitsSourceRows) {
    DWORD in[12];
    for (int i = 0; i < 12; ++i)
        in[i] = 0xFE000000u | 0x111111u * (DWORD)i;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BitmapDc target(2, 2);
    for (LONG height : {4, -4}) {
        info.bmiHeader.biHeight = height;
        target.fill(0);
        EXPECT_EQ(
            StretchDIBits(target.dc(), 0, 0, 2, 2, 0, 0, 2, 2, in, &info, DIB_RGB_COLORS, SRCCOPY),
            4);
        DWORD top_left = height > 0 ? in[3] : in[0];
        EXPECT_EQ(target.bits()[0], top_left) << height;
        EXPECT_EQ(target.bits()[3], height > 0 ? in[1] : in[4]) << height;
    }
    EXPECT_EQ(StretchDIBits(target.dc(), 0, 0, 2, 2, 0, 0, 2, 2, nullptr, &info, 0, SRCCOPY), 0);
}

// A BITMAPINFO with room for a whole colour table or three masks.
struct InfoWithTable {
    BITMAPINFOHEADER header;
    DWORD after[256]; // RGBQUADs (read as 0x00RRGGBB), palette indices or masks
};

InfoWithTable layout_info(int width, int height, WORD depth, DWORD compression,
                          std::initializer_list<DWORD> after = {}, DWORD used = 0) {
    InfoWithTable info{};
    info.header = {
        sizeof(BITMAPINFOHEADER), width, height, 1, depth, compression, 0, 0, 0, used, 0};
    std::copy(after.begin(), after.end(), info.after);
    return info;
}

// Bytes as hex pairs ("00 7C"), so that a row of pixels fits a table line.
std::vector<BYTE> bytes_of(const char* hex) {
    std::vector<BYTE> bytes;
    for (char* end; bytes.push_back((BYTE)strtoul(hex, &end, 16)), *end != '\0'; hex = end) {
    }
    return bytes;
}

// A memory context on a 4 by 1 32-bit bitmap of red, green, blue and grey.
struct FourPixels {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 1, 1, 32, nullptr);
    FourPixels() {
        static const COLORREF colors[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xC0C0C0};
        HGDIOBJ original = SelectObject(dc, bitmap);
        for (int x = 0; x < 4; ++x)
            SetPixel(dc, x, 0, colors[x]);
        SelectObject(dc, original);
    }
    ~FourPixels() {
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF pixel(int x) {
        HGDIOBJ original = SelectObject(dc, bitmap);
        COLORREF color = GetPixel(dc, x, 0);
        SelectObject(dc, original);
        return color;
    }
};

// Program rows of every depth written into a 32-bit bitmap: paletted pixels
// through their colour table, 16-bit ones as 5-5-5 or through their masks,
// each channel widened so that its largest value is 255.
TEST(BitmapBits, SetDIBitsDepths) {
    // clang-format off
    static const struct {
        WORD depth;
        DWORD compression, used;
        std::initializer_list<DWORD> after; // colour table (0x00RRGGBB) or masks
        const char* bits;
        COLORREF expected[4];
    } rows[] = {
        {1, BI_RGB, 0, {0x102030, 0xA0B0C0}, "A0", {0xC0B0A0, 0x302010, 0xC0B0A0, 0x302010}},
        {4, BI_RGB, 0, {0xFF, 0xFF00, 0xFF0000, 0x123456}, "12 30", {0xFF00, 0xFF, 0x563412, 0xFF0000}},
        {8, BI_RGB, 3, {0xFF, 0xFF00, 0xFF0000}, "02 01 00 01", {0xFF, 0xFF00, 0xFF0000, 0xFF00}},
        {16, BI_RGB, 0, {}, "00 7C E0 03 1F 00 10 42", {0xFF, 0xFF00, 0xFF0000, 0x848484}},
        {16, BI_BITFIELDS, 0, {0xF800, 0x07E0, 0x1F}, "00 F8 E0 07 1F 00 10 84", {0xFF, 0xFF00, 0xFF0000, 0x848284}},
        {24, BI_RGB, 0, {}, "01 02 03 04 05 06 07 08 09 0A 0B 0C", {0x010203, 0x040506, 0x070809, 0x0A0B0C}},
        {32, BI_BITFIELDS, 0, {0xFF, 0xFF00, 0xFF0000}, "FF 0 0 0 0 FF 0 0 0 0 FF 0 10 20 30 0", {0xFF, 0xFF00, 0xFF0000, 0x302010}},
    };
    // clang-format on
    FourPixels m;
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(4, -1, row.depth, row.compression, row.after, row.used);
        std::vector<BYTE> bits = bytes_of(row.bits);
        EXPECT_EQ(SetDIBits(m.dc, m.bitmap, 0, 1, bits.data(), (BITMAPINFO*)&info, DIB_RGB_COLORS),
                  1);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(m.pixel(x), row.expected[x]) << row.depth << " bits, pixel " << x;
    }
}

// The bitmap read at every depth: paletted rows take the nearest colour of
// the system's table, which GetDIBits fills in, and BI_BITFIELDS its masks.
// (Wine answers 16-bit BI_BITFIELDS with masks of no colour channel, so that
// depth is left out.) The tables are black and white; sixteen colours; and
// for 8 bits twenty system colours at the ends and, between, red in the
// index's low three bits, green in the next three and blue in the top two.
TEST(BitmapBits, GetDIBitsDepths) {
    // clang-format off
    static const struct {
        WORD depth;
        DWORD compression;
        const char* bits;
        std::initializer_list<std::pair<int, DWORD>> after; // table entries or masks
    } rows[] = {
        {1, BI_RGB, "10", {{0, 0x000000}, {1, 0xFFFFFF}}},
        {4, BI_RGB, "9A C8", {{1, 0x800000}, {7, 0x808080}, {8, 0xC0C0C0}, {15, 0xFFFFFF}}},
        {8, BI_RGB, "F9 FA FC 07", {{7, 0xC0C0C0}, {9, 0xA6CAF0}, {10, 0x402000}, {100, 0x808040}}},
        {8, BI_RGB, "F9 FA FC 07", {{245, 0xA0C0C0}, {246, 0xFFFBF0}, {248, 0x808080}, {255, 0xFFFFFF}}},
        {16, BI_RGB, "00 7C E0 03 1F 00 18 63", {}},
        {24, BI_RGB, "0 0 FF 0 FF 0 FF 0 0 C0 C0 C0", {}},
        {32, BI_BITFIELDS, "0 0 FF 0 0 FF 0 0 FF 0 0 0 C0 C0 C0 0", {{0, 0xFF0000}, {1, 0xFF00}, {2, 0xFF}}},
    };
    // clang-format on
    FourPixels m;
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(4, 1, row.depth, row.compression);
        std::vector<BYTE> expected = bytes_of(row.bits), bits(16);
        EXPECT_EQ(GetDIBits(m.dc, m.bitmap, 0, 1, bits.data(), (BITMAPINFO*)&info, DIB_RGB_COLORS),
                  1);
        EXPECT_EQ(info.header.biSizeImage, (4u * row.depth + 31) / 32 * 4) << row.depth;
        bits.resize(expected.size());
        EXPECT_EQ(bits, expected) << row.depth << " bits";
        for (const auto& [index, value] : row.after)
            EXPECT_EQ(info.after[index], value) << row.depth << " bits, entry " << index;
    }
}

// With DIB_PAL_COLORS the table holds indices into the context's palette,
// the default one of twenty colours, which larger indices wrap round;
// GetDIBits fills in the indices in order and the nearest colour's index.
TEST(BitmapBits, PaletteIndicesNameTheDefaultPalettesColours) {
    static const struct {
        WORD index;
        COLORREF color;
        BYTE read_back;
    } rows[] = {{0, 0x000000, 0},  {7, 0xC0C0C0, 7},  {13, 0x0000FF, 13},  {19, 0xFFFFFF, 19},
                {20, 0x000000, 0}, {21, 0x000080, 1}, {255, 0x00FFFF, 15}, {269, 0xF0CAA6, 9}};
    BitmapDc m(8, 1);
    InfoWithTable info = layout_info(8, 1, 8, BI_RGB);
    WORD* indices = (WORD*)info.after;
    BYTE bits[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 8; ++i)
        indices[i] = rows[i].index;
    HBITMAP bitmap = (HBITMAP)GetCurrentObject(m.dc(), OBJ_BITMAP);
    EXPECT_EQ(SetDIBits(m.dc(), bitmap, 0, 1, bits, (BITMAPINFO*)&info, DIB_PAL_COLORS), 1);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(GetPixel(m.dc(), x, 0), rows[x].color) << "index " << rows[x].index;
    EXPECT_EQ(GetDIBits(m.dc(), bitmap, 0, 1, bits, (BITMAPINFO*)&info, DIB_PAL_COLORS), 1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(indices[i * 30], i * 30);
        EXPECT_EQ(bits[i], rows[i].read_back) << i;
    }
}

// Sections of every layout: what is drawn reaches the program's bits as the
// nearest colour the layout holds, and what the program writes there is what
// GetPixel sees next. The table is black, red, green, blue. (1-bit sections
// are left out: the system maps a drawing's colours there by rules of their
// own, which the layer does not follow.)
TEST(BitmapBits, SectionsOfEveryLayout) {
    // clang-format off
    static const struct {
        WORD depth;
        DWORD compression;
        std::initializer_list<DWORD> after;
        COLORREF fill;
        const char* filled;  // the first pixel's bytes after the fill
        const char* written; // what the program then writes there
        COLORREF seen;
    } rows[] = {
        {4, BI_RGB, {0, 0xFF0000, 0xFF00, 0xFF}, RGB(10, 200, 10), "22", "13", 0x0000FF},
        {8, BI_RGB, {0, 0xFF0000, 0xFF00, 0xFF}, RGB(10, 10, 200), "03", "01", 0x0000FF},
        {16, BI_RGB, {}, RGB(255, 0, 0), "00 7C", "E0 03", 0x00FF00},
        {24, BI_RGB, {}, RGB(1, 2, 3), "03 02 01", "30 20 10", 0x302010},
        {32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, RGB(1, 2, 3), "03 02 01 00", "30 20 10 00", 0x302010},
        {32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, RGB(1, 2, 3), "01 02 03 00", "30 20 10 00", 0x102030},
    };
    // clang-format on
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(2, -1, row.depth, row.compression, row.after);
        info.header.biClrUsed = row.depth <= 8 ? 4 : 0;
        BYTE* bits = nullptr;
        HBITMAP section =
            CreateDIBSection(dc, (BITMAPINFO*)&info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        ASSERT_NE(section, nullptr) << row.depth;
        HGDIOBJ original = SelectObject(dc, section);
        HBRUSH brush = CreateSolidBrush(row.fill);
        RECT all{0, 0, 2, 1};
        FillRect(dc, &all, brush);
#ifdef _WIN32
        GdiFlush(); // the layer draws at once; the system may batch
#endif
        std::vector<BYTE> filled = bytes_of(row.filled), written = bytes_of(row.written);
        EXPECT_EQ(std::vector<BYTE>(bits, bits + filled.size()), filled) << row.depth;
        std::copy(written.begin(), written.end(), bits);
        EXPECT_EQ(GetPixel(dc, 0, 0), row.seen) << row.depth;
        SelectObject(dc, original);
        DeleteObject(brush);
        DeleteObject(section);
    }
    DeleteDC(dc);
}

TEST(BitmapBits, DeviceCapsAreTheScreens) {
    static const struct {
        int index, expected; // expected 0: checked below
    } rows[] = {{TECHNOLOGY, DT_RASDISPLAY},
                {BITSPIXEL, 32},
                {PLANES, 1},
                {NUMCOLORS, -1},
                {LOGPIXELSX, 96},
                {LOGPIXELSY, 96},
                {ASPECTX, 36},
                {ASPECTXY, 51},
                {CLIPCAPS, CP_RECTANGLE},
                {SIZEPALETTE, 0}};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    for (HDC dc : {screen, memory}) {
        for (const auto& row : rows)
            EXPECT_EQ(GetDeviceCaps(dc, row.index), row.expected) << row.index;
        int width = GetSystemMetrics(SM_CXSCREEN);
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), width);
        EXPECT_EQ(GetDeviceCaps(dc, VERTRES), GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), (width * 254 + 480) / 960) << "millimetres";
        // What the layer claims, Windows claims too.
        EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & 0x2E99, 0x2E99);
        EXPECT_EQ(GetDeviceCaps(dc, POLYGONALCAPS) & 0x97, 0x97);
    }
    EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace
