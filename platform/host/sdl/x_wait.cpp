// The waits on the X connection: a wait sleeps on the connection itself
// until the server sends something or the deadline comes, to the
// microsecond and with one wake-up, where SDL's own wait counts in whole
// milliseconds. SDL then reads the connection only when something came.
#include "platform/host/sdl/sdl_host.h"

#include <SDL_syswm.h>

#include <poll.h>
#include <time.h>

void sdl_note_x_connection(SdlHost& host, SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (host.x_display != nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return;
    host.x_display = info.info.x11.display;
    sdl_watch_window_manager(host);
#else
    (void)host;
    (void)window;
#endif
}

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// Events can wait in Xlib's queue with nothing left on the connection: a
// round trip reads whatever the server sent before its reply.
bool wait_for_connection(Display* display, const timespec* timeout) {
    if (XEventsQueued(display, QueuedAlready) > 0)
        return true;
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    return ppoll(&watch, 1, timeout, nullptr) > 0;
}

} // namespace

bool sdl_x_input_waiting(const SdlHost& host) {
    if (host.x_display == nullptr)
        return true;
    timespec now{0, 0};
    return wait_for_connection((Display*)host.x_display, &now);
}

bool sdl_x_wait(const SdlHost& host, uint64_t deadline_us) {
    Display* display = (Display*)host.x_display;
    if (display == nullptr)
        return false;
    XFlush(display);
    uint64_t now = host_clock_us();
    if (deadline_us == UINT64_MAX) {
        wait_for_connection(display, nullptr);
    } else if (deadline_us > now) {
        uint64_t left = deadline_us - now;
        timespec timeout{time_t(left / 1'000'000), long(left % 1'000'000) * 1000};
        wait_for_connection(display, &timeout);
    }
    return true;
}

#else

bool sdl_x_input_waiting(const SdlHost&) {
    return true;
}

bool sdl_x_wait(const SdlHost&, uint64_t) {
    return false;
}

#endif
