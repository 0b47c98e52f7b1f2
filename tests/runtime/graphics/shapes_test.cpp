// Colours, shapes, lines and moves: the pixels they leave in the backing
// bitmap, on the screen when they return, and in the record.
#include "runtime/graphics/shapes.h"

#include "runtime/graphics/draw_target.h"
#include "runtime/graphics/text_output.h"
#include "tests/runtime/graphics/test_window.h"
#include "tests/support/bitmap_dc.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#ifndef _WIN32
#include <layer/gdi.h>
#endif

namespace {

using Shapes = GraphicsTest;

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF YELLOW = RGB(255, 255, 0);
constexpr COLORREF RED = RGB(255, 0, 0);

COLORREF pen_colour(HPEN pen) {
    LOGPEN description{};
    GetObjectA(pen, sizeof description, &description);
    return description.lopnColor;
}

TEST(ColorRGB, CombinesWithoutMaskingOrClamping) {
    EXPECT_EQ(colorRGB(0, 0, 255), 0xFF0000u);
    EXPECT_EQ(colorRGB(255, 255, 0), 0x00FFFFu);
    EXPECT_EQ(colorRGB(1, 2, 3), (uint32_t)RGB(1, 2, 3));
    EXPECT_EQ(colorRGB(256, 0, 0), 0x100u) << "red spills into green";
}

// What the platform's own Ellipse or Rectangle leaves with a pen of the
// outline colour and, when filled, a brush of the fill colour.
void reference_figure(BitmapDc* picture, bool ellipse, const RECT& box, COLORREF outline,
                      COLORREF fill, bool filled) {
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HBRUSH brush = filled ? CreateSolidBrush(fill) : (HBRUSH)GetStockObject(NULL_BRUSH);
    HGDIOBJ old_pen = SelectObject(picture->dc(), pen);
    HGDIOBJ old_brush = SelectObject(picture->dc(), brush);
    if (ellipse)
        Ellipse(picture->dc(), box.left, box.top, box.right, box.bottom);
    else
        Rectangle(picture->dc(), box.left, box.top, box.right, box.bottom);
    SelectObject(picture->dc(), old_pen);
    SelectObject(picture->dc(), old_brush);
    DeleteObject(pen);
    if (filled)
        DeleteObject(brush);
}

// Pixels where the window's bitmap differs from the reference, over the
// reference's area (both from the origin).
int differences(const TestWindow& window, const BitmapDc& reference) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, window.record.backBitmap);
    int differing = 0;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x) {
            uint32_t p = reference.pixel(x, y);
            differing += GetPixel(memory, x, y) != RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF);
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return differing;
}

TEST_F(Shapes, TheBallIsOnTheScreenWhenTheCallReturns) {
    window.open();
    setWindowColor(&record, BLUE);
    drawEllipse(&record, 100, 200, 10, 10, colorRGB(0, 0, 0), colorRGB(255, 255, 255));

    BitmapDc reference(130, 230);
    reference.fill(0x0000FF);
    reference_figure(&reference, true, {100, 200, 110, 210}, BLACK, WHITE, true);
    EXPECT_EQ(differences(window, reference), 0);
    EXPECT_EQ(window.bitmap_pixel(105, 205), WHITE);
    EXPECT_EQ(window.bitmap_pixel(100, 205), BLACK) << "the outline's left edge";
    EXPECT_EQ(window.bitmap_pixel(110, 205), BLUE) << "the right edge is excluded";
    EXPECT_EQ(window.bitmap_pixel(105, 210), BLUE) << "the bottom edge is excluded";
    EXPECT_EQ(window.screen_differences({95, 195, 115, 215}), 0);
    EXPECT_EQ(window.screen_pixel(105, 205), WHITE);
    EXPECT_EQ(pen_colour(record.pen), BLACK) << "the window's pen is unchanged";
    EXPECT_NE(record.pen, nullptr);
    EXPECT_EQ(record.curPos.x, 0) << "figures leave the position alone";
}

TEST_F(Shapes, OutlineAndFillMarkers) {
    window.open();
    setWindowColor(&record, BLUE);
    struct Case {
        const char* what;
        uint32_t colour, fill;
        COLORREF expected_outline;
    } cases[] = {
        {"foreground outline, fill ignored", COLOR_DEFAULT, RED, BLACK},
        {"coloured outline, no fill", YELLOW, COLOR_DEFAULT, YELLOW},
    };
    int left = 10;
    for (const Case& c : cases) {
        for (bool ellipse : {false, true}) {
            RECT box{left, 10, left + 20, 30};
            if (ellipse)
                drawEllipse(&record, box.left, 10, 20, 20, c.colour, c.fill);
            else
                drawRect(&record, box.left, 10, 20, 20, c.colour, c.fill);
            EXPECT_EQ(window.bitmap_pixel(left + 10, 20), BLUE) << c.what << ": hollow";
            EXPECT_EQ(window.bitmap_pixel(left, 20), c.expected_outline) << c.what;
            EXPECT_EQ(window.bitmap_count(box, RED), 0) << c.what;
            left += 30;
        }
    }
}

