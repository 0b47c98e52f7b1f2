// The web host's plain rules, apart from the browser so that tests can run
// them anywhere: the scale, the tick count's start, which rectangles go to
// the canvas and in which byte order.
#include "platform/host/sdl/scale.h"
#include "platform/host/web/web_host.h"

#include <algorithm>
#include <math.h>
#include <stdio.h>

namespace {

bool overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RECT union_of(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

RECT cut_to(const RECT& r, const RECT& screen) {
    return {std::max(r.left, screen.left), std::max(r.top, screen.top),
            std::min(r.right, screen.right), std::min(r.bottom, screen.bottom)};
}

bool is_empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// Merges the first rectangle that overlaps another into it; false when no
// two overlap.
bool merge_one(std::vector<RECT>* rects) {
    for (size_t i = 0; i < rects->size(); ++i) {
        for (size_t j = i + 1; j < rects->size(); ++j) {
            if (overlap((*rects)[i], (*rects)[j])) {
                (*rects)[i] = union_of((*rects)[i], (*rects)[j]);
                rects->erase(rects->begin() + ptrdiff_t(j));
                return true;
            }
        }
    }
    return false;
}

} // namespace

// A pixel is copied once however many changes cover it: a window's dirty
// rectangle inside its own new place, say.
std::vector<RECT> web_merge_damage(std::vector<RECT> damage, const RECT& screen) {
    std::vector<RECT> rects;
    for (const RECT& r : damage) {
        RECT cut = cut_to(r, screen);
        if (!is_empty(cut))
            rects.push_back(cut);
    }
    while (merge_one(&rects)) {
    }
    return rects;
}

// The layer's pixels are 0x00RRGGBB words; a canvas wants R, G, B and A
// bytes, which a little-endian word holds as 0xAABBGGRR.
void web_to_canvas_pixels(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = pixels[i];
        pixels[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
}

// A device-pixel ratio is the display's density in units of 96 dots per
// inch, which the SDL host's rule is written in.
int web_choose_scale(double device_pixel_ratio, int32_t css_width, int32_t css_height) {
    return zandrel_sdl::default_scale(float(device_pixel_ratio * 96.0), css_width, css_height);
}

// A browser gives no uptime; the wall clock's milliseconds modulo 2^32 play
// its part, so that two loads start the tick count, and the random numbers
// seeded from it, apart.
uint64_t web_clock_start_us(double wall_clock_ms) {
    double ms = floor(wall_clock_ms > 0 ? wall_clock_ms : 0);
    return (uint64_t(ms) % (uint64_t(1) << 32)) * 1000;
}

uint64_t web_clock_at(const WebHost& host, double performance_ms) {
    double elapsed_ms = performance_ms - host.clock_origin_ms;
    return host.clock_start_us + uint64_t(elapsed_ms > 0 ? elapsed_ms * 1000.0 : 0.0);
}

namespace {

void append_json_text(std::string* out, const std::string& text) {
    out->push_back('"');
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out->push_back('\\');
            out->push_back(char(c));
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04x", c);
            out->append(escape);
        } else {
            out->push_back(char(c));
        }
    }
    out->push_back('"');
}

} // namespace

std::string web_describe_windows(const std::vector<WebWindowInfo>& windows) {
    std::string out = "[";
    for (const WebWindowInfo& window : windows) {
        if (out.size() > 1)
            out.push_back(',');
        out.append("{\"title\":");
        append_json_text(&out, window.title);
        char rect[96];
        snprintf(rect, sizeof rect, ",\"rect\":[%ld,%ld,%ld,%ld]}", long(window.rect.left),
                 long(window.rect.top), long(window.rect.right), long(window.rect.bottom));
        out.append(rect);
    }
    out.push_back(']');
    return out;
}
