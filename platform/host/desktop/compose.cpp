// The screen composed as a window manager would show it: the desktop, then
// each visible window from the bottom of the z-order up, cut off at the
// screen's edges, and the task bar above them all.
#include "platform/host/desktop/desktop.h"
#include "platform/host/desktop/state.h"

#include <algorithm>
#include <string.h>

namespace {

// Copies the part of a picture at `place` (screen coordinates, `stride`
// pixels per row) that lies inside `area` to `out`, whose first pixel is
// the area's top left.
void draw(const RECT& area, uint32_t* out, int32_t out_stride, const RECT& place,
          const uint32_t* pixels, int32_t stride) {
    RECT part;
    if (!IntersectRect(&part, &place, &area))
        return;
    for (LONG y = part.top; y < part.bottom; ++y)
        memcpy(out + size_t(y - area.top) * size_t(out_stride) + size_t(part.left - area.left),
               pixels + size_t(y - place.top) * size_t(stride) + size_t(part.left - place.left),
               size_t(part.right - part.left) * sizeof(uint32_t));
}

void draw_window(const RECT& area, uint32_t* out, int32_t stride, const DesktopWindow& window) {
    RECT place = {window.rect.left, window.rect.top, window.rect.left + window.width,
                  window.rect.top + window.height};
    draw(area, out, stride, place, window.pixels.data(), window.width);
}

// The task bar lies above every window, in the bottom rows of the screen.
void draw_task_bar(const RECT& area, uint32_t* out, int32_t stride, const DesktopState& state) {
    RECT screen;
    host_screen(&screen, nullptr);
    RECT place = {screen.left, screen.bottom - state.task_bar_height,
                  screen.left + state.task_bar_width, screen.bottom};
    draw(area, out, stride, place, state.task_bar.data(), state.task_bar_width);
}

} // namespace

RECT desktop_work_area(const RECT& screen) {
    return {screen.left, screen.top, screen.right,
            std::max<LONG>(screen.bottom - DESKTOP_TASK_BAR_HEIGHT, screen.top)};
}

void desktop_compose_area(const RECT& area, uint32_t* out, int32_t stride) {
    int32_t width = std::max<int32_t>(area.right - area.left, 0);
    for (LONG y = area.top; y < area.bottom; ++y)
        std::fill_n(out + size_t(y - area.top) * size_t(stride), width, DESKTOP_COLOUR);
    const DesktopState& state = desktop_state();
    for (auto it = state.z_order.rbegin(); it != state.z_order.rend(); ++it) {
        const DesktopWindow& window = state.windows.at(*it);
        if (window.visible)
            draw_window(area, out, stride, window);
    }
    draw_task_bar(area, out, stride, state);
}
