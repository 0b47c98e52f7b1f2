// Window contexts: drawing through a view of a larger surface, as the user
// part gives one for a window's client area.
#include "platform/gdi/window_dc.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

// A 40 by 30 "screen" with a 20 by 10 client area at (8, 6), of which the
// right quarter is covered by another window.
struct FakeWindow {
    std::vector<uint32_t> screen = std::vector<uint32_t>(40 * 30, 0x0000FF);
    std::vector<RECT> drawn;
    bool has_pixels = true;

    static bool view(void* owner, Surface* surface, std::vector<RECT>* visible) {
        auto* self = static_cast<FakeWindow*>(owner);
        if (!self->has_pixels)
            return false;
        *surface = {self->screen.data() + 6 * 40 + 8, 20, 10, 40};
        visible->push_back({0, 0, 15, 10});
        return true;
    }
    static void note(void* owner, const RECT& rect) {
        static_cast<FakeWindow*>(owner)->drawn.push_back(rect);
    }
    uint32_t at(int x, int y) const { return screen[(size_t)(y * 40 + x)]; }
};

TEST(LayerWindowDc, DrawsAtTheOriginWithinItsVisibleRectangles) {
    FakeWindow window;
    HDC dc = gdi_create_window_dc({&window, FakeWindow::view, FakeWindow::note, false});
    EXPECT_EQ(GetObjectType(dc), (DWORD)OBJ_DC);
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 15);
    EXPECT_EQ(box.bottom, 10);

    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(PatBlt(dc, -5, 2, 100, 1, PATCOPY));
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(window.at(x, 8), x >= 8 && x < 23 ? 0u : 0x0000FFu) << x;
    ASSERT_EQ(window.drawn.size(), 1u);
    EXPECT_EQ(window.drawn[0].left, 0);
    EXPECT_EQ(window.drawn[0].right, 15);
    EXPECT_EQ(window.drawn[0].top, 2);

    // A window context copies from itself like any other.
    EXPECT_TRUE(BitBlt(dc, 0, 3, 15, 1, dc, 0, 2, SRCCOPY));
    EXPECT_EQ(window.at(8, 9), 0u);
    DeleteDC(dc);
}

TEST(LayerWindowDc, WithoutPixelsNothingIsDrawn) {
    FakeWindow window;
    window.has_pixels = false;
    HDC dc = gdi_create_window_dc({&window, FakeWindow::view, FakeWindow::note, false});
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
    EXPECT_TRUE(window.drawn.empty());
    DeleteDC(dc);
}

} // namespace
