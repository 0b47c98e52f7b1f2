// The desktop that the headless and web hosts compose alike: any rectangle
// of it composes to the same pixels as the whole screen there, every change
// of what is shown is reported as damage exactly once, and the damage a host
// copies covers each pixel once.
#include "platform/host/desktop/desktop.h"
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

const HWND LOW = (HWND)0x100;
const HWND HIGH = (HWND)0x200;

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override { headless_reset(); }
    void TearDown() override { headless_reset(); }
};

void place(HWND window, RECT rect, bool visible = true) {
    host_window_placed(window, &rect, visible, nullptr);
}

void fill(HWND window, int32_t width, int32_t height, uint32_t colour) {
    std::vector<uint32_t> pixels(size_t(width * height), colour);
    RECT all = {0, 0, width, height};
    host_present(window, pixels.data(), width, height, width, &all, 1);
}

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool has(const std::vector<RECT>& rects, const RECT& r) {
    for (const RECT& each : rects) {
        if (same(each, r))
            return true;
    }
    return false;
}

TEST_F(Desktop, AreasComposeAsTheWholeScreen) {
    place(LOW, {-4, 10, 60, 50});
    place(HIGH, {30, 0, 90, 40});
    fill(LOW, 64, 40, 0x112233);
    fill(HIGH, 60, 40, 0x445566);
    Image screen = headless_compose_screen();
    const RECT areas[] = {
        {0, 0, 1024, 768}, {25, 5, 70, 45}, {0, 39, 1, 41}, {1000, 700, 1024, 768}};
    for (const RECT& area : areas) {
        int32_t width = area.right - area.left;
        int32_t height = area.bottom - area.top;
        std::vector<uint32_t> out(size_t(width * height), 0xDEADBEEF);
        desktop_compose_area(area, out.data(), width);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x)
                ASSERT_EQ(out[size_t(y * width + x)], screen.at(area.left + x, area.top + y))
                    << "at " << area.left + x << "," << area.top + y;
        }
    }
}

// The stride may be wider than the area: nothing beyond each row is written.
TEST_F(Desktop, AreaRowsKeepToTheirWidth) {
    place(LOW, {0, 0, 10, 10});
    fill(LOW, 10, 10, 0x00FF00);
    std::vector<uint32_t> out(8 * 2, 7);
    desktop_compose_area({2, 2, 6, 4}, out.data(), 8);
    EXPECT_EQ(out[0], 0x00FF00u);
    EXPECT_EQ(out[3], 0x00FF00u);
    EXPECT_EQ(out[4], 7u);
    EXPECT_EQ(out[12], 7u);
}

TEST_F(Desktop, DamageNamesEveryChangeOfTheScreen) {
    struct Case {
        const char* what;
        void (*change)(void);
        std::vector<RECT> expected; // must all be among the damage
    };
    const Case cases[] = {
        {"placed and shown",
         [] {
             place(LOW, {10, 20, 30, 40});
         },
         {{10, 20, 30, 40}}},
        {"moved: where it was and where it is",
         [] {
             place(LOW, {50, 60, 70, 80});
         },
         {{10, 20, 30, 40}, {50, 60, 70, 80}}},
        {"a dirty rectangle, in screen coordinates",
         [] {
             std::vector<uint32_t> pixels(20 * 20, 1);
             RECT dirty = {2, 3, 5, 7};
             host_present(LOW, pixels.data(), 20, 20, 20, &dirty, 1);
         },
         {{52, 63, 55, 67}}},
        {"hidden",
         [] {
             place(LOW, {50, 60, 70, 80}, false);
         },
         {{50, 60, 70, 80}}},
        {"shown again",
         [] {
             place(LOW, {50, 60, 70, 80});
         },
         {{50, 60, 70, 80}}},
        {"destroyed", [] { host_window_destroyed(LOW); }, {{50, 60, 70, 80}}},
    };
    for (const Case& c : cases) {
        c.change();
        std::vector<RECT> damage = desktop_take_damage();
        for (const RECT& r : c.expected)
            EXPECT_TRUE(has(damage, r)) << c.what;
        EXPECT_TRUE(desktop_take_damage().empty()) << c.what << ": taken once";
    }
}

TEST_F(Desktop, HiddenWindowsChangeNothingOnTheScreen) {
    place(LOW, {10, 10, 20, 20}, false);
    desktop_take_damage();
    fill(LOW, 10, 10, 0xFFFFFF);
    EXPECT_TRUE(desktop_take_damage().empty());
}

// A host that never takes the damage keeps a bounded list that still covers
// every change.
TEST_F(Desktop, ManyChangesFoldIntoTheirUnion) {
    place(LOW, {0, 0, 1000, 700});
    std::vector<uint32_t> pixels(1000 * 700, 1);
    for (LONG i = 0; i < 1000; ++i) {
        RECT dirty = {i % 900, i % 600, i % 900 + 3, i % 600 + 2};
        host_present(LOW, pixels.data(), 1000, 700, 1000, &dirty, 1);
    }
    std::vector<RECT> damage = desktop_take_damage();
    EXPECT_LE(damage.size(), 33u);
    bool covered = false;
    for (const RECT& r : damage)
        covered |= r.left <= 899 && r.top <= 99 && r.right >= 902 && r.bottom >= 101;
    EXPECT_TRUE(covered) << "the last dirty rectangle is inside the damage";
}

TEST(DesktopDamage, MergedCutAndEmptyOnesDropped) {
    const RECT screen = {0, 0, 100, 80};
    struct Case {
        const char* what;
        std::vector<RECT> damage;
        std::vector<RECT> expected;
    } const cases[] = {
        {"nothing", {}, {}},
        {"apart", {{0, 0, 10, 10}, {20, 20, 30, 30}}, {{0, 0, 10, 10}, {20, 20, 30, 30}}},
        {"inside another", {{0, 0, 50, 50}, {10, 10, 20, 20}}, {{0, 0, 50, 50}}},
        {"overlapping", {{0, 0, 10, 10}, {5, 5, 15, 15}}, {{0, 0, 15, 15}}},
        {"touching edges stay apart",
         {{0, 0, 10, 10}, {10, 0, 20, 10}},
         {{0, 0, 10, 10}, {10, 0, 20, 10}}},
        {"a chain merges whole",
         {{0, 0, 10, 10}, {30, 0, 40, 10}, {8, 0, 32, 5}},
         {{0, 0, 40, 10}}},
        {"cut to the screen",
         {{-10, -10, 5, 5}, {90, 70, 200, 200}},
         {{0, 0, 5, 5}, {90, 70, 100, 80}}},
        {"off the screen or empty", {{100, 0, 120, 10}, {5, 5, 5, 9}, {9, 9, 3, 3}}, {}},
    };
    for (const Case& c : cases) {
        std::vector<RECT> merged = desktop_merge_damage(c.damage, screen);
        ASSERT_EQ(merged.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < merged.size(); ++i)
            EXPECT_TRUE(same(merged[i], c.expected[i])) << c.what << " #" << i;
    }
}

// The task bar's rows come off the bottom of any screen, however small.
TEST(DesktopWorkArea, AllButTheTaskBarsRows) {
    const RECT cases[][2] = {
        {{0, 0, 1024, 768}, {0, 0, 1024, 728}},
        {{0, 0, 640, 41}, {0, 0, 640, 1}},
        {{0, 0, 640, 30}, {0, 0, 640, 0}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(same(desktop_work_area(c[0]), c[1])) << c[0].bottom;
}

} // namespace
