// PNG pictures without a compressor: the image data's deflate stream keeps
// the rows as they are, in stored blocks. For builds without libpng (the
// page, whose recorder leaves the main window's last picture beside its
// tape); every PNG reader takes them.
#pragma once

#include <stdint.h>
#include <vector>

// As png_encode (png_file.h): pixels 0x00RRGGBB, rows top-down, `stride`
// pixels from one row to the next, into an 8-bit RGB PNG; an empty vector
// when the size is not a valid picture size.
std::vector<uint8_t> png_encode_stored(const uint32_t* pixels, int32_t width, int32_t height,
                                       int32_t stride);
