// A picture into a PNG file, however the build encodes it (png_encode).
#include "platform/host/headless/png_file.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

namespace {

bool fail(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

} // namespace

bool png_write_file(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t stride, std::string* error) {
    std::vector<uint8_t> bytes = png_encode(pixels, width, height, stride);
    if (bytes.empty())
        return fail(error, "cannot encode a picture of " + std::to_string(width) + " by " +
                               std::to_string(height) + " pixels");
    FILE* file = fopen(path, "wb");
    if (!file)
        return fail(error, std::string("cannot create ") + path + ": " + strerror(errno));
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int write_errno = errno;
    bool closed = fclose(file) == 0;
    if (!written || !closed)
        return fail(error, std::string("cannot write ") + path + ": " +
                               strerror(written ? errno : write_errno));
    return true;
}
