// The web host's rules that need no browser: the tick count's start from
// the wall clock, the canvas's byte order and the page's list of windows.
#include "platform/host/web/web_host.h"

#include <gtest/gtest.h>

namespace {

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
