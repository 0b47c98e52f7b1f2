// The sixteen mix modes, checked against what the system's GDI leaves in a
// 32-bit DIB section (tools/probes/raster_probe.cpp, "rops"). GDI works on
// all 32 bits there, so its results carry an inverted top byte for modes
// that invert; the layer's pixels are 0x00RRGGBB, so the tables keep GDI's
// values and the tests compare the colour bits and expect a zero top byte.
#include "platform/gdi/raster.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <vector>

namespace {

constexpr uint32_t COLOUR_BITS = 0x00FFFFFF;
constexpr uint32_t DESTINATIONS[5] = {0x00000000, 0x00FFFFFF, 0x00123456, 0x00A5C3F0, 0xFF00FF00};

// A cosmetic pen of COLORREF `pen` drawn over DESTINATIONS with mix mode
// `rop2`, and what GDI left in each.
struct MixCase {
    int rop2;
    COLORREF pen;
    uint32_t result[5];
};

const MixCase MIX_CASES[] = {
    {1, 0x000000, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {1, 0xffffff, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {1, 0x3cf00f, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {2, 0x000000, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {2, 0xffffff, {0xff000000, 0xff000000, 0xff000000, 0xff000000, 0x00000000}},
    {2, 0x3cf00f, {0xfff00fc3, 0xff000000, 0xffe00b81, 0xff500c03, 0x00f000c3}},
    {3, 0x000000, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {3, 0xffffff, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0xff000000}},
    {3, 0x3cf00f, {0x00000000, 0x00f00fc3, 0x00100442, 0x00a003c0, 0xff000f00}},
    {4, 0x000000, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
    {4, 0xffffff, {0xff000000, 0xff000000, 0xff000000, 0xff000000, 0xff000000}},
    {4, 0x3cf00f, {0xfff00fc3, 0xfff00fc3, 0xfff00fc3, 0xfff00fc3, 0xfff00fc3}},
    {5, 0x000000, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {5, 0xffffff, {0x00ffffff, 0x00000000, 0x00edcba9, 0x005a3c0f, 0x00ff00ff}},
    {5, 0x3cf00f, {0x000ff03c, 0x00000000, 0x000dc028, 0x000a300c, 0x000f003c}},
    {6, 0x000000, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {6, 0xffffff, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {6, 0x3cf00f, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {7, 0x000000, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {7, 0xffffff, {0x00ffffff, 0x00000000, 0x00edcba9, 0x005a3c0f, 0xffff00ff}},
    {7, 0x3cf00f, {0x000ff03c, 0x00f00fc3, 0x001dc46a, 0x00aa33cc, 0xff0f0f3c}},
    {8, 0x000000, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
    {8, 0xffffff, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0xffff00ff}},
    {8, 0x3cf00f, {0xffffffff, 0xfff00fc3, 0xfffdcfeb, 0xfffa3fcf, 0xffff0fff}},
    {9, 0x000000, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {9, 0xffffff, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0x0000ff00}},
    {9, 0x3cf00f, {0x00000000, 0x000ff03c, 0x00023014, 0x0005c030, 0x0000f000}},
    {10, 0x000000, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {10, 0xffffff, {0xff000000, 0xffffffff, 0xff123456, 0xffa5c3f0, 0x0000ff00}},
    {10, 0x3cf00f, {0xfff00fc3, 0xff0ff03c, 0xffe23b95, 0xff55cc33, 0x00f0f0c3}},
    {11, 0x000000, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {11, 0xffffff, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {11, 0x3cf00f, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {12, 0x000000, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
    {12, 0xffffff, {0xff000000, 0xffffffff, 0xff123456, 0xffa5c3f0, 0xff00ff00}},
    {12, 0x3cf00f, {0xfff00fc3, 0xffffffff, 0xfff23fd7, 0xfff5cff3, 0xfff0ffc3}},
    {13, 0x000000, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {13, 0xffffff, {0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff}},
    {13, 0x3cf00f, {0x000ff03c, 0x000ff03c, 0x000ff03c, 0x000ff03c, 0x000ff03c}},
    {14, 0x000000, {0xffffffff, 0xff000000, 0xffedcba9, 0xff5a3c0f, 0x00ff00ff}},
    {14, 0xffffff, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0x00ffffff}},
    {14, 0x3cf00f, {0xffffffff, 0xff0ff03c, 0xffeffbbd, 0xff5ffc3f, 0x00fff0ff}},
    {15, 0x000000, {0x00000000, 0x00ffffff, 0x00123456, 0x00a5c3f0, 0xff00ff00}},
    {15, 0xffffff, {0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0xffffffff}},
    {15, 0x3cf00f, {0x000ff03c, 0x00ffffff, 0x001ff47e, 0x00aff3fc, 0xff0fff3c}},
    {16, 0x000000, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
    {16, 0xffffff, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
    {16, 0x3cf00f, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}},
};

// Rectangle(2, 2, 10, 10) with a thin pen of RGB(0x0F, 0xF0, 0x3C) and a
// brush of RGB(0x80, 0x40, 0x20) over pixels of 0x00123456: the edge and
// an inside pixel afterwards.
struct ShapeMixCase {
    int rop2;
    uint32_t edge;
    uint32_t inside;
};

const ShapeMixCase SHAPE_MIX_CASES[] = {
    {1, 0x00000000, 0x00000000},  {2, 0xffe00b81, 0xff6d8b89},  {3, 0x00100442, 0x00123456},
    {4, 0xfff00fc3, 0xff7fbfdf},  {5, 0x000dc028, 0x00804020},  {6, 0xffedcba9, 0xffedcba9},
    {7, 0x001dc46a, 0x00927476},  {8, 0xfffdcfeb, 0xffffffff},  {9, 0x00023014, 0x00000000},
    {10, 0xffe23b95, 0xff6d8b89}, {11, 0x00123456, 0x00123456}, {12, 0xfff23fd7, 0xff7fbfdf},
    {13, 0x000ff03c, 0x00804020}, {14, 0xffeffbbd, 0xffedcba9}, {15, 0x001ff47e, 0x00927476},
    {16, 0xffffffff, 0xffffffff},
};

struct Row {
    std::vector<uint32_t> pixels;
    Surface surface;
    RECT whole;
    Clip clip;

    Row(std::initializer_list<uint32_t> values) : pixels(values) {
        int32_t n = (int32_t)pixels.size();
        surface = {pixels.data(), n, 1, n};
        whole = {0, 0, n, 1};
        clip = {&whole, 1};
    }
};

} // namespace

TEST(RasterMix, EveryModeOnEveryBitCombination) {
    for (const MixCase& mc : MIX_CASES)
        for (int i = 0; i < 5; ++i) {
            uint32_t got = mix_pixel(mc.rop2, DESTINATIONS[i], pixel_from_colorref(mc.pen));
            EXPECT_EQ(got, mc.result[i] & COLOUR_BITS) << "mode " << mc.rop2 << " pen " << std::hex
                                                       << mc.pen << " over " << DESTINATIONS[i];
        }
}

TEST(RasterMix, LinesMixIntoTheSurfaceAndKeepTheTopByteZero) {
    for (const MixCase& mc : MIX_CASES) {
        Row row = {DESTINATIONS[0], DESTINATIONS[1], DESTINATIONS[2],
                   DESTINATIONS[3], DESTINATIONS[4], 0x00ABCDEF};
        raster_line(&row.surface, &row.clip, {0, 0}, {5, 0}, pixel_from_colorref(mc.pen), mc.rop2,
                    nullptr);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(row.pixels[i], mc.result[i] & COLOUR_BITS)
                << "mode " << mc.rop2 << " pixel " << i;
        EXPECT_EQ(row.pixels[5], 0x00ABCDEFu) << "the end point is not drawn";
    }
}

// The brush of Rectangle and Ellipse uses the same mix mode as the pen.
TEST(RasterMix, ShapesMixPenAndBrushAlike) {
    const uint32_t pen = pixel_from_colorref(RGB(0x0F, 0xF0, 0x3C));
    const uint32_t brush = pixel_from_colorref(RGB(0x80, 0x40, 0x20));
    for (const ShapeMixCase& sc : SHAPE_MIX_CASES) {
        for (bool ellipse : {false, true}) {
            std::vector<uint32_t> pixels(16 * 16, 0x00123456);
            Surface surface = {pixels.data(), 16, 16, 16};
            RECT whole = {0, 0, 16, 16};
            Clip clip = {&whole, 1};
            RECT box = {2, 2, 11, 11};
            if (ellipse) {
                raster_ellipse(&surface, &clip, box, {true, 1, pen}, {true, brush}, sc.rop2,
                               nullptr);
                EXPECT_EQ(pixels[6 * 16 + 6], sc.inside & COLOUR_BITS) << "mode " << sc.rop2;
            } else {
                raster_rectangle(&surface, &clip, box, {true, 1, pen}, {true, brush}, sc.rop2,
                                 nullptr);
                EXPECT_EQ(pixels[2 * 16 + 2], sc.edge & COLOUR_BITS) << "mode " << sc.rop2;
                EXPECT_EQ(pixels[5 * 16 + 5], sc.inside & COLOUR_BITS) << "mode " << sc.rop2;
            }
            EXPECT_EQ(pixels[12 * 16 + 12], 0x00123456u) << "mode " << sc.rop2;
        }
    }
}

TEST(RasterMix, FillRectMixesOnlyItsBox) {
    Row row = {0x00111111, 0x00222222, 0x00333333, 0x00444444};
    RECT touched = {0, 0, 0, 0};
    raster_fill_rect(&row.surface, &row.clip, {1, 0, 3, 1}, 0x00F0F0F0, R2_XORPEN, &touched);
    EXPECT_EQ(row.pixels, (std::vector<uint32_t>{0x00111111, 0x00D2D2D2, 0x00C3C3C3, 0x00444444}));
    EXPECT_EQ(touched.left, 1);
    EXPECT_EQ(touched.right, 3);
    raster_fill_rect(&row.surface, &row.clip, {3, 0, 1, 1}, 0, R2_BLACK, &touched);
    EXPECT_EQ(row.pixels[1], 0x00D2D2D2u) << "a reversed box is empty";
}
