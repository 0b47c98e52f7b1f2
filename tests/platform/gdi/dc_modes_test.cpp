// The mapping and polygon-fill modes of a context, and fonts made from
// their parts.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(DcModes, MapModeIsText) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    DeleteDC(dc);
    EXPECT_EQ(GetMapMode(nullptr), 0);
}

// SetPolyFillMode answers the previous mode; SaveDC keeps it.
TEST(DcModes, PolyFillModeIsKeptAndSaved) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetPolyFillMode(dc), ALTERNATE);
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    int saved = SaveDC(dc);
    EXPECT_EQ(SetPolyFillMode(dc, ALTERNATE), WINDING);
    RestoreDC(dc, saved);
    EXPECT_EQ(GetPolyFillMode(dc), WINDING);
    EXPECT_EQ(SetPolyFillMode(dc, 7), 0) << "no such mode";
    EXPECT_EQ(GetPolyFillMode(dc), WINDING);
    DeleteDC(dc);
}

// CreateFontA makes the same font as CreateFontIndirectA of its parts.
TEST(DcModes, CreateFontFromParts) {
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif");
    ASSERT_NE(font, nullptr);
    LOGFONTA seen{};
    ASSERT_EQ(GetObjectA(font, sizeof seen, &seen), (int)sizeof seen);
    EXPECT_EQ(seen.lfHeight, -12);
    EXPECT_EQ(seen.lfWeight, FW_BOLD);
    EXPECT_STREQ(seen.lfFaceName, "MS Sans Serif");
    DeleteObject(font);
}

} // namespace
