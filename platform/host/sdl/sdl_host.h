// The SDL host's state and the pieces its files share; only this folder
// includes SDL. Each top-level window of the layer is a borderless SDL
// window at its screen position, scaled by a whole factor.
#pragma once

#include "platform/host/host.h"

#include <SDL.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

// What the host knows of one top-level window of the layer.
struct SdlWindow {
    SDL_Window* sdl = nullptr;  // made when the window is first placed
    unsigned long x_window = 0; // the X window showing `sdl`, 0 off X
    RECT rect{};                // on the layer's screen, as last placed
    bool visible = false;       // shown on the real screen
    bool minimized = false;     // the layer has it minimised; `rect` is where it was before
    // Under a window manager: whether the real window is minimised, as the
    // manager last said or the host last asked it; and the states (restored,
    // minimised) the host told the layer of that the layer has yet to take
    // up. A request the layer makes in answer to one of these is no new
    // request: where the manager has changed the state again since, the
    // layer is told the newer state instead, so the last request wins.
    bool real_minimized = false;
    bool told[2] = {false, false};
    HWND owner = nullptr; // the layer window that owns it, or null
    // A captionless popup (a drop-down menu): its real window is
    // override-redirect, so that no window manager places or focuses it.
    bool popup = false;
    // Places the host itself gave the real window (real pixels) whose moved
    // events have not come back yet; those events are not the window
    // manager's doing.
    std::vector<SDL_Point> moves_made;
    std::string title; // as last given by host_window_titled
    int32_t width = 0; // size of `pixels` in layer pixels; follows `rect`
    int32_t height = 0;
    // The window as last presented, kept to show it again when the real
    // screen loses it (EXPOSED); 0 where never presented.
    std::vector<uint32_t> pixels;
    bool has_icon = false;
    uint32_t icon[16 * 16]{}; // 0xAARRGGBB, valid when has_icon
};

struct SdlHost {
    bool started = false;
    // A window manager runs on the display: it keeps minimised windows and
    // moves, raises and focuses windows of its own accord. Without one the
    // layer shows its own task bar in the bottom rows of the screen.
    bool window_manager = false;
    int scale = 1;                   // real pixels per layer pixel, each way (ZANDREL_SCALE)
    uint64_t counter_origin = 0;     // SDL_GetPerformanceCounter at start
    uint64_t counter_per_second = 1; // SDL_GetPerformanceFrequency
    uint64_t uptime_origin_us = 0;   // the machine's uptime at start: the clock's value then
    std::map<HWND, SdlWindow> windows;
    std::vector<HWND> z_order;     // visible and hidden windows, top first
    bool z_order_changed = false;  // the real windows must be raised again
    std::deque<HostEvent> pending; // converted input the layer has not taken
    // Real windows of destroyed layer windows, hidden, for the next windows
    // to take. SDL wakes its own wait by sending an X event to its newest
    // window from a second connection; a window destroyed meanwhile would
    // make that send fail and Xlib end the program, so none is destroyed.
    std::vector<SDL_Window*> spare;
    std::vector<SDL_Window*> spare_popups; // the same for popups, which are made apart
    // Windows the host itself gave the keyboard focus, whose focus events
    // are not the person's doing; each is struck off when its event comes.
    std::vector<HWND> focus_given;
    // The layer's task bar as a real window of its own, above all others,
    // where there is no window manager; `rect` is its place on the screen.
    SdlWindow task_bar;
    // The X connection (an Xlib Display), once a window is made on X; null
    // elsewhere. Waits watch it directly (see x_wait.cpp).
    void* x_display = nullptr;
    // The running window manager's check window (an X window), 0 when none
    // runs or off X (see wm_watch.cpp).
    unsigned long manager_check = 0;
    // When the display connection was last looked at for input.
    uint64_t looked_us = 0;
    // The first display's bounds and usable area, as last read, and when:
    // reading the usable area is a round trip to the X server.
    SDL_Rect display_bounds{0, 0, 640, 480};
    SDL_Rect display_usable{0, 0, 640, 480};
    uint64_t display_read_us = 0;
    bool display_known = false;
};

