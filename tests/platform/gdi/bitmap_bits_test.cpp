// Bitmaps and their bits, handles and clip results, and the device's
// capabilities, as rows that hold on Windows (under Wine) and on the layer.
#include "tests/support/bitmap_dc.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <string.h>
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
    DWORD after[256]; // RGBQUADs (blue first), or masks
};

InfoWithTable layout_info(int width, int height, WORD depth, DWORD compression) {
    InfoWithTable info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, depth, compression, 0, 0, 0, 0, 0};
    return info;
}

// Program rows of every depth written into a 32-bit bitmap: paletted pixels
// through their colour table, 16-bit ones as 5-5-5 or through their masks,
// each channel widened so that its largest value is 255.
TEST(BitmapBits, SetDIBitsDepths) {
    static const struct {
        WORD depth;
        DWORD compression;
        DWORD after[4]; // colour table (0x00RRGGBB) or masks
        DWORD used;     // biClrUsed
        BYTE bits[16];
        COLORREF expected[4];
    } rows[] = {
        {1, BI_RGB, {0x102030, 0xA0B0C0}, 0, {0xA0}, {0xC0B0A0, 0x302010, 0xC0B0A0, 0x302010}},
        {4,
         BI_RGB,
         {0x0000FF, 0x00FF00, 0xFF0000, 0x123456},
         0,
         {0x12, 0x30},
         {0xFF00, 0xFF, 0x563412, 0xFF0000}},
        {8,
         BI_RGB,
         {0x0000FF, 0x00FF00, 0xFF0000},
         3,
         {2, 1, 0, 1},
         {0xFF, 0xFF00, 0xFF0000, 0xFF00}},
        {16,
         BI_RGB,
         {},
         0,
         {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42},
         {0x0000FF, 0x00FF00, 0xFF0000, 0x848484}},
        {16,
         BI_BITFIELDS,
         {0xF800, 0x07E0, 0x001F},
         0,
         {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84},
         {0x0000FF, 0x00FF00, 0xFF0000, 0x848284}},
        {24,
         BI_RGB,
         {},
         0,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         {0x010203, 0x040506, 0x070809, 0x0A0B0C}},
        {32,
         BI_BITFIELDS,
         {0x0000FF, 0x00FF00, 0xFF0000},
         0,
         {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0x10, 0x20, 0x30, 0},
         {0x0000FF, 0x00FF00, 0xFF0000, 0x302010}},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 1, 1, 32, nullptr);
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(4, -1, row.depth, row.compression);
        info.header.biClrUsed = row.used;
        for (int i = 0; i < 4; ++i)
            info.after[i] = row.after[i]; // 0x00RRGGBB is an RGBQUAD
        EXPECT_EQ(SetDIBits(dc, bitmap, 0, 1, row.bits, (BITMAPINFO*)&info, DIB_RGB_COLORS), 1)
            << row.depth;
        HGDIOBJ original = SelectObject(dc, bitmap);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixel(dc, x, 0), row.expected[x]) << row.depth << " bits, pixel " << x;
        SelectObject(dc, original);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// A 32-bit bitmap read at every depth: paletted rows take the nearest colour
