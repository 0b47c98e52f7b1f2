// Creating and destroying windows, with the messages Windows sends on the way.
#include "platform/host/host.h"
#include "platform/user/menu.h"
#include "platform/user/user_private.h"

#include <algorithm>
#include <string.h>

namespace {

// Where a top-level window asked to be placed by default goes, and how big.
void apply_default_placement(DWORD style, int* x, int* y, int* width, int* height) {
    if (style & WS_CHILD) {
        *x = *x == CW_USEDEFAULT ? 0 : *x;
        *y = *y == CW_USEDEFAULT ? 0 : *y;
        *width = *width == CW_USEDEFAULT ? 0 : *width;
        *height = *height == CW_USEDEFAULT ? 0 : *height;
        return;
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (*x == CW_USEDEFAULT) {
        *x = work.left + 26;
        *y = work.top + 26;
    }
    if (*width == CW_USEDEFAULT) {
        *width = (work.right - work.left) * 3 / 4;
        *height = (work.bottom - work.top) * 3 / 4;
    }
}

// Windows gives top-level windows WS_CLIPSIBLINGS, and overlapped ones a
// caption; frames come with the window-edge extended style.
void adjust_styles(DWORD* style, DWORD* ex_style) {
    if (!(*style & WS_CHILD)) {
        *style |= WS_CLIPSIBLINGS;
        if (!(*style & WS_POPUP))
            *style |= WS_CAPTION;
    }
    if ((*style & (WS_DLGFRAME | WS_THICKFRAME)) || (*ex_style & WS_EX_DLGMODALFRAME))
        *ex_style |= WS_EX_WINDOWEDGE;
}

// Top-level windows go above every window that is not topmost (or above all
// when they are topmost); children go to the top of their siblings.
void link_into_tree(Window* window) {
    if (Window* parent = user_window_quiet(window->parent)) {
        // New children go below their siblings, maximised ones above.
        auto& list = parent->children;
        list.insert(window->style & WS_MAXIMIZE ? list.begin() : list.end(), window->handle);
        return;
    }
    std::vector<HWND>& tops = user_top_windows();
    auto at = tops.begin();
    if (!(window->ex_style & WS_EX_TOPMOST)) {
        while (at != tops.end()) {
            Window* other = user_window_quiet(*at);
            if (other == nullptr || !(other->ex_style & WS_EX_TOPMOST))
                break;
            ++at;
        }
    }
    tops.insert(at, window->handle);
}

void unlink_from_tree(Window* window) {
    if (Window* parent = user_window_quiet(window->parent)) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), window->handle), list.end());
    }
    auto& tops = user_top_windows();
    tops.erase(std::remove(tops.begin(), tops.end(), window->handle), tops.end());
}

// Minimum and maximum tracking sizes, as the window procedure answers them.
void apply_min_max(Window* window, int* width, int* height) {
    MINMAXINFO info{};
    int frame = GetSystemMetrics(SM_CXFRAME);
    info.ptMaxSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * frame,
                      GetSystemMetrics(SM_CYSCREEN) + 2 * frame};
    info.ptMaxPosition = {-frame, -frame};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    user_send(window->handle, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    *width = std::min<int>(*width, info.ptMaxTrackSize.x);
    *height = std::min<int>(*height, info.ptMaxTrackSize.y);
    if (window->style & WS_THICKFRAME) {
        *width = std::max<int>(*width, info.ptMinTrackSize.x);
        *height = std::max<int>(*height, info.ptMinTrackSize.y);
    }
}

void notify_parent(Window* window, UINT event) {
    if (!(window->style & WS_CHILD) || (window->ex_style & 0x4 /* WS_EX_NOPARENTNOTIFY */))
        return;
    WPARAM wparam = MAKEWPARAM(event, (WORD)window->id);
    for (HWND parent = window->parent; parent != nullptr;) {
        Window* p = user_window_quiet(parent);
        if (p == nullptr)
            break;
        user_send(parent, WM_PARENTNOTIFY, wparam, (LPARAM)window->handle);
        if (!(p->style & WS_CHILD))
            break;
        parent = p->parent;
    }
}