// The host, started on first use: a program without a display is told so
// and ended here, before it has shown anything.
SdlHost& sdl_host(void);

// Ends the program with one line on standard error and exit code 2.
[[noreturn]] void sdl_fail(const std::string& message);

// The exit code of a program that cannot show its windows.
constexpr int SDL_HOST_EXIT_NO_DISPLAY = 2;
// The exit code of a program whose display went away while it ran.
constexpr int SDL_HOST_EXIT_DISPLAY_LOST = 6;

// Learns whether a window manager runs, and sets up the end of the program
// when the display goes away (display_lost.cpp).
void sdl_watch_display(SdlHost& host);
// Whether a window manager runs on the X display, asked on a connection of
// its own; false off X (wm_watch.cpp).
bool sdl_x_window_manager_runs(void);
// Follows the window manager's coming and going on the host's X connection.
void sdl_watch_window_manager(SdlHost& host);
#if defined(SDL_VIDEO_DRIVER_X11)
// Takes an X event that may say the window manager came or went.
void sdl_take_window_manager_event(const union _XEvent& event);
#endif
// Switches between working with a window manager and without one, when
// that changes (wm_switch.cpp).
void sdl_window_manager_changed(SdlHost& host, bool runs);
// The X window of an SDL window, or 0 off X; and whether an X window is one
// of the host's.
unsigned long sdl_x_window_of(SDL_Window* window);
// Notes the X connection that shows an SDL window, once.
void sdl_note_x_connection(SdlHost& host, SDL_Window* window);
// On X: whether input waits for SDL to read it, in Xlib's queue or on the
// connection. Costs no round trip.
bool sdl_x_input_waiting(const SdlHost& host);
// On X: sends what Xlib holds and sleeps until the server sends something
// or the deadline (UINT64_MAX: none) comes; true when it slept or found
// input waiting, false off X.
bool sdl_x_wait(const SdlHost& host, uint64_t deadline_us);
bool sdl_is_own_x_window(unsigned long x_window);
// Takes a window system event (SDL_SYSWMEVENT): one of our windows
// destroyed from outside ends the program.
void sdl_take_system_event(const SDL_SysWMmsg& message);

// The layer's window that an SDL window shows, or null.
HWND sdl_window_of(Uint32 window_id);
SdlWindow* sdl_find(HWND window);

// Shows the kept pixels of a window again, all of them.
void sdl_show_again(HWND window);
// Takes a window event of the task bar's window; false for other windows'.
bool sdl_task_bar_event(const SDL_WindowEvent& change);
// Shows the task bar's kept pixels again, all of them.
void sdl_task_bar_exposed(SdlHost& host);
// Raises the task bar's window above every other.
void sdl_raise_task_bar(SdlHost& host);
// Raises the shown windows into the host's z-order, when it changed.
void sdl_restack(SdlHost& host);
// Hands an owned window to the window manager to keep above its owner.
void sdl_apply_owner(SdlHost& host, SdlWindow& record);
// Gives the keyboard focus to the top shown window, when it lacks it.
void sdl_focus_top_window(SdlHost& host);
// The top shown window that is not a popup, or null.
HWND sdl_top_window(const SdlHost& host);
// Puts a host event on the queue for the layer, stamped with the time now.
void sdl_push(HostEvent event);
// Tells the layer that the window manager minimised or restored a window.
void sdl_tell_state(HWND window, SdlWindow& record, bool minimized);

// Gives a window the keyboard focus on the host's own account: SDL sends
// keys and captures the mouse for the window that has it, and without a
// window manager nobody else gives it.
void sdl_give_focus(HWND window);
// True, once, for a focus event that sdl_give_focus caused.
bool sdl_focus_was_given(HWND window);

// The virtual-key code of an SDL key, or 0 for keys the layer does not know.
UINT sdl_virtual_key(SDL_Keycode key);

// Writes "<what> <monotonic nanoseconds>" to the ZANDREL_HOST_TRACE file,
// where that is set; nothing otherwise.
void sdl_trace(const char* what);
