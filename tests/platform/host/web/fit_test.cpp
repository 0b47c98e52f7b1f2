// How the screen fits a viewport, and where windows go on a changed screen.
#include "platform/host/web/fit.h"

#include <gtest/gtest.h>

namespace {

TEST(WebFit, NeverSmallerThanTheFloorAndFillingTheViewportAlongOneSide) {
    struct Case {
        double ratio;
        int32_t width, height;
        int32_t screen_width, screen_height;
        double shown;
    } const cases[] = {
        {1.0, 1024, 768, 1024, 768, 1.0},     // a desktop: as before
        {2.0, 1280, 960, 640, 480, 2.0},      // dense: a whole scale
        {1.0, 640, 480, 640, 480, 1.0},       // exactly the floor
        {3.0, 390, 844, 640, 1385, 0.609375}, // a phone upright: the width decides
        {3.0, 844, 390, 1038, 480, 0.8125},   // the same phone turned: the height
        {2.0, 740, 360, 986, 480, 0.75},        {2.0, 360, 640, 640, 1137, 0.5625},
        {2.0, 820, 1180, 820, 1180, 1.0},       // a tablet holds the floor at scale 1
        {1.0, 700, 470, 714, 480, 470.0 / 480}, // a desktop window a little too low
        {1.0, 0, 0, 640, 640, 1.0 / 640},       // a viewport of nothing still gets the floor
    };
    for (const Case& c : cases) {
        WebFit fit = web_fit(c.ratio, c.width, c.height);
        EXPECT_EQ(fit.screen_width, c.screen_width) << c.width << "x" << c.height;
        EXPECT_EQ(fit.screen_height, c.screen_height) << c.width << "x" << c.height;
        EXPECT_DOUBLE_EQ(fit.shown, c.shown) << c.width << "x" << c.height;
        EXPECT_LE(fit.screen_width * fit.shown, std::max(c.width, 1) + 1e-9);
        EXPECT_LE(fit.screen_height * fit.shown, std::max(c.height, 1) + 1e-9);
    }
}

TEST(WebFit, WindowsComeBackOntoTheWorkArea) {
    const RECT work = {0, 0, 1038, 440};
    struct Case {
        RECT window;
        POINT to;
    } const cases[] = {
        {{192, 488, 832, 856}, {192, 72}}, // below the work area: up to its bottom
        {{500, 10, 1140, 378}, {398, 10}}, // off the right
        {{-50, -20, 590, 348}, {0, 0}},    // off the top left
        {{10, 20, 650, 388}, {10, 20}},    // inside: stays
        {{100, 100, 1200, 600}, {0, 0}},   // larger than the area: top left inside
    };
    for (const Case& c : cases) {
        POINT to = web_onto_area(c.window, work);
        EXPECT_EQ(to.x, c.to.x) << c.window.left << "," << c.window.top;
        EXPECT_EQ(to.y, c.to.y) << c.window.left << "," << c.window.top;
    }
}

} // namespace
