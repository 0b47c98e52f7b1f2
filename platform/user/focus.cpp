// Keyboard focus, the active window and mouse capture.
#include "platform/host/host.h"
#include "platform/user/user_private.h"

namespace {

HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;
// Set while SetWindowPos activates: the move it reports covers the raise.
bool g_raise_told = false;

// The next window to activate when the active one goes away: its owner if
// that can be active, else the topmost other visible, enabled window.
HWND next_to_activate(HWND leaving) {
    Window* window = user_window_quiet(leaving);
    Window* owner = window != nullptr ? user_window_quiet(window->owner) : nullptr;
    if (owner != nullptr && (owner->style & WS_VISIBLE) && !(owner->style & WS_DISABLED))
        return owner->handle;
    for (HWND top : user_top_windows()) {
        Window* other = user_window_quiet(top);
        if (top != leaving && other != nullptr && (other->style & WS_VISIBLE) &&
            !(other->style & WS_DISABLED) && !other->minimized && !other->destroying)
            return top;
    }
    return nullptr;
}

void deactivate(HWND old, HWND next) {
    if (user_window_quiet(old) == nullptr)
        return;
    user_send(old, WM_NCACTIVATE, FALSE, 0);
    if (user_window_quiet(old) != nullptr)
        user_send(old, WM_ACTIVATE, WA_INACTIVE, (LPARAM)next);
    if (next == nullptr && user_window_quiet(old) != nullptr)
        user_send(old, WM_ACTIVATEAPP, FALSE, 0);
}

bool is_in(HWND window, HWND ancestor) {
    for (Window* w = user_window_quiet(window); w != nullptr; w = user_window_quiet(w->parent)) {
        if (w->handle == ancestor)
            return true;
    }
    return false;
}

// Every owner up the chain remembers the window as its last active popup.
void note_last_active(Window* window) {
    for (Window* owner = user_window_quiet(window->owner); owner != nullptr;
         owner = user_window_quiet(owner->owner))
        owner->last_active_popup = window->handle;
}

// Coming to the top with the activation is a move in the z-order that the
// window is told of: WM_WINDOWPOSCHANGING before the old window hears it
// is inactive, WM_WINDOWPOSCHANGED once the new one is active. False when
// the window is on top already and nothing is said.
bool raise_begins(Window* window, WINDOWPOS* pos) {
    if (g_raise_told || user_is_on_top(window))
        return false;
    const RECT& r = window->window_rect;
    *pos = {window->handle,         HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOSIZE | SWP_NOMOVE};
    user_send(window->handle, WM_WINDOWPOSCHANGING, 0, (LPARAM)pos);
    return true;
}

void raise_ends(HWND handle, WINDOWPOS* pos) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    const RECT& r = window->window_rect;
    *pos = {handle,
            HWND_TOP,
            r.left,
            r.top,
            r.right - r.left,
            r.bottom - r.top,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE};
    user_send(handle, WM_WINDOWPOSCHANGED, 0, (LPARAM)pos);
}

void announce_active(Window* window, HWND old, WORD how) {
    HWND target = window->handle;
    if (Window* w = user_window_quiet(target)) {
        user_move_in_z_order(w, HWND_TOP);
        user_place_on_host(w);
    }
    if (old == nullptr && user_window_quiet(target) != nullptr)
        user_send(target, WM_ACTIVATEAPP, TRUE, 0);
    if (user_window_quiet(target) != nullptr)
        user_send(target, WM_NCACTIVATE, TRUE, 0);
    if (user_window_quiet(target) != nullptr) {
        WPARAM wparam = MAKEWPARAM(how, window->minimized ? 1 : 0);
        user_send(target, WM_ACTIVATE, wparam, (LPARAM)old);
    }
}

} // namespace

// Activates a top-level window: the old one hears it is inactive, the new
// one is raised and told, and its procedure's default sets the focus.
void user_activate(HWND handle, WORD how) {
    Window* window = user_top_level_of(user_window_quiet(handle));
    HWND target = window != nullptr ? window->handle : nullptr;
    if (target == g_active)
        return;
    if (target != nullptr) {
        CBTACTIVATESTRUCT info{how == WA_CLICKACTIVE, g_active};
        if (user_call_cbt(HCBT_ACTIVATE, (WPARAM)target, (LPARAM)&info) != 0)
            return;
    }
    WINDOWPOS pos{};
    bool raised = window != nullptr && raise_begins(window, &pos);
    if (target != nullptr && (window = user_window_quiet(target)) == nullptr)
        return;
    HWND old = g_active;
    g_active = target;
    if (window != nullptr)
        note_last_active(window);
    user_task_bar_changed();
    deactivate(old, target);
    // With nothing active the focus goes too, and a minimised window takes
    // none; otherwise the new window's WM_ACTIVATE moves it.
    Window* now = user_window_quiet(target);
    if (g_focus != nullptr && (now == nullptr || (now->minimized && !is_in(g_focus, target))))
        SetFocus(nullptr);
    if (target == nullptr || user_window_quiet(target) == nullptr)
        return;
    announce_active(window, old, how);
    if (raised)
        raise_ends(target, &pos);
}

void user_activate_next(HWND leaving) {
    user_activate(next_to_activate(leaving), WA_ACTIVE);
}

void user_activate_in_move(HWND handle) {
    g_raise_told = true;
    user_activate(handle, WA_ACTIVE);
    g_raise_told = false;
}

