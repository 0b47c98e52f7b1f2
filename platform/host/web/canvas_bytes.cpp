// The byte order of the canvas: what the layer's pixel words become on
// their way to the page.
#include "platform/host/web/web_host.h"

// The layer's pixels are 0x00RRGGBB words; a canvas wants R, G, B and A
// bytes, which a little-endian word holds as 0xAABBGGRR.
void web_to_canvas_pixels(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = pixels[i];
        pixels[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
}