// of the system's table, which GetDIBits fills in, and BI_BITFIELDS its masks.
// (Wine answers 16-bit BI_BITFIELDS with masks of no colour channel, so that
// depth is left out.)
TEST(BitmapBits, GetDIBitsDepths) {
    static const struct {
        WORD depth;
        DWORD compression;
        BYTE bits[16];
        DWORD masks[3];
    } rows[] = {
        {1, BI_RGB, {0x10}, {}},
        {4, BI_RGB, {0x9A, 0xC8}, {}},
        {8, BI_RGB, {249, 250, 252, 7}, {}},
        {16, BI_RGB, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x18, 0x63}, {}},
        {24, BI_RGB, {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xC0, 0xC0, 0xC0}, {}},
        {32,
         BI_BITFIELDS,
         {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xC0, 0xC0, 0xC0, 0},
         {0xFF0000, 0xFF00, 0xFF}},
    };
    static const COLORREF pixels[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xC0C0C0};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 1, 1, 32, nullptr);
    HGDIOBJ original = SelectObject(dc, bitmap);
    for (int x = 0; x < 4; ++x)
        SetPixel(dc, x, 0, pixels[x]);
    SelectObject(dc, original);
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(4, 1, row.depth, row.compression);
        BYTE bits[16] = {};
        EXPECT_EQ(GetDIBits(dc, bitmap, 0, 1, bits, (BITMAPINFO*)&info, DIB_RGB_COLORS), 1);
        size_t stride = (4 * row.depth + 31) / 32 * 4;
        EXPECT_EQ(info.header.biSizeImage, stride) << row.depth;
        for (size_t i = 0; i < stride; ++i)
            EXPECT_EQ(bits[i], row.bits[i]) << row.depth << " bits, byte " << i;
        for (int i = 0; i < 3 && row.compression == BI_BITFIELDS; ++i)
            EXPECT_EQ(info.after[i], row.masks[i]) << row.depth << " bits, mask " << i;
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// The tables the system fills in, as 0x00RRGGBB: black and white; sixteen
// colours; for 8 bits twenty system colours at the ends and, between, red in
// the index's low three bits, green in the next three and blue in the top two.
TEST(BitmapBits, GetDIBitsColourTables) {
    static const struct {
        WORD depth;
        int index;
        DWORD color;
    } rows[] = {{1, 0, 0x000000},   {1, 1, 0xFFFFFF},   {4, 1, 0x800000},   {4, 7, 0x808080},
                {4, 8, 0xC0C0C0},   {4, 9, 0xFF0000},   {4, 15, 0xFFFFFF},  {8, 0, 0x000000},
                {8, 7, 0xC0C0C0},   {8, 9, 0xA6CAF0},   {8, 10, 0x402000},  {8, 100, 0x808040},
                {8, 245, 0xA0C0C0}, {8, 246, 0xFFFBF0}, {8, 248, 0x808080}, {8, 255, 0xFFFFFF}};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 1, 1, 32, nullptr);
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(4, 1, row.depth, BI_RGB);
        EXPECT_NE(GetDIBits(dc, bitmap, 0, 1, nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS), 0);
        EXPECT_EQ(info.after[row.index], row.color) << row.depth << " bits, entry " << row.index;
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// With DIB_PAL_COLORS the table holds indices into the context's palette,
// the default one of twenty colours, which larger indices wrap round;
// GetDIBits fills in the indices in order.
TEST(BitmapBits, PaletteIndicesNameTheDefaultPalettesColours) {
    static const WORD indices[8] = {0, 7, 13, 19, 20, 21, 255, 269};
    static const COLORREF colors[8] = {0x000000, 0xC0C0C0, 0x0000FF, 0xFFFFFF,
                                       0x000000, 0x000080, 0x00FFFF, 0xF0CAA6};
    static const BYTE read_back[8] = {13, 7, 13, 19, 0, 1, 15, 9};
    static const BYTE bits[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 1, 1, 32, nullptr);
    InfoWithTable info = layout_info(8, 1, 8, BI_RGB);
    memcpy(info.after, indices, sizeof indices);
    EXPECT_EQ(SetDIBits(dc, bitmap, 0, 1, bits, (BITMAPINFO*)&info, DIB_PAL_COLORS), 1);
    HGDIOBJ original = SelectObject(dc, bitmap);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(GetPixel(dc, x, 0), colors[x]) << "index " << indices[x];
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SelectObject(dc, original);
    InfoWithTable out = layout_info(8, 1, 8, BI_RGB);
    BYTE got[8] = {};
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, 1, got, (BITMAPINFO*)&out, DIB_PAL_COLORS), 1);
    WORD table[256];
    memcpy(table, out.after, sizeof table);
    for (int i = 0; i < 256; i += 85)
        EXPECT_EQ(table[i], i);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(got[x], read_back[x]) << x;
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// A 32-bit section may name its colour bytes with masks, the usual ones
// giving the same pixels as BI_RGB.
TEST(BitmapBits, SectionWithTheUsualMasks) {
    InfoWithTable info = layout_info(2, -1, 32, BI_BITFIELDS);
    info.after[0] = 0xFF0000, info.after[1] = 0x00FF00, info.after[2] = 0x0000FF;
    void* bits = nullptr;
    HBITMAP section =
        CreateDIBSection(nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(dc, section);
    SetPixel(dc, 1, 0, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(((DWORD*)bits)[1], 0x123456u);
    SelectObject(dc, original);
    DeleteDC(dc);
    DeleteObject(section);
}

// Sections of every depth: what is drawn reaches the program's bits as the
// nearest colour the layout holds, and what the program writes there is
// what the next drawing call or GetPixel sees. The table is black, red,
// green, blue. (1-bit sections are left out: the system maps a drawing's
// colours there by rules of their own, which the layer does not follow.)
TEST(BitmapBits, SectionsOfEveryDepth) {
    static const struct {
        WORD depth;
        COLORREF fill;
        BYTE filled[3]; // the first pixel's bytes after the fill
        BYTE written[3];
        COLORREF seen; // the first pixel after the program writes
    } rows[] = {
        {4, RGB(10, 200, 10), {0x22}, {0x13}, 0x0000FF},
        {8, RGB(10, 10, 200), {3}, {1}, 0x0000FF},
        {16, RGB(255, 0, 0), {0x00, 0x7C}, {0xE0, 0x03}, 0x00FF00},
        {24, RGB(1, 2, 3), {3, 2, 1}, {0x30, 0x20, 0x10}, 0x302010},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& row : rows) {
        InfoWithTable info = layout_info(2, -1, row.depth, BI_RGB);
        info.after[1] = 0xFF0000, info.after[2] = 0x00FF00, info.after[3] = 0x0000FF;
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
        size_t bytes = (row.depth + 7) / 8;
        for (size_t i = 0; i < bytes; ++i)
            EXPECT_EQ(bits[i], row.filled[i]) << row.depth << " bits, byte " << i;
        for (size_t i = 0; i < bytes; ++i)
            bits[i] = row.written[i];
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
