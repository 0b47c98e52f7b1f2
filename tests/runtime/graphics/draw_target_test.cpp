// The drawing target: state installed from the record and read back into
// it, nesting, the erase context, and what reaches the screen.
#include "runtime/graphics/draw_target.h"

#include "runtime/graphics/shapes.h"
#include "tests/runtime/graphics/test_window.h"
#include "tests/support/bitmap_dc.h"
#include "tests/support/message_log.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using DrawTarget = GraphicsTest;

COLORREF pen_colour(HPEN pen) {
    LOGPEN description{};
    GetObjectA(pen, sizeof description, &description);
    return description.lopnColor;
}

TEST_F(DrawTarget, AcquireInstallsTheRecordsState) {
    window.open();
    DeleteObject(record.pen);
    record.pen = CreatePen(PS_SOLID, 1, RGB(200, 10, 20));
    record.curPos = {5, 7};
    record.bkMode = TRANSPARENT;
    record.bkColor = RGB(1, 2, 3);
    record.drawMode = R2_XORPEN;

    HDC dc = acquireDrawTarget(&record);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(record.drawDC, dc);
    EXPECT_EQ(record.drawNesting, 1);
    POINT at;
    GetCurrentPositionEx(dc, &at);
    EXPECT_EQ(at.x, 5);
    EXPECT_EQ(at.y, 7);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), (HGDIOBJ)record.backBitmap);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), (HGDIOBJ)record.pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), (HGDIOBJ)record.font);
    EXPECT_EQ(GetTextColor(dc), RGB(200, 10, 20)) << "the pen's colour is the text colour";
    EXPECT_EQ(GetTextAlign(dc) & TA_UPDATECP, (UINT)TA_UPDATECP);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    releaseDrawTarget(&record, dc, 1);
}

TEST_F(DrawTarget, OutermostReleaseReadsTheStateBack) {
    window.open();
    LOGFONTA font_before{};
    GetObjectA(record.font, sizeof font_before, &font_before);
    HDC dc = acquireDrawTarget(&record);
    MoveToEx(dc, 20, 30, nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, RGB(0, 0, 255));
    SetROP2(dc, R2_NOT);
    // The context's pen at release becomes the window's pen.
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(dc, red);
    EXPECT_EQ(releaseDrawTarget(&record, dc, 1), 0);
    DeleteObject(red);

    EXPECT_EQ(record.drawDC, nullptr);
    EXPECT_EQ(record.drawNesting, 0);
    EXPECT_EQ(record.curPos.x, 20);
    EXPECT_EQ(record.curPos.y, 30);
    EXPECT_EQ(record.bkMode, TRANSPARENT);
    EXPECT_EQ(record.bkColor, RGB(0, 0, 255));
    EXPECT_EQ(record.drawMode, R2_NOT);
    EXPECT_EQ(pen_colour(record.pen), RGB(255, 0, 0));
    LOGFONTA font_after{};
    ASSERT_NE(GetObjectA(record.font, sizeof font_after, &font_after), 0);
    EXPECT_EQ(font_after.lfHeight, font_before.lfHeight);
    EXPECT_STREQ(font_after.lfFaceName, font_before.lfFaceName);

    // The bitmap is free again: another context can take it.
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(other, record.backBitmap);
    EXPECT_NE(previous, nullptr) << "the backing bitmap is still selected somewhere";
    SelectObject(other, previous);
    DeleteDC(other);
}

