#include <gtest/gtest.h>
#include <limits.h>
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>

#include "platform/gdi/font.h"

namespace {

constexpr uint32_t BACKGROUND = 0x00123456;
constexpr uint32_t INK = 0x00ABCDEF;

// A surface inside a larger buffer: a guard band of background pixels on
// every side shows any write past the surface's edges.
struct Canvas {
    static constexpr int32_t GUARD = 20;

    int32_t width, height;
    std::vector<uint32_t> buffer;
    Surface surface;

    Canvas(int32_t w, int32_t h)
        : width(w), height(h),
          buffer((size_t)(w + 2 * GUARD) * (size_t)(h + 2 * GUARD), BACKGROUND) {
        int32_t stride = w + 2 * GUARD;
        surface = {buffer.data() + GUARD * stride + GUARD, w, h, stride};
    }

    uint32_t at(int32_t x, int32_t y) const {
        return buffer[(size_t)((y + GUARD) * surface.stride + x + GUARD)];
    }
    bool inked(int32_t x, int32_t y) const { return at(x, y) != BACKGROUND; }

    // Draws through one clip rectangle covering the whole surface.
    RECT draw(int32_t x, int32_t y, const std::string& text) {
        RECT all = {0, 0, width, height};
        Clip clip = {&all, 1};
        RECT touched = {0, 0, 0, 0};
        system_font_draw(&surface, &clip, x, y, text.data(), (int32_t)text.size(), INK, &touched);
        return touched;
    }

    // The bounds of every changed pixel, guard band included, in surface
    // coordinates; all zero when nothing changed.
    RECT changed_bounds() const {
        RECT r = {0, 0, 0, 0};
        bool any = false;
        for (int32_t y = -GUARD; y < height + GUARD; ++y) {
            for (int32_t x = -GUARD; x < width + GUARD; ++x) {
                if (!inked(x, y)) {
                    continue;
                }
                if (!any) {
                    r = {x, y, x + 1, y + 1};
                    any = true;
                }
                r.left = x < r.left ? x : r.left;
                r.right = x + 1 > r.right ? x + 1 : r.right;
                r.top = y < r.top ? y : r.top;
                r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
            }
        }
        return r;
    }

    // Rows of '#' (ink) and '.' for the rectangle [x, x + w) by [y, y + h).
    std::string picture(int32_t x, int32_t y, int32_t w, int32_t h) const {
        std::string text;
        for (int32_t row = y; row < y + h; ++row) {
            for (int32_t col = x; col < x + w; ++col) {
                text += inked(col, row) ? '#' : '.';
            }
            text += '\n';
        }
        return text;
    }

    // FNV-1a over the surface's pixels.
    uint64_t hash() const {
        uint64_t h = 14695981039346656037ull;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                h = (h ^ at(x, y)) * 1099511628211ull;
            }
        }
        return h;
    }
};

