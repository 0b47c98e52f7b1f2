// The viewport origin: every drawing call, clip rectangle and bounds
// rectangle is in logical coordinates, which the origin moves onto the
// device; clip regions stay in device coordinates.
#include "tests/support/bitmap_dc.h"
#include "tests/support/expect_rect.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr uint32_t BLUE = 0x0000FF;

using Draw = void (*)(HDC dc, int dx, int dy);

void line(HDC dc, int dx, int dy) {
    MoveToEx(dc, 5 + dx, 6 + dy, nullptr);
    LineTo(dc, 40 + dx, 22 + dy);
}

void wide_line(HDC dc, int dx, int dy) {
    HGDIOBJ old = SelectObject(dc, CreatePen(PS_SOLID, 5, RGB(255, 0, 0)));
    MoveToEx(dc, 30 + dx, 4 + dy, nullptr);
    LineTo(dc, 8 + dx, 30 + dy);
    DeleteObject(SelectObject(dc, old));
}

void shapes(HDC dc, int dx, int dy) {
    Rectangle(dc, 3 + dx, 4 + dy, 25 + dx, 18 + dy);
    Ellipse(dc, 20 + dx, 10 + dy, 50 + dx, 30 + dy);
}

void fills(HDC dc, int dx, int dy) {
    PatBlt(dc, 2 + dx, 2 + dy, 12, 9, BLACKNESS);
    RECT r{30 + dx, 5 + dy, 44 + dx, 20 + dy};
    FillRect(dc, &r, (HBRUSH)GetStockObject(GRAY_BRUSH));
    RECT frame{10 + dx, 20 + dy, 36 + dx, 34 + dy};
    FrameRect(dc, &frame, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SetPixel(dc, 50 + dx, 3 + dy, RGB(0, 255, 0));
}

void text(HDC dc, int dx, int dy) {
    TextOutA(dc, 4 + dx, 3 + dy, "Zan", 3);
    RECT r{2 + dx, 20 + dy, 30 + dx, 30 + dy};
    ExtTextOutA(dc, 6 + dx, 18 + dy, ETO_OPAQUE | ETO_CLIPPED, &r, "drel", 4, nullptr);
}

// With TA_UPDATECP the text starts at the current position, which is
// logical like every other coordinate.
void text_at_position(HDC dc, int dx, int dy) {
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 3 + dx, 25 + dy, nullptr);
    TextOutA(dc, 0, 0, "ab", 2);
    TextOutA(dc, 0, 0, "c", 1);
}

void clipped(HDC dc, int dx, int dy) {
    IntersectClipRect(dc, 10 + dx, 5 + dy, 40 + dx, 30 + dy);
    ExcludeClipRect(dc, 20 + dx, 10 + dy, 25 + dx, 40 + dy);
    PatBlt(dc, dx, dy, 60, 40, BLACKNESS);
}

// A copy within one context: both corners are moved by its origin.
void copy_within(HDC dc, int dx, int dy) {
    Rectangle(dc, 2 + dx, 2 + dy, 14 + dx, 12 + dy);
    BitBlt(dc, 20 + dx, 15 + dy, 16, 14, dc, dx, dy, SRCCOPY);
    StretchBlt(dc, 40 + dx, 2 + dy, 8, 8, dc, dx, dy, 16, 14, SRCCOPY);
}

struct Case {
    const char* name;
    Draw draw;
};
const Case CASES[] = {
    {"line", line},
    {"wide line", wide_line},
    {"shapes", shapes},
    {"fills", fills},
    {"text", text},
    {"text at the position", text_at_position},
    {"clip rectangles", clipped},
    {"copy within", copy_within},
};

