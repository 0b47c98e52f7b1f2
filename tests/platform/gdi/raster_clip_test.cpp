// Clipping, the touched bounds, surfaces with padded rows, coordinates far
// outside the surface, and a few small pictures to read.
#include "platform/gdi/raster.h"

#include <layer/kernel.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

constexpr uint32_t WHITE = 0x00FFFFFF;
constexpr uint32_t PEN = 0x00FF0000;
constexpr uint32_t BRUSH = 0x0000FF00;

using Draw = std::function<void(Surface*, const Clip*, RECT*)>;

struct Canvas {
    std::vector<uint32_t> pixels;
    Surface surface;
    std::vector<RECT> rects;
    Clip clip;

    Canvas(int32_t width, int32_t height, std::vector<RECT> clip_rects = {})
        : pixels((size_t)width * height, WHITE), rects(std::move(clip_rects)) {
        surface = {pixels.data(), width, height, width};
        if (rects.empty())
            rects.push_back({0, 0, width, height});
        clip = {rects.data(), (int32_t)rects.size()};
    }
    uint32_t at(int32_t x, int32_t y) const { return pixels[(size_t)y * surface.width + x]; }
    bool clipped_in(int32_t x, int32_t y) const {
        for (const RECT& r : rects)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                return true;
        return false;
    }
    // '.' untouched, '#' pen, 'o' brush.
    std::string picture() const {
        std::string out;
        for (int32_t y = 0; y < surface.height; ++y) {
            for (int32_t x = 0; x < surface.width; ++x)
                out += at(x, y) == WHITE ? '.' : at(x, y) == PEN ? '#' : 'o';
            out += '\n';
        }
        return out;
    }
};

std::string rows(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + '\n';
    return out;
}

// A region split into bands, as a device context hands it over.
const std::vector<RECT> BANDED_CLIP = {
    {10, 5, 30, 20}, {10, 20, 30, 25}, {35, 20, 50, 25}, {35, 25, 50, 60}, {3, 62, 90, 70}};

struct Shape {
    const char* name;
    Draw draw;
};

std::vector<Shape> assorted_shapes() {
    std::vector<Shape> shapes;
    static const RECT LINES[] = {{0, 0, 95, 61}, {95, 61, 0, 0},     {5, 90, 60, 3},
                                 {60, 3, 5, 90}, {-40, 30, 140, 31}, {20, -50, 21, 150},
                                 {31, 0, 33, 95}};
    for (const RECT& l : LINES) {
        shapes.push_back(
            {"line", [l](Surface* s, const Clip* c, RECT* t) {
                 raster_line(s, c, {l.left, l.top}, {l.right, l.bottom}, PEN, R2_COPYPEN, t);
             }});
        shapes.push_back({"wide line", [l](Surface* s, const Clip* c, RECT* t) {
                              raster_wide_line(s, c, {l.left, l.top}, {l.right, l.bottom}, 5, PEN,
                                               R2_COPYPEN, t);
                          }});
    }
    static const RECT BOXES[] = {{8, 4, 70, 66}, {-10, 15, 45, 80}, {33, 2, 36, 90}};
    for (const RECT& b : BOXES)
        for (int32_t width : {1, 4}) {
            shapes.push_back(
                {"rectangle", [b, width](Surface* s, const Clip* c, RECT* t) {
                     raster_rectangle(s, c, b, {true, width, PEN}, {true, BRUSH}, R2_COPYPEN, t);
                 }});
            shapes.push_back(
                {"ellipse", [b, width](Surface* s, const Clip* c, RECT* t) {
                     raster_ellipse(s, c, b, {true, width, PEN}, {true, BRUSH}, R2_COPYPEN, t);
                 }});
        }
    return shapes;
}

} // namespace

// Whatever the shape, drawing through a clip gives the unclipped drawing's
// pixels inside the clip and nothing outside, and `touched` is exactly the
// bounds of what changed.
TEST(RasterClip, ClippedDrawingIsTheWholeDrawingCutToTheClip) {
    for (const Shape& shape : assorted_shapes()) {
        Canvas whole(96, 96);
        Canvas cut(96, 96, BANDED_CLIP);
        RECT unused = {0, 0, 0, 0};
        shape.draw(&whole.surface, &whole.clip, &unused);
        RECT touched = {0, 0, 0, 0};
        shape.draw(&cut.surface, &cut.clip, &touched);
        RECT changed = {96, 96, 0, 0};
        for (int32_t y = 0; y < 96; ++y)
            for (int32_t x = 0; x < 96; ++x) {
                uint32_t expected = cut.clipped_in(x, y) ? whole.at(x, y) : WHITE;
                ASSERT_EQ(cut.at(x, y), expected) << shape.name << " at " << x << "," << y;
                if (expected == WHITE)
                    continue;
                changed = {std::min(changed.left, x), std::min(changed.top, y),
                           std::max(changed.right, x + 1), std::max(changed.bottom, y + 1)};
            }
        if (changed.left >= changed.right) {
            EXPECT_GE(touched.left, touched.right) << shape.name;
            continue;
        }
        EXPECT_EQ(touched.left, changed.left) << shape.name;
        EXPECT_EQ(touched.top, changed.top) << shape.name;
        EXPECT_EQ(touched.right, changed.right) << shape.name;
        EXPECT_EQ(touched.bottom, changed.bottom) << shape.name;
    }
}

