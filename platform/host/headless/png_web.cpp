// png_encode where there is no libpng (the web build): stored PNGs, larger
// than compressed ones, but the same pictures.
#include "platform/host/headless/png_file.h"
#include "platform/host/headless/png_stored.h"

std::vector<uint8_t> png_encode(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride) {
    return png_encode_stored(pixels, width, height, stride);
}
