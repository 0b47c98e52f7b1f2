// Lines, ellipses and rectangles drawn through a context, one table row per
// case, each with the exact pixels it leaves (as a hash), where they lie and
// the bounds the context accumulates. The same rows run on Windows (under
// Wine) and on the layer, so a row holds only what both draw alike, or says
// why Wine is left out.
//
// With ZANDREL_PRINT_TABLES=1 in the environment every row also prints what
// it drew, in the table's own syntax, so a new row's values can be taken from
// one platform and checked on the other.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"
#include "tests/support/platform_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

namespace {

constexpr uint32_t BLUE = 0x0000FF;

// What a drawing left behind. An empty extent or bounds is all zero.
struct Outcome {
    uint32_t hash; // FNV-1a over the extent's pixels, row by row, four bytes each
    RECT extent;   // the smallest rectangle holding every changed pixel
    RECT bounds;   // what GetBoundsRect reports afterwards
};

bool printing_tables() {
    const char* print = getenv("ZANDREL_PRINT_TABLES");
    return print != nullptr && strcmp(print, "1") == 0;
}

// Hashing only the extent keeps a row's hash independent of the bitmap's
// size, and the extent checked beside it says where the pixels are.
uint32_t hash_of(const BitmapDc& m, const RECT& extent) {
    uint32_t hash = 2166136261u;
    for (int y = extent.top; y < extent.bottom; ++y) {
        for (int x = extent.left; x < extent.right; ++x) {
            uint32_t p = m.pixel(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                hash ^= (p >> shift) & 0xFF;
                hash *= 16777619u;
            }
        }
    }
    return hash;
}

// Every case starts from a blue bitmap with empty bounds, so that any
// changed pixel and every accumulated rectangle comes from the case itself.
void prepare(BitmapDc& m) {
    m.fill(BLUE);
    SetBoundsRect(m.dc(), nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
}

Outcome outcome_of(const BitmapDc& m) {
    Outcome actual{};
    actual.extent = m.extent_of_changes(BLUE);
    actual.hash = hash_of(m, actual.extent);
    GetBoundsRect(m.dc(), &actual.bounds, DCB_RESET);
    return actual;
}

std::string hash_text(uint32_t hash) {
    char text[16];
    snprintf(text, sizeof text, "0x%08X", (unsigned)hash);
    return text;
}

std::string outcome_text(const Outcome& o) {
    return "{" + hash_text(o.hash) + ", " + rect_text(o.extent) + ", " + rect_text(o.bounds) + "}";
}

void expect_outcome(const Outcome& actual, const Outcome& expected) {
    // Where the pixels lie is the most telling difference, so it comes first.
    expect_rect(actual.extent, expected.extent, "extent of the changed pixels");
    EXPECT_EQ(hash_text(actual.hash), hash_text(expected.hash)) << "hash of the changed pixels";
    expect_rect(actual.bounds, expected.bounds, "bounds");
}

// Selects a pen for the life of a case: width 0 is the stock black pen, a
// negative width NULL_PEN, anything else a solid black pen of that width.
class PenInDc {
  public:
    PenInDc(HDC dc, int width) : dc_(dc) {
        if (width > 0)
            pen_ = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
        HGDIOBJ chosen = pen_ ? (HGDIOBJ)pen_ : GetStockObject(width < 0 ? NULL_PEN : BLACK_PEN);
        old_ = SelectObject(dc_, chosen);
    }
    ~PenInDc() {
        SelectObject(dc_, old_);
        if (pen_)
            DeleteObject(pen_);
    }
    PenInDc(const PenInDc&) = delete;
    PenInDc& operator=(const PenInDc&) = delete;

  private:
    HDC dc_;
    HPEN pen_ = nullptr;
    HGDIOBJ old_;
};

// Lines: a pen of `pen_width` (0 for the stock cosmetic pen) from `from` to
// `to` on a 32 by 24 bitmap.

struct LineRow {
    const char* name;
    int pen_width;
    POINT from;
    POINT to;
    Outcome expected;
};

void PrintTo(const LineRow& row, std::ostream* os) {
    *os << row.name;
}

Outcome draw_line(const LineRow& row) {
    BitmapDc m(32, 24);
    prepare(m);
    PenInDc pen(m.dc(), row.pen_width);
    MoveToEx(m.dc(), row.from.x, row.from.y, nullptr);
    EXPECT_TRUE(LineTo(m.dc(), row.to.x, row.to.y));
    return outcome_of(m);
}

void print_row(const LineRow& row, const Outcome& actual) {
    printf("    {\"%s\", %d, {%ld, %ld}, {%ld, %ld}, %s},\n", row.name, row.pen_width,
           (long)row.from.x, (long)row.from.y, (long)row.to.x, (long)row.to.y,
           outcome_text(actual).c_str());
}

// Cosmetic lines leave out their last pixel. Each octant has its own rule for
// a step that falls exactly half way, which the 2:1 and 1:2 slopes reach.
static const LineRow cosmetic_lines[] = {
    {"East", 0, {5, 10}, {15, 10}, {0xEA6207E5, {5, 10, 15, 11}, {5, 10, 16, 11}}},
    {"West", 0, {15, 10}, {5, 10}, {0xEA6207E5, {6, 10, 16, 11}, {5, 10, 16, 11}}},
    {"South", 0, {10, 3}, {10, 13}, {0xEA6207E5, {10, 3, 11, 13}, {10, 3, 11, 14}}},
    {"North", 0, {10, 13}, {10, 3}, {0xEA6207E5, {10, 4, 11, 14}, {10, 3, 11, 14}}},
    {"SouthEast", 0, {5, 5}, {12, 12}, {0x96E4C395, {5, 5, 12, 12}, {5, 5, 13, 13}}},
    {"NorthWest", 0, {12, 12}, {5, 5}, {0x96E4C395, {6, 6, 13, 13}, {5, 5, 13, 13}}},
    {"NorthEast", 0, {5, 12}, {12, 5}, {0x2D7FFF95, {5, 6, 12, 13}, {5, 5, 13, 13}}},
    {"SouthWest", 0, {12, 5}, {5, 12}, {0x2D7FFF95, {6, 5, 13, 12}, {5, 5, 13, 13}}},
    {"Octant0", 0, {16, 12}, {23, 15}, {0xBD77299A, {16, 12, 23, 16}, {16, 12, 24, 16}}},
    {"Octant1", 0, {16, 12}, {19, 19}, {0xAFA6528A, {16, 12, 20, 19}, {16, 12, 20, 20}}},
    {"Octant2", 0, {16, 12}, {13, 19}, {0x32A5B39A, {13, 12, 17, 19}, {13, 12, 17, 20}}},
    {"Octant3", 0, {16, 12}, {9, 15}, {0xBBF2597A, {10, 12, 17, 16}, {9, 12, 17, 16}}},
    {"Octant4", 0, {16, 12}, {9, 9}, {0x2CA37A8A, {10, 9, 17, 13}, {9, 9, 17, 13}}},
    {"Octant5", 0, {16, 12}, {13, 5}, {0xAFDCFD9A, {13, 6, 17, 13}, {13, 5, 17, 13}}},
    {"Octant6", 0, {16, 12}, {19, 5}, {0xD387E28A, {16, 6, 20, 13}, {16, 5, 20, 13}}},
    {"Octant7", 0, {16, 12}, {23, 9}, {0xA7CF84AA, {16, 9, 23, 13}, {16, 9, 24, 13}}},
    {"HalfStepEast", 0, {16, 12}, {22, 15}, {0xEF2924C5, {16, 12, 22, 15}, {16, 12, 23, 16}}},
    {"HalfStepWest", 0, {16, 12}, {10, 9}, {0xB2A90CD5, {11, 9, 17, 13}, {10, 9, 17, 13}}},
    {"HalfStepSouth", 0, {16, 12}, {19, 18}, {0x7FC39EE5, {16, 12, 19, 18}, {16, 12, 20, 19}}},
    {"HalfStepNorth", 0, {16, 12}, {13, 6}, {0x3E4486F5, {13, 7, 17, 13}, {13, 6, 17, 13}}},
    {"HalfStepNorthEast", 0, {16, 12}, {22, 9}, {0xAFC0F8F5, {16, 9, 22, 13}, {16, 9, 23, 13}}},
    {"HalfStepSouthWest", 0, {16, 12}, {10, 15}, {0x1F24A4C5, {11, 12, 17, 15}, {10, 12, 17, 16}}},
    {"Length1East", 0, {10, 10}, {11, 10}, {0x4B95F515, {10, 10, 11, 11}, {10, 10, 12, 11}}},
    {"Length1Diagonal", 0, {10, 10}, {11, 11}, {0x4B95F515, {10, 10, 11, 11}, {10, 10, 12, 12}}},
    {"Length2East", 0, {10, 10}, {12, 10}, {0x9BE17165, {10, 10, 12, 11}, {10, 10, 13, 11}}},
    {"Length2Shallow", 0, {10, 10}, {12, 11}, {0x9BE17165, {10, 10, 12, 11}, {10, 10, 13, 12}}},
    {"Length2Steep", 0, {10, 10}, {9, 12}, {0x8ECF6235, {9, 10, 11, 12}, {9, 10, 11, 13}}},
    // Nothing to draw, yet the bounds take in the point.
    {"Length0", 0, {10, 10}, {10, 10}, {0x811C9DC5, {0, 0, 0, 0}, {10, 10, 11, 11}}},
    // Bounds are reported clipped to the bitmap.
    {"FromOffLeft", 0, {-10, 5}, {10, 8}, {0x3061C2C5, {0, 6, 10, 9}, {0, 5, 11, 9}}},
    {"ToOffBottomRight", 0, {20, 15}, {40, 30}, {0x35B5AC85, {20, 15, 32, 24}, {20, 15, 32, 24}}},
    {"AcrossTheBitmap", 0, {-5, -5}, {40, 30}, {0x7EA1AF7A, {1, 0, 32, 24}, {0, 0, 32, 24}}},
    {"SteepAcross", 0, {5, -20}, {12, 30}, {0xD5E2D7D5, {8, 0, 12, 24}, {5, 0, 13, 24}}},
    {"EndingOnTheRightEdge", 0, {25, 3}, {32, 6}, {0xBD77299A, {25, 3, 32, 7}, {25, 3, 32, 7}}},
};

// Wide pens are round at both ends and, unlike cosmetic ones, draw the end
// point too.
static const LineRow wide_lines[] = {
    {"Width2East", 2, {5, 10}, {15, 10}, {0x3AD73145, {4, 9, 16, 11}, {3, 8, 18, 13}}},
    {"Width3South", 3, {10, 3}, {10, 13}, {0x86045C35, {9, 2, 12, 15}, {7, 0, 14, 17}}},
    {"Width4SouthEast", 4, {5, 5}, {15, 15}, {0x1F64EB05, {3, 3, 17, 17}, {2, 2, 19, 19}}},
    {"Width5Octant0", 5, {8, 8}, {22, 14}, {0xB37C3575, {6, 6, 25, 17}, {4, 4, 27, 19}}},
    {"Width6Octant2", 6, {20, 4}, {14, 18}, {0x1B44DF95, {11, 1, 23, 21}, {10, 0, 25, 23}}},
    {"Width2NorthWest", 2, {20, 18}, {8, 6}, {0xDDB01905, {7, 5, 21, 19}, {6, 4, 23, 21}}},
    {"Width3Octant7", 3, {5, 15}, {20, 8}, {0x92FEFAB5, {4, 7, 22, 17}, {2, 5, 24, 19}}},
    {"Width6West", 6, {25, 12}, {6, 12}, {0x8F12E0E5, {3, 9, 28, 15}, {2, 8, 30, 17}}},
    {"Width5Length1", 5, {12, 12}, {13, 12}, {0x165912C5, {10, 10, 16, 15}, {8, 8, 18, 17}}},
    {"Width4FromOffTop", 4, {10, -6}, {16, 10}, {0x26E2016A, {10, 0, 18, 12}, {7, 0, 20, 14}}},
};

class LineTable : public ::testing::TestWithParam<LineRow> {};

TEST_P(LineTable, DrawsExactly) {
    const LineRow& row = GetParam();
    Outcome actual = draw_line(row);
    if (printing_tables())
        print_row(row, actual);
    expect_outcome(actual, row.expected);
}

std::string row_name(const ::testing::TestParamInfo<LineRow>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cosmetic, LineTable, ::testing::ValuesIn(cosmetic_lines), row_name);
INSTANTIATE_TEST_SUITE_P(WidePen, LineTable, ::testing::ValuesIn(wide_lines), row_name);

// Ellipses and rectangles: a pen of `pen_width` (0 for the stock black pen,
// negative for NULL_PEN) and WHITE_BRUSH or NULL_BRUSH, on a bitmap that
// leaves a margin of 8 pixels right of and below the box.

struct ShapeRow {
    const char* name;
    int pen_width;
    bool hollow; // NULL_BRUSH rather than WHITE_BRUSH
    RECT box;
    Outcome expected;
    // Why Wine draws this row unlike Windows, or null when it does not.
    const char* wine_differs = nullptr;
};

void PrintTo(const ShapeRow& row, std::ostream* os) {
    *os << row.name;
}

void print_row(const ShapeRow& row, const Outcome& actual) {
    printf("    {\"%s\", %d, %s, %s, %s%s},\n", row.name, row.pen_width,
           row.hollow ? "true" : "false", rect_text(row.box).c_str(), outcome_text(actual).c_str(),
           row.wine_differs ? ", WINE_DIFFERS" : "");
}

using ShapeCall = std::function<BOOL(HDC, int, int, int, int)>;

Outcome draw_shape(const ShapeRow& row, const ShapeCall& shape) {
    BitmapDc m(std::max(row.box.left, row.box.right) + 8,
               std::max(row.box.top, row.box.bottom) + 8);
    prepare(m);
    PenInDc pen(m.dc(), row.pen_width);
    HGDIOBJ old_brush = SelectObject(m.dc(), GetStockObject(row.hollow ? NULL_BRUSH : WHITE_BRUSH));
    EXPECT_TRUE(shape(m.dc(), row.box.left, row.box.top, row.box.right, row.box.bottom));
    SelectObject(m.dc(), old_brush);
    return outcome_of(m);
}

void check_shape(const ShapeRow& row, const ShapeCall& shape) {
    if (row.wine_differs && running_under_wine())
        GTEST_SKIP() << row.wine_differs;
    Outcome actual = draw_shape(row, shape);
    if (printing_tables())
        print_row(row, actual);
    expect_outcome(actual, row.expected);
}

std::string shape_row_name(const ::testing::TestParamInfo<ShapeRow>& info) {
    return info.param.name;
}

constexpr const char* SHORT_IN_WINE =
    "Wine ends the outline of an ellipse this narrow a row short of the top and the bottom of "
    "its box; on Windows it reaches both, as it does for every other box";

// BLACK_PEN and WHITE_BRUSH, the game's ball, in every small size.
static const ShapeRow ellipses[] = {
    // A 1 by 1 box draws nothing but still counts in the bounds.
    {"Square1", 0, false, {4, 4, 5, 5}, {0x811C9DC5, {0, 0, 0, 0}, {4, 4, 5, 5}}},
    {"Square2", 0, false, {4, 4, 6, 6}, {0x69691905, {4, 4, 6, 6}, {4, 4, 6, 6}}},
    {"Square3", 0, false, {4, 4, 7, 7}, {0xD6A3577C, {4, 4, 7, 7}, {4, 4, 7, 7}}},
    {"Square4", 0, false, {4, 4, 8, 8}, {0xC3BF1B05, {4, 4, 8, 8}, {4, 4, 8, 8}}},
    {"Square5", 0, false, {4, 4, 9, 9}, {0xC9BB16FC, {4, 4, 9, 9}, {4, 4, 9, 9}}},
    {"Square6", 0, false, {4, 4, 10, 10}, {0x7A642FC5, {4, 4, 10, 10}, {4, 4, 10, 10}}},
    {"Square7", 0, false, {4, 4, 11, 11}, {0x45D7EAB4, {4, 4, 11, 11}, {4, 4, 11, 11}}},
    {"Square8", 0, false, {4, 4, 12, 12}, {0x8BAA0065, {4, 4, 12, 12}, {4, 4, 12, 12}}},
    {"Square9", 0, false, {4, 4, 13, 13}, {0x6D54933C, {4, 4, 13, 13}, {4, 4, 13, 13}}},
    {"Square10", 0, false, {4, 4, 14, 14}, {0x1B381465, {4, 4, 14, 14}, {4, 4, 14, 14}}},
    {"Square11", 0, false, {4, 4, 15, 15}, {0xF1935984, {4, 4, 15, 15}, {4, 4, 15, 15}}},
    {"Square12", 0, false, {4, 4, 16, 16}, {0x77AE93C5, {4, 4, 16, 16}, {4, 4, 16, 16}}},
    {"Square13", 0, false, {4, 4, 17, 17}, {0xFEDDCF6C, {4, 4, 17, 17}, {4, 4, 17, 17}}},
    {"Square14", 0, false, {4, 4, 18, 18}, {0xF1427285, {4, 4, 18, 18}, {4, 4, 18, 18}}},
    {"Square15", 0, false, {4, 4, 19, 19}, {0xD2823F34, {4, 4, 19, 19}, {4, 4, 19, 19}}},
    {"Square16", 0, false, {4, 4, 20, 20}, {0x104F86A5, {4, 4, 20, 20}, {4, 4, 20, 20}}},
    {"Square17", 0, false, {4, 4, 21, 21}, {0x9D4E9E44, {4, 4, 21, 21}, {4, 4, 21, 21}}},
    {"Square18", 0, false, {4, 4, 22, 22}, {0x679A8AE5, {4, 4, 22, 22}, {4, 4, 22, 22}}},
    {"Square19", 0, false, {4, 4, 23, 23}, {0x2392A27C, {4, 4, 23, 23}, {4, 4, 23, 23}}},
    {"Square20", 0, false, {4, 4, 24, 24}, {0xEB27D225, {4, 4, 24, 24}, {4, 4, 24, 24}}},
    {"Box2x3", 0, false, {4, 4, 6, 7}, {0xE2BA14A5, {4, 4, 6, 7}, {4, 4, 6, 7}}},
    {"Box3x2", 0, false, {4, 4, 7, 6}, {0xE2BA14A5, {4, 4, 7, 6}, {4, 4, 7, 6}}},
    {"Box4x10", 0, false, {4, 4, 8, 14}, {0xAABC24A5, {4, 4, 8, 14}, {4, 4, 8, 14}}, SHORT_IN_WINE},
    {"Box10x4", 0, false, {4, 4, 14, 8}, {0x84DE1225, {4, 4, 14, 8}, {4, 4, 14, 8}}},
    {"Box17x9", 0, false, {4, 4, 21, 13}, {0xF721FA84, {4, 4, 21, 13}, {4, 4, 21, 13}}},
    {"Box9x17", 0, false, {4, 4, 13, 21}, {0x7A4BAE84, {4, 4, 13, 21}, {4, 4, 13, 21}}},
    {"Box20x3", 0, false, {4, 4, 24, 7}, {0xEDE4CB35, {4, 4, 24, 7}, {4, 4, 24, 7}}},
    {"Box5x12", 0, false, {4, 4, 9, 16}, {0xBD1B8AB5, {4, 4, 9, 16}, {4, 4, 9, 16}}},
    {"Large300x200", 0, false, {0, 0, 300, 200}, {0x2201F0C5, {0, 0, 300, 200}, {0, 0, 300, 200}}},
};

class EllipseTable : public ::testing::TestWithParam<ShapeRow> {};

TEST_P(EllipseTable, DrawsExactly) {
    check_shape(GetParam(), Ellipse);
}

INSTANTIATE_TEST_SUITE_P(BlackPenWhiteBrush, EllipseTable, ::testing::ValuesIn(ellipses),
                         shape_row_name);

// The outline runs along the left and top of the box and one pixel inside its
// right and bottom, and a wide pen straddles it. Without a pen the brush
// fills one pixel short of the right and the bottom; the bounds still hold
// the whole box.
static const ShapeRow rectangles[] = {
    {"Pen1", 1, false, {10, 10, 30, 24}, {0x43440285, {10, 10, 30, 24}, {10, 10, 30, 24}}},
    {"Pen1Hollow", 1, true, {10, 10, 30, 24}, {0x2AD9DE05, {10, 10, 30, 24}, {10, 10, 30, 24}}},
    {"Pen2", 2, false, {10, 10, 30, 24}, {0xDD8A0D6C, {9, 9, 30, 24}, {8, 8, 32, 26}}},
    {"Pen2Hollow", 2, true, {10, 10, 30, 24}, {0x4C985EEA, {9, 9, 30, 24}, {8, 8, 32, 26}}},
    {"Pen3", 3, false, {10, 10, 30, 24}, {0xD2FE5365, {9, 9, 31, 25}, {7, 7, 33, 27}}},
    {"Pen3Hollow", 3, true, {10, 10, 30, 24}, {0xE44E9F65, {9, 9, 31, 25}, {7, 7, 33, 27}}},
    {"Pen5", 5, false, {10, 10, 30, 24}, {0xD3649E25, {8, 8, 32, 26}, {6, 6, 34, 28}}},
    {"Pen5Hollow", 5, true, {10, 10, 30, 24}, {0x6C081725, {8, 8, 32, 26}, {6, 6, 34, 28}}},
    {"NullPen", -1, false, {10, 10, 30, 24}, {0x1CD6B08C, {10, 10, 29, 23}, {10, 10, 30, 24}}},
    {"NullPenHollow", -1, true, {10, 10, 30, 24}, {0x811C9DC5, {0, 0, 0, 0}, {10, 10, 30, 24}}},
    {"Pen5Small", 5, false, {10, 10, 14, 13}, {0xD77B7A25, {8, 8, 16, 15}, {6, 6, 18, 17}}},
    {"Pen3Thin", 3, false, {10, 10, 30, 12}, {0x0E63E7E5, {9, 9, 31, 13}, {7, 7, 33, 15}}},
    {"NullPen2x2", -1, false, {10, 10, 12, 12}, {0x8C1719BC, {10, 10, 11, 11}, {10, 10, 12, 12}}},
    // A box without width draws nothing and adds nothing to the bounds.
    {"Pen1Empty", 1, false, {10, 10, 10, 20}, {0x811C9DC5, {0, 0, 0, 0}, {0, 0, 0, 0}}},
};

class RectangleTable : public ::testing::TestWithParam<ShapeRow> {};

TEST_P(RectangleTable, DrawsExactly) {
    check_shape(GetParam(), Rectangle);
}

INSTANTIATE_TEST_SUITE_P(Pens, RectangleTable, ::testing::ValuesIn(rectangles), shape_row_name);

// RoundRect: the corners are the quarters of an ellipse of the corner size,
// which is limited to the box; corners two pixels wide or high or less leave
// the rectangle, and so does a null corner. Signs of the corner size and the
// order of the box's sides do not matter.
struct RoundRow {
    ShapeRow shape;
    SIZE corner;
};

void PrintTo(const RoundRow& row, std::ostream* os) {
    *os << row.shape.name;
}

class RoundRectTable : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundRectTable, DrawsExactly) {
    SIZE corner = GetParam().corner;
    check_shape(GetParam().shape, [corner](HDC dc, int l, int t, int r, int b) {
        return RoundRect(dc, l, t, r, b, corner.cx, corner.cy);
    });
}

static const RoundRow round_rects[] = {
    {{"Corner6", 0, false, {2, 2, 18, 14}, {0x2A089525, {2, 2, 18, 14}, {2, 2, 18, 14}}}, {6, 6}},
    {{"Corner5", 0, false, {2, 2, 18, 14}, {0x8C792745, {2, 2, 18, 14}, {2, 2, 18, 14}}}, {5, 5}},
    {{"Corner14x7", 0, false, {2, 2, 18, 14}, {0x67ED2325, {2, 2, 18, 14}, {2, 2, 18, 14}}},
     {14, 7}},
    {{"Large", 0, false, {0, 0, 90, 60}, {0x681106E5, {0, 0, 90, 60}, {0, 0, 90, 60}}}, {41, 27}},
    {{"Corner3", 0, false, {2, 2, 18, 14}, {0x8C792745, {2, 2, 18, 14}, {2, 2, 18, 14}}}, {3, 3}},
    {{"Corner2x8", 0, false, {2, 2, 18, 14}, {0x9558AF65, {2, 2, 18, 14}, {2, 2, 18, 14}}}, {2, 8}},
    {{"CornerOver", 0, false, {2, 2, 18, 14}, {0x891887A5, {2, 2, 18, 14}, {2, 2, 18, 14}}},
     {40, 40}},
    {{"CornerFullWidth", 0, false, {2, 2, 18, 14}, {0x8013CF45, {2, 2, 18, 14}, {2, 2, 18, 14}}},
     {16, 4}},
    {{"Corner9x9Hollow", 0, true, {2, 2, 22, 14}, {0xAA38E325, {2, 2, 22, 14}, {2, 2, 22, 14}}},
     {9, 9}},
    {{"Corner10x12", 1, false, {2, 2, 22, 16}, {0x8F80D625, {2, 2, 22, 16}, {2, 2, 22, 16}}},
     {10, 12}},
    {{"Pen3", 3, false, {4, 4, 18, 14}, {0x24F96EE5, {3, 3, 19, 15}, {1, 1, 21, 17}}}, {6, 6}},
    {{"Pen2Hollow", 2, true, {4, 4, 18, 14}, {0xC774EA5A, {3, 3, 18, 14}, {2, 2, 20, 16}}}, {5, 7}},
    {{"Pen4", 4, false, {4, 4, 24, 20}, {0x5865F85A, {2, 2, 25, 21}, {1, 1, 27, 23}}}, {9, 8}},
    {{"Reversed", 0, false, {18, 14, 2, 2}, {0x2A089525, {2, 2, 18, 14}, {2, 2, 18, 14}}}, {-6, 6}},
    {{"NullCorner", 0, false, {2, 2, 18, 14}, {0x9558AF65, {2, 2, 18, 14}, {2, 2, 18, 14}}},
     {0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Corners, RoundRectTable, ::testing::ValuesIn(round_rects),
                         [](const ::testing::TestParamInfo<RoundRow>& info) {
                             return std::string(info.param.shape.name);
                         });

} // namespace
