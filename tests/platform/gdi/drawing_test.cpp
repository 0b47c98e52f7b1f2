// Drawing through a context: pens, brushes, mix modes, blits and the bounds
// they leave, checked the same way on Windows (under Wine) and on the layer.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"
#include "tests/support/platform_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr uint32_t BLUE = 0x0000FF;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0x000000;

RECT take_bounds(HDC dc) {
    RECT bounds{};
    GetBoundsRect(dc, &bounds, DCB_RESET);
    return bounds;
}

// Rows of the picture in `box`: '#' for `ink`, '.' for `background`, '?'
// for anything else.
std::string picture(const BitmapDc& m, RECT box, uint32_t ink, uint32_t background) {
    std::string rows;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            uint32_t p = m.pixel(x, y);
            rows += p == ink ? '#' : p == background ? '.' : '?';
        }
        rows += '\n';
    }
    return rows;
}

class Drawing : public ::testing::Test {
  protected:
    BitmapDc m{64, 48};
    void SetUp() override {
        m.fill(BLUE);
        SetBoundsRect(m.dc(), nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    }
};

TEST_F(Drawing, RectangleOutlineInsideTheBoxAndBrushWithin) {
    EXPECT_TRUE(Rectangle(m.dc(), 10, 10, 20, 16));
    EXPECT_EQ(picture(m, {9, 9, 21, 17}, BLACK, BLUE), "............\n"
                                                       ".##########.\n"
                                                       ".#????????#.\n"
                                                       ".#????????#.\n"
                                                       ".#????????#.\n"
                                                       ".#????????#.\n"
                                                       ".##########.\n"
                                                       "............\n");
    EXPECT_EQ(m.count(WHITE, {11, 11, 19, 15}), 32);
    expect_rect(take_bounds(m.dc()), {10, 10, 20, 16}, "rectangle");
}

TEST_F(Drawing, TenByTenEllipseAsWindowsDrawsIt) {
    SelectObject(m.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(Ellipse(m.dc(), 100 - 90, 20, 110 - 90, 30));
    EXPECT_EQ(picture(m, {10, 20, 20, 30}, BLACK, BLUE), "...####...\n"
                                                         "..#....#..\n"
                                                         ".#......#.\n"
                                                         "#........#\n"
                                                         "#........#\n"
                                                         "#........#\n"
                                                         "#........#\n"
                                                         ".#......#.\n"
                                                         "..#....#..\n"
                                                         "...####...\n");
    expect_rect(take_bounds(m.dc()), {10, 20, 20, 30}, "ellipse");
}

TEST_F(Drawing, BallOfTheGameWhiteInsideBlackOutline) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ old_pen = SelectObject(m.dc(), pen);
    HGDIOBJ old_brush = SelectObject(m.dc(), brush);
    Ellipse(m.dc(), 30, 30, 40, 40);
    EXPECT_EQ(picture(m, {30, 30, 40, 40}, BLACK, BLUE), "...####...\n"
                                                         "..#????#..\n"
                                                         ".#??????#.\n"
                                                         "#????????#\n"
                                                         "#????????#\n"
                                                         "#????????#\n"
                                                         "#????????#\n"
                                                         ".#??????#.\n"
                                                         "..#????#..\n"
                                                         "...####...\n");
    EXPECT_EQ(m.count(WHITE, {30, 30, 40, 40}), 52);
    SelectObject(m.dc(), old_pen);
    SelectObject(m.dc(), old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST_F(Drawing, LineToLeavesItsEndPointAndMovesThePosition) {
    MoveToEx(m.dc(), 5, 5, nullptr);
    EXPECT_TRUE(LineTo(m.dc(), 12, 8));
    EXPECT_EQ(picture(m, {5, 5, 13, 9}, BLACK, BLUE), "##......\n"
                                                      "..##....\n"
                                                      "....##..\n"
                                                      "......#.\n");
    POINT position{};
    GetCurrentPositionEx(m.dc(), &position);
    EXPECT_EQ(position.x, 12);
    EXPECT_EQ(position.y, 8);
    // The bounds of a line take in its end point, though it is not drawn.
    expect_rect(take_bounds(m.dc()), {5, 5, 13, 9}, "line");
}

TEST_F(Drawing, WidePenLinesHaveRoundEnds) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(m.dc(), pen);
    MoveToEx(m.dc(), 10, 10, nullptr);
    LineTo(m.dc(), 20, 10);
    RECT changed = m.extent_of_changes(BLUE);
    EXPECT_EQ(changed.top, 9);
    EXPECT_EQ(changed.bottom, 12);
    EXPECT_LE(changed.left, 9);
    EXPECT_GE(changed.right, 21);
    // Bounds of wide pens grow by half the width and one more pixel.
    expect_rect(take_bounds(m.dc()), {7, 7, 24, 14}, "wide line");
    SelectObject(m.dc(), old);
    DeleteObject(pen);
}

TEST_F(Drawing, EveryMixModeOnAKnownBackground) {
    const uint32_t d = 0x5A3CF0; // the destination pixel
    const COLORREF pen_color = RGB(0x0F, 0x33, 0xAA);
    const uint32_t p = 0x0F33AA;
    const uint32_t expected[16] = {0,     ~(d | p), d & ~p, ~p,       p & ~d, ~d,
                                   d ^ p, ~(d & p), d & p,  ~(d ^ p), d,      d | ~p,
                                   p,     p | ~d,   d | p,  0xFFFFFF};
    HPEN pen = CreatePen(PS_SOLID, 1, pen_color);
    HGDIOBJ old = SelectObject(m.dc(), pen);
    m.fill(d);
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
        SetROP2(m.dc(), mode);
        MoveToEx(m.dc(), mode, 0, nullptr);
        LineTo(m.dc(), mode, 1);
        EXPECT_EQ(m.pixel(mode, 0), expected[mode - 1] & 0xFFFFFF) << "mix mode " << mode;
    }
    SelectObject(m.dc(), old);
    DeleteObject(pen);
}

TEST_F(Drawing, PatBltPaintsWithTheBrush) {
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 0));
    HGDIOBJ old = SelectObject(m.dc(), brush);
    EXPECT_TRUE(PatBlt(m.dc(), 4, 6, 10, 2, PATCOPY));
    EXPECT_EQ(m.count(0xFFFF00, {4, 6, 14, 8}), 20);
    expect_rect(m.extent_of_changes(BLUE), {4, 6, 14, 8}, "patcopy");
    expect_rect(take_bounds(m.dc()), {4, 6, 14, 8}, "patcopy bounds");
    // Negative sizes reach back from the pixel after the corner.
    EXPECT_TRUE(PatBlt(m.dc(), 13, 7, -10, -2, DSTINVERT));
    EXPECT_EQ(m.count(0x0000FF, {4, 6, 14, 8}), 20);
    SelectObject(m.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(m.dc(), 0, 0, 64, 48, PATCOPY));
    EXPECT_EQ(m.count(BLUE, {0, 0, 64, 48}), 64 * 48); // inverted yellow is blue
    SelectObject(m.dc(), old);
    DeleteObject(brush);
}

