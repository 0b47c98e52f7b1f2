// Showing, hiding, moving, sizing and reordering windows.
#include "platform/host/host.h"
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

bool same_size(const RECT& a, const RECT& b) {
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

// The new window rectangle, in the parent's client coordinates.
// The place is clamped again: the window procedure may have changed it.
RECT new_window_rect(const Window* window, const WINDOWPOS& pos) {
    RECT r = window->window_rect;
    int x = pos.x, y = pos.y, cx = pos.cx, cy = pos.cy;
    user_clamp_place(&x, &y, &cx, &cy);
    if (!(pos.flags & SWP_NOMOVE)) {
        LONG width = r.right - r.left, height = r.bottom - r.top;
        r = {x, y, x + width, y + height};
    }
    if (!(pos.flags & SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    return r;
}

// Whether the window already sits where `after` would put it.
bool already_there(Window* window, HWND after) {
    const std::vector<HWND>& list = user_sibling_list(window);
    auto at = std::find(list.begin(), list.end(), window->handle);
    if (at == list.end())
        return false;
    if (after == HWND_BOTTOM)
        return at + 1 == list.end();
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        for (auto it = list.begin(); it != at; ++it) {
            Window* other = user_window_quiet(*it);
            bool stays_above = window->parent == nullptr && other != nullptr &&
                               (other->ex_style & WS_EX_TOPMOST) &&
                               !(window->ex_style & WS_EX_TOPMOST);
            if (!stays_above)
                return false;
        }
        return true;
    }
    return at != list.begin() && *(at - 1) == after;
}

// Flags for what does not change, as Windows adds them before telling the
// window procedure.
UINT settle_flags(Window* window, WINDOWPOS* pos) {
    RECT r = new_window_rect(window, *pos);
    if (same_size(r, window->window_rect))
        pos->flags |= SWP_NOSIZE;
    if (r.left == window->window_rect.left && r.top == window->window_rect.top)
        pos->flags |= SWP_NOMOVE;
    if ((pos->flags & SWP_SHOWWINDOW) && (window->style & WS_VISIBLE))
        pos->flags &= ~SWP_SHOWWINDOW;
    if ((pos->flags & SWP_HIDEWINDOW) && !(window->style & WS_VISIBLE))
        pos->flags &= ~SWP_HIDEWINDOW;
    // A hidden window that stays hidden has nothing to redraw.
    if (!(window->style & WS_VISIBLE) && !(pos->flags & SWP_SHOWWINDOW))
        pos->flags |= SWP_NOREDRAW;
    if (window->style & WS_CHILD)
        pos->flags |= SWP_NOACTIVATE;
    return pos->flags;
}

// A move that changes nothing is not reported to the window.
bool changes_nothing(UINT flags) {
    UINT still = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
    return (flags & still) == still && !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) &&
           !(flags & SWP_FRAMECHANGED);
}

// The window procedure sees the WINDOWPOS being applied through lppos.
RECT client_for(Window* window, const RECT& window_rect, bool sized, WINDOWPOS* pos) {
    if (!sized) {
        LONG dx = window_rect.left - window->window_rect.left;
        LONG dy = window_rect.top - window->window_rect.top;
        RECT c = window->client_rect;
        return {c.left + dx, c.top + dy, c.right + dx, c.bottom + dy};
    }
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = window_rect;
    params.rgrc[1] = window->window_rect;
    params.rgrc[2] = window->client_rect;
    params.lppos = pos;
    user_send(window->handle, WM_NCCALCSIZE, TRUE, (LPARAM)&params);
    return params.rgrc[0];
}

void apply_visibility(Window* window, UINT flags) {
    if (flags & SWP_SHOWWINDOW)
        window->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW)
        window->style &= ~WS_VISIBLE;
}

// What becomes invalid: everything of a window just shown or resized when
// its class redraws on size; otherwise only the client area it gained, also
// where a changed frame (a scroll bar taken off) gave the client more room.
void invalidate_after_change(Window* window, const RECT& old_client, UINT flags) {
    bool shown = flags & SWP_SHOWWINDOW;
    const RECT& now = window->client_rect;
    bool sized = !(flags & SWP_NOSIZE) ||
                 now.right - now.left != old_client.right - old_client.left ||
                 now.bottom - now.top != old_client.bottom - old_client.top;
    if (flags & SWP_FRAMECHANGED)
        window->frame_pending = true;
    if (shown) {
        window->frame_pending = true;
        user_invalidate(window, nullptr, true, true);
        return;
    }
    if (sized)
        user_window_resized(window, old_client);
    if (flags & SWP_HIDEWINDOW) {
        if (Window* parent = user_window_quiet(window->parent)) {
            RECT area = window->window_rect;
            user_invalidate(parent, &area, true, true);
        }
    }
}

