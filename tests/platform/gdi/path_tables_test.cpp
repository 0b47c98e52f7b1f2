// Polyline and Polygon through a context: rows of exact pixels (a hash over
// the changed pixels, where they lie, and the bounds accumulated) that hold
// on Windows (under Wine) and on the layer, and ref tests of calls that must
// draw alike. ZANDREL_PRINT_TABLES=1 prints each row as drawn.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

constexpr uint32_t BLUE = 0x0000FF;

struct Outcome {
    uint32_t hash; // FNV-1a over the extent's pixels, row by row
    RECT extent;   // the smallest rectangle holding every changed pixel
    RECT bounds;   // what GetBoundsRect reports
};

Outcome outcome_of(const BitmapDc& m) {
    Outcome o{2166136261u, m.extent_of_changes(BLUE), {}};
    for (LONG y = o.extent.top; y < o.extent.bottom; ++y)
        for (LONG x = o.extent.left; x < o.extent.right; ++x)
            o.hash = (o.hash ^ m.pixel(x, y)) * 16777619u;
    GetBoundsRect(m.dc(), &o.bounds, DCB_RESET);
    return o;
}

struct PathRow {
    const char* name;
    int pen_width; // 0: the stock black pen; negative: NULL_PEN
    int fill_mode; // 0: Polyline; ALTERNATE or WINDING: Polygon with a white brush
    int count;
    POINT points[6];
    Outcome expected;
};

Outcome draw(const PathRow& row) {
    BitmapDc m(40, 32);
    m.fill(BLUE);
    SetBoundsRect(m.dc(), nullptr, DCB_RESET | DCB_ENABLE);
    HPEN pen = row.pen_width > 0 ? CreatePen(PS_SOLID, row.pen_width, RGB(0, 0, 0))
                                 : (HPEN)GetStockObject(row.pen_width < 0 ? NULL_PEN : BLACK_PEN);
    HGDIOBJ old_pen = SelectObject(m.dc(), pen);
    SetPolyFillMode(m.dc(), row.fill_mode == 0 ? ALTERNATE : row.fill_mode);
    auto draw = row.fill_mode == 0 ? Polyline : Polygon;
    EXPECT_TRUE(draw(m.dc(), row.points, row.count));
    DeleteObject(SelectObject(m.dc(), old_pen)); // stock pens stay
    return outcome_of(m);
}

class PathTable : public ::testing::TestWithParam<PathRow> {};

TEST_P(PathTable, DrawsExactly) {
    const PathRow& row = GetParam();
    Outcome actual = draw(row);
    const char* print = getenv("ZANDREL_PRINT_TABLES");
    if (print != nullptr && print[0] == '1')
        printf("%s {0x%08X, %s, %s}\n", row.name, (unsigned)actual.hash,
               rect_text(actual.extent).c_str(), rect_text(actual.bounds).c_str());
    expect_rect(actual.extent, row.expected.extent, "extent of the changed pixels");
    EXPECT_EQ(actual.hash, row.expected.hash) << "hash of the changed pixels";
    expect_rect(actual.bounds, row.expected.bounds, "bounds");
}

std::string row_name(const ::testing::TestParamInfo<PathRow>& info) {
    return info.param.name;
}

constexpr int LINE = 0;
// A five-pointed star, whose middle is inside only when filled by winding.
// clang-format off
#define STAR 5, {{20, 2}, {30, 28}, {6, 11}, {34, 11}, {10, 28}}
static const PathRow paths[] = {
    {"ZigzagWidth3", 3, LINE, 4, {{4, 4}, {30, 8}, {10, 20}, {34, 26}},
     {0xA8668C1F, {3, 3, 36, 28}, {1, 1, 38, 30}}},
    {"ZigzagWidth6", 6, LINE, 3, {{6, 26}, {20, 6}, {34, 26}},
     {0x78345F5B, {3, 3, 37, 29}, {2, 2, 39, 31}}},
    {"TriangleThin", 0, ALTERNATE, 3, {{4, 4}, {34, 10}, {12, 28}},
     {0xC3E0C1C0, {4, 4, 35, 29}, {4, 4, 35, 29}}},
    {"TriangleNoPen", -1, ALTERNATE, 3, {{4, 4}, {34, 10}, {12, 28}},
     {0x48222DBC, {5, 5, 34, 28}, {4, 4, 35, 29}}},
    {"TriangleWidth4", 4, ALTERNATE, 3, {{4, 4}, {34, 10}, {12, 28}},
     {0x8E76313D, {2, 2, 36, 30}, {1, 1, 38, 32}}},
    {"ConcaveNoPen", -1, ALTERNATE, 6, {{2, 2}, {36, 2}, {36, 30}, {20, 12}, {2, 30}, {10, 16}},
     {0xE855009F, {2, 2, 36, 29}, {2, 2, 37, 31}}},
    {"StarAlternate", -1, ALTERNATE, STAR,
     {0xF09460D9, {6, 3, 34, 28}, {6, 2, 35, 29}}},
    {"StarWinding", -1, WINDING, STAR,
     {0xCAB3B9D9, {6, 3, 34, 28}, {6, 2, 35, 29}}},
    {"StarThinWinding", 0, WINDING, STAR,
     {0xE7D7874A, {6, 2, 35, 29}, {6, 2, 35, 29}}},
    {"OffTheBitmap", -1, ALTERNATE, 3, {{-10, -10}, {60, 5}, {5, 60}},
     {0xD26D54C5, {0, 0, 40, 32}, {0, 0, 40, 32}}},
};
#undef STAR
// clang-format on

INSTANTIATE_TEST_SUITE_P(Paths, PathTable, ::testing::ValuesIn(paths), row_name);

// A cosmetic polyline is its segments drawn as LineTo draws them, and leaves
// the current position alone.
TEST(PathRefs, ThinPolylineIsItsLineTos) {
    static const POINT zigzag[] = {{3, 3}, {30, 9}, {8, 20}, {8, 5}, {35, 28}};
    BitmapDc by_polyline(40, 32), by_lines(40, 32);
    by_polyline.fill(BLUE);
    by_lines.fill(BLUE);
    MoveToEx(by_polyline.dc(), 7, 7, nullptr);
    EXPECT_TRUE(Polyline(by_polyline.dc(), zigzag, 5));
    POINT position{};
    GetCurrentPositionEx(by_polyline.dc(), &position);
    EXPECT_EQ(position.x * 100 + position.y, 707);
    MoveToEx(by_lines.dc(), zigzag[0].x, zigzag[0].y, nullptr);
    for (int i = 1; i < 5; ++i)
        LineTo(by_lines.dc(), zigzag[i].x, zigzag[i].y);
    for (int i = 0; i < 40 * 32; ++i)
        ASSERT_EQ(by_polyline.bits()[i], by_lines.bits()[i]) << "pixel " << i;
}

TEST(PathRefs, TooFewPointsDrawNothing) {
    BitmapDc m(8, 8);
    m.fill(BLUE);
    static const POINT one[] = {{1, 1}};
    EXPECT_FALSE(Polyline(m.dc(), one, 1));
    EXPECT_FALSE(Polygon(m.dc(), one, 1));
    EXPECT_EQ(m.extent_of_changes(BLUE).right, 0);
}

} // namespace
