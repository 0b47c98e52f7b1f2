// The screen a viewport gets and the windows' places on it.
#include "platform/host/web/fit.h"

#include "platform/host/desktop/scale.h"
#include "platform/host/web/web_host.h"

#include <algorithm>

// Kept in whole numbers so that the side that decides the fit is exactly
// the floor's: a division and a multiplication of doubles could make 640
// of 639.99.
WebFit web_fit(double device_pixel_ratio, int32_t css_width, int32_t css_height) {
    int32_t width = std::max(css_width, 1);
    int32_t height = std::max(css_height, 1);
    // A device-pixel ratio is the display's density in units of 96 dots per
    // inch.
    int scale = desktop_default_scale(float(device_pixel_ratio * 96.0), width, height);
    if (width / scale >= WEB_MIN_SCREEN_WIDTH && height / scale >= WEB_MIN_SCREEN_HEIGHT)
        return {width / scale, height / scale, double(scale)};
    if (int64_t(width) * WEB_MIN_SCREEN_HEIGHT <= int64_t(height) * WEB_MIN_SCREEN_WIDTH) {
        int32_t tall = int32_t(int64_t(height) * WEB_MIN_SCREEN_WIDTH / width);
        return {WEB_MIN_SCREEN_WIDTH, std::max(tall, WEB_MIN_SCREEN_HEIGHT),
                double(width) / WEB_MIN_SCREEN_WIDTH};
    }
    int32_t wide = int32_t(int64_t(width) * WEB_MIN_SCREEN_HEIGHT / height);
    return {std::max(wide, WEB_MIN_SCREEN_WIDTH), WEB_MIN_SCREEN_HEIGHT,
            double(height) / WEB_MIN_SCREEN_HEIGHT};
}

POINT web_onto_area(const RECT& window, const RECT& work_area) {
    LONG width = window.right - window.left;
    LONG height = window.bottom - window.top;
    LONG x = std::min(window.left, work_area.right - width);
    LONG y = std::min(window.top, work_area.bottom - height);
    return {std::max(x, work_area.left), std::max(y, work_area.top)};
}
