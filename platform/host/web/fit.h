// How the layer's screen fits the page's viewport, and where windows go
// when the screen changes size. Plain rules, tested natively.
#pragma once

#include <windows.h>

#include <stdint.h>

// The smallest screen the layer sees, in layer pixels: the game's window
// and the task bar below its work area fit in it.
constexpr int32_t WEB_MIN_SCREEN_WIDTH = 640;
constexpr int32_t WEB_MIN_SCREEN_HEIGHT = 480;

struct WebFit {
    int32_t screen_width; // the layer's screen, in layer pixels
    int32_t screen_height;
    double shown; // CSS pixels per layer pixel: a whole scale of 1 or more,
                  // or below 1 where the viewport is smaller than the floor
};

// The screen for a viewport of css_width by css_height CSS pixels at a
// device-pixel ratio. A viewport that holds the smallest screen gets a
// whole scale (as desktop_default_scale chooses it); a smaller one gets a screen
// of the viewport's shape that holds the smallest, shown scaled down so
// that it fills the viewport along one side.
WebFit web_fit(double device_pixel_ratio, int32_t css_width, int32_t css_height);

// The top left that keeps a window inside the work area, moving it as
// little as possible; a window larger than the area keeps its top left
// corner (and so its caption) inside.
POINT web_onto_area(const RECT& window, const RECT& work_area);
