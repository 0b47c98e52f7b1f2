// Pictures of the virtual screen, composed as a window manager would show
// it: the desktop, then each visible window from the bottom of the z-order
// up, cut off at the screen's edges.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"

#include <algorithm>
#include <string.h>

namespace {

void draw_window(Image* screen, const HeadlessWindow& window) {
    LONG left = std::max<LONG>(window.rect.left, 0);
    LONG top = std::max<LONG>(window.rect.top, 0);
    LONG right = std::min<LONG>(window.rect.left + window.width, screen->width);
    LONG bottom = std::min<LONG>(window.rect.top + window.height, screen->height);
    for (LONG y = top; y < bottom; ++y) {
        const uint32_t* from = &window.pixels[size_t(y - window.rect.top) * size_t(window.width) +
                                              size_t(left - window.rect.left)];
        memcpy(&screen->pixels[size_t(y) * size_t(screen->width) + size_t(left)], from,
               size_t(std::max<LONG>(right - left, 0)) * sizeof(uint32_t));
    }
}

// The task bar lies above every window, in the rows below the work area.
void draw_task_bar(Image* screen, const HeadlessState& state) {
    int32_t top = HEADLESS_SCREEN_HEIGHT - HEADLESS_TASK_BAR_HEIGHT;
    int32_t width = std::min(state.task_bar_width, screen->width);
    int32_t height = std::min(state.task_bar_height, screen->height - top);
    for (int32_t y = 0; y < height; ++y)
        memcpy(&screen->pixels[size_t(top + y) * size_t(screen->width)],
               &state.task_bar[size_t(y) * size_t(state.task_bar_width)],
               size_t(width) * sizeof(uint32_t));
}

// The error names the path once, with the system's reason.
bool write_picture(const char* path, const Image& image, std::string* error) {
    std::string why;
    if (png_write_file(path, image.pixels.data(), image.width, image.height, image.width, &why))
        return true;
    if (error)
        *error = why;
    return false;
}

} // namespace

Image headless_compose_screen(void) {
    Image screen;
    screen.width = HEADLESS_SCREEN_WIDTH;
    screen.height = HEADLESS_SCREEN_HEIGHT;
    screen.pixels.assign(size_t(screen.width) * size_t(screen.height), HEADLESS_DESKTOP_COLOUR);
    const HeadlessState& state = headless_state();
    for (auto it = state.z_order.rbegin(); it != state.z_order.rend(); ++it) {
        const HeadlessWindow& window = state.windows.at(*it);
        if (window.visible)
            draw_window(&screen, window);
    }
    draw_task_bar(&screen, state);
    return screen;
}

bool headless_window_image(HWND window, Image* image) {
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* pixels = headless_window_pixels(window, &width, &height);
    if (!headless_window_title(window))
        return false; // not a window the host knows
    image->width = width;
    image->height = height;
    image->pixels.assign(pixels, pixels + size_t(width) * size_t(height));
    return true;
}

bool headless_capture_screen(const char* path, std::string* error) {
    return write_picture(path, headless_compose_screen(), error);
}

bool headless_capture_window(HWND window, const char* path, std::string* error) {
    Image image;
    if (!headless_window_image(window, &image)) {
        if (error)
            *error = "no such window to write to " + std::string(path);
        return false;
    }
    return write_picture(path, image, error);
}

void headless_set_capture_dir(const char* dir) {
    headless_state().capture_dir = dir;
}
