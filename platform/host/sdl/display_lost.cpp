// The end of the program when the display goes away. Xlib's own answer to a
// lost connection is a paragraph of its internals and exit code 1; the
// program says "the display closed" in one line instead, with an exit code
// of its own, and so it does when one of its windows is destroyed from
// outside.
#include "platform/host/sdl/sdl_host.h"

#include <SDL_syswm.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
// passing (focus, properties of other windows) and from looking at a window
// manager that has just gone; they change nothing, and Xlib would end the
// program for them.
int on_protocol_error(Display*, XErrorEvent* error) {
    if (sdl_is_own_x_window((unsigned long)error->resourceid))
        display_closed("a window of the program was destroyed from outside");
    return 0;
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
        host.window_manager = sdl_x_window_manager_runs();
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

void sdl_take_system_event(const SDL_SysWMmsg& message) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message.subsystem != SDL_SYSWM_X11)
        return;
    const XEvent& event = message.msg.x11.event;
    if (event.type == DestroyNotify &&
        sdl_is_own_x_window((unsigned long)event.xdestroywindow.window))
        display_closed("a window of the program was destroyed from outside");
    sdl_take_window_manager_event(event);
#else
    (void)message;
#endif
}
