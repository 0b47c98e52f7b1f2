// The canvas: the desktop composed by the code the headless host composes
// its screen with, copied to the page a changed rectangle at a time.
#include "platform/host/headless/headless.h"
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

namespace {

void put_rect(WebHost& host, const RECT& r) {
    int32_t width = r.right - r.left;
    int32_t height = r.bottom - r.top;
    host.scratch.resize(size_t(width) * size_t(height));
    headless_compose_area(r, host.scratch.data(), width);
    web_to_canvas_pixels(host.scratch.data(), host.scratch.size());
    web_page_put(r.left, r.top, width, height, host.scratch.data());
    ++host.presents;
}

// Tells the page which windows it shows, when that changed: it names them
// to assistive technology, and tests read it.
void tell_windows(WebHost& host) {
    std::vector<WebWindowInfo> shown;
    for (HWND window : headless_z_order()) {
        RECT rect;
        if (headless_window_visible(window) && headless_window_rect(window, &rect))
            shown.push_back({headless_window_title(window), rect});
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
    std::vector<RECT> damage = headless_take_damage();
    if (!host.shown_once) {
        host.shown_once = true;
        damage.push_back(screen);
    }
    std::vector<RECT> rects = web_merge_damage(damage, screen);
    for (const RECT& r : rects)
        put_rect(host, r);
    if (rects.empty())
        return;
    tell_windows(host);
    web_page_frame_shown();
}
