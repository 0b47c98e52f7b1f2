// What the host learns of the display beyond SDL: whether a window manager
// runs there, and that the display went away. Xlib's own answer to a lost
// connection is a paragraph of its internals and exit code 1; the program
// says "the display closed" in one line instead, with an exit code of its
// own, and so it does when one of its windows is destroyed from outside.
#include "platform/host/sdl/sdl_host.h"

#include <SDL_syswm.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

namespace {

[[noreturn]] void display_closed(const char* why) {
    fprintf(stderr, "zandrel: the display closed (%s)\n", why);
    fflush(NULL);
    // Neither Xlib nor the layer can be called any more; nothing may run
    // at exit that would try.
    _Exit(SDL_HOST_EXIT_DISPLAY_LOST);
}

#if defined(SDL_VIDEO_DRIVER_X11)

int on_connection_lost(Display*) {
    display_closed("the connection to the X server was lost");
}

// Errors about windows that are not ours come from requests SDL makes in
// passing (focus, properties of other windows) and change nothing; Xlib
// would end the program for them.
int on_protocol_error(Display*, XErrorEvent* error) {
    if (sdl_is_own_x_window((unsigned long)error->resourceid))
        display_closed("a window of the program was destroyed from outside");
    return 0;
}

// A window manager that follows the desktop conventions names its check
// window on the root window.
bool x11_window_manager_runs(void) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    bool found = false;
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &after, &data) == Success) {
            found = type == XA_WINDOW && count == 1;
            XFree(data);
        }
    }
    XCloseDisplay(display);
    return found;
}

#endif

bool driver_is(const char* name) {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && strcmp(driver, name) == 0;
}

} // namespace

void sdl_watch_display(SdlHost& host) {
    host.window_manager = !driver_is("offscreen") && !driver_is("dummy");
#if defined(SDL_VIDEO_DRIVER_X11)
    if (driver_is("x11")) {
        host.window_manager = x11_window_manager_runs();
        XSetIOErrorHandler(on_connection_lost);
        XSetErrorHandler(on_protocol_error);
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
#endif
}

// The X window that shows an SDL window, or 0 off X.
unsigned long sdl_x_window_of(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return (unsigned long)info.info.x11.window;
#endif
    (void)window;
    return 0;
}

void sdl_note_x_connection(SdlHost& host, SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (host.x_display == nullptr && SDL_GetWindowWMInfo(window, &info) &&
        info.subsystem == SDL_SYSWM_X11)
        host.x_display = info.info.x11.display;
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

// The wait is on the connection itself, to the microsecond, with one
// wake-up: SDL's own wait counts in whole milliseconds.
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

void sdl_take_system_event(const SDL_SysWMmsg& message) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message.subsystem != SDL_SYSWM_X11)
        return;
    const XEvent& event = message.msg.x11.event;
    if (event.type == DestroyNotify &&
        sdl_is_own_x_window((unsigned long)event.xdestroywindow.window))
        display_closed("a window of the program was destroyed from outside");
#else
    (void)message;
#endif
}
