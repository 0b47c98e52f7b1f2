// Starting the SDL host, its clock and the screen. The host starts on the
// first call of any host function, which the layer makes before it creates
// a window, so a program that has no display ends at once with a message
// that says what to do instead.
#include "platform/host/desktop/desktop.h"
#include "platform/host/desktop/scale.h"
#include "platform/host/message_text.h"
#include "platform/host/sdl/scale.h"
#include "platform/host/sdl/sdl_host.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

bool has_text(const char* name) {
    const char* value = getenv(name);
    return value != nullptr && value[0] != '\0';
}

// SDL's offscreen and dummy drivers need no display; anything else does.
// Without this check SDL falls back to "offscreen" silently and the
// program runs with windows nobody can see.
bool display_driver_needed(void) {
    const char* driver = getenv("SDL_VIDEODRIVER");
    return driver == nullptr || (strcmp(driver, "offscreen") != 0 && strcmp(driver, "dummy") != 0);
}

// The time since the machine started, suspended time included, as Windows'
// tick count counts it: each run then starts at a different count, and a
// game seeded from it plays differently every time.
uint64_t machine_uptime_us(void) {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0 && clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return 0;
    return uint64_t(now.tv_sec) * 1'000'000 + uint64_t(now.tv_nsec) / 1000;
}

void fail_without_display(const std::string& why) {
    sdl_fail("no display to open a window on (" + why +
             "); run it under xvfb-run, or use tools/play --headless");
}

// "DISPLAY :7 cannot be opened" and SDL's reason, if given. Both are
// escaped: DISPLAY holds whatever a person set, and SDL may repeat it.
std::string display_unopened(const char* reason) {
    const char* display = getenv("DISPLAY");
    std::string text = "DISPLAY " + host_escape(display ? display : "") + " cannot be opened";
    return reason ? text + ": " + host_escape(reason) : text;
}

// A scale the person set is checked before anything else; without one the
// display's density decides, once SDL can say what it is.
bool read_scale(SdlHost& host) {
    const char* text = getenv("ZANDREL_SCALE");
    if (text == nullptr)
        return false;
    host.scale = zandrel_sdl::parse_scale(text);
    if (host.scale == 0)
        sdl_fail("ZANDREL_SCALE must be 1, 2, 3 or 4, not " + host_quote(text));
    return true;
}

void choose_scale(SdlHost& host) {
    float dpi = 0;
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0)
        dpi = 0;
    if (SDL_GetDisplayBounds(0, &bounds) != 0)
        return;
    host.scale = desktop_default_scale(dpi, bounds.w, bounds.h);
}

// A scale the person chose that would leave the usual window larger than
// the work area falls back to one that fits, and says so.
void fit_scale(SdlHost& host) {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return;
    int fitting = desktop_fitting_scale(host.scale, usable.w, usable.h);
    if (fitting == host.scale)
        return;
    fprintf(stderr, "zandrel: ZANDREL_SCALE=%d does not fit the %dx%d work area; using %d\n",
            host.scale, usable.w, usable.h, fitting);
    host.scale = fitting;
}

// Frames are paced by waits that end on the system tick. Linux lets a
// sleeping thread's wake-up slip by up to 50 us by default, to batch
// wake-ups; the game's pacing asks for the tightest instead.
void wake_on_time(void) {
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void start(SdlHost& host) {
    bool scale_chosen = read_scale(host);
    if (display_driver_needed() && !has_text("DISPLAY") && !has_text("WAYLAND_DISPLAY"))
        fail_without_display("DISPLAY is not set");
    // The native surface path honours dirty rectangles and costs a fraction
    // of the OpenGL-backed one under X; it must be chosen before the first
    // window surface is made.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Compositors would otherwise be asked to turn themselves off for us.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A click on an inactive window reaches the layer, which decides about
    // activation itself.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // SIGINT and SIGTERM end the program as they end any other; SDL would
    // turn them into a quit event that the layer has no use for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        fail_without_display(getenv("DISPLAY") ? display_unopened(SDL_GetError())
                                               : host_escape(SDL_GetError()));
    // A display that cannot be opened makes SDL fall back to a driver that
    // shows nothing; the program would run where nobody can see it.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (display_driver_needed() && driver != nullptr &&
        (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0 ||
         strcmp(driver, "KMSDRM") == 0 || strcmp(driver, "evdev") == 0))
        fail_without_display(display_unopened(nullptr));
    sdl_watch_display(host);
    if (scale_chosen)
        fit_scale(host);
    else
        choose_scale(host);
    host.counter_origin = SDL_GetPerformanceCounter();
    host.counter_per_second = SDL_GetPerformanceFrequency();
    host.uptime_origin_us = machine_uptime_us();
    wake_on_time();
}

} // namespace

[[noreturn]] void sdl_fail(const std::string& message) {
    fprintf(stderr, "zandrel: %s\n", message.c_str());
    fflush(NULL);
    // Static destructors would run under a layer stopped half-way.
    _Exit(SDL_HOST_EXIT_NO_DISPLAY);
}

SdlHost& sdl_host(void) {
    static SdlHost* host = new SdlHost;
    if (!host->started) {
        host->started = true;
        start(*host);
    }
    return *host;
}

// The machine's uptime at start plus the time since, measured on the
// performance counter; microseconds without overflow for any counter
// frequency: whole seconds and the remainder are converted apart.
uint64_t host_clock_us(void) {
    SdlHost& host = sdl_host();
    uint64_t elapsed = SDL_GetPerformanceCounter() - host.counter_origin;
    uint64_t seconds = elapsed / host.counter_per_second;
    uint64_t rest = elapsed % host.counter_per_second;
    return host.uptime_origin_us + seconds * 1'000'000 + rest * 1'000'000 / host.counter_per_second;
}

namespace {

// The layer asks for the screen whenever it presents, many times a frame;
// the answer is read again after a second, or at once after SDL reports a
// change of the display, so that a panel that comes or goes is followed.
constexpr uint64_t DISPLAY_READ_INTERVAL_US = 1'000'000;

void read_display(SdlHost& host) {
    uint64_t now = host_clock_us();
    if (host.display_known && now - host.display_read_us < DISPLAY_READ_INTERVAL_US)
        return;
    SDL_Rect bounds{0, 0, 640, 480};
    SDL_GetDisplayBounds(0, &bounds);
    if (SDL_GetDisplayUsableBounds(0, &host.display_usable) != 0)
        host.display_usable = bounds;
    host.display_bounds = bounds;
    host.display_read_us = now;
    host.display_known = true;
}

} // namespace

// The first display, in layer pixels: the real one divided by the scale.
void host_screen(RECT* screen, RECT* work_area) {
    SdlHost& host = sdl_host();
    read_display(host);
    const SDL_Rect& bounds = host.display_bounds;
    const SDL_Rect& usable = host.display_usable;
    int s = host.scale;
    if (screen)
        *screen = {bounds.x / s, bounds.y / s, (bounds.x + bounds.w) / s,
                   (bounds.y + bounds.h) / s};
    if (work_area)
        *work_area = {usable.x / s, usable.y / s, (usable.x + usable.w) / s,
                      (usable.y + usable.h) / s};
    // Without a window manager the layer's task bar takes the bottom rows,
    // as many layer pixels as on the hosts that compose the desktop.
    if (work_area && !host.window_manager)
        work_area->bottom =
            std::min<LONG>(work_area->bottom, (bounds.y + bounds.h) / s - DESKTOP_TASK_BAR_HEIGHT);
}