::testing::AssertionResult same_rect(const RECT& actual, const RECT& expected) {
    if (memcmp(&actual, &expected, sizeof(RECT)) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got {" << actual.left << ", " << actual.top << ", " << actual.right << ", "
           << actual.bottom << "}, expected {" << expected.left << ", " << expected.top << ", "
           << expected.right << ", " << expected.bottom << "}";
}

bool glyphs_equal(BYTE a, BYTE b) {
    const FontGlyph& ga = system_font_glyph(a);
    const FontGlyph& gb = system_font_glyph(b);
    return ga.width == gb.width && memcmp(ga.rows, gb.rows, sizeof(ga.rows)) == 0;
}

TEST(SystemFontMetrics, MatchTheClassicSystemFont) {
    const FontMetrics& m = system_font_metrics();
    EXPECT_EQ(m.height, 16);
    EXPECT_EQ(m.ascent, 13);
    EXPECT_EQ(m.descent, 3);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_EQ(m.internal_leading, 3);
    EXPECT_EQ(m.external_leading, 0);
    EXPECT_EQ(m.ave_char_width, 7);
    EXPECT_GE(m.max_char_width, 14);
    EXPECT_LE(m.max_char_width, FONT_MAX_CELL_WIDTH);
    EXPECT_EQ(m.weight, 700);
    EXPECT_STREQ(m.face_name, "System");
    EXPECT_EQ(m.first_char, 0x20);
    EXPECT_EQ(m.last_char, 0xFF);
    EXPECT_EQ(m.default_char, 0x7F);
    EXPECT_EQ(m.break_char, ' ');
    EXPECT_EQ(m.pitch_and_family, 0x21); // FF_SWISS, variable pitch, raster
    EXPECT_EQ(m.char_set, 0);            // ANSI_CHARSET
}

TEST(SystemFontMetrics, AgreeWithTheGlyphs) {
    const FontMetrics& m = system_font_metrics();
    int32_t widest = 0;
    for (int c = 0; c < 256; ++c) {
        const FontGlyph& g = system_font_glyph((BYTE)c);
        EXPECT_GT(g.width, 0) << "character " << c;
        widest = g.width > widest ? g.width : widest;
    }
    EXPECT_EQ(widest, m.max_char_width);
}

TEST(SystemFontWidths, AreProportional) {
    EXPECT_LT(system_font_char_width('i'), system_font_char_width('W'));
    EXPECT_LT(system_font_char_width('l'), system_font_char_width('m'));
    EXPECT_LT(system_font_char_width('.'), system_font_char_width('M'));
    EXPECT_EQ(system_font_char_width('W'), 13);
    EXPECT_EQ(system_font_char_width('i'), 4);
    EXPECT_EQ(system_font_char_width(' '), 4);
}

TEST(SystemFontWidths, DigitsShareOneWidthSoThatNumbersLineUp) {
    for (char c = '1'; c <= '9'; ++c) {
        EXPECT_EQ(system_font_char_width((BYTE)c), system_font_char_width('0')) << c;
    }
}

TEST(SystemFontWidths, TextWidthIsTheSumOfTheAdvances) {
    const char text[] = "Zandrel: 0123 \xC9t\xE9!\r\n";
    int32_t sum = 0;
    for (size_t i = 0; i < sizeof(text) - 1; ++i) {
        sum += system_font_char_width((BYTE)text[i]);
    }
    EXPECT_EQ(system_font_text_width(text, (int32_t)sizeof(text) - 1), sum);
    EXPECT_EQ(system_font_text_width(text, 3), system_font_char_width('Z') +
                                                   system_font_char_width('a') +
                                                   system_font_char_width('n'));
    EXPECT_EQ(system_font_text_width(text, 0), 0);
    EXPECT_EQ(system_font_text_width(text, -5), 0);
}

TEST(SystemFontWidths, BytesAboveTheAsciiRangeHaveTheirOwnGlyphs) {
    // A char is signed on x86: read as a negative number, 0xE9 would fall
    // outside the table or onto the default box.
    EXPECT_FALSE(glyphs_equal(0xE9, 0x7F));
    EXPECT_FALSE(glyphs_equal(0xE9, 'e'));
    EXPECT_EQ(system_font_text_width("\xE9\xFF", 2),
              system_font_char_width(0xE9) + system_font_char_width(0xFF));
}

TEST(SystemFontDefaultGlyph, StandsInForControlsAndEmptySlots) {
    const BYTE missing[] = {0x00, 0x01, '\t', '\n', '\r', 0x1B, 0x1F, 0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (BYTE c : missing) {
        EXPECT_TRUE(glyphs_equal(c, system_font_metrics().default_char)) << (int)c;
        EXPECT_EQ(system_font_char_width(c), 8) << (int)c;
    }
    // The slots that code page 1252 fills next to the empty ones keep their own.
    EXPECT_FALSE(glyphs_equal(0x80, 0x7F)); // euro sign
    EXPECT_FALSE(glyphs_equal(0x8E, 0x7F));
    EXPECT_FALSE(glyphs_equal(0x9F, 0x7F));
    EXPECT_FALSE(glyphs_equal(' ', 0x7F));
}

TEST(SystemFontDefaultGlyph, IsAHollowBoxOverTheAscent) {
    Canvas canvas(12, 18);
    RECT touched = canvas.draw(1, 1, "\r");
    EXPECT_EQ(canvas.picture(1, 1, 8, 16), ".######.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".#....#.\n"
                                           ".######.\n"
                                           "........\n"
                                           "........\n"
                                           "........\n");
    EXPECT_TRUE(same_rect(touched, {2, 1, 8, 14}));
    Canvas lf(12, 18);
    lf.draw(1, 1, "\n");
    EXPECT_EQ(lf.hash(), canvas.hash());
}

TEST(SystemFontGlyphs, CapitalAndDescenderGolden) {
    Canvas canvas(30, 16);
    canvas.draw(0, 0, "Ag");
    ASSERT_EQ(system_font_char_width('A'), 9);
    ASSERT_EQ(system_font_char_width('g'), 8);
    // Capitals stand on the baseline (row 12 is the last row above it) and
    // start below the three rows of internal leading; descenders reach the
    // last of the three rows under it.
    EXPECT_EQ(canvas.picture(0, 0, 17, 16), ".................\n"
                                            ".................\n"
                                            ".................\n"
                                            ".................\n"
                                            "...###...........\n"
                                            "...####..........\n"
                                            "..##.##....#####.\n"
                                            "..##.##...##..##.\n"
                                            "..##.###..##..##.\n"
                                            ".##...##..##..##.\n"
                                            ".#######..##..##.\n"
                                            ".##...###.######.\n"
                                            "##.....##..#####.\n"
                                            "..............##.\n"
                                            "..........######.\n"
                                            "...........###...\n");
}

TEST(SystemFontGlyphs, AccentedCapitalsUseTheInternalLeading) {
    // The accent of a capital sits in the top rows that plain capitals
    // leave free; nothing reaches above the cell.
    Canvas plain(12, 16), accented(12, 16);
    plain.draw(0, 0, "E");
    accented.draw(0, 0, "\xC9");
    EXPECT_GE(plain.changed_bounds().top, 3);
    EXPECT_LT(accented.changed_bounds().top, 3);
    EXPECT_GE(accented.changed_bounds().top, 0);
}

TEST(SystemFontGlyphs, EveryCharacterStaysInsideItsCell) {
    for (int c = 0; c < 256; ++c) {
        Canvas canvas(40, 16);
        char text = (char)c;
        RECT touched = canvas.draw(10, 0, std::string(1, text));
        RECT changed = canvas.changed_bounds();
        if (c == ' ' || c == 0xA0) {
            EXPECT_TRUE(same_rect(changed, {0, 0, 0, 0})) << "character " << c;
            continue;
        }
        EXPECT_GE(changed.left, 10) << "character " << c;
        EXPECT_LE(changed.right, 10 + system_font_char_width((BYTE)c)) << "character " << c;
        EXPECT_GE(changed.top, 0) << "character " << c;
        EXPECT_LE(changed.bottom, 16) << "character " << c;
        EXPECT_TRUE(same_rect(touched, changed)) << "character " << c;
    }
}

TEST(SystemFontDraw, StringGolden) {
    Canvas canvas(200, 16);
    RECT touched = canvas.draw(2, 0, "Zandrel 1.0 \xC0\xE9\xFF g|j");
    EXPECT_TRUE(same_rect(touched, canvas.changed_bounds()));
    EXPECT_TRUE(same_rect(touched, {3, 1, 124, 16}));
    EXPECT_EQ(canvas.hash(), 0xc5c3540761ce8bull);
}

TEST(SystemFontDraw, AStringIsItsCharactersSideBySide) {
    Canvas whole(120, 20), pieces(120, 20);
    const std::string text = "WiMl\xC6@j";
    whole.draw(3, 2, text);
    int32_t x = 3;
    for (char c : text) {
        pieces.draw(x, 2, std::string(1, c));
        x += system_font_char_width((BYTE)c);
    }
    EXPECT_EQ(whole.buffer, pieces.buffer);
    EXPECT_LE(whole.changed_bounds().right, 3 + system_font_text_width(text.data(), 7));
}

TEST(SystemFontDraw, TouchedGrowsAnEarlierRectangleAndKeepsItWhenNothingIsDrawn) {
    Canvas canvas(60, 40);
    RECT all = {0, 0, 60, 40};
    Clip clip = {&all, 1};
    RECT touched = {50, 30, 55, 35};
    system_font_draw(&canvas.surface, &clip, 0, 0, "   ", 3, INK, &touched);
    EXPECT_TRUE(same_rect(touched, {50, 30, 55, 35}));
    system_font_draw(&canvas.surface, &clip, 0, 0, "AB", 0, INK, &touched);
    EXPECT_TRUE(same_rect(touched, {50, 30, 55, 35}));
    system_font_draw(&canvas.surface, &clip, 0, 0, "I", 1, INK, &touched);
    RECT glyph = canvas.changed_bounds();
    EXPECT_TRUE(same_rect(touched, {glyph.left, glyph.top, 55, 35}));

    // Rectangles without area, however placed, hold no pixels to keep.
    const RECT empties[] = {{7, 7, 7, 9}, {30, 39, 59, 39}, {50, 30, 40, 20}};
    for (RECT empty : empties) {
        system_font_draw(&canvas.surface, &clip, 0, 0, "I", 1, INK, &empty);
        EXPECT_TRUE(same_rect(empty, glyph));
    }
}

TEST(SystemFontClip, OnlyPixelsInsideTheRectanglesChange) {
    Canvas full(80, 24), clipped(80, 24);
    const char text[] = "Mgm\xC9W";
    full.draw(4, 4, text);
    const RECT rects[] = {{0, 0, 80, 8}, {10, 8, 20, 14}, {30, 8, 33, 14}, {0, 17, 80, 24}};
    Clip clip = {rects, 4};
    RECT touched = {0, 0, 0, 0};
    system_font_draw(&clipped.surface, &clip, 4, 4, text, 5, INK, &touched);

    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 80; ++x) {
            bool inside = false;
            for (const RECT& r : rects) {
                inside = inside || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            }
            ASSERT_EQ(clipped.at(x, y), inside ? full.at(x, y) : BACKGROUND) << x << ", " << y;
        }
    }
    EXPECT_TRUE(same_rect(touched, clipped.changed_bounds()));
    EXPECT_LT(touched.top, 8);
    EXPECT_GE(touched.bottom, 18);
}

TEST(SystemFontClip, NoClipRectanglesDrawNothing) {
    Canvas canvas(40, 16);
    Clip clip = {nullptr, 0};
    RECT touched = {0, 0, 0, 0};
    system_font_draw(&canvas.surface, &clip, 0, 0, "Hello", 5, INK, &touched);
    EXPECT_TRUE(same_rect(canvas.changed_bounds(), {0, 0, 0, 0}));
    EXPECT_TRUE(same_rect(touched, {0, 0, 0, 0}));
}

TEST(SystemFontClip, TextPastTheSurfaceEdgesIsCut) {
    Canvas reference(60, 40);
    reference.draw(20, 12, "WgM");

    // The same text moved so that it hangs over each edge in turn: what
    // remains inside is the matching part of the reference.
    const struct { int32_t dx, dy; } shifts[] = {{-26, 0}, {26, 0}, {0, -18}, {0, 18}, {-30, -20}};
    for (const auto& s : shifts) {
        Canvas canvas(60, 40);
        // A clip rectangle larger than the surface must not let writes out.
        RECT beyond = {-100, -100, 200, 200};
        Clip clip = {&beyond, 1};
        RECT touched = {0, 0, 0, 0};
        system_font_draw(&canvas.surface, &clip, 20 + s.dx, 12 + s.dy, "WgM", 3, INK, &touched);
        RECT changed = canvas.changed_bounds();
        EXPECT_GE(changed.left, 0);
        EXPECT_GE(changed.top, 0);
        EXPECT_LE(changed.right, 60);
        EXPECT_LE(changed.bottom, 40);
        EXPECT_TRUE(same_rect(touched, changed)) << s.dx << ", " << s.dy;
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 60; ++x) {
                int32_t rx = x - s.dx, ry = y - s.dy;
                bool in_reference = rx >= 0 && rx < 60 && ry >= 0 && ry < 40;
                uint32_t expected = in_reference ? reference.at(rx, ry) : BACKGROUND;
                ASSERT_EQ(canvas.at(x, y), expected)
                    << s.dx << ", " << s.dy << " at " << x << ", " << y;
            }
        }
    }
}

TEST(SystemFontClip, CoordinatesAtTheEndsOfTheRangeDrawNothing) {
    const struct {
        int32_t x, y;
    } origins[] = {{INT32_MAX, 0},      {INT32_MAX - 20, 0}, {0, INT32_MAX},
                   {0, INT32_MAX - 10}, {INT32_MIN, 0},      {0, INT32_MIN}};
    for (const auto& o : origins) {
        Canvas canvas(40, 16);
        RECT touched = canvas.draw(o.x, o.y, "WWWW");
        EXPECT_TRUE(same_rect(canvas.changed_bounds(), {0, 0, 0, 0})) << o.x << ", " << o.y;
        EXPECT_TRUE(same_rect(touched, {0, 0, 0, 0})) << o.x << ", " << o.y;
    }
}

} // namespace