HWND user_activation_target(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || !(window->style & WS_DISABLED))
        return handle;
    HWND popup = GetLastActivePopup(handle);
    Window* box = user_window_quiet(popup);
    if (box == nullptr || !(box->style & WS_VISIBLE) || (box->style & WS_DISABLED))
        return handle;
    return popup;
}

// The last active popup while it lives and is still owned by the window.
HWND WINAPI GetLastActivePopup(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return nullptr;
    Window* popup = user_window_quiet(window->last_active_popup);
    for (Window* w = popup; w != nullptr; w = user_window_quiet(w->owner))
        if (w->owner == handle)
            return popup->handle;
    return handle;
}

// Called when a window is hidden or destroyed: what it held passes on.
void user_window_gone(HWND handle) {
    if (g_capture != nullptr && is_in(g_capture, handle)) {
        HWND old = g_capture;
        g_capture = nullptr;
        if (user_window_quiet(old) != nullptr)
            user_send(old, WM_CAPTURECHANGED, 0, 0);
    }
    if (g_active == handle)
        user_activate(next_to_activate(handle), WA_ACTIVE);
    if (g_focus != nullptr && is_in(g_focus, handle)) {
        HWND old = g_focus;
        Window* window = user_window_quiet(handle);
        g_focus = nullptr;
        if (window != nullptr && (window->style & WS_CHILD) && window->parent != nullptr &&
            !is_in(window->parent, handle)) {
            // The child loses the focus as SetFocus tells it: WM_KILLFOCUS
            // naming the parent, before the parent's WM_SETFOCUS.
            g_focus = old;
            SetFocus(window->parent);
        } else if (user_window_quiet(old) != nullptr && !user_window_quiet(old)->destroying)
            user_send(old, WM_KILLFOCUS, 0, 0);
    }
}

HWND WINAPI SetFocus(HWND handle) {
    HWND old = g_focus;
    if (handle == nullptr) {
        g_focus = nullptr;
        if (old != nullptr && user_window_quiet(old) != nullptr)
            user_send(old, WM_KILLFOCUS, 0, 0);
        return old;
    }
    Window* window = user_window(handle);
    if (window == nullptr)
        return nullptr;
    if (handle == old)
        return old;
    Window* top = user_top_level_of(window);
    if (top->style & WS_DISABLED)
        return nullptr;
    if (top->handle != g_active)
        user_activate(top->handle, WA_ACTIVE);
    if (g_focus == handle)
        return old;
    if (user_call_cbt(HCBT_SETFOCUS, (WPARAM)handle, (LPARAM)g_focus) != 0)
        return nullptr;
    old = g_focus;
    g_focus = handle;
    if (old != nullptr && user_window_quiet(old) != nullptr)
        user_send(old, WM_KILLFOCUS, (WPARAM)handle, 0);
    if (g_focus == handle)
        user_send(handle, WM_SETFOCUS, (WPARAM)old, 0);
    return old;
}

HWND WINAPI GetFocus(void) {
    return g_focus;
}
HWND WINAPI GetActiveWindow(void) {
    return g_active;
}
HWND WINAPI GetForegroundWindow(void) {
    return g_active;
}

// The desktop and child windows cannot be active: asking leaves the
// active window as it is and answers null.
HWND WINAPI SetActiveWindow(HWND handle) {
    HWND old = g_active;
    Window* window = handle != nullptr ? user_window(handle) : nullptr;
    if (handle != nullptr && window == nullptr)
        return nullptr;
    if (handle != nullptr && (handle == GetDesktopWindow() || (window->style & WS_CHILD)))
        return nullptr;
    user_activate(handle, WA_ACTIVE);
    return old;
}

// The desktop in front means no window of the program is.
BOOL WINAPI SetForegroundWindow(HWND handle) {
    if (user_window(handle) == nullptr)
        return FALSE;
    user_activate(handle == GetDesktopWindow() ? nullptr : handle, WA_ACTIVE);
    return TRUE;
}

// Returns whether the window was disabled before.
BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    BOOL was_disabled = (window->style & WS_DISABLED) != 0;
    if (enable && was_disabled) {
        window->style &= ~WS_DISABLED;
        user_send(handle, WM_ENABLE, TRUE, 0);
    } else if (!enable && !was_disabled) {
        user_send(handle, WM_CANCELMODE, 0, 0);
        if ((window = user_window_quiet(handle)) == nullptr)
            return FALSE;
        window->style |= WS_DISABLED;
        if (g_focus != nullptr && is_in(g_focus, handle))
            SetFocus(nullptr);
        user_send(handle, WM_ENABLE, FALSE, 0);
    }
    return was_disabled;
}

HWND WINAPI SetCapture(HWND handle) {
    HWND old = g_capture;
    if (handle != nullptr && user_window(handle) == nullptr)
        return nullptr;
    g_capture = handle;
    // The holder hears of the change even when it takes the capture again.
    if (old != nullptr && user_window_quiet(old) != nullptr)
        user_send(old, WM_CAPTURECHANGED, 0, (LPARAM)handle);
    return old;
}

BOOL WINAPI ReleaseCapture(void) {
    HWND old = g_capture;
    g_capture = nullptr;
    if (old != nullptr && user_window_quiet(old) != nullptr)
        user_send(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    return g_capture;
}

void user_reset_focus() {
    g_focus = nullptr;
    g_active = nullptr;
    g_capture = nullptr;
}
