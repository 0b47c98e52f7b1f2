// Whether a window manager runs on the X display, followed while the
// program runs: a manager may end (killed, crashed, replaced) and another
// may start. A manager that follows the desktop conventions names a check
// window on the root window, and the check window names itself; one that
// ended leaves the root's property behind, naming a window that is gone.
// The root's property changing, or the check window going, is looked at
// again; what the host does then is in wm_switch.cpp.
#include "platform/host/sdl/sdl_host.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

Atom check_atom(Display* display) {
    return XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
}

// The window a window's check property names, or None (also for a window
// that is gone: the error it brings is ignored).
Window named_check(Display* display, Window of) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window named = None;
    if (XGetWindowProperty(display, of, check_atom(display), 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success) {
        if (type == XA_WINDOW && format == 32 && count == 1)
            named = Window(*(unsigned long*)data);
        XFree(data);
    }
    return named;
}

// The running manager's check window, or None.
Window running_manager(Display* display) {
    XSync(display, False);
    Window check = named_check(display, DefaultRootWindow(display));
    Window named = check == None ? None : named_check(display, check);
    XSync(display, False);
    return check != None && named == check ? check : None;
}

// Adds to the events the program takes from a window, keeping those SDL
// asked for already.
void take_events(Display* display, Window window, long mask) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes))
        XSelectInput(display, window, attributes.your_event_mask | mask);
}

void look_again(SdlHost& host) {
    Display* display = (Display*)host.x_display;
    Window check = running_manager(display);
    if (check != None && check != host.manager_check)
        take_events(display, check, StructureNotifyMask);
    host.manager_check = check;
    sdl_window_manager_changed(host, check != None);
}

} // namespace

bool sdl_x_window_manager_runs(void) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    bool runs = running_manager(display) != None;
    XCloseDisplay(display);
    return runs;
}

void sdl_watch_window_manager(SdlHost& host) {
    Display* display = (Display*)host.x_display;
    take_events(display, DefaultRootWindow(display), PropertyChangeMask);
    look_again(host);
}

void sdl_take_window_manager_event(const XEvent& event) {
    SdlHost& host = sdl_host();
    Display* display = (Display*)host.x_display;
    if (display == nullptr)
        return;
    bool check_changed = event.type == PropertyNotify &&
                         event.xproperty.window == DefaultRootWindow(display) &&
                         event.xproperty.atom == check_atom(display);
    bool check_gone = event.type == DestroyNotify && host.manager_check != 0 &&
                      event.xdestroywindow.window == host.manager_check;
    if (check_changed || check_gone)
        look_again(host);
}

#else

bool sdl_x_window_manager_runs(void) {
    return false;
}

void sdl_watch_window_manager(SdlHost&) {}

#endif
