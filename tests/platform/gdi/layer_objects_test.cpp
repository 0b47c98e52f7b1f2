// The layer's object counts: what tests use to check that nothing leaks.
#include <layer/gdi.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

namespace {

// The first context of a process makes the stock objects for its default
// state, which grows the handle table under the context's own new entry.
// Only a process with no stock objects yet shows it: the probe is one.
// Under AddressSanitizer a write through the stale entry fails it.
TEST(LayerFirstContext, IsSoundAsTheProcessFirstGraphicsCall) {
    int status = system("'" GDI_FIRST_CONTEXT_PROBE "'");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "probe status " << status;
}

TEST(LayerObjects, CountsReturnToWhereTheyStarted) {
    const DWORD types[] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_MEMDC};
    UINT before[5];
    for (int i = 0; i < 5; ++i)
        before[i] = layer_gdi_object_count(types[i]);
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    LOGFONTA description{};
    HFONT font = CreateFontIndirectA(&description);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(layer_gdi_object_count(types[i]), before[i] + 1) << types[i];
    SelectObject(dc, pen);
    SelectObject(dc, bitmap);
    SaveDC(dc);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
    DeleteObject(bitmap);
    EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), before[0] + 1); // still selected
    DeleteDC(dc);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(layer_gdi_object_count(types[i]), before[i]) << types[i];
}

// A stock pen, brush or font outlives DeleteObject and is not counted; other
// handles are refused and keep being destroyed as usual.
TEST(LayerObjects, MakeStockKeepsPensBrushesAndFonts) {
    LOGFONTA description{};
    const struct {
        DWORD type;
        HGDIOBJ object;
    } KEPT[] = {
        {OBJ_PEN, CreatePen(PS_SOLID, 1, RGB(1, 2, 3))},
        {OBJ_BRUSH, CreateSolidBrush(RGB(4, 5, 6))},
        {OBJ_FONT, CreateFontIndirectA(&description)},
    };
    for (const auto& kept : KEPT) {
        UINT before = layer_gdi_object_count(kept.type);
        EXPECT_TRUE(layer_gdi_make_stock(kept.object)) << kept.type;
        EXPECT_EQ(layer_gdi_object_count(kept.type), before - 1) << kept.type;
        EXPECT_TRUE(DeleteObject(kept.object)) << kept.type;
        EXPECT_EQ(GetObjectType(kept.object), kept.type) << "still alive";
    }

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    HRGN region = CreateRectRgn(0, 0, 4, 4);
    HPEN gone = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(gone);
    for (HGDIOBJ refused :
         {(HGDIOBJ)dc, (HGDIOBJ)bitmap, (HGDIOBJ)region, (HGDIOBJ)gone, (HGDIOBJ) nullptr}) {
        SetLastError(0);
        EXPECT_FALSE(layer_gdi_make_stock(refused)) << refused;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE) << refused;
    }
    UINT bitmaps = layer_gdi_object_count(OBJ_BITMAP);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(layer_gdi_object_count(OBJ_BITMAP), bitmaps - 1) << "a refused bitmap still goes";
    DeleteObject(region);
    DeleteDC(dc);
}

// Windows may fault on these; the layer refuses them.
TEST(LayerText, RefusesBadArguments) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(TextOutA(dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", -1));
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "x", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "x", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 1, &size));
    DeleteDC(dc);
}

// A header that claims more than the largest the system defines would put
// the colour table anywhere: the layer refuses it; and layouts it does not
// draw (compressed rows, 2 bits) are refused, not half read.
TEST(LayerDib, RefusesHeadersItCannotTrust) {
    static const struct {
        DWORD size;
        WORD depth;
        DWORD compression;
    } rows[] = {{4096, 8, BI_RGB}, {40, 2, BI_RGB}, {40, 8, 1}, {40, 24, BI_BITFIELDS}};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    BYTE bits[64] = {};
    for (const auto& row : rows) {
        BITMAPINFO info{};
        info.bmiHeader = {row.size, 2, 2, 1, row.depth, row.compression, 0, 0, 0, 0, 0};
        EXPECT_EQ(SetDIBits(dc, bitmap, 0, 2, bits, &info, DIB_RGB_COLORS), 0) << row.size;
        void* section_bits = nullptr;
        EXPECT_EQ(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &section_bits, nullptr, 0), nullptr);
        EXPECT_EQ(section_bits, nullptr);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
