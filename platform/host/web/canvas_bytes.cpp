// The byte order of the canvas: what the layer's pixel words become on
// their way to the page.
#include "platform/host/web/web_host.h"

void web_to_canvas_pixels(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i)
        pixels[i] = web_canvas_word(pixels[i]);
}
