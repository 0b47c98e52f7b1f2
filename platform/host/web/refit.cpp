// The screen's fit to the viewport: read when the host starts, and again
// when the viewport changes size (a phone turned, a window resized) while
// the program runs: the canvas takes the new
// size, the windows that would be off the new work area come back onto
// it, and the whole screen is shown again.
#include "platform/host/desktop/desktop.h"
#include "platform/host/web/fit.h"
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

#include <emscripten.h>

namespace {

void push(WebHost& host, HostEventType type, HWND window, POINT point) {
    HostEvent event{};
    event.type = type;
    event.time_us = host_clock_us();
    event.window = window;
    event.point = point;
    host.pending.push_back(event);
}

// Moves come as the window manager's (HOST_MOVED); one exposure lets the
// layer present again, the task bar at its new width included.
void bring_windows_on(WebHost& host) {
    RECT work;
    host_screen(nullptr, &work);
    for (HWND window : desktop_z_order()) {
        RECT rect;
        if (!desktop_window_visible(window) || !desktop_window_rect(window, &rect))
            continue;
        POINT to = web_onto_area(rect, work);
        if (to.x != rect.left || to.y != rect.top)
            push(host, HOST_MOVED, window, to);
    }
    if (HWND top = desktop_top_window())
        push(host, HOST_EXPOSE, top, {0, 0});
}

} // namespace

WebFit web_read_fit(void) {
    int32_t css_width = 0;
    int32_t css_height = 0;
    double ratio = 1;
    web_page_viewport(&css_width, &css_height, &ratio);
    return web_fit(ratio, css_width, css_height);
}

// Called by the page when the viewport's size or density changed.
extern "C" EMSCRIPTEN_KEEPALIVE void web_host_viewport_changed(void) {
    WebHost& host = web_host();
    WebFit fit = web_read_fit();
    bool resized = fit.screen_width != host.screen_width || fit.screen_height != host.screen_height;
    host.screen_width = fit.screen_width;
    host.screen_height = fit.screen_height;
    host.shown = fit.shown;
    web_page_fit(fit.screen_width, fit.screen_height, fit.shown);
    if (!resized)
        return;
    host.shown_once = false;
    bring_windows_on(host);
}
