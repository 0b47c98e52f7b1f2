// Text output: what holds whatever the glyphs look like, checked the same
// way on Windows (under Wine) and on the layer.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"
#include "tests/support/platform_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>

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
    RECT changed = m.extent_of_changes(BLUE), both{};
    UnionRect(&both, &changed, &cell);
    expect_rect(both, cell, "changes inside the cell");
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

// DrawTextA's measured rectangle and height, in the context's own font: a
// row names the text whose width the rectangle takes, so it holds for any
// font. The rectangle starts at (10, 20), `room` plus `extra` pixels wide.
struct CalcRow {
    const char* name;
    const char* text;
    UINT format;
    const char* room; // text whose width the rectangle has; null: 1 pixel
    int extra;
    int rows;           // lines laid out
    const char* widest; // the widest line, as drawn
    int tab_stops;      // tab stops before `widest` on its line
};

static const CalcRow calc_rows[] = {
    {"OneLine", "Score", DT_SINGLELINE, nullptr, 0, 1, "Score", 0},
    {"NoBreakWithoutWordBreak", "one three", 0, nullptr, 0, 1, "one three", 0},
    {"WordsWiderThanTheRoom", "one three", DT_WORDBREAK, nullptr, 0, 2, "three", 0},
    {"FitsExactly", "one three", DT_WORDBREAK, "one three", 0, 1, "one three", 0},
    // Wine counts the space at the break in the row's width; here the
    // widest row is the last one, which has none.
    {"BreaksAtTheLastSpaceThatFits", "a b three", DT_WORDBREAK, "a b ", 1, 2, "three", 0},
    {"LineBreaks", "one\r\ntwo\nthree", 0, nullptr, 0, 3, "three", 0},
    {"EmptyLines", "ab\n\nb", 0, nullptr, 0, 3, "ab", 0},
    {"PrefixTakenOut", "&File", DT_SINGLELINE, nullptr, 0, 1, "File", 0},
    {"DoublePrefix", "a&&b", DT_SINGLELINE, nullptr, 0, 1, "a&b", 0},
    {"NoPrefix", "&File", DT_SINGLELINE | DT_NOPREFIX, nullptr, 0, 1, "&File", 0},
    {"ExpandedTab", "a\tb", DT_SINGLELINE | DT_EXPANDTABS, nullptr, 0, 1, "b", 1},
    {"TwoTabs", "\t\tb", DT_SINGLELINE | DT_EXPANDTABS, nullptr, 0, 1, "b", 2},
    {"CentredRowsKeepTheLeft", "one\nthree", DT_CENTER, nullptr, 0, 2, "three", 0},
};

class DrawTextCalc : public ::testing::TestWithParam<CalcRow> {};

TEST_P(DrawTextCalc, MeasuresTheRectangle) {
    const CalcRow& row = GetParam();
    BitmapDc m(8, 8);
    TEXTMETRICA tm{};
    GetTextMetricsA(m.dc(), &tm);
    int room = row.room != nullptr ? extent_of(m.dc(), row.room).cx : 1;
    RECT rect{10, 20, 10 + room + row.extra, 30};
    int height = DrawTextA(m.dc(), row.text, -1, &rect, row.format | DT_CALCRECT);
    int width = row.tab_stops * 8 * tm.tmAveCharWidth + extent_of(m.dc(), row.widest).cx;
    EXPECT_EQ(height, row.rows * tm.tmHeight);
    expect_rect(rect, {10, 20, 10 + width, 20 + row.rows * tm.tmHeight});
}

INSTANTIATE_TEST_SUITE_P(Rows, DrawTextCalc, ::testing::ValuesIn(calc_rows),
                         [](const ::testing::TestParamInfo<CalcRow>& info) {
                             return std::string(info.param.name);
                         });

// A single line moved down: the height answered is from the rectangle's
// top to the text's bottom, and never 0. The font is 16 pixels high.
TEST(DrawText, VerticalPlacementOfASingleLine) {
    static const struct {
        UINT format;
        LONG top, bottom;
        int height;
    } rows[] = {
        {DT_TOP, 20, 60, 16},     {DT_VCENTER, 20, 60, 28}, {DT_VCENTER, 20, 59, 27},
        {DT_VCENTER, 20, 20, 8},  {DT_VCENTER, 20, 3, 0},   {DT_VCENTER, 20, 0, -2},
        {DT_VCENTER, 20, 1, -1},  {DT_BOTTOM, 20, 60, 40},  {DT_BOTTOM, 20, 20, 0},
        {DT_BOTTOM, 20, 10, -10}, {DT_TOP, 20, 0, 16},
    };
    BitmapDc m(8, 8);
    for (const auto& row : rows) {
        RECT rect{0, row.top, 0, row.bottom};
        int height = DrawTextA(m.dc(), "Hi", -1, &rect, row.format | DT_SINGLELINE | DT_CALCRECT);
        int expected = row.height == 0 ? 1 : row.height;
        EXPECT_EQ(height, expected) << row.format << " " << row.bottom;
        EXPECT_EQ(rect.top, row.top);
        EXPECT_EQ(rect.bottom, row.top + row.height) << row.format << " " << row.bottom;
    }
    // Multi-line text stays at the top.
    RECT rect{0, 20, 100, 60};
    EXPECT_EQ(DrawTextA(m.dc(), "Hi", -1, &rect, DT_VCENTER | DT_CALCRECT), 16);
    EXPECT_EQ(rect.bottom, 36);
}

