// The scale rules of hosts that show the layer's pixels on a display of
// their own: the SDL host's windows and the web host's canvas.
#include "platform/host/desktop/scale.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopScale, TwoOnlyOnADenseDisplayWithRoomForTheWindowTwiceAsLarge) {
    struct Case {
        float dots_per_inch;
        int width, height, scale;
    } const cases[] = {
        {96.0f, 1920, 1080, 1},  // usual density
        {144.0f, 2560, 1440, 1}, // not dense enough
        {168.0f, 2560, 1440, 2}, // the least density that counts
        {220.0f, 3840, 2160, 2}, // denser still: the rule knows no 3
        {192.0f, 1280, 960, 2},  // exactly twice 640 by 480
        {192.0f, 1279, 960, 1},  // a pixel too narrow
        {192.0f, 1280, 959, 1},  // a pixel too low
        {220.0f, 1024, 768, 1},  // dense but small
        {0.0f, 3840, 2160, 1},   // no density known
        {-1.0f, 3840, 2160, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktop_default_scale(c.dots_per_inch, c.width, c.height), c.scale)
            << c.dots_per_inch << " dpi " << c.width << "x" << c.height;
}

TEST(DesktopScale, AChosenScaleFallsBackToOneThatFits) {
    struct Case {
        int asked, work_width, work_height, expected;
    } const cases[] = {
        {1, 1024, 768, 1},  {2, 1024, 768, 1},  {4, 1024, 768, 1},  {2, 1280, 960, 2},
        {2, 1280, 959, 1},  {3, 2048, 1536, 3}, {4, 2048, 1536, 3}, {4, 2560, 1920, 4},
        {4, 3840, 1000, 2}, {2, 800, 600, 1},   {1, 320, 200, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktop_fitting_scale(c.asked, c.work_width, c.work_height), c.expected)
            << c.asked << " on " << c.work_width << "x" << c.work_height;
}

} // namespace