TEST_F(Drawing, BoundsOfWidePenShapesAndClippedLines) {
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(m.dc(), pen);
    Rectangle(m.dc(), 20, 20, 30, 26);
    expect_rect(take_bounds(m.dc()), {16, 16, 34, 30}, "wide rectangle");
    Ellipse(m.dc(), 20, 20, 30, 30);
    expect_rect(take_bounds(m.dc()), {16, 16, 34, 34}, "wide ellipse");
    SelectObject(m.dc(), GetStockObject(NULL_PEN));
    Ellipse(m.dc(), 20, 20, 30, 30);
    expect_rect(take_bounds(m.dc()), {20, 20, 30, 30}, "ellipse without pen");
    SelectObject(m.dc(), old);
    DeleteObject(pen);
    MoveToEx(m.dc(), -10, 5, nullptr);
    LineTo(m.dc(), 10, 5);
    expect_rect(take_bounds(m.dc()), {0, 5, 11, 6}, "line off the left edge");
    IntersectClipRect(m.dc(), 0, 0, 30, 30);
    MoveToEx(m.dc(), 40, 40, nullptr);
    LineTo(m.dc(), 50, 50);
    RECT bounds{};
    EXPECT_EQ(GetBoundsRect(m.dc(), &bounds, DCB_RESET), (UINT)DCB_RESET);
}

