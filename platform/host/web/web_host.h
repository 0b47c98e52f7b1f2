// The web host's state and the pieces its files share. Only this folder
// knows the browser: the page's canvas is the layer's screen, composed by
// the desktop as the headless host composes its virtual screen, and the
// host's waits return to the browser's event loop (the program is built
// with ASYNCIFY).
#pragma once

#include "platform/host/host.h"

#include <deque>
#include <stdint.h>
#include <string>
#include <vector>

struct WebHost {
    bool started = false;
    double shown = 1;         // CSS pixels per layer pixel, each way (WebFit)
    int32_t screen_width = 0; // the canvas, in layer pixels
    int32_t screen_height = 0;
    double clock_origin_ms = 0;     // performance.now() when the host started
    uint64_t clock_start_us = 0;    // host clock then: the wall clock's ms modulo 2^32
    std::deque<HostEvent> pending;  // input the layer has not taken yet
    std::vector<uint32_t> scratch;  // one rectangle's pixels, composed
    std::vector<uint32_t> composed; // what the canvas shows, as the desktop composed it
    std::vector<uint32_t> canvas;   // the same in the canvas's bytes (web_canvas_word)
    std::vector<RECT> bands;        // the rows a presentation changes, as web_add_changed_row
    uint64_t presents = 0;          // bands copied to the canvas
    bool shown_once = false;        // the whole canvas has been filled once
    std::string windows_told;       // the page's list of windows, as last told
};

// The host, started on first use: it reads the viewport, chooses the scale
// and sizes the canvas before the layer asks for the screen.
WebHost& web_host(void);

struct WebFit;
// The viewport's fit as the page gives it now.
WebFit web_read_fit(void);

// The host clock at a performance.now() reading.
uint64_t web_clock_at(const WebHost& host, double performance_ms);

// Copies what changed on the composed desktop to the canvas, once per pump.
void web_present_damage(void);

// Columns [left, right) of a row; empty when left >= right.
struct WebSpan {
    int32_t left;
    int32_t right;
};

// One row of what the canvas shows: as composed, and in the canvas's bytes.
struct WebRow {
    uint32_t* shown;
    uint32_t* canvas;
};

// Brings a row of what the canvas shows up to date with `count` newly
// composed 0x00RRGGBB pixels, and returns the span that changed: from the
// first differing pixel to the last.
WebSpan web_update_row(const uint32_t* composed, WebRow row, int32_t count);

// Unchanged rows between two changed ones that still share a band.
constexpr int32_t WEB_BAND_GAP = 2;

// Adds row y's changed span to the bands, given in screen order of
// discovery: it joins the last band when it lies in it or at most
// WEB_BAND_GAP rows below it (the band then covers both spans' columns),
// and starts a new band otherwise.
void web_add_changed_row(std::vector<RECT>* bands, int32_t y, WebSpan span);

// The canvas's bytes of a 0x00RRGGBB pixel: R, G, B and 255 in memory,
// which a little-endian word holds as 0xAABBGGRR.
inline uint32_t web_canvas_word(uint32_t p) {
    return 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// Turns 0x00RRGGBB pixels into the canvas's bytes, as web_canvas_word.
void web_to_canvas_pixels(uint32_t* pixels, size_t count);

// The tick count's start for a wall-clock reading in milliseconds: a value
// that differs per page load, as a browser gives no uptime.
uint64_t web_clock_start_us(double wall_clock_ms);

// One shown top-level window, as the page lists it.
struct WebWindowInfo {
    std::string title; // in the system code page
    RECT rect;         // on the screen
};

// The page's list of shown windows, top first, as JSON:
// [{"title":"Zandrel","rect":[192,180,832,548]}]. Title bytes above 127 are
// read as Latin-1, so the text is always valid.
std::string web_describe_windows(const std::vector<WebWindowInfo>& windows);

// The values the page's script takes from this side at start-up, as JSON:
// {"HOST_MOUSE_MOVE":1,...,"BUTTONS":[...],"KEYS":{"KeyA":65,...}}. BUTTONS
// gives the host's button for each of the browser's button numbers, KEYS
// the virtual key of each KeyboardEvent.code the program takes.
std::string web_page_constants_json(void);