// A child's pixels live in its top-level window's surface, which is not
// shifted with the child: a visible child that moves or changes size is
// drawn again whole at its new place, and what it left uncovered (of its
// parent and the siblings there) is drawn again too.
void redraw_moved_child(Window* window, const RECT& old_rect, UINT flags) {
    const RECT& now = window->window_rect;
    bool moved = old_rect.left != now.left || old_rect.top != now.top ||
                 old_rect.right != now.right || old_rect.bottom != now.bottom;
    if (window->parent == nullptr || !moved || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
        return;
    window->frame_pending = true;
    user_invalidate(window, nullptr, true, true);
    Window* parent = user_window_quiet(window->parent);
    if (parent == nullptr)
        return;
    Region left = region_combine(region_from_rect(old_rect), region_from_rect(now), RGN_DIFF);
    for (const RECT& r : left.rects)
        user_invalidate(parent, &r, true, true);
}

void send_changing(Window* window, WINDOWPOS* pos) {
    if (!(pos->flags & SWP_NOSENDCHANGING))
        user_send(window->handle, WM_WINDOWPOSCHANGING, 0, (LPARAM)pos);
}

// What changes besides the place, in the order Windows does it: the frame
// and erase of a window shown or resized happen before
// WM_WINDOWPOSCHANGED, and so does the activation it asks for.
void apply_change(Window* window, const WINDOWPOS& pos, UINT* flags) {
    HWND handle = window->handle;
    RECT old_client = window->client_rect, old_rect = window->window_rect;
    RECT rect = new_window_rect(window, pos);
    bool recalc = !(*flags & SWP_NOSIZE) || (*flags & SWP_FRAMECHANGED);
    WINDOWPOS applied = pos;
    applied.flags = *flags;
    window->client_rect = client_for(window, rect, recalc, &applied);
    window->window_rect = rect;
    if (!(*flags & SWP_NOZORDER))
        user_move_in_z_order(window, pos.hwndInsertAfter);
    apply_visibility(window, *flags);
    if (window->parent == nullptr) {
        user_surface_resize(window);
        user_place_on_host(window);
    }
    bool activate = !(*flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && window->parent == nullptr;
    if (activate) {
        bool was_on_top = already_there(window, HWND_TOP);
        user_activate_in_move(handle);
        if (!was_on_top && (window = user_window_quiet(handle)) != nullptr &&
            already_there(window, HWND_TOP))
            *flags &= ~SWP_NOZORDER; // activation brought it to the top
    }
    if ((window = user_window_quiet(handle)) == nullptr)
        return;
    invalidate_after_change(window, old_client, *flags);
    redraw_moved_child(window, old_rect, *flags);
    bool repaint = (*flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) || !(*flags & SWP_NOSIZE);
    if (repaint && !(*flags & SWP_NOREDRAW) && user_is_visible(window) && !window->minimized)
        RedrawWindow(handle, nullptr, nullptr, RDW_ERASENOW | RDW_FRAME);
    if ((*flags & SWP_HIDEWINDOW) && window->parent != nullptr)
        RedrawWindow(window->parent, nullptr, nullptr, RDW_ERASENOW);
}

// Where a call leaves the place or the size alone, the window is told the
// place or size it has, not the caller's unused numbers.
void fill_unchanged_place(const Window* window, WINDOWPOS* pos) {
    const RECT& r = window->window_rect;
    if (pos->flags & SWP_NOMOVE) {
        pos->x = r.left;
        pos->y = r.top;
    }
    if (pos->flags & SWP_NOSIZE) {
        pos->cx = r.right - r.left;
        pos->cy = r.bottom - r.top;
    }
}

// WM_WINDOWPOSCHANGED always carries the final rectangle, and says whether
// the client area kept its size and its place in the parent.
void fill_final_place(const Window* window, const RECT& old_client, WINDOWPOS* pos) {
    const RECT& r = window->window_rect;
    pos->x = r.left;
    pos->y = r.top;
    pos->cx = r.right - r.left;
    pos->cy = r.bottom - r.top;
    const RECT& c = window->client_rect;
    if (same_size(c, old_client))
        pos->flags |= SWP_NOCLIENTSIZE;
    if (c.left == old_client.left && c.top == old_client.top)
        pos->flags |= SWP_NOCLIENTMOVE;
}

// The desktop cannot be an insert-after window; another window that is not
// a sibling is ignored and the window keeps its place in the z-order.
bool check_insert_after(Window* window, UINT* flags, HWND after) {
    bool special = after == HWND_TOP || after == HWND_BOTTOM || after == HWND_TOPMOST ||
                   after == HWND_NOTOPMOST;
    if (special || (*flags & SWP_NOZORDER))
        return true;
    const std::vector<HWND>& list = user_sibling_list(window);
    if (std::find(list.begin(), list.end(), after) != list.end())
        return true;
    if (user_window(after) == nullptr || after == GetDesktopWindow())
        return false;
    *flags |= SWP_NOZORDER;
    return true;
}

} // namespace

BOOL WINAPI SetWindowPos(HWND handle, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    user_clamp_place(&x, &y, &cx, &cy);
    // The window hears the flags as given; what does not change is added
    // for WM_WINDOWPOSCHANGED only.
    flags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    if (!check_insert_after(window, &flags, after))
        return FALSE;
    WINDOWPOS pos{handle, after, x, y, cx, cy, flags};
    if (window->style & WS_CHILD)
        pos.flags |= SWP_NOACTIVATE;
    fill_unchanged_place(window, &pos);
    send_changing(window, &pos);
    if ((window = user_window_quiet(handle)) == nullptr)
        return FALSE;
    UINT final_flags = settle_flags(window, &pos);
    if (!(final_flags & SWP_NOZORDER) && already_there(window, pos.hwndInsertAfter))
        final_flags |= SWP_NOZORDER;
    if (changes_nothing(final_flags) && (final_flags & SWP_NOACTIVATE))
        return TRUE;
    RECT old_client = window->client_rect;
    apply_change(window, pos, &final_flags);
    if ((window = user_window_quiet(handle)) != nullptr && !changes_nothing(final_flags)) {
        pos.flags = final_flags;
        fill_final_place(window, old_client, &pos);
        user_send(handle, WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
    }
    return TRUE;
}

BOOL WINAPI BringWindowToTop(HWND handle) {
    return SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(handle, nullptr, x, y, width, height, flags);
}

namespace {

// The window shrinks to its minimised place off the screen and keeps its
// activation; its focus goes.
BOOL minimize(Window* window, bool activate) {
    HWND handle = window->handle;
    bool was_visible = window->style & WS_VISIBLE;
    // The focus leaves a minimised window: to the parent of a child, else
    // to nobody.
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == handle || IsChild(handle, focus)))
        SetFocus((window->style & WS_CHILD) ? window->parent : nullptr);
    if ((window = user_window_quiet(handle)) == nullptr)
        return was_visible;
    if (!window->minimized) {
        if (!window->maximized)
            window->restored_rect = window->window_rect;
        window->minimized = true;
        window->style |= WS_MINIMIZE;
    }
    UINT flags = 0x8000 /* SWP_STATECHANGED */ | SWP_NOCOPYBITS | SWP_SHOWWINDOW |
                 SWP_FRAMECHANGED | SWP_NOZORDER | (activate ? 0 : SWP_NOACTIVATE);
    if (!was_visible)
        user_send(handle, WM_SHOWWINDOW, TRUE, 0);
    SetWindowPos(handle, nullptr, -32000, -32000, GetSystemMetrics(SM_CXMINIMIZED),
                 GetSystemMetrics(SM_CYMINIMIZED), flags);
    return was_visible;
}

// A window back from minimised takes the focus, and a top-level one that
// was activated hears WM_ACTIVATE again even when it stayed active, so
// that it can pass the focus on to a child.
void refocus_restored(HWND handle, bool activated) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || !(window->style & WS_VISIBLE))
        return;
    SetFocus(handle);
    if (activated && window->parent == nullptr && GetActiveWindow() == handle)
        user_send(handle, WM_ACTIVATE, WA_ACTIVE, 0);
}