// Sends WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE; false when the window
// procedure refused the window.
bool send_creation_messages(Window* window, CREATESTRUCTA* cs) {
    HWND handle = window->handle;
    if (!user_send(handle, WM_NCCREATE, 0, (LPARAM)cs) || user_window_quiet(handle) == nullptr)
        return false;
    RECT rect = window->window_rect;
    user_send(handle, WM_NCCALCSIZE, FALSE, (LPARAM)&rect);
    if (user_window_quiet(handle) == nullptr)
        return false;
    window->client_rect = rect;
    return user_send(handle, WM_CREATE, 0, (LPARAM)cs) != -1 && user_window_quiet(handle);
}

Window* make_window(WindowClass* cls, DWORD ex_style, DWORD style, HWND parent, HWND owner,
                    HMENU menu, HINSTANCE instance) {
    HWND handle;
    Window* window = user_new_window(&handle);
    window->cls = cls;
    window->proc = cls->proc;
    window->style = style & ~WS_VISIBLE;
    window->ex_style = ex_style;
    window->parent = parent;
    window->owner = owner;
    window->id = (UINT_PTR)menu;
    window->instance = instance;
    window->extra.assign((size_t)cls->window_extra, 0);
    ++cls->window_count;
    return window;
}

// The owner of a popup is the top-level window of the one it was given.
HWND owner_from(HWND given) {
    Window* window = user_top_level_of(user_window_quiet(given));
    return window != nullptr ? window->handle : nullptr;
}

// A window refused before its first message goes without any.
void discard_window(Window* window) {
    unlink_from_tree(window);
    --window->cls->window_count;
    user_free_window(window->handle);
}

