// Starting the web host, its clock and the screen. The host starts on the
// first call of any host function, which the layer makes before it creates
// a window: the canvas then takes the viewport's size at that moment.
#include "platform/host/desktop/desktop.h"
#include "platform/host/web/fit.h"
#include "platform/host/web/page_calls.h"
#include "platform/host/web/web_host.h"

#include <algorithm>

namespace {

void start(WebHost& host) {
    WebFit fit = web_read_fit();
    host.shown = fit.shown;
    host.screen_width = fit.screen_width;
    host.screen_height = fit.screen_height;
    host.clock_origin_ms = web_page_now_ms();
    host.clock_start_us = web_clock_start_us(web_page_wall_clock_ms());
    web_page_constants(web_page_constants_json().c_str());
    web_page_start(host.screen_width, host.screen_height, host.shown);
}

} // namespace

WebHost& web_host(void) {
    static WebHost* host = new WebHost;
    if (!host->started) {
        host->started = true;
        start(*host);
    }
    return *host;
}

uint64_t host_clock_us(void) {
    WebHost& host = web_host();
    return web_clock_at(host, web_page_now_ms());
}

// The desktop's task bar takes the same rows at the bottom as on the
// headless host's screen, so that a window centred on the work area sits
// where it sits there.
void host_screen(RECT* screen, RECT* work_area) {
    WebHost& host = web_host();
    RECT all = {0, 0, host.screen_width, host.screen_height};
    if (screen)
        *screen = all;
    if (work_area)
        *work_area = desktop_work_area(all);
}