TEST_F(Shapes, FilledRectangleHasExactEdges) {
    window.open();
    drawRect(&record, 10, 20, 8, 6, YELLOW, RED);
    EXPECT_EQ(window.bitmap_count({0, 0, 40, 40}, YELLOW), 2 * 8 + 2 * 4) << "the outline";
    EXPECT_EQ(window.bitmap_count({0, 0, 40, 40}, RED), 6 * 4) << "the inside";
    EXPECT_EQ(window.bitmap_pixel(17, 25), YELLOW);
    EXPECT_EQ(window.bitmap_pixel(18, 25), WHITE);
    EXPECT_EQ(window.bitmap_pixel(17, 26), WHITE);
    EXPECT_EQ(window.screen_differences({5, 15, 25, 30}), 0);
}

TEST_F(Shapes, TheWindowsMixModeApplies) {
    window.open();
    record.drawMode = R2_XORPEN;
    drawRect(&record, 10, 10, 10, 10, RED, RED);
    EXPECT_EQ(window.bitmap_pixel(15, 15), RGB(0, 255, 255));
    drawRect(&record, 10, 10, 10, 10, RED, RED);
    EXPECT_EQ(window.bitmap_count({0, 0, 40, 40}, WHITE), 40 * 40) << "xor twice undoes it";
}

TEST_F(Shapes, WallLinesAndTheCurrentPosition) {
    window.open();
    drawLine(&record, 0, 50, 100, 50, colorRGB(255, 255, 0));
    EXPECT_EQ(window.bitmap_count({0, 50, 100, 51}, YELLOW), 100);
    EXPECT_EQ(window.bitmap_pixel(100, 50), WHITE) << "the end point is not drawn";
    EXPECT_EQ(window.bitmap_count({0, 0, 200, 100}, YELLOW), 100);
    EXPECT_EQ(record.curPos.x, 100);
    EXPECT_EQ(record.curPos.y, 50);
    EXPECT_EQ(window.screen_differences({0, 48, 110, 53}), 0);

    lineToPoint(&record, 100, 60, COLOR_DEFAULT);
    EXPECT_EQ(window.bitmap_count({100, 50, 101, 60}, BLACK), 10) << "foreground colour";
    EXPECT_EQ(record.curPos.y, 60);
    EXPECT_EQ(pen_colour(record.pen), BLACK);
}

TEST_F(Shapes, PenStyleAndWidthOfTheRecord) {
    window.open();
    record.penWidth = 3;
    drawLine(&record, 10, 50, 60, 50, RED);
    EXPECT_EQ(window.bitmap_pixel(30, 49), RED);
    EXPECT_EQ(window.bitmap_pixel(30, 51), RED);
    EXPECT_EQ(window.bitmap_pixel(30, 53), WHITE);
}

TEST_F(Shapes, WindowColourClearsTheWholePicture) {
    window.open();
    drawEllipse(&record, 100, 100, 10, 10, BLACK, WHITE);
    drawLine(&record, 0, 0, 600, 300, RED);
    setWindowColor(&record, colorRGB(0, 0, 255));
    EXPECT_EQ(record.windowColor, BLUE);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(window.bitmap_count({0, 0, width, height}, BLUE), width * height);
    RECT client;
    GetClientRect(record.hwnd, &client);
    EXPECT_EQ(window.screen_pixel(0, 0), BLUE);
    EXPECT_EQ(window.screen_pixel(105, 105), BLUE);
    EXPECT_EQ(window.screen_pixel(client.right - 1, client.bottom - 1), BLUE);
}

TEST_F(Shapes, WindowColourWithoutBackingShowsAtTheNextRepaint) {
    window.open(0);
    setWindowColor(&record, BLUE);
    EXPECT_EQ(record.windowColor, BLUE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(record.hwnd, &update, FALSE)) << "the client area is invalid";
    UpdateWindow(record.hwnd);
    EXPECT_EQ(window.screen_pixel(20, 20), BLUE);
}

// Everything a statement can do to a window, on a record that is closed.
void every_statement(WindowRecord* record) {
    setWindowColor(record, BLUE);
    drawRect(record, 0, 0, 10, 10, RED, RED);
    drawEllipse(record, 0, 0, 10, 10, COLOR_DEFAULT, RED);
    drawLine(record, 0, 0, 10, 10, RED);
    lineToPoint(record, 5, 5, COLOR_DEFAULT);
    moveToPoint(record, 5, 5);
    printItems(3, PRINT_TARGET, record, PRINT_TEXT, "text", PRINT_INT32, 5);
    printItems(1, PRINT_TEXT, "more");
    EXPECT_EQ(acquireDrawTarget(record), nullptr);
    EXPECT_EQ(releaseDrawTarget(record, nullptr, 1), 0);
}

TEST_F(Shapes, ClosedRecordIsLeftAlone) {
    window.open();
    HDC held = acquireDrawTarget(&record);
    WindowRecord closed = record;
    closed.hwnd = nullptr;
    closed.drawNesting = 1;
    closed.drawDC = held;
    WindowRecord before = closed;
#ifndef _WIN32
    UINT counts[5];
    const DWORD types[5] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_MEMDC};
    for (int i = 0; i < 5; ++i)
        counts[i] = layer_gdi_object_count(types[i]);
#endif
    every_statement(&closed);
    EXPECT_EQ(memcmp(&closed, &before, sizeof closed), 0) << "the record is unchanged";
#ifndef _WIN32
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(layer_gdi_object_count(types[i]), counts[i]) << "objects of type " << types[i];
#endif
    releaseDrawTarget(&record, held, 1);
    EXPECT_EQ(window.bitmap_count({0, 0, 20, 20}, WHITE), 400) << "nothing was drawn";
}

} // namespace