void send_size_and_move(Window* window) {
    window->size_sent = true;
    RECT c = window->client_rect;
    UINT kind = window->minimized ? SIZE_MINIMIZED : window->maximized ? SIZE_MAXIMIZED : 0;
    user_send(window->handle, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    if (user_window_quiet(window->handle) != nullptr)
        user_send(window->handle, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
}

void show_after_creation(HWND handle, DWORD style) {
    int command = SW_SHOW;
    if (style & WS_MAXIMIZE)
        command = SW_SHOWMAXIMIZED;
    else if (style & WS_MINIMIZE)
        command = SW_SHOWMINIMIZED;
    ShowWindow(handle, command);
}

void send_destroy(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    window->destroying = true;
    user_send(handle, WM_DESTROY, 0, 0);
    window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    std::vector<HWND> children = window->children;
    for (HWND child : children)
        send_destroy(child);
}

// Children go first; each window's WM_NCDESTROY is its last message.
void free_tree(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    std::vector<HWND> children = window->children;
    for (HWND child : children)
        free_tree(child);
    user_send(handle, WM_NCDESTROY, 0, 0);
    window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    user_kill_window_timers(handle);
    user_destroy_window_menu(window);
    user_window_gone(handle);
    if (window->parent == nullptr) {
        host_window_destroyed(handle);
        user_task_bar_changed();
    }
    user_window_dcs_gone(window);
    unlink_from_tree(window);
    --window->cls->window_count;
    user_free_window(handle);
}

void destroy_owned_windows(HWND owner) {
    std::vector<HWND> tops = user_top_windows();
    for (HWND top : tops) {
        Window* window = user_window_quiet(top);
        if (window != nullptr && window->owner == owner && !window->destroying)
            DestroyWindow(top);
    }
}

} // namespace

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style,
                            int x, int y, int width, int height, HWND parent_handle, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    WindowClass* cls = user_find_class(class_name, instance);
    if (cls == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    if (parent_handle != nullptr && user_window(parent_handle) == nullptr)
        return nullptr;
    if ((style & WS_CHILD) && parent_handle == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (ex_style & WS_EX_MDICHILD)
        style |= WS_CHILD | WS_CLIPSIBLINGS; // an MDI document is a child of its client
    HWND parent = (style & WS_CHILD) ? parent_handle : nullptr;
    HWND owner = (style & WS_CHILD) ? nullptr : owner_from(parent_handle);
    if (ex_style & WS_EX_MDICHILD)
        user_mdi_default_placement(parent_handle, &x, &y, &width, &height);
    apply_default_placement(style, &x, &y, &width, &height);
    DWORD requested_style = style;
    Window* window = make_window(cls, ex_style, style, parent, owner, menu, instance);
    HWND handle = window->handle;
    CREATESTRUCTA cs{param,
                     instance,
                     menu,
                     parent_handle,
                     std::max(height, 0),
                     std::max(width, 0),
                     y,
                     x,
                     (LONG)requested_style,
                     window_name,
                     class_name,
                     ex_style};
    // The CBT hook sees the window first, with the style as asked for and
    // outside the z-order, and may move, resize or refuse it.
    CBT_CREATEWNDA cbt{&cs, HWND_TOP};
    if (user_call_cbt(HCBT_CREATEWND, (WPARAM)handle, (LPARAM)&cbt) != 0) {
        discard_window(window);
        return nullptr;
    }
    if ((window = user_window_quiet(handle)) == nullptr)
        return nullptr;
    adjust_styles(&window->style, &window->ex_style);
    link_into_tree(window);
    style = window->style;
    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)))
        apply_min_max(window, &cs.cx, &cs.cy);
    user_clamp_place(&cs.x, &cs.y, &cs.cx, &cs.cy);
    window->window_rect = {cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    window->client_rect = window->window_rect;
    if (parent == nullptr) {
        user_surface_resize(window);
        user_place_on_host(window);
    }
    if (!send_creation_messages(window, &cs)) {
        // A window refused on creation hears only WM_NCDESTROY.
        if (user_window_quiet(handle) != nullptr)
            free_tree(handle);
        return nullptr;
    }
    send_size_and_move(window);
    if (user_window_quiet(handle) == nullptr)
        return nullptr;
    notify_parent(window, WM_CREATE);
    if (user_window_quiet(handle) != nullptr && (requested_style & WS_VISIBLE))
        show_after_creation(handle, requested_style);
    return user_window_quiet(handle) != nullptr ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    if (window->destroying)
        return TRUE;
    if (user_call_cbt(HCBT_DESTROYWND, (WPARAM)handle, 0) != 0)
        return FALSE;
    if ((window = user_window_quiet(handle)) == nullptr)
        return TRUE;
    notify_parent(window, WM_DESTROY);
    if (user_window_quiet(handle) == nullptr)
        return TRUE;
    destroy_owned_windows(handle);
    if (user_window_quiet(handle) == nullptr)
        return TRUE;
    if (window->style & WS_VISIBLE) {
        if (window->style & WS_CHILD)
            user_send(handle, WM_SHOWWINDOW, FALSE, 0);
        UINT flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        if (IsWindow(handle))
            SetWindowPos(handle, nullptr, 0, 0, 0, 0, flags);
    }
    user_window_gone(handle);
    send_destroy(handle);
    free_tree(handle);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return user_window_quiet(handle) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    Window* window = user_window_quiet(handle);
    return window != nullptr && user_is_visible(window);
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    Window* window = user_window_quiet(handle);
    return window != nullptr && !(window->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND handle) {
    Window* window = user_window_quiet(handle);
    return window != nullptr && window->minimized;
}

BOOL WINAPI IsZoomed(HWND handle) {
    Window* window = user_window_quiet(handle);
    return window != nullptr && window->maximized;
}

BOOL WINAPI IsChild(HWND parent, HWND handle) {
    Window* window = user_window_quiet(handle);
    while (window != nullptr && (window->style & WS_CHILD)) {
        if (window->parent == parent)
            return TRUE;
        window = user_window_quiet(window->parent);
    }
    return FALSE;
}

// The sizes sent after creation when the window did not get them yet.
void user_send_pending_size(Window* window) {
    // Windows sends them at the end of creation already; this is for a
    // window whose procedure destroyed and replaced its size state.
    if (!window->size_sent)
        send_size_and_move(window);
}

// The desktop: the parent of top-level windows in coordinates, the size of
// the screen, with no pixels of its own.
HWND WINAPI GetDesktopWindow(void) {
    static HWND desktop = nullptr;
    if (desktop != nullptr)
        return desktop;
    static WindowClass cls{};
    cls.name = "#32769";
    cls.proc = DefWindowProcA;
    Window* window = user_new_window(&desktop);
    window->cls = &cls;
    window->proc = DefWindowProcA;
    window->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    window->window_rect = screen;
    window->client_rect = screen;
    return desktop;
}
