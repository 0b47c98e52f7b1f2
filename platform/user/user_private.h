// The user part's records: window classes, windows, the thread's message
// queue and timers. One record per subsystem, plain and visible, with a
// reset for tests.
#pragma once

#include "platform/gdi/region.h"

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

struct WindowClass {
    ATOM atom;
    std::string name; // as registered; compared without regard to case
    UINT style;       // CS_*
    WNDPROC proc;
    int class_extra;  // bytes of class extra data (not used by the layer)
    int window_extra; // bytes of extra data of each window
    HINSTANCE instance;
    HICON icon;
    HICON small_icon;
    HCURSOR cursor;
    HBRUSH background;     // a brush, or a COLOR_* index + 1
    std::string menu_name; // as registered, or "#<id>" for a resource number; empty: none
    int window_count;      // live windows of this class
};

struct WindowProp {
    std::string name; // or "#<atom>" for an atom name
    HANDLE data;
};

// A window. Rectangles are in the coordinates of the parent's client area,
// or of the screen for top-level windows.
struct Window {
    HWND handle;
    WindowClass* cls;
    WNDPROC proc;
    DWORD style;
    DWORD ex_style;
    std::string text;
    HWND parent;                // null for top-level windows
    HWND owner;                 // top-level windows only; null for none
    std::vector<HWND> children; // z-order, topmost first
    RECT window_rect;
    RECT client_rect;
    UINT_PTR id; // child id, or the menu of a top-level window
    HINSTANCE instance;
    std::vector<uint8_t> extra; // window extra bytes
    LONG_PTR user_data;         // GWLP_USERDATA
    std::vector<WindowProp> props;
    // Painting: the part of the client area to repaint, in client
    // coordinates, and what the next BeginPaint still has to do.
    Region update;
    bool erase_pending;
    bool frame_pending; // the non-client area needs WM_NCPAINT
    // RDW_INVALIDATE | RDW_FRAME: the frame is part of what needs
    // painting, so it brings WM_PAINT until WM_NCPAINT has been sent.
    bool frame_invalid;
    int painting_depth;  // WM_PAINT messages of this window being dispatched
    bool internal_paint; // WM_PAINT wanted without an update region
    bool size_sent;      // WM_SIZE/WM_MOVE have been sent since creation
    bool destroying;     // WM_DESTROY has been sent
    bool minimized;
    bool maximized;
    RECT restored_rect; // the rectangle to return to from minimised
    // Top-level windows: the pixels of the whole window, and what changed
    // since they were last shown.
    std::vector<uint32_t> pixels;
    int32_t pixel_width;
    int32_t pixel_height;
    RECT dirty;
    bool placed;         // the host has been told of the window
    bool host_minimized; // the host has been told the window is minimised
    // The non-client area: whether the caption shows as active, and which
    // caption button (HTCLOSE, HTMINBUTTON, HTMAXBUTTON) is held down.
    bool nc_active;
    int pressed_button;
    HMENU system_menu; // made by GetSystemMenu; null until then
    // Of the windows this one owns, the one last active (GetLastActivePopup);
    // may be stale, and is checked before use.
    HWND last_active_popup;
};

// --- the window table (window_table.cpp) ---
Window* user_window(HWND handle);       // null and ERROR_INVALID_WINDOW_HANDLE if not live
Window* user_window_quiet(HWND handle); // null without touching the last error
Window* user_new_window(HWND* handle);
void user_free_window(HWND handle);
std::vector<HWND>& user_top_windows(); // top-level windows, z-order topmost first

// --- z-order (zorder.cpp) ---
std::vector<HWND>& user_sibling_list(Window* window); // the list its z-order lives in
// Puts a window after `after` (or HWND_TOP, HWND_BOTTOM...) among its
// siblings; an owned window stays above its owner, and the windows it owns
// come up above it (SWP_NOOWNERZORDER or not, as on Wine).
void user_move_in_z_order(Window* window, HWND after);
bool user_is_on_top(Window* window); // no sibling it can pass is above it

// WM_SIZE and WM_MOVE for a window that has not had them since creation.
void user_send_pending_size(Window* window);

// --- classes (class.cpp, and the system's classes in mdi.cpp and button.cpp) ---
// The first lookup registers the system's classes.
WindowClass* user_find_class(LPCSTR name_or_atom, HINSTANCE instance);
void user_register_system_classes(); // "MDIClient"; does nothing once it exists
void user_register_button_class();   // "Button"
void user_register_static_class();   // "Static" (static.cpp)

// --- multiple-document windows (mdi.cpp) ---
// Where CreateWindowExA puts a document of the client `parent` that asks
// for CW_USEDEFAULT; leaves the values alone when `parent` is no client.
void user_mdi_default_placement(HWND parent, int* x, int* y, int* width, int* height);