TEST_F(DrawTarget, RepeatedOperationsKeepTheObjectCountSteady) {
    window.open();
    drawEllipse(&record, 10, 10, 10, 10, 0, 0xFFFFFF);
    HDC probe = acquireDrawTarget(&record);
    releaseDrawTarget(&record, probe, 1);
#ifndef _WIN32
    UINT pens = layer_gdi_object_count(OBJ_PEN), fonts = layer_gdi_object_count(OBJ_FONT);
    UINT brushes = layer_gdi_object_count(OBJ_BRUSH), dcs = layer_gdi_object_count(OBJ_MEMDC);
#endif
    for (int i = 0; i < 50; ++i) {
        drawEllipse(&record, i, i, 10, 10, 0, 0xFFFFFF);
        drawLine(&record, 0, i, 100, i, 0x00FFFF);
    }
    EXPECT_NE(GetObjectA(record.pen, sizeof(LOGPEN), nullptr), 0) << "the pen is alive";
#ifndef _WIN32
    EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), pens);
    EXPECT_EQ(layer_gdi_object_count(OBJ_FONT), fonts);
    EXPECT_EQ(layer_gdi_object_count(OBJ_BRUSH), brushes);
    EXPECT_EQ(layer_gdi_object_count(OBJ_MEMDC), dcs);
#endif
}

TEST_F(DrawTarget, NestedAcquireSharesTheContextAndPushesWhatIsDrawn) {
    window.open();
    HDC outer = acquireDrawTarget(&record);
    HDC inner = acquireDrawTarget(&record);
    EXPECT_EQ(inner, outer);
    EXPECT_EQ(record.drawNesting, 2);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT first{10, 10, 20, 20};
    FillRect(inner, &first, red);
    releaseDrawTarget(&record, inner, 1);
    EXPECT_EQ(record.drawNesting, 1);
    EXPECT_EQ(record.drawDC, outer) << "the context stays out";
    EXPECT_EQ(window.screen_pixel(15, 15), RGB(255, 0, 0)) << "the inner release shows it";

    RECT second{30, 10, 40, 20};
    FillRect(outer, &second, red);
    DeleteObject(red);
    EXPECT_NE(window.screen_pixel(35, 15), RGB(255, 0, 0));
    releaseDrawTarget(&record, outer, 1);
    EXPECT_EQ(record.drawNesting, 0);
    EXPECT_EQ(window.screen_pixel(35, 15), RGB(255, 0, 0)) << "the outer release shows the rest";
}

TEST_F(DrawTarget, EraseContextIsUsedAsItIs) {
    window.open();
    BitmapDc erase(64, 64);
    erase.fill(0xFFFFFF);
    record.paintDC = erase.dc();
    HPEN pen_before = record.pen;

    EXPECT_EQ(acquireDrawTarget(&record), erase.dc());
    EXPECT_EQ(record.drawNesting, 0) << "nothing is counted";
    EXPECT_EQ(releaseDrawTarget(&record, erase.dc(), 1), 0);
    drawLine(&record, 0, 5, 20, 5, RGB(0, 0, 255));

    EXPECT_EQ(erase.pixel(3, 5), 0x0000FFu) << "the line went into the erase context";
    EXPECT_EQ(window.bitmap_pixel(3, 5), RGB(255, 255, 255)) << "and not into the bitmap";
    EXPECT_EQ(record.curPos.x, 0);
    EXPECT_EQ(record.curPos.y, 0);
    EXPECT_EQ(record.pen, pen_before);
    record.paintDC = nullptr;
}

TEST_F(DrawTarget, MoveAloneRepaintsNothing) {
    window.open();
    moveToPoint(&record, 40, 50);
    EXPECT_EQ(record.curPos.x, 40);
    EXPECT_EQ(record.curPos.y, 50);
    EXPECT_EQ(window.paints, 0);
}

TEST_F(DrawTarget, OnlyTheTouchedRectangleIsRepainted) {
    window.open();
    drawRect(&record, 10, 20, 30, 5, 0, 0);
    EXPECT_EQ(window.paints, 1);
    EXPECT_EQ(window.painted.left, 10);
    EXPECT_EQ(window.painted.top, 20);
    EXPECT_EQ(window.painted.right, 40);
    EXPECT_EQ(window.painted.bottom, 25);
}

