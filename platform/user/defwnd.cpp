// DefWindowProcA: what a window does with a message its procedure passes on.
#include "platform/host/host.h"
#include "platform/user/menu.h"
#include "platform/user/user_private.h"

#include <string.h>

namespace {

LRESULT on_nccreate(Window* window, const CREATESTRUCTA* cs) {
    if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        window->text = cs->lpszName;
    if (window->parent == nullptr)
        host_window_titled(window->handle, window->text.c_str());
    return TRUE;
}

LRESULT on_nccalcsize(Window* window, WPARAM calc_valid, LPARAM lparam) {
    RECT* rect = calc_valid ? &((NCCALCSIZE_PARAMS*)lparam)->rgrc[0] : (RECT*)lparam;
    if (rect == nullptr)
        return 0;
    bool has_menu = !(window->style & WS_CHILD) && user_menu((HMENU)window->id) != nullptr;
    *rect = user_default_client_rect(window->style, window->ex_style, has_menu, *rect);
    if (window->minimized)
        *rect = {rect->left, rect->top, rect->left, rect->top}; // no client area while minimised
    return 0;
}

LRESULT on_erase(Window* window, HDC dc) {
    HBRUSH brush = user_class_brush(window->cls->background);
    if (brush == nullptr || dc == nullptr)
        return 0;
    // A child that draws in its parent's client area (CS_PARENTDC) erases
    // its own client area only, not all that its context could reach.
    RECT box;
    if (window->cls->style & CS_PARENTDC) {
        POINT origin{0, 0};
        GetViewportOrgEx(dc, &origin);
        GetClientRect(window->handle, &box);
        OffsetRect(&box, -origin.x, -origin.y);
    } else {
        GetClipBox(dc, &box);
    }
    FillRect(dc, &box, brush);
    return 1;
}

LRESULT on_paint(HWND handle) {
    PAINTSTRUCT paint;
    if (BeginPaint(handle, &paint) != nullptr)
        EndPaint(handle, &paint);
    return 0;
}

// Over the client area the class cursor is set when there is one; a class
// without a cursor leaves it to the window (the answer is then FALSE).
LRESULT on_setcursor(Window* window, WPARAM wparam, LPARAM lparam) {
    // A child's parent may set the cursor first.
    if ((window->style & WS_CHILD) && window->parent != nullptr &&
        user_send(window->parent, WM_SETCURSOR, wparam, lparam))
        return TRUE;
    if (LOWORD(lparam) == HTCLIENT) {
        if (window->cls->cursor == nullptr)
            return FALSE;
        SetCursor(window->cls->cursor);
        return TRUE;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return FALSE;
}

LRESULT on_gettext(Window* window, WPARAM count, LPSTR text) {
    if (text == nullptr || count == 0)
        return 0;
    size_t copied = window->text.size() < count - 1 ? window->text.size() : count - 1;
    memcpy(text, window->text.data(), copied);
    text[copied] = '\0';
    return (LRESULT)copied;
}

LRESULT on_settext(Window* window, LPCSTR text) {
    window->text = text != nullptr ? text : "";
    if (window->parent == nullptr) {
        host_window_titled(window->handle, window->text.c_str());
        window->frame_pending = true;
        user_task_bar_changed();
    }
    return TRUE;
}

LRESULT on_syscommand(HWND handle, WPARAM command, LPARAM lparam) {
    if (user_call_cbt(HCBT_SYSCOMMAND, command, lparam) != 0)
        return 0;
    switch (command & 0xFFF0) {
    case SC_MOVE:
        user_move_command(handle, lparam);
        break;
    case SC_SIZE:
        user_size_command(handle, command, lparam);
        break;
    case SC_MOUSEMENU:
    case SC_KEYMENU:
        user_menu_command(handle, command, lparam);
        break;
    case SC_CLOSE:
        user_send(handle, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        ShowWindow(handle, SW_MINIMIZE);
        break;
    case SC_RESTORE:
        ShowWindow(handle, SW_RESTORE);
        break;
    case SC_MAXIMIZE:
        ShowWindow(handle, SW_MAXIMIZE);
        break;
    }
    return 0;
}

// Whether Alt went down with no other key since: releasing it then opens
// the menu bar.
bool g_alt_alone = false;

// Alt+F4 asks to close the window; F10 opens the menu bar.
LRESULT on_syskeydown(HWND handle, WPARAM key, LPARAM data) {
    g_alt_alone = key == VK_MENU && !(data & (1 << 30));
    Window* top = user_top_level_of(user_window_quiet(handle));
    if (top == nullptr)
        return 0;
    if (key == VK_F4 && (data & (1 << 29)))
        PostMessageA(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (key == VK_F10)
        user_send(top->handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    return 0;
}

// A character typed with Alt opens the menu whose mnemonic it is (the
// system menu for a space); Tab and Escape belong to window switching.
LRESULT on_syschar(HWND handle, WPARAM key, LPARAM data) {
    if (!(data & (1 << 29)) || key == 0 || key == '\t' || key == 0x1B)
        return 0;
    Window* window = user_window_quiet(handle);
    if (key == ' ' && window != nullptr && (window->style & WS_CHILD))
        return user_send(window->parent, WM_SYSCHAR, key, data);
    user_send(handle, WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)key);
    return 0;
}

LRESULT on_syskeyup(HWND handle, WPARAM key) {
    bool alone = g_alt_alone && key == VK_MENU;
    g_alt_alone = false;
    Window* top = user_top_level_of(user_window_quiet(handle));
    if (alone && top != nullptr)
        user_send(top->handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    return 0;
}

// WM_MOVE and WM_SIZE follow from what WM_WINDOWPOSCHANGED says of the
// client area; a change of state (minimised, restored) always reports the
// size.
LRESULT on_windowposchanged(Window* window, const WINDOWPOS* pos) {
    if (pos == nullptr)
        return 0;
    bool moved = !(pos->flags & SWP_NOCLIENTMOVE);
    bool sized = !(pos->flags & SWP_NOCLIENTSIZE) || (pos->flags & SWP_STATECHANGED);
    HWND handle = window->handle;
    RECT c = window->client_rect;
    if (moved)
        user_send(handle, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
    if (sized && (window = user_window_quiet(handle)) != nullptr) {
        window->size_sent = true;
        UINT kind = window->minimized ? SIZE_MINIMIZED : window->maximized ? SIZE_MAXIMIZED : 0;
        user_send(handle, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    }
    return 0;
}

LRESULT on_activate(Window* window, WPARAM wparam) {
    if (LOWORD(wparam) != WA_INACTIVE && !window->minimized && !(window->style & WS_DISABLED)) {
        HWND focus = GetFocus();
        if (focus == nullptr || !IsChild(window->handle, focus))
            SetFocus(window->handle);
    }
    return 0;
}

} // namespace

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return on_nccreate(window, (const CREATESTRUCTA*)lparam);
    case WM_NCCALCSIZE:
        return on_nccalcsize(window, wparam, lparam);
    case WM_NCHITTEST:
        return user_nc_hit_test(window, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    case WM_NCPAINT:
        user_nc_paint(window, window->nc_active);
        return 0;
    case WM_NCLBUTTONDOWN:
        return user_nc_button_down(handle, wparam, lparam);
    case WM_SYSKEYUP:
        return on_syskeyup(handle, wparam);
    case WM_ERASEBKGND:
        return on_erase(window, (HDC)wparam);
    case WM_PAINT:
        return on_paint(handle);
    case WM_SETCURSOR:
        return on_setcursor(window, wparam, lparam);
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_GETTEXT:
        return on_gettext(window, wparam, (LPSTR)lparam);
    case WM_GETTEXTLENGTH:
        return (LRESULT)window->text.size();
    case WM_SETTEXT:
        return on_settext(window, (LPCSTR)lparam);
    case WM_SYSCOMMAND:
        return on_syscommand(handle, wparam, lparam);
    case WM_SYSCHAR:
        return on_syschar(handle, wparam, lparam);
    case WM_SYSKEYDOWN:
        return on_syskeydown(handle, wparam, lparam);
    case WM_WINDOWPOSCHANGED:
        return on_windowposchanged(window, (const WINDOWPOS*)lparam);
    case WM_ACTIVATE:
        return on_activate(window, wparam);
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    case WM_CANCELMODE: // whatever the window was tracking ends
        if (GetCapture() == handle)
            ReleaseCapture();
        return 0;
    case WM_NCACTIVATE:
        window->nc_active = wparam != FALSE;
        if (user_is_visible(window))
            user_nc_paint(window, window->nc_active);
        return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        SetBkColor((HDC)wparam, GetSysColor(COLOR_WINDOW));
        SetTextColor((HDC)wparam, GetSysColor(COLOR_WINDOWTEXT));
        return (LRESULT)GetSysColorBrush(COLOR_WINDOW);
    }
    return 0;
}
