// Objects and device contexts, checked the same way on Windows (under Wine)
// and on the layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

namespace {

// A memory context that is deleted when the test ends.
struct MemoryDc {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDc() { DeleteDC(dc); }
};

BITMAP describe(HGDIOBJ bitmap) {
    BITMAP description{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof description, &description), (int)sizeof description);
    return description;
}

TEST(StockObjects, AreStableAndNeverDestroyed) {
    const int brushes[] = {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH};
    for (int which : brushes)
        EXPECT_EQ(GetObjectType(GetStockObject(which)), (DWORD)OBJ_BRUSH) << which;
    const int pens[] = {WHITE_PEN, BLACK_PEN, NULL_PEN};
    for (int which : pens)
        EXPECT_EQ(GetObjectType(GetStockObject(which)), (DWORD)OBJ_PEN) << which;
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), (DWORD)OBJ_FONT);
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), (DWORD)OBJ_FONT);
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    EXPECT_EQ(GetStockObject(BLACK_PEN), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), (DWORD)OBJ_PEN);
    LOGPEN description{};
    EXPECT_EQ(GetObjectA(GetStockObject(WHITE_PEN), sizeof description, &description), 16);
    EXPECT_EQ(description.lopnColor, RGB(255, 255, 255));
    EXPECT_EQ(description.lopnStyle, (UINT)PS_SOLID);
}

TEST(MemoryDc, StartsWithWindowsDefaults) {
    MemoryDc m;
    ASSERT_NE(m.dc, nullptr);
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    BITMAP bitmap = describe(GetCurrentObject(m.dc, OBJ_BITMAP));
    EXPECT_EQ(bitmap.bmWidth, 1);
    EXPECT_EQ(bitmap.bmHeight, 1);
    EXPECT_EQ(bitmap.bmBitsPixel, 1);
    EXPECT_EQ(GetTextColor(m.dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(m.dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(m.dc), OPAQUE);
    EXPECT_EQ(GetROP2(m.dc), R2_COPYPEN);
    EXPECT_EQ(GetTextAlign(m.dc), 0u);
    EXPECT_EQ(GetStretchBltMode(m.dc), BLACKONWHITE);
    POINT position{-1, -1};
    EXPECT_TRUE(GetCurrentPositionEx(m.dc, &position));
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
}

TEST(Objects, DescriptionsHaveWindowsSizes) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectA(pen, 0, nullptr), 16);
    LOGPEN logpen{};
    EXPECT_EQ(GetObjectA(pen, sizeof logpen, &logpen), 16);
    EXPECT_EQ(logpen.lopnWidth.x, 3);
    EXPECT_EQ(logpen.lopnColor, RGB(1, 2, 3));
    HPEN copy = CreatePenIndirect(&logpen);
    LOGPEN copied{};
    GetObjectA(copy, sizeof copied, &copied);
    EXPECT_EQ(memcmp(&copied, &logpen, sizeof logpen), 0);

    LOGFONTA font{};
    EXPECT_EQ(GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font), 60);
    EXPECT_STREQ(font.lfFaceName, "System");
    HFONT created = CreateFontIndirectA(&font);
    LOGFONTA read{};
    EXPECT_EQ(GetObjectA(created, sizeof read, &read), 60);
    EXPECT_EQ(memcmp(&read, &font, sizeof font), 0);

    MemoryDc m;
    HBITMAP bitmap = CreateCompatibleBitmap(m.dc, 30, 20);
    BITMAP description = describe(bitmap);
    EXPECT_EQ(description.bmWidth, 30);
    EXPECT_EQ(description.bmHeight, 20);
    for (HGDIOBJ object : {(HGDIOBJ)pen, (HGDIOBJ)copy, (HGDIOBJ)created, (HGDIOBJ)bitmap})
        EXPECT_TRUE(DeleteObject(object));
}

TEST(Objects, NullPenIsTheStockOne) {
    EXPECT_EQ(CreatePen(PS_NULL, 1, RGB(255, 0, 0)), GetStockObject(NULL_PEN));
}

TEST(Objects, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
    MemoryDc m;
    HBITMAP bitmap = CreateCompatibleBitmap(m.dc, 8, 8);
    EXPECT_EQ(describe(bitmap).bmBitsPixel, 1);
    DeleteObject(bitmap);
    HBITMAP empty = CreateCompatibleBitmap(m.dc, 0, 5);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(describe(empty).bmWidth, 1);
    EXPECT_EQ(describe(empty).bmHeight, 1);
}