// Bounds are cut to the bitmap only as they are read, one edge at a time:
// a line wholly to the right of the bitmap reads back to front.
TEST_F(Drawing, BoundsOutsideTheBitmapStillCount) {
    MoveToEx(m.dc(), 70, 2, nullptr);
    LineTo(m.dc(), 80, 10);
    RECT bounds{};
    EXPECT_EQ(GetBoundsRect(m.dc(), &bounds, DCB_RESET), (UINT)DCB_SET);
    expect_rect(bounds, {70, 2, 64, 11}, "outside");
}

TEST_F(Drawing, ShapesClipToTheClipRegion) {
    ExcludeClipRect(m.dc(), 0, 0, 15, 48);
    SelectObject(m.dc(), GetStockObject(BLACK_BRUSH));
    Rectangle(m.dc(), 10, 10, 20, 20);
    expect_rect(m.extent_of_changes(BLUE), {15, 10, 20, 20}, "clipped");
    expect_rect(take_bounds(m.dc()), {15, 10, 20, 20}, "clipped bounds");
}

TEST(Blits, BitBltCopiesAndClipsToTheSource) {
    BitmapDc source(8, 8), target(32, 32);
    source.fill(0x112233);
    target.fill(BLUE);
    SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
    SetBoundsRect(target.dc(), nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    EXPECT_TRUE(BitBlt(target.dc(), 10, 12, 8, 8, source.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(target.pixel(10, 12), 0xFF0000u);
    EXPECT_EQ(target.count(0x112233, {10, 12, 18, 20}), 63);
    expect_rect(take_bounds(target.dc()), {10, 12, 18, 20}, "bitblt");
    EXPECT_TRUE(BitBlt(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, SRCINVERT));
    EXPECT_EQ(target.pixel(0, 0), 0xFF00FFu);
}

TEST(Blits, ScrollWithinOneBitmap) {
    BitmapDc m(16, 4);
    m.fill(BLUE);
    for (int x = 0; x < 16; ++x)
        SetPixel(m.dc(), x, 0, RGB(x, 0, 0));
    EXPECT_TRUE(BitBlt(m.dc(), 1, 0, 15, 1, m.dc(), 0, 0, SRCCOPY));
    for (int x = 1; x < 16; ++x)
        EXPECT_EQ(m.pixel(x, 0), (uint32_t)(x - 1) << 16) << x;
}

// A picture whose every pixel differs from every other, so that a pixel
// copied from the wrong place shows.
uint32_t pattern_pixel(int x, int y) {
    return (uint32_t)(x * 10) << 16 | (uint32_t)(y * 10) << 8 | 0x63;
}

void paint_pattern(const BitmapDc& m) {
    for (int y = 0; y < m.height(); ++y) {
        for (int x = 0; x < m.width(); ++x)
            SetPixel(m.dc(), x, y, RGB(x * 10, y * 10, 0x63));
    }
}

bool inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A copy that lands in several pieces of a clip region, for each raster
// operation: each piece gets the source pixels at the same offset, the
// rest of the destination keeps its own.
TEST(Blits, OneToOneCopyLandsOnlyInsideTheClipRegion) {
    struct Case {
        const char* name;
        DWORD rop;
        uint32_t (*result)(uint32_t destination, uint32_t source);
    };
    static const Case CASES[] = {
        {"SRCCOPY", SRCCOPY, [](uint32_t, uint32_t s) { return s; }},
        {"SRCPAINT", SRCPAINT, [](uint32_t d, uint32_t s) { return d | s; }},
        {"SRCAND", SRCAND, [](uint32_t d, uint32_t s) { return d & s; }},
        {"SRCINVERT", SRCINVERT, [](uint32_t d, uint32_t s) { return d ^ s; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](uint32_t, uint32_t s) { return ~s & 0xFFFFFF; }},
    };
    const RECT destination{10, 10, 22, 22};
    for (const Case& c : CASES) {
        BitmapDc source(16, 16), target(32, 32);
        paint_pattern(source);
        target.fill(0x4080C0);
        ExcludeClipRect(target.dc(), 14, 0, 16, 32);
        ExcludeClipRect(target.dc(), 0, 17, 32, 19);
        IntersectClipRect(target.dc(), 0, 0, 32, 20);
        SetBoundsRect(target.dc(), nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
        EXPECT_TRUE(BitBlt(target.dc(), 10, 10, 12, 12, source.dc(), 3, 2, c.rop));
        int wrong = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                bool clipped = (x >= 14 && x < 16) || (y >= 17 && y < 19) || y >= 20;
                uint32_t expected = inside(destination, x, y) && !clipped
                                        ? c.result(0x4080C0, pattern_pixel(x - 7, y - 8))
                                        : 0x4080C0;
                wrong += target.pixel(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
        expect_rect(take_bounds(target.dc()), {10, 10, 22, 20}, c.name);
    }
}

// Copies within one bitmap, in every direction and through a clip region
// that splits them: every source pixel is read before it is overwritten.
TEST(Blits, OverlappingCopyReadsEverySourcePixelFirst) {
    struct Shift {
        const char* name;
        int dx;
        int dy;
    };
    static const Shift SHIFTS[] = {
        {"right", 3, 0}, {"left", -3, 0},          {"down", 0, 3},
        {"up", 0, -3},   {"down and right", 2, 3}, {"up and left", -2, -3},
    };
    const RECT hole{6, 6, 8, 8};
    for (const Shift& s : SHIFTS) {
        BitmapDc m(14, 14);
        paint_pattern(m);
        ExcludeClipRect(m.dc(), hole.left, hole.top, hole.right, hole.bottom);
        EXPECT_TRUE(BitBlt(m.dc(), 3 + s.dx, 3 + s.dy, 8, 8, m.dc(), 3, 3, SRCCOPY));
        const RECT moved{3 + s.dx, 3 + s.dy, 11 + s.dx, 11 + s.dy};
        int wrong = 0;
        for (int y = 0; y < 14; ++y) {
            for (int x = 0; x < 14; ++x) {
                bool copied = inside(moved, x, y) && !inside(hole, x, y);
                uint32_t expected =
                    copied ? pattern_pixel(x - s.dx, y - s.dy) : pattern_pixel(x, y);
                wrong += m.pixel(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << s.name;
    }
}

TEST(Blits, StretchEnlargesByRepeatingPixels) {
    BitmapDc source(2, 1), target(8, 4);
    SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(source.dc(), 1, 0, RGB(0, 255, 0));
    SetStretchBltMode(target.dc(), COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 4, source.dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(target.count(0xFF0000, {0, 0, 4, 4}), 16);
    EXPECT_EQ(target.count(0x00FF00, {4, 0, 8, 4}), 16);
}

// Windows' HALFTONE shrink averages the source pixels that fall into each
// destination pixel. Wine 8 samples bilinearly instead and does not average.
TEST(Blits, HalftoneShrinkAveragesEachBlock) {
    if (running_under_wine())
        GTEST_SKIP() << "Wine 8 does not average when shrinking with HALFTONE";
    BitmapDc source(4, 2), target(2, 1);
    for (int x = 0; x < 4; ++x) {
        SetPixel(source.dc(), x, 0, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        SetPixel(source.dc(), x, 1, x < 2 ? RGB(200, 100, 0) : RGB(0, 0, 40));
    }
    SetStretchBltMode(target.dc(), HALFTONE);
    EXPECT_TRUE(StretchBlt(target.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(target.pixel(0, 0), (uint32_t)(164 << 16 | 114 << 8 | 64));
    EXPECT_EQ(target.pixel(1, 0), (uint32_t)(64 << 16 | 64 << 8 | 84));
}

} // namespace
