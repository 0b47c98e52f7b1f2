// Screen captures as PNG files: the composed screen, or one window's own
// pixels, non-client area included.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"

#include <string>

Image headless_compose_screen(void) {
    Image screen;
    screen.width = HEADLESS_SCREEN_WIDTH;
    screen.height = HEADLESS_SCREEN_HEIGHT;
    screen.pixels.resize(size_t(screen.width) * size_t(screen.height));
    desktop_compose_area({0, 0, screen.width, screen.height}, screen.pixels.data(), screen.width);
    return screen;
}

bool headless_window_image(HWND window, Image* image) {
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* pixels = desktop_window_pixels(window, &width, &height);
    if (!desktop_window_title(window))
        return false; // not a window the desktop knows
    image->width = width;
    image->height = height;
    image->pixels.assign(pixels, pixels + size_t(width) * size_t(height));
    return true;
}

namespace {

// The error names the path once, with the system's reason.
bool write_picture(const char* path, const Image& image, std::string* error) {
    std::string why;
    if (png_write_file(path, image.pixels.data(), image.width, image.height, image.width, &why))
        return true;
    if (error)
        *error = why;
    return false;
}

} // namespace

bool headless_capture_screen(const char* path, std::string* error) {
    return write_picture(path, headless_compose_screen(), error);
}

bool headless_capture_window(HWND window, const char* path, std::string* error) {
    Image image;
    if (!headless_window_image(window, &image)) {
        if (error)
            *error = "no such window to write to " + std::string(path);
        return false;
    }
    return write_picture(path, image, error);
}

void headless_set_capture_dir(const char* dir) {
    headless_state().capture_dir = dir;
}