TEST_F(DrawTarget, WithoutBackingBitmapDrawingLandsOnTheWindow) {
    window.open(0);
    drawRect(&record, 10, 10, 20, 20, RGB(255, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(window.screen_pixel(15, 15), RGB(255, 0, 0));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(record.hwnd, &update, FALSE)) << "nothing is invalidated";
    EXPECT_EQ(window.paints, 0);
}

TEST_F(DrawTarget, StretchedBitmapMapsTheTouchedRectangle) {
    RECT client;
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, 100, 100);
    GetClientRect(record.hwnd, &client);
    window.close();
    // A bitmap of half the client's size: its pixels show twice as large.
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, client.right / 2, client.bottom / 2);
    drawRect(&record, 10, 10, 10, 10, 0, 0);
    EXPECT_EQ(window.painted.left, 19);
    EXPECT_EQ(window.painted.top, 19);
    EXPECT_EQ(window.painted.right, 42);
    EXPECT_EQ(window.painted.bottom, 42);
}

TEST_F(DrawTarget, StretchedBitmapOfTheClientsSizeIsNotMapped) {
    RECT client;
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, 100, 100);
    GetClientRect(record.hwnd, &client);
    window.close();
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, client.right, client.bottom);
    drawRect(&record, 10, 10, 10, 10, 0, 0);
    EXPECT_EQ(window.painted.left, 10);
    EXPECT_EQ(window.painted.right, 20);
}

// A paint that arrives while a drawing operation holds the bitmap shows what
// was drawn since the last such paint, not the update rectangle.
TEST_F(DrawTarget, PaintWhileHeldCopiesOnlyWhatWasDrawn) {
    window.open();
    HDC held = acquireDrawTarget(&record);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT drawn{10, 10, 20, 20};
    FillRect(held, &drawn, red);
    InvalidateRect(record.hwnd, nullptr, FALSE);
    UpdateWindow(record.hwnd);
    EXPECT_EQ(window.screen_pixel(15, 15), RGB(255, 0, 0));

    // Drawn with bounds switched off: invisible to the next paint, whatever
    // it is asked to update.
    SetBoundsRect(held, nullptr, DCB_DISABLE);
    RECT hidden{40, 10, 50, 20};
    FillRect(held, &hidden, red);
    SetBoundsRect(held, nullptr, DCB_ENABLE);
    InvalidateRect(record.hwnd, &hidden, FALSE);
    UpdateWindow(record.hwnd);
    EXPECT_EQ(window.screen_pixel(45, 15), RGB(255, 255, 255)) << "empty bounds copy nothing";
    DeleteObject(red);
    releaseDrawTarget(&record, held, 0);
}

// In stretch mode the held bitmap is shown whole, scaled to the client area.
TEST_F(DrawTarget, StretchedPaintWhileHeldShowsTheWholeBitmap) {
    RECT client;
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, 100, 100);
    GetClientRect(record.hwnd, &client);
    window.close();
    window.open(1 | BACKING_STRETCH, 0, 0, 640, 368, client.right / 2, client.bottom / 2);
    HDC held = acquireDrawTarget(&record);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT drawn{10, 10, 20, 20};
    FillRect(held, &drawn, red);
    DeleteObject(red);
    InvalidateRect(record.hwnd, nullptr, FALSE);
    UpdateWindow(record.hwnd);
    EXPECT_EQ(window.screen_pixel(30, 30), RGB(255, 0, 0)) << "bitmap (15, 15), doubled";
    EXPECT_EQ(window.screen_pixel(15, 15), RGB(255, 255, 255));
    EXPECT_EQ(window.screen_pixel(45, 15), RGB(255, 255, 255));
    releaseDrawTarget(&record, held, 0);
}

