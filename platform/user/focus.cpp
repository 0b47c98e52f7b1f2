// Keyboard focus, the active window and mouse capture.
#include "platform/host/host.h"
#include "platform/user/user_private.h"

namespace {

HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;

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
    HWND old = g_active;
    g_active = target;
    if (window != nullptr)
        note_last_active(window);
    user_task_bar_changed();
    deactivate(old, target);
    // With nothing active the focus goes too; otherwise the new window's
    // WM_ACTIVATE moves it.
    if (target == nullptr && g_focus != nullptr)
        SetFocus(nullptr);
    if (target == nullptr || user_window_quiet(target) == nullptr)
        return;
    user_raise_quietly(window);
    if (old == nullptr)
        user_send(target, WM_ACTIVATEAPP, TRUE, 0);
    user_send(target, WM_NCACTIVATE, TRUE, 0);
    if (user_window_quiet(target) != nullptr) {
        WPARAM wparam = MAKEWPARAM(how, window->minimized ? 1 : 0);
        user_send(target, WM_ACTIVATE, wparam, (LPARAM)old);
    }
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

HWND WINAPI SetActiveWindow(HWND handle) {
    HWND old = g_active;
    if (handle != nullptr && user_window(handle) == nullptr)
        return nullptr;
    user_activate(handle, WA_ACTIVE);
    return old;
}

BOOL WINAPI SetForegroundWindow(HWND handle) {
    if (user_window(handle) == nullptr)
        return FALSE;
    user_activate(handle, WA_ACTIVE);
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
    if (old != nullptr && old != handle && user_window_quiet(old) != nullptr)
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