TEST(Selection, ReturnsThePreviousObject) {
    MemoryDc m;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    EXPECT_EQ(SelectObject(m.dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(m.dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_PEN), pen);
    EXPECT_EQ(SelectObject(m.dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(SelectObject(m.dc, GetStockObject(WHITE_BRUSH)), brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(Selection, ABitmapGoesIntoOneContextAtATime) {
    MemoryDc first, second;
    HBITMAP bitmap = CreateCompatibleBitmap(first.dc, 4, 4);
    HGDIOBJ original = SelectObject(first.dc, bitmap);
    EXPECT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(second.dc, bitmap), nullptr);
    SelectObject(first.dc, original);
    EXPECT_NE(SelectObject(second.dc, bitmap), nullptr);
    DeleteDC(second.dc);
    second.dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Selection, DeletingASelectedObjectWaitsForItsRelease) {
    MemoryDc m;
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(9, 9, 9));
    SelectObject(m.dc, pen);
    EXPECT_TRUE(DeleteObject(pen));
    // Still the context's pen, and still described.
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_PEN), pen);
    LOGPEN description{};
    EXPECT_EQ(GetObjectA(pen, sizeof description, &description), 16);
    EXPECT_EQ(SelectObject(m.dc, GetStockObject(BLACK_PEN)), pen);
}

TEST(SavedStates, RestoreEveryAttributeAndSelection) {
    MemoryDc m;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
    EXPECT_EQ(SaveDC(m.dc), 1);
    SelectObject(m.dc, pen);
    SetTextColor(m.dc, RGB(10, 20, 30));
    SetBkColor(m.dc, RGB(40, 50, 60));
    SetBkMode(m.dc, TRANSPARENT);
    SetROP2(m.dc, R2_XORPEN);
    SetTextAlign(m.dc, TA_UPDATECP);
    SetStretchBltMode(m.dc, HALFTONE);
    MoveToEx(m.dc, 7, 8, nullptr);
    EXPECT_EQ(SaveDC(m.dc), 2);
    SetTextColor(m.dc, RGB(99, 99, 99));
    MoveToEx(m.dc, 1, 1, nullptr);
    EXPECT_TRUE(RestoreDC(m.dc, -1));
    EXPECT_EQ(GetTextColor(m.dc), RGB(10, 20, 30));
    POINT position{};
    GetCurrentPositionEx(m.dc, &position);
    EXPECT_EQ(position.x, 7);
    EXPECT_EQ(position.y, 8);
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetROP2(m.dc), R2_XORPEN);
    EXPECT_EQ(GetTextAlign(m.dc), (UINT)TA_UPDATECP);
    EXPECT_EQ(GetStretchBltMode(m.dc), HALFTONE);
    EXPECT_EQ(GetBkMode(m.dc), TRANSPARENT);
    EXPECT_EQ(GetBkColor(m.dc), RGB(40, 50, 60));
    EXPECT_TRUE(RestoreDC(m.dc, 1));
    EXPECT_EQ(GetCurrentObject(m.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetTextColor(m.dc), RGB(0, 0, 0));
    EXPECT_EQ(GetROP2(m.dc), R2_COPYPEN);
    EXPECT_FALSE(RestoreDC(m.dc, -1)); // nothing left to restore
    DeleteObject(pen);
}

TEST(SavedStates, AbsoluteLevelsDropLaterStates) {
    MemoryDc m;
    SaveDC(m.dc);
    SetROP2(m.dc, R2_NOT);
    SaveDC(m.dc);
    SetROP2(m.dc, R2_BLACK);
    SaveDC(m.dc);
    EXPECT_FALSE(RestoreDC(m.dc, 4));
    EXPECT_TRUE(RestoreDC(m.dc, 2));
    EXPECT_EQ(GetROP2(m.dc), R2_NOT);
    EXPECT_FALSE(RestoreDC(m.dc, 2));
    EXPECT_EQ(SaveDC(m.dc), 2);
}

TEST(Attributes, SettersReturnThePreviousValueAndRefuseBadOnes) {
    MemoryDc m;
    EXPECT_EQ(SetROP2(m.dc, R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(SetROP2(m.dc, 0), 0);
    EXPECT_EQ(SetROP2(m.dc, 17), 0);
    EXPECT_EQ(GetROP2(m.dc), R2_XORPEN);
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode)
        EXPECT_NE(SetROP2(m.dc, mode), 0) << mode;
    EXPECT_EQ(SetBkMode(m.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(m.dc, 3), 0);
    EXPECT_EQ(SetTextColor(m.dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetBkColor(m.dc, RGB(4, 5, 6)), RGB(255, 255, 255));
    POINT previous{};
    EXPECT_TRUE(MoveToEx(m.dc, -5, 9, &previous));
    EXPECT_TRUE(MoveToEx(m.dc, 0, 0, &previous));
    EXPECT_EQ(previous.x, -5);
    EXPECT_EQ(previous.y, 9);
}

TEST(BadHandles, FailWithWindowsValues) {
    MemoryDc m;
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    EXPECT_FALSE(DeleteDC(gone));
    EXPECT_EQ(SetTextColor(gone, 0), CLR_INVALID);
    EXPECT_EQ(GetBkMode(gone), 0);
    EXPECT_EQ(SelectObject(gone, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(SaveDC(gone), 0);
    EXPECT_FALSE(RestoreDC(gone, -1));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(pen);
    EXPECT_EQ(SelectObject(m.dc, pen), nullptr);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectA(pen, 0, nullptr), 0);
}

} // namespace
