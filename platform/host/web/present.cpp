// The canvas: the desktop composed as the headless host composes its
// screen, copied to the page a changed rectangle at a time.
#include "platform/host/desktop/desktop.h"
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

namespace {

void put_rect(WebHost& host, const RECT& r) {
    int32_t width = r.right - r.left;
    int32_t height = r.bottom - r.top;
    host.scratch.resize(size_t(width) * size_t(height));
    desktop_compose_area(r, host.scratch.data(), width);
    web_to_canvas_pixels(host.scratch.data(), host.scratch.size());
    web_page_put(r.left, r.top, width, height, host.scratch.data());
    ++host.presents;
}

// Tells the page which windows it shows, when that changed: it names them
// to assistive technology, and tests read it.
void tell_windows(WebHost& host) {
    std::vector<WebWindowInfo> shown;
    for (HWND window : desktop_z_order()) {
        RECT rect;
        if (desktop_window_visible(window) && desktop_window_rect(window, &rect))
            shown.push_back({desktop_window_title(window), rect});
    }
    std::string text = web_describe_windows(shown);
    if (text == host.windows_told)
        return;
    host.windows_told = text;
    web_page_windows(text.c_str());
}

} // namespace

// The first presentation fills the whole canvas, desktop included; after
// it only what changed is copied.
void web_present_damage(void) {
    WebHost& host = web_host();
    RECT screen = {0, 0, host.screen_width, host.screen_height};
    std::vector<RECT> damage = desktop_take_damage();
    if (!host.shown_once) {
        host.shown_once = true;
        damage.push_back(screen);
    }
    std::vector<RECT> rects = desktop_merge_damage(damage, screen);
    for (const RECT& r : rects)
        put_rect(host, r);
    if (rects.empty())
        return;
    tell_windows(host);
    web_page_frame_shown();
}