// --- geometry (geometry.cpp) ---
// The offset from a window's client coordinates to screen coordinates.
POINT user_client_origin(const Window* window);
POINT user_window_origin(const Window* window);
RECT user_screen_rect_of(const Window* window);
bool user_is_visible(const Window* window); // it and every ancestor have WS_VISIBLE
Window* user_top_level_of(Window* window);
// Windows keeps a window's position within -32768..32767 and its size
// within 0..32767; every place a window is given goes through this.
void user_clamp_place(int* x, int* y, int* width, int* height);
// The client rectangle that a window of this style and menu gets inside
// `window_rect`, by the classic metrics.
RECT user_default_client_rect(DWORD style, DWORD ex_style, bool has_menu, const RECT& window_rect);

// --- messages (message.cpp) ---
LRESULT user_send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void user_post_input(const MSG& msg);
void user_note_queue_changed();

// --- input from the host, waiting in the queue (input.cpp) ---
void user_pump_host(); // takes every event the host has ready
bool user_input_waiting();
// Takes the first input message for `filter` within [first, last] (0, 0:
// any), dropping input that goes nowhere; false when none waits.
bool user_take_input(HWND filter, UINT first, UINT last, bool remove, MSG* msg);

// --- painting (paint.cpp) ---
void user_invalidate(Window* window, const RECT* client_rect, bool erase, bool children);
HWND user_find_window_to_paint();
// After a dispatched WM_PAINT: the frame and erase still pending are done,
// as GetUpdateRgn with erase would do them.
void user_finish_paint_dispatch(HWND window);
void user_window_resized(Window* window, const RECT& old_client);
// The private context of a window that goes, and its class's context when
// it is the class's last window.
void user_window_dcs_gone(Window* window);

// --- pixels (surface.cpp) ---
void user_surface_resize(Window* top);
void user_mark_dirty(Window* top, const RECT& window_rect);
void user_present_all();
void user_place_on_host(Window* top);
// The visible part of a window's client area (or whole window) in its own
// coordinates, where drawing may land: inside its ancestors, and without
// the siblings above it and, with WS_CLIPCHILDREN, its children.
void user_visible_rects(Window* window, bool whole_window, std::vector<RECT>* rects);
// A region of one rectangle, or none when it is empty, in storage that is
// reused by the next call: to combine with at once, never to keep.
const Region& user_rect_region(const RECT& rect);

// --- timers (timer.cpp) ---
void user_kill_window_timers(HWND window);
bool user_take_due_timer(HWND filter, MSG* msg, bool remove);
uint64_t user_next_timer_due_us();
bool user_timer_fired_since(uint64_t since_us);

// --- focus, activation and capture (focus.cpp) ---
void user_window_gone(HWND window); // drops focus, activation and capture held by it
void user_activate(HWND window, WORD how);
// The active window steps down: its owner, or the topmost other window that
// can be active, takes over (none when there is none).
void user_activate_next(HWND leaving);
// SetWindowPos's activation: its own messages tell of the raise.
void user_activate_in_move(HWND window);
// What a person's click, the task bar or the window manager activates for
// a window: the window itself, or for one disabled by a modal box, the box.
HWND user_activation_target(HWND window);

// --- the non-client area (nonclient.cpp, menu_track.cpp) ---
void user_nc_paint(Window* window, bool active);
LRESULT user_nc_hit_test(Window* window, POINT screen);
LRESULT user_nc_button_down(HWND window, WPARAM hit, LPARAM lparam);
void user_move_command(HWND window, LPARAM lparam);
void user_size_command(HWND window, WPARAM command, LPARAM lparam);
void user_menu_command(HWND window, WPARAM command, LPARAM lparam);

// --- the task bar (taskbar.cpp) ---
// Something the task bar shows changed: a top-level window appeared, went,
// was minimised, restored, activated or renamed. The bar is drawn again
// before the next presentation.
void user_task_bar_changed();
// Draws the bar when it changed and hands it to the host (from
// user_present_all).
void user_task_bar_present();
// Takes a mouse button that went down or up at a screen point on the bar;
// false when the point is not on a bar the layer shows.
bool user_task_bar_click(POINT screen, UINT message);
void user_reset_task_bar();

// --- hooks (hook.cpp) ---
// Calls the thread's WH_CBT hooks; nonzero means the action is refused.
LRESULT user_call_cbt(int code, WPARAM wparam, LPARAM lparam);
void user_reset_hooks();

// --- starting afresh, for tests (reset.cpp and each area) ---
void user_reset_queue();
void user_reset_timers();
void user_reset_input();
void user_reset_focus();

// --- cursors and icons (resource.cpp) ---
// Draws a system or program icon with its top-left corner at (x, y); false
// for a handle that is no icon.
bool user_draw_icon(HDC dc, int x, int y, HICON icon);

// --- metrics (metrics.cpp) ---
HBRUSH user_class_brush(HBRUSH background);