// A visible child window keeps its own pixels when its parent repaints
// over it from the bitmap.
LRESULT CALLBACK green_child_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ERASEBKGND) {
        RECT box;
        GetClientRect(window, &box);
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect((HDC)wparam, &box, green);
        DeleteObject(green);
        return 1;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(DrawTarget, PaintNeverOverdrawsAVisibleChild) {
    window.open();
    register_test_class("ZandrelGreenChild", green_child_proc);
    HWND child = CreateWindowExA(0, "ZandrelGreenChild", "", WS_CHILD | WS_VISIBLE, 20, 20, 30, 30,
                                 record.hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    UpdateWindow(child);
    RECT everything{0, 0, 200, 200};
    HDC held = acquireDrawTarget(&record);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(held, &everything, red);
    DeleteObject(red);
    releaseDrawTarget(&record, held, 0);
    // The parent alone is invalidated and painted; its style does not clip children.
    ASSERT_EQ(GetWindowLongA(record.hwnd, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    InvalidateRect(record.hwnd, nullptr, FALSE);
    UpdateWindow(record.hwnd);
    HDC dc = GetDC(child);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 29, 29), RGB(0, 255, 0));
    ReleaseDC(child, dc);
    EXPECT_EQ(window.screen_pixel(19, 19), RGB(255, 0, 0)) << "around the child it painted";
    EXPECT_EQ(window.screen_pixel(50, 50), RGB(255, 0, 0));
    DestroyWindow(child);
}

TEST(BitmapToClient, ScalesAndWidensByOne) {
    RECT doubled = mapBitmapToClient({10, 10, 20, 20}, 640, 368, 1280, 736);
    EXPECT_EQ(doubled.left, 19);
    EXPECT_EQ(doubled.top, 19);
    EXPECT_EQ(doubled.right, 42);
    EXPECT_EQ(doubled.bottom, 42);
    // Scale 1.5: halves round to even (4.5 to 4, 7.5 to 8, 11.5 to 12).
    RECT half_again = mapBitmapToClient({3, 5, 7, 9}, 100, 100, 150, 150);
    EXPECT_EQ(half_again.left, 3);
    EXPECT_EQ(half_again.top, 7);
    EXPECT_EQ(half_again.right, 12);
    EXPECT_EQ(half_again.bottom, 16);
    RECT same = mapBitmapToClient({3, 5, 7, 9}, 100, 100, 100, 100);
    EXPECT_EQ(same.left, 3);
    EXPECT_EQ(same.bottom, 9);
    // A bitmap without size has no scale; the rectangle stays.
    RECT unsized = mapBitmapToClient({3, 5, 7, 9}, 0, 0, 100, 100);
    EXPECT_EQ(unsized.left, 3);
    EXPECT_EQ(unsized.right, 7);
}

TEST_F(DrawTarget, SizeQueries) {
    int32_t width = -1, height = -1;
    getBackBitmapSize(nullptr, &width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 37, 11);
    ReleaseDC(nullptr, screen);
    getBackBitmapSize(bitmap, &width, &height);
    EXPECT_EQ(width, 37);
    EXPECT_EQ(height, 11);
    DeleteObject(bitmap);
    width = height = -1;
    getBackBitmapSize(bitmap, &width, &height);
    EXPECT_EQ(width, 0) << "a deleted bitmap has no size";
    EXPECT_EQ(height, 0);

    int32_t left = -1, top = -1;
    getClientSize(&record, &left, &top, &width, &height);
    EXPECT_EQ(left | top | width | height, 0) << "a closed record";
    window.open();
    RECT client;
    GetClientRect(record.hwnd, &client);
    getClientSize(&record, &left, &top, &width, &height);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height, client.bottom);
    EXPECT_LT(width, 640) << "the client area, not the window";
}

TEST_F(DrawTarget, NullContextAtTheOutermostReleaseClearsTheCount) {
    window.open();
    HDC dc = acquireDrawTarget(&record);
    releaseDrawTarget(&record, nullptr, 1);
    EXPECT_EQ(record.drawNesting, 0);
    EXPECT_EQ(record.drawDC, nullptr);
    // The abandoned context is the caller's mistake; put it away here.
    RestoreDC(dc, -1);
    DeleteDC(dc);
}

} // namespace
