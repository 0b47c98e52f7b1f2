// The canvas copy's comparison and the bands a presentation puts: a frame
// must put every changed pixel, and few calls.
#include "platform/host/web/web_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RowCase {
    const char* what;
    std::vector<int32_t> changed; // columns whose pixel changes
    WebSpan span;
};

TEST(WebCanvasChanges, RowSpanRunsFromFirstToLastChangedPixel) {
    const RowCase cases[] = {
        {"nothing changed", {}, {0, 0}},
        {"first pixel", {0}, {0, 1}},
        {"last pixel, odd width", {6}, {6, 7}},
        {"odd column of an even pair", {3}, {3, 4}},
        {"two apart, unchanged between", {1, 5}, {1, 6}},
    };
    for (const RowCase& c : cases) {
        std::vector<uint32_t> shown(7, 0x0000FF), canvas(7, web_canvas_word(0x0000FF));
        std::vector<uint32_t> composed = shown;
        for (int32_t x : c.changed)
            composed[size_t(x)] = 0xFFFF00;
        WebSpan span = web_update_row(composed.data(), {shown.data(), canvas.data()}, 7);
        EXPECT_EQ(span.left, c.span.left) << c.what;
        EXPECT_EQ(span.right, c.span.right) << c.what;
        EXPECT_EQ(shown, composed) << c.what;
        for (size_t x = 0; x < 7; ++x)
            EXPECT_EQ(canvas[x], web_canvas_word(composed[x])) << c.what << ", column " << x;
    }
}

TEST(WebCanvasChanges, NearRowsShareABandAndFarRowsStartOne) {
    std::vector<RECT> bands;
    web_add_changed_row(&bands, 10, {0, 640});   // a wall's erased row
    web_add_changed_row(&bands, 12, {0, 640});   // its new row, one row below
    web_add_changed_row(&bands, 15, {300, 310}); // the ball, two rows further
    web_add_changed_row(&bands, 30, {5, 60});    // the score, far below
    web_add_changed_row(&bands, 4, {5, 60});     // from another damaged area, above
    std::vector<RECT> expected = {{0, 10, 640, 16}, {5, 30, 60, 31}, {5, 4, 60, 5}};
    ASSERT_EQ(bands.size(), expected.size());
    for (size_t i = 0; i < bands.size(); ++i) {
        const RECT &a = bands[i], &e = expected[i];
        EXPECT_TRUE(a.left == e.left && a.top == e.top && a.right == e.right &&
                    a.bottom == e.bottom)
            << "band " << i << ": " << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    }
}

} // namespace