TEST(RasterClip, TouchedGrowsAndIsLeftAloneWhenNothingIsDrawn) {
    Canvas canvas(32, 32);
    RECT touched = {20, 20, 22, 21};
    raster_line(&canvas.surface, &canvas.clip, {3, 5}, {7, 5}, PEN, R2_COPYPEN, &touched);
    EXPECT_EQ(touched.left, 3);
    EXPECT_EQ(touched.top, 5);
    EXPECT_EQ(touched.right, 22);
    EXPECT_EQ(touched.bottom, 21);

    RECT before = touched;
    raster_line(&canvas.surface, &canvas.clip, {40, 5}, {70, 9}, PEN, R2_COPYPEN, &touched);
    raster_ellipse(&canvas.surface, &canvas.clip, {-20, -20, -5, -5}, {true, 3, PEN}, {true, BRUSH},
                   R2_COPYPEN, &touched);
    raster_rectangle(&canvas.surface, &canvas.clip, {5, 5, 5, 9}, {true, 3, PEN}, {true, BRUSH},
                     R2_COPYPEN, &touched);
    EXPECT_EQ(memcmp(&touched, &before, sizeof(RECT)), 0);

    // Drawing without a bounds rectangle is allowed.
    raster_ellipse(&canvas.surface, &canvas.clip, {1, 1, 9, 9}, {true, 2, PEN}, {true, BRUSH},
                   R2_COPYPEN, nullptr);
    EXPECT_EQ(canvas.at(1, 5), PEN);
}

// Rows may be longer than the surface is wide; the padding is never drawn.
TEST(RasterClip, PaddedRowsKeepTheirPadding) {
    const uint32_t PAD = 0x00ABCDEF;
    std::vector<uint32_t> pixels(8 * 6, WHITE);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 5; x < 8; ++x)
            pixels[y * 8 + x] = PAD;
    Surface surface = {pixels.data(), 5, 6, 8};
    RECT whole = {0, 0, 5, 6};
    Clip clip = {&whole, 1};
    raster_rectangle(&surface, &clip, {-3, -3, 12, 12}, {true, 5, PEN}, {true, BRUSH}, R2_NOT,
                     nullptr);
    raster_line(&surface, &clip, {0, 5}, {9, 0}, PEN, R2_COPYPEN, nullptr);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 5; x < 8; ++x)
            EXPECT_EQ(pixels[y * 8 + x], PAD) << x << "," << y;
    EXPECT_EQ(pixels[2 * 8 + 2], 0x00000000u) << "the brush inverted the inside";
}

// A line two billion pixels long crosses the surface in its exact middle, at
// x = 0 and y = 15; its slope is far too small to step within 64 pixels.
TEST(RasterClip, FarAwayEndsAreCutWithoutWalkingTheLine) {
    Canvas canvas(64, 32);
    RECT touched = {0, 0, 0, 0};
    raster_line(&canvas.surface, &canvas.clip, {-1000000000, 10}, {1000000000, 20}, PEN, R2_COPYPEN,
                &touched);
    raster_wide_line(&canvas.surface, &canvas.clip, {-1000000, 25}, {1000000, 25}, 5, PEN,
                     R2_COPYPEN, &touched);
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            bool drawn = y == 15 || (y >= 23 && y <= 27);
            ASSERT_EQ(canvas.at(x, y), drawn ? PEN : WHITE) << x << "," << y;
        }
    EXPECT_EQ(touched.top, 15);
    EXPECT_EQ(touched.bottom, 28);
}

// Where the exact line passes halfway between two pixels, the smaller
// coordinate wins in both directions, so a line and its reverse differ.
TEST(RasterPictures, RoundingTiesGoToTheSmallerCoordinate) {
    Canvas forward(5, 3);
    raster_line(&forward.surface, &forward.clip, {0, 0}, {4, 2}, PEN, R2_COPYPEN, nullptr);
    EXPECT_EQ(forward.picture(), rows({"##...", "..##.", "....."}));
    Canvas back(5, 3);
    raster_line(&back.surface, &back.clip, {4, 2}, {0, 0}, PEN, R2_COPYPEN, nullptr);
    EXPECT_EQ(back.picture(), rows({".#...", "..##.", "....#"}));
}

