// Whole pictures on the layer's headless host: a scene of the game drawn
// with the runtime's statements, the window as the host shows it after each
// statement, and message boxes answered by scripted keys.
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/shapes.h"
#include "runtime/graphics/text_output.h"
#include "tests/runtime/graphics/test_window.h"
#include "tests/support/image_compare.h"

#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using LayerPictures = GraphicsTest;

// The layer hands changed pixels to the host when the program next looks
// at its queue in a new system tick, as the game's frame loop does.
void next_frame() {
    headless_advance_clock_us(15625);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// The host's pixel (0x00RRGGBB) at a client position of the window.
uint32_t shown_pixel(HWND window, int x, int y) {
    next_frame();
    POINT at{x, y};
    ClientToScreen(window, &at);
    RECT outer;
    GetWindowRect(window, &outer);
    int32_t width = 0, height = 0;
    const uint32_t* pixels = desktop_window_pixels(window, &width, &height);
    if (pixels == nullptr)
        return 0xDEADBEEF;
    return pixels[(at.y - outer.top) * width + (at.x - outer.left)];
}

TEST_F(LayerPictures, HostShowsEachStatementWhenItReturns) {
    window.open(1, 192, 180, 640, 368);
    setWindowColor(&record, colorRGB(0, 0, 255));
    EXPECT_EQ(shown_pixel(record.hwnd, 300, 300), 0x0000FFu);
    drawEllipse(&record, 100, 200, 10, 10, colorRGB(0, 0, 0), colorRGB(255, 255, 255));
    EXPECT_EQ(shown_pixel(record.hwnd, 105, 205), 0xFFFFFFu);
    EXPECT_EQ(shown_pixel(record.hwnd, 100, 205), 0x000000u);
    drawLine(&record, 0, 50, 300, 50, colorRGB(255, 255, 0));
    EXPECT_EQ(shown_pixel(record.hwnd, 299, 50), 0xFFFF00u);
    EXPECT_EQ(shown_pixel(record.hwnd, 300, 50), 0x0000FFu);
}

TEST_F(LayerPictures, GameScene) {
    window.open(1, 192, 180, 640, 368);
    setWindowColor(&record, colorRGB(0, 0, 255));
    // Two walls with their gaps, the ball, and the score line.
    drawLine(&record, 0, 80, 200, 80, colorRGB(255, 255, 0));
    drawLine(&record, 240, 80, 634, 80, colorRGB(255, 255, 0));
    drawLine(&record, 0, 160, 400, 160, colorRGB(255, 255, 0));
    drawLine(&record, 440, 160, 634, 160, colorRGB(255, 255, 0));
    drawEllipse(&record, 312, 250, 10, 10, colorRGB(0, 0, 0), colorRGB(255, 255, 255));
    moveToPoint(&record, 1, 1);
    printItems(4, PRINT_TARGET, &record, PRINT_TEXT, "Score: 57", PRINT_CHAR, 13, PRINT_CHAR, 10);
    printTarget = nullptr;
    next_frame();
    Image picture;
    ASSERT_TRUE(headless_window_image(record.hwnd, &picture));
    EXPECT_TRUE(matches_golden("tests/runtime/graphics/golden/game_scene.png",
                               picture.pixels.data(), picture.width, picture.height,
                               picture.width));
}

// Shows a box owned by the window, captured by the script before Enter
// answers it; returns the box's answer and its picture.
int scripted_box(WindowRecord* owner, uint32_t flags, const char* file, Image* picture) {
    std::string script =
        std::string("at 200 capture-window \"Alert\" ") + file + "\nat 300 key Enter\n";
    std::string error;
    EXPECT_TRUE(headless_load_script(script.c_str(), "box", &error)) << error;
    int answer = messageBox(owner, "Crash!!!\r\nScore: 57", "Alert", flags);
    EXPECT_TRUE(png_read_file(file, picture, &error)) << error;
    return answer;
}

TEST_F(LayerPictures, DefaultFlagsShowTheExclamationBox) {
    window.open(1, 192, 180, 640, 368);
    Image by_default, exclamation, ok_cancel;
    EXPECT_EQ(scripted_box(&record, 0, "box_default.png", &by_default), IDOK);
    EXPECT_EQ(scripted_box(&record, MB_ICONEXCLAMATION, "box_exclamation.png", &exclamation), IDOK);
    EXPECT_EQ(scripted_box(&record, MB_OKCANCEL, "box_ok_cancel.png", &ok_cancel), IDOK);
    EXPECT_TRUE(compare_images(exclamation, by_default).equal);
    EXPECT_FALSE(compare_images(exclamation, ok_cancel).equal);
    EXPECT_TRUE(matches_golden("tests/runtime/graphics/golden/crash_box.png",
                               by_default.pixels.data(), by_default.width, by_default.height,
                               by_default.width));
}

} // namespace
