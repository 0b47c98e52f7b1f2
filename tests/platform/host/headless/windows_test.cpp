// The host's record of top-level windows, and the screen composed from it:
// presents copy only their dirty rectangles, the z-order follows `above`,
// and captures draw windows bottom to top, clipped at the screen's edges.
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <windows.h>

namespace {

const HWND FIRST = (HWND)0x100;
const HWND SECOND = (HWND)0x200;
const HWND THIRD = (HWND)0x300;

class HostWindows : public ::testing::Test {
  protected:
    void SetUp() override { headless_reset(); }
    void TearDown() override { headless_reset(); }
};

void place(HWND window, LONG x, LONG y, LONG width, LONG height, bool visible = true,
           HWND above = nullptr) {
    RECT rect = {x, y, x + width, y + height};
    host_window_placed(window, &rect, visible, above);
}

// Presents the whole of a window in one colour.
void fill(HWND window, int32_t width, int32_t height, uint32_t colour) {
    std::vector<uint32_t> pixels(size_t(width * height), colour);
    RECT all = {0, 0, width, height};
    host_present(window, pixels.data(), width, height, width, &all, 1);
}

uint32_t pixel(HWND window, int32_t x, int32_t y) {
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* pixels = desktop_window_pixels(window, &width, &height);
    return pixels[y * width + x];
}

TEST(HostScreen, IsTheVirtualScreenWithATaskBar) {
    RECT screen;
    RECT work;
    host_screen(&screen, &work);
    EXPECT_EQ(screen.right - screen.left, 1024);
    EXPECT_EQ(screen.bottom - screen.top, 768);
    EXPECT_EQ(work.left, 0);
    EXPECT_EQ(work.top, 0);
    EXPECT_EQ(work.right, 1024);
    EXPECT_EQ(work.bottom, 728);
}

TEST_F(HostWindows, ZOrderFollowsAbove) {
    place(FIRST, 0, 0, 10, 10);
    place(SECOND, 0, 0, 10, 10);
    place(THIRD, 0, 0, 10, 10, true, FIRST); // directly below FIRST
    EXPECT_EQ(desktop_z_order(), (std::vector<HWND>{SECOND, FIRST, THIRD}));
    place(SECOND, 5, 5, 10, 10, true, THIRD); // moved to the bottom
    EXPECT_EQ(desktop_z_order(), (std::vector<HWND>{FIRST, THIRD, SECOND}));
    place(THIRD, 5, 5, 10, 10, true, THIRD); // above itself: stays where it is
    EXPECT_EQ(desktop_z_order(), (std::vector<HWND>{FIRST, THIRD, SECOND}));
    EXPECT_EQ(desktop_top_window(), FIRST);
    place(FIRST, 0, 0, 10, 10, false);
    EXPECT_EQ(desktop_top_window(), THIRD) << "hidden windows are never the top one";
    host_window_destroyed(THIRD);
    EXPECT_EQ(desktop_z_order(), (std::vector<HWND>{FIRST, SECOND}));
    EXPECT_EQ(desktop_window_count(), 2u);
    EXPECT_EQ(desktop_top_window(), SECOND);
    RECT rect;
    EXPECT_FALSE(desktop_window_rect(THIRD, &rect));
    ASSERT_TRUE(desktop_window_rect(SECOND, &rect));
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.bottom, 15);
}

TEST_F(HostWindows, TitlesAndIcons) {
    place(FIRST, 0, 0, 10, 10);
    place(SECOND, 0, 0, 10, 10);
    host_window_titled(FIRST, "Zandrel");
    host_window_titled(SECOND, "Zandrel");
    EXPECT_STREQ(desktop_window_title(FIRST), "Zandrel");
    EXPECT_EQ(desktop_find_window("Zandrel"), SECOND) << "the topmost of the same title";
    EXPECT_EQ(desktop_find_window("Other"), nullptr);
    EXPECT_EQ(desktop_window_title(THIRD), nullptr);
    EXPECT_EQ(desktop_window_icon(FIRST), nullptr);
    host_window_titled(THIRD, "Early"); // titled before it is first placed
    EXPECT_EQ(desktop_find_window("Early"), nullptr);
    place(THIRD, 0, 0, 10, 10, true, FIRST);
    EXPECT_EQ(desktop_find_window("Early"), THIRD);
    EXPECT_EQ(desktop_z_order(), (std::vector<HWND>{SECOND, FIRST, THIRD}));
    host_window_destroyed(THIRD);
    uint32_t icon[256];
    for (int i = 0; i < 256; ++i)
        icon[i] = 0xFF000000u | uint32_t(i);
    host_window_icon(FIRST, icon);
    icon[7] = 0; // the host keeps its own copy
    ASSERT_NE(desktop_window_icon(FIRST), nullptr);
    EXPECT_EQ(desktop_window_icon(FIRST)[7], 0xFF000007u);
    EXPECT_EQ(desktop_window_icon(FIRST)[255], 0xFF0000FFu);
}