std::string first_difference(const BitmapDc& a, const BitmapDc& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

void start(const BitmapDc& m) {
    const_cast<BitmapDc&>(m).fill(BLUE);
    SetBoundsRect(m.dc(), nullptr, DCB_RESET | DCB_ENABLE);
}

// Drawing at logical coordinates under an origin lands on the same pixels
// as drawing at the moved coordinates without one; the bounds, the clip box
// and the current position read back in logical coordinates.
TEST(Viewport, EveryDrawingCallIsMovedByTheOrigin) {
    const POINT ORIGINS[] = {{7, 5}, {-9, -4}};
    for (const POINT& o : ORIGINS) {
        for (const Case& c : CASES) {
            BitmapDc moved(64, 48), plain(64, 48);
            start(moved);
            start(plain);
            ASSERT_TRUE(SetViewportOrgEx(moved.dc(), o.x, o.y, nullptr));
            MoveToEx(plain.dc(), o.x, o.y, nullptr);
            c.draw(moved.dc(), 0, 0);
            c.draw(plain.dc(), o.x, o.y);
            std::string where = std::string(c.name) + " at origin " + std::to_string(o.x) + "," +
                                std::to_string(o.y);
            EXPECT_EQ(first_difference(moved, plain), "") << where;
            RECT got{}, want{};
            GetBoundsRect(moved.dc(), &got, 0);
            GetBoundsRect(plain.dc(), &want, 0);
            OffsetRect(&got, o.x, o.y);
            expect_rect(got, want, where + ": bounds");
            GetClipBox(moved.dc(), &got);
            GetClipBox(plain.dc(), &want);
            OffsetRect(&got, o.x, o.y);
            expect_rect(got, want, where + ": clip box");
            POINT at{}, plain_at{};
            GetCurrentPositionEx(moved.dc(), &at);
            GetCurrentPositionEx(plain.dc(), &plain_at);
            EXPECT_EQ(at.x + o.x, plain_at.x) << where;
            EXPECT_EQ(at.y + o.y, plain_at.y) << where;
        }
    }
}

// A copy's source is moved by the source context's origin, its destination
// by the destination's.
TEST(Viewport, BlitMovesEachSideByItsOwnOrigin) {
    BitmapDc source(32, 32), moved(48, 40), plain(48, 40);
    source.fill(BLUE);
    Ellipse(source.dc(), 4, 3, 28, 20);
    start(moved);
    start(plain);
    SetViewportOrgEx(source.dc(), 6, 2, nullptr);
    SetViewportOrgEx(moved.dc(), -3, 8, nullptr);
    BitBlt(moved.dc(), 10, 4, 24, 20, source.dc(), -2, 0, SRCCOPY);
    SetViewportOrgEx(source.dc(), 0, 0, nullptr);
    BitBlt(plain.dc(), 7, 12, 24, 20, source.dc(), 4, 2, SRCCOPY);
    EXPECT_EQ(first_difference(moved, plain), "");
}

// The origin is kept with the context's state: SetViewportOrgEx answers the
// one before, SaveDC keeps it and a new context starts at (0, 0).
TEST(Viewport, OriginIsPartOfTheSavedState) {
    BitmapDc m(8, 8);
    POINT at{1, 1};
    ASSERT_TRUE(GetViewportOrgEx(m.dc(), &at));
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
    ASSERT_TRUE(SetViewportOrgEx(m.dc(), 12, -7, nullptr));
    int saved = SaveDC(m.dc());
    ASSERT_TRUE(SetViewportOrgEx(m.dc(), 3, 4, &at));
    EXPECT_EQ(at.x, 12);
    EXPECT_EQ(at.y, -7);
    RestoreDC(m.dc(), saved);
    GetViewportOrgEx(m.dc(), &at);
    EXPECT_EQ(at.x, 12);
    EXPECT_EQ(at.y, -7);
    EXPECT_FALSE(SetViewportOrgEx(nullptr, 1, 1, nullptr));
    EXPECT_FALSE(GetViewportOrgEx(nullptr, &at));
}

// A clip region is given in device coordinates and the origin does not move
// it; the clip box still reads back in logical coordinates.
TEST(Viewport, ClipRegionStaysOnTheDevice) {
    BitmapDc m(40, 40);
    m.fill(BLUE);
    SetViewportOrgEx(m.dc(), 20, 20, nullptr);
    HRGN region = CreateRectRgn(0, 0, 10, 10);
    SelectClipRgn(m.dc(), region);
    DeleteObject(region);
    PatBlt(m.dc(), -20, -20, 40, 40, BLACKNESS);
    expect_rect(m.extent_of_changes(BLUE), {0, 0, 10, 10}, "pixels drawn");
    RECT box{};
    EXPECT_EQ(GetClipBox(m.dc(), &box), SIMPLEREGION);
    expect_rect(box, {-20, -20, -10, -10}, "clip box");
}

} // namespace