// Without a pen the brush leaves out the last column and row; a thin pen
// draws on the box's outermost pixels; a wide one is centred on them.
TEST(RasterPictures, RectanglePensAndBrushes) {
    RECT box = {1, 1, 6, 5};
    Canvas no_pen(8, 7);
    raster_rectangle(&no_pen.surface, &no_pen.clip, box, {false, 1, PEN}, {true, BRUSH}, R2_COPYPEN,
                     nullptr);
    EXPECT_EQ(no_pen.picture(), rows({"........", ".oooo...", ".oooo...", ".oooo...", "........",
                                      "........", "........"}));
    Canvas thin(8, 7);
    raster_rectangle(&thin.surface, &thin.clip, {6, 5, 1, 1}, {true, 1, PEN}, {true, BRUSH},
                     R2_COPYPEN, nullptr);
    EXPECT_EQ(thin.picture(), rows({"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..",
                                    "........", "........"}));
    Canvas wide(9, 9);
    raster_rectangle(&wide.surface, &wide.clip, {1, 1, 7, 7}, {true, 3, PEN}, {false, BRUSH},
                     R2_COPYPEN, nullptr);
    EXPECT_EQ(wide.picture(), rows({".######..", "########.", "########.", "###..###.", "###..###.",
                                    "########.", "########.", ".######..", "........."}));
}

TEST(RasterPictures, SmallCircles) {
    Canvas canvas(16, 8);
    raster_ellipse(&canvas.surface, &canvas.clip, {0, 0, 6, 6}, {true, 1, PEN}, {true, BRUSH},
                   R2_COPYPEN, nullptr);
    raster_ellipse(&canvas.surface, &canvas.clip, {8, 0, 15, 7}, {false, 1, PEN}, {true, BRUSH},
                   R2_COPYPEN, nullptr);
    EXPECT_EQ(canvas.picture(), rows({"..##......ooo...", ".#oo#....ooooo..", "#oooo#..ooooooo.",
                                      "#oooo#..ooooooo.", ".#oo#...ooooooo.", "..##.....ooooo..",
                                      "..........ooo...", "................"}));
}

// A narrow ellipse reaches the middle column long before its ends; the
// outline then runs straight on so that the ellipse still touches the top
// and bottom of its box.
TEST(RasterPictures, NarrowEllipsesReachBothEndsOfTheirBox) {
    Canvas small(4, 10);
    raster_ellipse(&small.surface, &small.clip, {0, 0, 4, 10}, {true, 1, PEN}, {true, BRUSH},
                   R2_COPYPEN, nullptr);
    EXPECT_EQ(small.picture(), rows({".##.", ".##.", "#oo#", "#oo#", "#oo#", "#oo#", "#oo#", "#oo#",
                                     ".##.", ".##."}));
    for (int32_t w : {3, 4, 5, 6}) {
        Canvas tall(8, 200);
        raster_ellipse(&tall.surface, &tall.clip, {0, 0, w, 200}, {true, 1, PEN}, {false, 0},
                       R2_COPYPEN, nullptr);
        for (int32_t y = 0; y < 200; ++y) {
            int pens = 0;
            for (int32_t x = 0; x < w; ++x) {
                pens += tall.at(x, y) == PEN;
                EXPECT_EQ(tall.at(x, y), tall.at(w - 1 - x, y)) << "mirrored, row " << y;
                EXPECT_EQ(tall.at(x, y), tall.at(x, 199 - y)) << "mirrored, row " << y;
            }
            EXPECT_GT(pens, 0) << "width " << w << " row " << y;
        }
    }
}

// Every ellipse from 3 by 3 to 40 by 40 pixels touches each side of its box
// and stays inside it, with a thin pen and without one.
TEST(RasterPictures, EllipsesFillTheirBoxExactly) {
    for (int32_t w = 3; w <= 40; ++w)
        for (int32_t h = 3; h <= 40; ++h)
            for (bool pen : {true, false}) {
                Canvas canvas(48, 48);
                RECT touched = {0, 0, 0, 0};
                RECT box = {4, 5, 4 + w, 5 + h};
                raster_ellipse(&canvas.surface, &canvas.clip, box, {pen, 1, PEN}, {!pen, BRUSH},
                               R2_COPYPEN, &touched);
                ASSERT_EQ(memcmp(&touched, &box, sizeof(RECT)), 0) << w << " by " << h << "\n"
                                                                   << canvas.picture();
            }
}

// Boxes too large for the outline's arithmetic are left out and reported
// once on the debug channel.
TEST(RasterClip, OversizedEllipsesAreReportedOnce) {
    Canvas canvas(16, 16);
    layer_debug_clear();
    RECT touched = {0, 0, 0, 0};
    for (int i = 0; i < 2; ++i)
        raster_ellipse(&canvas.surface, &canvas.clip, {-600000, -10, 600000, 10}, {true, 1, PEN},
                       {true, BRUSH}, R2_COPYPEN, &touched);
    std::string text = layer_debug_text();
    EXPECT_NE(text.find("ellipses over"), std::string::npos);
    EXPECT_EQ(text.find("ellipses over"), text.rfind("ellipses over"));
    EXPECT_GE(touched.left, touched.right);
}
