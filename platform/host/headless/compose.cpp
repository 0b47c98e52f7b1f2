// The screen composed as a window manager would show it: the desktop, then
// each visible window from the bottom of the z-order up, cut off at the
// screen's edges, and the task bar above them all.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"
#include "platform/host/host.h"

#include <algorithm>
#include <string.h>

namespace {

// Copies the part of a window that lies inside `area` to `out`, whose first
// pixel is the area's top left.
void draw_window(const RECT& area, uint32_t* out, int32_t stride, const HeadlessWindow& window) {
    LONG left = std::max<LONG>(window.rect.left, area.left);
    LONG top = std::max<LONG>(window.rect.top, area.top);
    LONG right = std::min<LONG>(window.rect.left + window.width, area.right);
    LONG bottom = std::min<LONG>(window.rect.top + window.height, area.bottom);
    if (left >= right)
        return;
    for (LONG y = top; y < bottom; ++y) {
        const uint32_t* from = &window.pixels[size_t(y - window.rect.top) * size_t(window.width) +
                                              size_t(left - window.rect.left)];
        memcpy(out + size_t(y - area.top) * size_t(stride) + size_t(left - area.left), from,
               size_t(right - left) * sizeof(uint32_t));
    }
}

// The task bar lies above every window, in the bottom rows of the screen.
void draw_task_bar(const RECT& area, uint32_t* out, int32_t stride, const HeadlessState& state) {
    RECT screen, work_area;
    host_screen(&screen, &work_area);
    LONG bar_top = screen.bottom - state.task_bar_height;
    LONG left = std::max<LONG>(screen.left, area.left);
    LONG top = std::max<LONG>(bar_top, area.top);
    LONG right = std::min<LONG>(screen.left + state.task_bar_width, area.right);
    LONG bottom = std::min<LONG>(screen.bottom, area.bottom);
    if (left >= right)
        return;
    for (LONG y = top; y < bottom; ++y)
        memcpy(out + size_t(y - area.top) * size_t(stride) + size_t(left - area.left),
               &state.task_bar[size_t(y - bar_top) * size_t(state.task_bar_width) +
                               size_t(left - screen.left)],
               size_t(right - left) * sizeof(uint32_t));
}

} // namespace

void headless_compose_area(const RECT& area, uint32_t* out, int32_t stride) {
    int32_t width = std::max<int32_t>(area.right - area.left, 0);
    for (LONG y = area.top; y < area.bottom; ++y)
        std::fill_n(out + size_t(y - area.top) * size_t(stride), width, HEADLESS_DESKTOP_COLOUR);
    const HeadlessState& state = headless_state();
    for (auto it = state.z_order.rbegin(); it != state.z_order.rend(); ++it) {
        const HeadlessWindow& window = state.windows.at(*it);
        if (window.visible)
            draw_window(area, out, stride, window);
    }
    draw_task_bar(area, out, stride, state);
}

Image headless_compose_screen(void) {
    Image screen;
    screen.width = HEADLESS_SCREEN_WIDTH;
    screen.height = HEADLESS_SCREEN_HEIGHT;
    screen.pixels.resize(size_t(screen.width) * size_t(screen.height));
    headless_compose_area({0, 0, screen.width, screen.height}, screen.pixels.data(), screen.width);
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
