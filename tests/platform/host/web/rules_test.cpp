// The web host's rules that need no browser: the scale for a viewport, the
// tick count's start from the wall clock, the rectangles copied to the
// canvas, its byte order and the page's list of windows.
#include "platform/host/web/web_host.h"

#include <gtest/gtest.h>

namespace {

TEST(WebScale, TwoOnlyOnADenseDisplayWithRoomForTheWindowTwiceAsLarge) {
    struct Case {
        double ratio;
        int32_t width, height;
        int scale;
    } const cases[] = {
        {1.0, 1920, 1080, 1}, // usual density
        {2.0, 1280, 960, 2},  // dense, exactly twice 640 by 480
        {2.0, 1279, 960, 1},  // dense, a pixel too narrow
        {2.0, 1280, 959, 1},  // a pixel too low
        {3.0, 2000, 1200, 2}, // denser still: the rule knows no 3
        {1.5, 2560, 1440, 1}, // not dense enough
        {0.0, 2560, 1440, 1}, // a ratio the browser did not give
    };
    for (const Case& c : cases)
        EXPECT_EQ(web_choose_scale(c.ratio, c.width, c.height), c.scale)
            << c.ratio << " " << c.width << "x" << c.height;
}

TEST(WebClock, StartsFromTheWallClockModuloTwoToThe32) {
    EXPECT_EQ(web_clock_start_us(0), 0u);
    EXPECT_EQ(web_clock_start_us(1234.9), 1'234'000u);
    EXPECT_EQ(web_clock_start_us(4294967295.0), 4'294'967'295'000u);
    EXPECT_EQ(web_clock_start_us(4294967296.0 + 7), 7'000u);
    EXPECT_EQ(web_clock_start_us(1.7e12), uint64_t(1'700'000'000'000 % 4'294'967'296) * 1000);
    EXPECT_EQ(web_clock_start_us(-5), 0u) << "a clock before 1970 starts at 0";
    EXPECT_NE(web_clock_start_us(1.7e12), web_clock_start_us(1.7e12 + 3000))
        << "loads seconds apart start apart";
}

TEST(WebClock, CountsFromThePerformanceOrigin) {
    WebHost host;
    host.clock_origin_ms = 500.0;
    host.clock_start_us = 4'294'967'000'000;
    EXPECT_EQ(web_clock_at(host, 500.0), 4'294'967'000'000u);
    EXPECT_EQ(web_clock_at(host, 515.625), 4'294'967'015'625u);
    EXPECT_EQ(web_clock_at(host, 499.0), 4'294'967'000'000u) << "never before the start";
}

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WebDamage, MergedCutAndEmptyOnesDropped) {
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
        std::vector<RECT> merged = web_merge_damage(c.damage, screen);
        ASSERT_EQ(merged.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < merged.size(); ++i)
            EXPECT_TRUE(same(merged[i], c.expected[i])) << c.what << " #" << i;
    }
}

TEST(WebCanvas, PixelsBecomeRedGreenBlueOpaqueBytes) {
    uint32_t pixels[] = {0x00123456, 0x00FFFFFF, 0x00000000, 0x00FF0000};
    web_to_canvas_pixels(pixels, 4);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(pixels);
    const unsigned char expected[] = {0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF};
    for (size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
}

TEST(WebWindows, ListedAsJsonWithTitlesEscaped) {
    EXPECT_EQ(web_describe_windows({}), "[]");
    EXPECT_EQ(web_describe_windows({{"Alert", {10, 20, 30, 40}}, {"Zandrel", {-1, 0, 640, 368}}}),
              "[{\"title\":\"Alert\",\"rect\":[10,20,30,40]},"
              "{\"title\":\"Zandrel\",\"rect\":[-1,0,640,368]}]");
    EXPECT_EQ(web_describe_windows({{"a\"b\\c\n\xE9", {0, 0, 1, 1}}}),
              "[{\"title\":\"a\\\"b\\\\c\\u000a\\u00e9\",\"rect\":[0,0,1,1]}]");
}

} // namespace
