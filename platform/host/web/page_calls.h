// The page's side of the host, implemented in JavaScript (web_host.js):
// plain calls into the browser that the host's C++ makes.
#pragma once

#include <stdint.h>

extern "C" {
// The viewport's size in CSS pixels and the device-pixel ratio.
void web_page_viewport(int32_t* css_width, int32_t* css_height, double* device_pixel_ratio);
// Takes the values the page's script needs from this side, as
// web_page_constants_json writes them; called before web_page_start.
void web_page_constants(const char* json);
// Sizes the canvas to width by height layer pixels, shown `shown` CSS
// pixels each, and starts taking input from it.
void web_page_start(int32_t width, int32_t height, double shown);
// Sizes the canvas again after the viewport changed; its pixels are lost
// when the size in layer pixels changes.
void web_page_fit(int32_t width, int32_t height, double shown);
// Returns to the browser's event loop until input arrives or timeout_ms
// pass (a negative timeout waits for input alone). Asynchronous: the
// program's stack is unwound meanwhile (ASYNCIFY).
void web_page_wait(double timeout_ms);
// Puts `count` bands of the screen's picture on the canvas: `bands` holds
// each band's left, top, right and bottom in turn (RECTs), `pixels` the
// whole picture, width by height canvas pixels (R, G, B, A bytes).
void web_page_put_bands(const int32_t* bands, int32_t count, const uint32_t* pixels, int32_t width,
                        int32_t height);
// Marks the end of one presentation, for the page's frame timings.
void web_page_frame_shown(void);
// The shown windows, top first, as web_describe_windows writes them.
void web_page_windows(const char* json);
// The program's name as the page gives it (Module.thisProgram), as a C
// string in `name`, cut to `size` bytes with its end.
void web_page_program_name(char* name, int32_t size);
// performance.now() and Date.now().
double web_page_now_ms(void);
double web_page_wall_clock_ms(void);
}
