// Text output: what holds whatever the glyphs look like, checked the same
// way on Windows (under Wine) and on the layer.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"
#include "tests/support/platform_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

namespace {

constexpr uint32_t BLUE = 0x0000FF;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0x000000;
constexpr uint32_t YELLOW = 0xFFFF00;

SIZE extent_of(HDC dc, const char* text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text, (int)strlen(text), &size));
    return size;
}

TEST(SystemFont, MetricsOfTheDefaultFont) {
    BitmapDc m(8, 8);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(m.dc(), &metrics));
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAscent, 13);
    EXPECT_EQ(metrics.tmDescent, 3);
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_GE(metrics.tmAveCharWidth, 6);
    EXPECT_LE(metrics.tmAveCharWidth, 8);
    EXPECT_NE(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0); // proportional
    // Windows names its bitmap font "System"; a Wine prefix without that
    // font substitutes an outline font, and says so.
    if (!running_under_wine()) {
        char face[32] = {};
        EXPECT_EQ(GetTextFaceA(m.dc(), sizeof face, face), 6);
        EXPECT_STREQ(face, "System");
    }
    EXPECT_EQ(extent_of(m.dc(), "Score: 57").cy, 16);
    EXPECT_LT(extent_of(m.dc(), "iii").cx, extent_of(m.dc(), "WWW").cx);
    EXPECT_EQ(extent_of(m.dc(), "").cx, 0);
}

TEST(TextOut, OpaqueFillsExactlyTheTextCell) {
    BitmapDc m(120, 40);
    m.fill(BLUE);
    SetBoundsRect(m.dc(), nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    ASSERT_TRUE(TextOutA(m.dc(), 1, 1, "Score: 57", 9));
    SIZE size = extent_of(m.dc(), "Score: 57");
    RECT cell{1, 1, 1 + size.cx, 1 + size.cy};
    expect_rect(m.extent_of_changes(BLUE), cell);
    EXPECT_EQ(m.count(BLUE, cell), 0);
    EXPECT_GT(m.count(BLACK, cell), 40);
    // The bitmap font has no grey edges; Wine's substitute outline font has.
    if (!running_under_wine()) {
        EXPECT_EQ(m.count(BLACK, cell) + m.count(WHITE, cell), size.cx * size.cy);
    }
    RECT bounds{};
    EXPECT_EQ(GetBoundsRect(m.dc(), &bounds, DCB_RESET), (UINT)DCB_SET);
    expect_rect(bounds, cell);
}

TEST(TextOut, TransparentLeavesTheBackground) {
    BitmapDc m(120, 40);
    m.fill(BLUE);
    SetBkMode(m.dc(), TRANSPARENT);
    SetTextColor(m.dc(), RGB(255, 255, 0));
    TextOutA(m.dc(), 10, 5, "Paused...", 9);
    SIZE size = extent_of(m.dc(), "Paused...");
    RECT cell{10, 5, 10 + size.cx, 5 + size.cy};
    RECT changed = m.extent_of_changes(BLUE);
    EXPECT_GE(changed.left, cell.left);
    EXPECT_GE(changed.top, cell.top);
    EXPECT_LE(changed.right, cell.right);
    EXPECT_LE(changed.bottom, cell.bottom);
    int yellow = m.count(YELLOW, cell);
    EXPECT_GT(yellow, 40);
    if (!running_under_wine()) {
        EXPECT_EQ(m.count(BLUE, cell) + yellow, size.cx * size.cy);
    }
}

TEST(TextOut, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    BitmapDc m(200, 40);
    m.fill(BLUE);
    SetTextAlign(m.dc(), TA_UPDATECP);
    MoveToEx(m.dc(), 20, 10, nullptr);
    TextOutA(m.dc(), 100, 100, "Score:", 6);
    TextOutA(m.dc(), 0, 0, " 5", 2);
    POINT position{};
    GetCurrentPositionEx(m.dc(), &position);
    int width = extent_of(m.dc(), "Score: 5").cx;
    EXPECT_EQ(position.x, 20 + width);
    EXPECT_EQ(position.y, 10);
    expect_rect(m.extent_of_changes(BLUE), {20, 10, 20 + width, 26});
}

TEST(TextOut, AlignmentMovesTheCell) {
    BitmapDc m(200, 60);
    int width = extent_of(m.dc(), "Hi").cx;
    m.fill(BLUE);
    SetTextAlign(m.dc(), TA_RIGHT | TA_BASELINE);
    TextOutA(m.dc(), 100, 30, "Hi", 2);
    expect_rect(m.extent_of_changes(BLUE), {100 - width, 30 - 13, 100, 30 + 3});
    m.fill(BLUE);
    SetTextAlign(m.dc(), TA_LEFT | TA_BOTTOM);
    TextOutA(m.dc(), 50, 40, "Hi", 2);
    expect_rect(m.extent_of_changes(BLUE), {50, 24, 50 + width, 40});
}

TEST(ExtTextOut, OpaqueRectangleWithAndWithoutText) {
    BitmapDc m(100, 50);
    m.fill(BLUE);
    SetBkColor(m.dc(), RGB(255, 255, 0));
    SetBkMode(m.dc(), TRANSPARENT);
    RECT box{5, 6, 40, 20};
    EXPECT_TRUE(ExtTextOutA(m.dc(), 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr));
    expect_rect(m.extent_of_changes(BLUE), box);
    EXPECT_EQ(m.count(YELLOW, box), 35 * 14);
    RECT clip_box{60, 10, 70, 20};
    m.fill(BLUE);
    ExtTextOutA(m.dc(), 55, 5, ETO_OPAQUE | ETO_CLIPPED, &clip_box, "WWWW", 4, nullptr);
    expect_rect(m.extent_of_changes(BLUE), clip_box);
}

TEST(TextOut, ClipsToTheClipRegionAndBitmap) {
    BitmapDc m(60, 30);
    m.fill(BLUE);
    IntersectClipRect(m.dc(), 10, 0, 30, 30);
    TextOutA(m.dc(), 0, 20, "Score: 57", 9);
    expect_rect(m.extent_of_changes(BLUE), {10, 20, 30, 30});
}

} // namespace