// Nothing to lay out answers 0 and leaves the rectangle; an empty string
// given with -1 is a line's height, empty, or one line high when single.
TEST(DrawText, EmptyAndRefusedText) {
    static const struct {
        const char* text;
        int count;
        UINT format;
        int height;
        RECT after;
    } rows[] = {
        {"abc", 0, DT_CALCRECT, 0, {10, 10, 100, 100}},
        {nullptr, 0, DT_CALCRECT, 0, {10, 10, 100, 100}},
        {nullptr, 10, DT_CALCRECT, 0, {10, 10, 100, 100}},
        {"", -1, DT_CALCRECT, 16, {10, 10, 10, 10}},
        {nullptr, -1, DT_CALCRECT, 16, {10, 10, 10, 10}},
        {"", -1, DT_CALCRECT | DT_SINGLELINE, 16, {10, 10, 10, 26}},
        {"", -1, 0, 16, {10, 10, 100, 100}},
    };
    BitmapDc m(8, 8);
    for (const auto& row : rows) {
        RECT rect{10, 10, 100, 100};
        EXPECT_EQ(DrawTextA(m.dc(), row.text, row.count, &rect, row.format), row.height)
            << (row.text ? row.text : "null") << " " << row.count;
        expect_rect(rect, row.after);
    }
    RECT rect{10, 10, 100, 100};
    EXPECT_EQ(DrawTextA(nullptr, "abc", -1, &rect, 0), 0);
}

// Where a line lands: an opaque background shows its whole cell, cut to the
// rectangle unless DT_NOCLIP.
TEST(DrawText, AlignmentAndClipping) {
    static const struct {
        UINT format;
        RECT rect;
        const char* text;
    } rows[] = {
        {DT_LEFT, {10, 5, 150, 45}, "Hi there"},
        {DT_CENTER, {10, 5, 150, 45}, "Hi there"},
        {DT_RIGHT, {10, 5, 150, 45}, "Hi there"},
        {DT_CENTER | DT_VCENTER, {10, 5, 151, 45}, "Hi"},
        {DT_RIGHT | DT_BOTTOM, {10, 5, 150, 45}, "Hi"},
        {DT_LEFT, {10, 5, 20, 15}, "WWWW"},
        {DT_LEFT | DT_NOCLIP, {10, 5, 20, 15}, "WWWW"},
    };
    BitmapDc m(200, 60);
    SetBkColor(m.dc(), RGB(255, 255, 0));
    SetBkMode(m.dc(), OPAQUE);
    for (const auto& row : rows) {
        m.fill(BLUE);
        RECT rect = row.rect;
        UINT format = row.format | DT_SINGLELINE;
        EXPECT_NE(DrawTextA(m.dc(), row.text, -1, &rect, format), 0);
        int w = extent_of(m.dc(), row.text).cx;
        LONG left = (format & DT_CENTER)  ? (rect.left + rect.right - w) / 2
                    : (format & DT_RIGHT) ? rect.right - w
                                          : rect.left;
        LONG top = (format & DT_VCENTER)  ? rect.top + (rect.bottom - rect.top - 16) / 2
                   : (format & DT_BOTTOM) ? rect.bottom - 16
                                          : rect.top;
        RECT cell{left, top, left + w, top + 16};
        if (!(format & DT_NOCLIP))
            IntersectRect(&cell, &cell, &rect);
        expect_rect(m.extent_of_changes(BLUE), cell, row.text);
    }
}

// The character after '&' is underlined one row below the baseline, all
// but its last column; "&&" is a plain '&'.
TEST(DrawText, PrefixUnderlinesItsCharacter) {
    static const struct {
        const char* text;
        UINT format;
        const char* before; // drawn before the underlined character
        const char* marked; // the underlined character; null: no underline
    } rows[] = {
        {"&Hi", 0, "", "H"},
        {"H&i", 0, "H", "i"},
        {"H&&i", 0, "", nullptr},
        {"&Hi", DT_NOPREFIX, "", nullptr},
    };
    BitmapDc m(120, 40);
    SetBkMode(m.dc(), TRANSPARENT);
    for (const auto& row : rows) {
        m.fill(BLUE);
        RECT rect{4, 6, 120, 40};
        DrawTextA(m.dc(), row.text, -1, &rect, row.format | DT_SINGLELINE);
        int from = 4 + extent_of(m.dc(), row.before).cx;
        int to = row.marked ? from + extent_of(m.dc(), row.marked).cx - 1 : from;
        RECT line{from, 6 + 14, to, 6 + 15};
        EXPECT_EQ(m.count(BLACK, {0, 20, 120, 21}), to - from) << row.text;
        EXPECT_EQ(m.count(BLACK, line), to - from) << row.text;
    }
}

} // namespace
