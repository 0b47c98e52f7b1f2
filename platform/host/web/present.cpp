// The canvas: the desktop composed as the headless host composes its
// screen. The layer's damage is coarse (a window's changes arrive as one
// rectangle around them all, walls at the top and bottom of a field make
// it the whole field), so each damaged area is composed and compared with
// the host's copy of the canvas, and only the bands of rows that differ go
// to the page, in one call per presentation.
#include "platform/host/desktop/desktop.h"
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

namespace {

void find_changes(WebHost& host, const RECT& r) {
    int32_t width = r.right - r.left;
    int32_t height = r.bottom - r.top;
    host.scratch.resize(size_t(width) * size_t(height));
    desktop_compose_area(r, host.scratch.data(), width);
    for (int32_t row = 0; row < height; ++row) {
        size_t at = size_t(r.top + row) * size_t(host.screen_width) + size_t(r.left);
        WebSpan span = web_update_row(host.scratch.data() + size_t(row) * size_t(width),
                                      {host.composed.data() + at, host.canvas.data() + at}, width);
        if (span.left < span.right)
            web_add_changed_row(&host.bands, r.top + row,
                                {r.left + span.left, r.left + span.right});
    }
}

// A canvas of a new size is opaque black: the copy says so, in a composed
// word that differs from every layer colour (their top byte is 0) and
// whose canvas bytes are that black.
void match_canvas_size(WebHost& host) {
    size_t size = size_t(host.screen_width) * size_t(host.screen_height);
    if (host.canvas.size() == size && host.shown_once)
        return;
    host.composed.assign(size, 0xFF000000u);
    host.canvas.assign(size, 0);
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
// it only what changed is copied. A presentation that changes no pixel
// leaves the canvas alone, so the browser has no new picture to show.
void web_present_damage(void) {
    WebHost& host = web_host();
    RECT screen = {0, 0, host.screen_width, host.screen_height};
    std::vector<RECT> damage = desktop_take_damage();
    match_canvas_size(host);
    if (!host.shown_once) {
        host.shown_once = true;
        damage.push_back(screen);
    }
    std::vector<RECT> rects = desktop_merge_damage(damage, screen);
    if (rects.empty())
        return;
    host.bands.clear();
    for (const RECT& r : rects)
        find_changes(host, r);
    tell_windows(host);
    if (host.bands.empty())
        return;
    web_page_put_bands(&host.bands[0].left, int32_t(host.bands.size()), host.canvas.data(),
                       host.screen_width, host.screen_height);
    host.presents += host.bands.size();
    web_page_frame_shown();
}
