// The seam between the layer and the machine it runs on. Exactly one host is
// linked into each program: headless for tests, benchmarks and screenshots,
// SDL for people at a desktop, or web for people in a browser. Everything
// above this seam is ordinary code; only the host knows the machine.
//
// Coordinates are screen pixels of the layer's screen, origin top left.
// Windows named here are the layer's top-level windows (popup menus and
// message boxes included); child windows live inside their pixels.
#pragma once

#include <windows.h>

#include <stdint.h>

// The clock: monotonic microseconds since an arbitrary origin of the host's.
// The kernel turns it into the 64 Hz system tick and the tick count.
uint64_t host_clock_us(void);

// The screen and the part of it that windows should use (without task bars).
void host_screen(RECT* screen, RECT* work_area);

// Input, in the order it happened.
enum HostEventType {
    HOST_MOUSE_MOVE = 1, // the pointer moved to `point`
    HOST_MOUSE_BUTTON,   // `button` went down or up at `point`
    HOST_KEY,            // key `key` (a virtual-key code) went down or up
    HOST_CLOSE,          // the person asked to close `window` (a window manager's close)
    HOST_ACTIVATE,       // the person brought `window` to the front
    HOST_EXPOSE,         // `window`'s pixels were lost and must be shown again
    HOST_MOVED,          // the window manager moved `window`: its top left is now `point`
    HOST_DEACTIVATE,     // the person turned to another program: none of ours is active
    HOST_MINIMIZE,       // the window manager minimised `window`
    HOST_RESTORE,        // the window manager restored `window` from minimised
};

enum HostButton { HOST_BUTTON_LEFT = 0, HOST_BUTTON_RIGHT = 1, HOST_BUTTON_MIDDLE = 2 };

struct HostEvent {
    HostEventType type;
    uint64_t time_us; // host clock time at which it happened
    POINT point;      // screen position of the pointer (mouse events)
    int button;       // HostButton (HOST_MOUSE_BUTTON)
    bool down;        // pressed or released (HOST_MOUSE_BUTTON, HOST_KEY)
    UINT key;         // virtual-key code (HOST_KEY)
    bool made_up;     // sent by the host, not the person: a key let go of
                      // because the focus left (HOST_KEY)
    HWND window;      // the window concerned (HOST_CLOSE, HOST_ACTIVATE, HOST_EXPOSE,
                      // HOST_MOVED, HOST_MINIMIZE, HOST_RESTORE)
};

// Takes the next input that has happened by now, if any. Never blocks.
bool host_next_event(HostEvent* event);

// Blocks until input is waiting or the clock reaches deadline_us, whichever
// comes first; UINT64_MAX means no deadline. It may return early; callers
// look at the clock and the input again.
void host_wait(uint64_t deadline_us);

// Lets time pass until the clock reaches deadline_us, input or not: what
// arrives meanwhile waits to be taken.
void host_sleep(uint64_t deadline_us);

// The program has looked for messages many times in a row without waiting
// and found none: it is busy waiting, for a timer or for the clock to move.
// A host whose clock moves only when the program waits lets a little time
// pass; a host with a real clock has nothing to do.
void host_poll_empty(void);

// A top-level window's place and state: its rectangle on the screen
// (non-client area included), whether it is shown, and where it is in the
// z-order: directly below `above`, or at the top when `above` is null.
// Called whenever any of these changes, and first when the window is made.
void host_window_placed(HWND window, const RECT* rect, bool visible, HWND above);
void host_window_destroyed(HWND window);
// The title of a top-level window, for the host's own use (window lists).
void host_window_titled(HWND window, const char* title);
// What kind of top-level window it is, told before it is first placed: the
// window that owns it (a message box's owner), or null; and whether it is
// a popup without a caption, such as a drop-down menu. A window manager
// keeps owned windows above their owner, and leaves popups alone: it does
// not place, focus or decorate them.
void host_window_made(HWND window, HWND owner, bool popup);
// The window was minimised (or restored from it). A host with a window
// manager hands the real window to it to keep as an icon; while minimised,
// placements do not move or size the real window, and the layer shows the
// window as not visible. Told before the placement that goes with it.
void host_window_minimized(HWND window, bool minimized);

// Whether the layer draws the desktop's task bar itself: true on hosts that
// compose the desktop (the headless one) and where no window manager keeps
// minimised windows; the bar then fills the screen below the work area.
bool host_shows_task_bar(void);
// Shows the task bar's pixels (0x00RRGGBB, `stride` pixels per row), which
// cover the screen below the work area; called whenever they change.
void host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride);

// Shows pixels of a top-level window: `pixels` hold the whole window
// (0x00RRGGBB, `stride` pixels per row), `dirty` the rectangles that
// changed since the last call, in window coordinates. The pixels stay the
// layer's; the host copies what it needs before returning.
void host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                  int32_t stride, const RECT* dirty, int32_t dirty_count);

// The icon of a top-level window: 16 by 16 pixels, 0xAARRGGBB.
void host_window_icon(HWND window, const uint32_t* pixels);