// A maximised top-level window covers the work area, a child its parent's
// client area, with the frame just outside.
RECT maximized_rect(const Window* window) {
    RECT area{};
    if (window->parent != nullptr)
        GetClientRect(window->parent, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    bool thick = window->style & WS_THICKFRAME;
    InflateRect(&area, GetSystemMetrics(thick ? SM_CXFRAME : SM_CXFIXEDFRAME),
                GetSystemMetrics(thick ? SM_CYFRAME : SM_CYFIXEDFRAME));
    return area;
}

// The normal place is kept for the restore (also across a minimise).
BOOL maximize(Window* window) {
    HWND handle = window->handle;
    bool was_visible = window->style & WS_VISIBLE;
    if (!window->maximized && !window->minimized)
        window->restored_rect = window->window_rect;
    window->maximized = true;
    window->minimized = false;
    window->style = (window->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    if (!was_visible)
        user_send(handle, WM_SHOWWINDOW, TRUE, 0);
    RECT r = maximized_rect(window);
    SetWindowPos(handle, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW | SWP_STATECHANGED | SWP_FRAMECHANGED);
    return was_visible;
}

BOOL restore(Window* window, bool activate) {
    HWND handle = window->handle;
    // Back from minimised, a window that was maximised is maximised again.
    if (window->minimized && window->maximized) {
        window->minimized = false;
        BOOL result = maximize(window);
        refocus_restored(handle, activate);
        return result;
    }
    window->maximized = false;
    window->style &= ~WS_MAXIMIZE;
    bool was_visible = window->style & WS_VISIBLE;
    RECT r = window->restored_rect;
    window->minimized = false;
    window->style &= ~WS_MINIMIZE;
    // A window disabled by a modal box comes back with the box active.
    HWND target = activate ? user_activation_target(handle) : handle;
    bool self = activate && target == handle;
    UINT flags = SWP_SHOWWINDOW | SWP_STATECHANGED | (self ? 0 : SWP_NOACTIVATE);
    if (!was_visible)
        user_send(handle, WM_SHOWWINDOW, TRUE, 0);
    SetWindowPos(handle, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    if (activate && !self)
        user_activate(target, WA_ACTIVE);
    else if (self || GetActiveWindow() == handle)
        refocus_restored(handle, self);
    return was_visible;
}

BOOL show(Window* window, bool activate) {
    HWND handle = window->handle;
    if (window->style & WS_VISIBLE) {
        if (activate && window->parent == nullptr)
            user_activate(handle, WA_ACTIVE);
        return TRUE;
    }
    user_send(handle, WM_SHOWWINDOW, TRUE, 0);
    if ((window = user_window_quiet(handle)) == nullptr)
        return FALSE;
    UINT flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE);
    if (window->style & WS_CHILD)
        flags |= SWP_NOZORDER;
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, flags);
    return FALSE;
}

BOOL hide(Window* window) {
    HWND handle = window->handle;
    if (!(window->style & WS_VISIBLE))
        return FALSE;
    user_send(handle, WM_SHOWWINDOW, FALSE, 0);
    if ((window = user_window_quiet(handle)) == nullptr)
        return TRUE;
    // A top-level window goes to the top of the z-order as it is hidden; a
    // child keeps its place among its siblings.
    UINT flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
    if (window->style & WS_CHILD)
        flags |= SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, flags);
    user_window_gone(handle);
    return TRUE;
}

} // namespace

// Returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    BOOL was_visible = (window->style & WS_VISIBLE) != 0;
    BOOL result = was_visible;
    switch (command) {
    case SW_HIDE:
        result = hide(window);
        break;
    case SW_MINIMIZE:
        // The next window takes over the activation.
        minimize(window, false);
        if (GetActiveWindow() == handle)
            user_activate_next(handle);
        break;
    case SW_SHOWMINNOACTIVE:
        minimize(window, false);
        break;
    case SW_SHOWMINIMIZED:
        minimize(window, true);
        break;
    case SW_SHOWMAXIMIZED:
        maximize(window);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        if (window->minimized || window->maximized)
            restore(window, true);
        else
            show(window, true);
        break;
    case SW_SHOWNOACTIVATE:
        if (window->minimized)
            restore(window, false);
        else
            show(window, false);
        break;
    case SW_SHOWNA:
        show(window, false);
        break;
    default:
        show(window, true);
        break;
    }
    if ((window = user_window_quiet(handle)) != nullptr && (window->style & WS_VISIBLE))
        user_send_pending_size(window);
    return result;
}