TEST_F(HostWindows, PresentCopiesOnlyTheDirtyRectangles) {
    place(FIRST, 0, 0, 8, 6);
    fill(FIRST, 8, 6, 0x111111);
    // The layer's buffer has a wider stride than the window.
    std::vector<uint32_t> pixels(16 * 6, 0x222222);
    RECT dirty[] = {{1, 1, 3, 2}, {6, 4, 20, 9}}; // the second runs off the window
    host_present(FIRST, pixels.data(), 8, 6, 16, dirty, 2);
    EXPECT_EQ(desktop_present_count(), 2u);
    std::string rows;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x)
            rows += pixel(FIRST, x, y) == 0x222222 ? '#' : '.';
        rows += '\n';
    }
    EXPECT_EQ(rows, "........\n"
                    ".##.....\n"
                    "........\n"
                    "........\n"
                    "......##\n"
                    "......##\n");
}

TEST_F(HostWindows, ResizingKeepsTheSharedPixels) {
    place(FIRST, 0, 0, 4, 4);
    fill(FIRST, 4, 4, 0xABCDEF);
    place(FIRST, 50, 50, 6, 2); // moved and resized
    int32_t width = 0;
    int32_t height = 0;
    ASSERT_NE(desktop_window_pixels(FIRST, &width, &height), nullptr);
    EXPECT_EQ(width, 6);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(pixel(FIRST, 3, 1), 0xABCDEFu);
    EXPECT_EQ(pixel(FIRST, 4, 0), 0u);
    EXPECT_EQ(pixel(FIRST, 5, 1), 0u);
}

TEST_F(HostWindows, ScreenIsComposedBottomToTopAndClippedAtTheEdges) {
    place(FIRST, -5, -5, 20, 20);                 // off the top left corner
    place(SECOND, 10, 10, 20, 20);                // overlaps FIRST, on top
    place(THIRD, 1014, 758, 30, 30, true, FIRST); // off the bottom right, below FIRST
    const HWND hidden = (HWND)0x400;
    place(hidden, 0, 0, 100, 100, false); // topmost but hidden: not drawn
    fill(FIRST, 20, 20, 0xFF0000);
    fill(SECOND, 20, 20, 0x00FF00);
    fill(THIRD, 30, 30, 0x0000FF);
    fill(hidden, 100, 100, 0xFFFFFF);
    Image screen = headless_compose_screen();
    ASSERT_EQ(screen.width, 1024);
    ASSERT_EQ(screen.height, 768);
    EXPECT_EQ(screen.at(0, 0), 0xFF0000u);
    EXPECT_EQ(screen.at(14, 14), 0x00FF00u) << "SECOND is above FIRST";
    EXPECT_EQ(screen.at(9, 9), 0xFF0000u);
    EXPECT_EQ(screen.at(15, 0), DESKTOP_COLOUR);
    EXPECT_EQ(screen.at(29, 29), 0x00FF00u);
    EXPECT_EQ(screen.at(30, 30), DESKTOP_COLOUR);
    EXPECT_EQ(screen.at(1013, 767), DESKTOP_COLOUR);
    EXPECT_EQ(screen.at(1014, 758), 0x0000FFu);
    EXPECT_EQ(screen.at(1023, 767), 0x0000FFu);
    EXPECT_EQ(screen.at(500, 500), DESKTOP_COLOUR);

    // Raise THIRD over everything, and move it over FIRST's corner.
    place(THIRD, 0, 0, 30, 30);
    screen = headless_compose_screen();
    EXPECT_EQ(screen.at(0, 0), 0x0000FFu);
    EXPECT_EQ(screen.at(29, 29), 0x0000FFu);
    EXPECT_EQ(screen.at(30, 30), DESKTOP_COLOUR);
}

TEST_F(HostWindows, CapturesWriteTheComposedPictures) {
    place(FIRST, 100, 200, 3, 2);
    uint32_t pixels[] = {1, 2, 3, 4, 5, 6};
    RECT all = {0, 0, 3, 2};
    host_present(FIRST, pixels, 3, 2, 3, &all, 1);
    std::string dir = ::testing::TempDir();
    std::string screen_path = dir + "/host_windows_screen.png";
    std::string window_path = dir + "/host_windows_window.png";
    std::string error;
    ASSERT_TRUE(headless_capture_screen(screen_path.c_str(), &error)) << error;
    ASSERT_TRUE(headless_capture_window(FIRST, window_path.c_str(), &error)) << error;
    EXPECT_FALSE(headless_capture_window(SECOND, window_path.c_str(), &error));

    Image screen;
    Image window;
    ASSERT_TRUE(png_read_file(screen_path.c_str(), &screen, &error)) << error;
    ASSERT_TRUE(png_read_file(window_path.c_str(), &window, &error)) << error;
    EXPECT_EQ(screen.pixels, headless_compose_screen().pixels);
    EXPECT_EQ(screen.at(102, 201), 6u);
    ASSERT_EQ(window.width, 3);
    ASSERT_EQ(window.height, 2);
    EXPECT_EQ(window.pixels, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    remove(screen_path.c_str());
    remove(window_path.c_str());
}

} // namespace
