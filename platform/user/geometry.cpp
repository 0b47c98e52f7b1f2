// Where windows are: client origins, screen rectangles, default client
// areas by the classic metrics, and mapping points between windows.
#include "platform/user/user_private.h"

#include <algorithm>

POINT user_client_origin(const Window* window) {
    POINT origin{window->client_rect.left, window->client_rect.top};
    for (HWND parent = window->parent; parent != nullptr;) {
        const Window* p = user_window_quiet(parent);
        if (p == nullptr)
            break;
        origin.x += p->client_rect.left;
        origin.y += p->client_rect.top;
        parent = p->parent;
    }
    return origin;
}

POINT user_window_origin(const Window* window) {
    POINT origin{window->window_rect.left, window->window_rect.top};
    if (const Window* parent = user_window_quiet(window->parent)) {
        POINT base = user_client_origin(parent);
        origin.x += base.x;
        origin.y += base.y;
    }
    return origin;
}

RECT user_screen_rect_of(const Window* window) {
    POINT origin = user_window_origin(window);
    return {origin.x, origin.y, origin.x + window->window_rect.right - window->window_rect.left,
            origin.y + window->window_rect.bottom - window->window_rect.top};
}

bool user_is_visible(const Window* window) {
    while (window != nullptr) {
        if (!(window->style & WS_VISIBLE))
            return false;
        window = user_window_quiet(window->parent);
    }
    return true;
}

Window* user_top_level_of(Window* window) {
    while (window != nullptr && window->parent != nullptr)
        window = user_window_quiet(window->parent);
    return window;
}

void user_clamp_place(int* x, int* y, int* width, int* height) {
    *x = std::clamp(*x, -32768, 32767);
    *y = std::clamp(*y, -32768, 32767);
    *width = std::clamp(*width, 0, 32767);
    *height = std::clamp(*height, 0, 32767);
}

// The frame, caption, menu bar, edges and scroll bars of a style, taken
// off the window rectangle.
RECT user_default_client_rect(DWORD style, DWORD ex_style, bool has_menu, const RECT& r) {
    RECT client = r;
    int frame = 0;
    if (style & WS_THICKFRAME)
        frame = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME))
        frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        frame = GetSystemMetrics(SM_CXBORDER);
    client = {client.left + frame, client.top + frame, client.right - frame, client.bottom - frame};
    if ((style & WS_CAPTION) == WS_CAPTION) {
        client.top +=
            GetSystemMetrics((ex_style & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    }
    if (has_menu && !(style & WS_CHILD))
        client.top += GetSystemMetrics(SM_CYMENU);
    if (ex_style & WS_EX_CLIENTEDGE) {
        int edge = GetSystemMetrics(SM_CXEDGE);
        client = {client.left + edge, client.top + edge, client.right - edge, client.bottom - edge};
    }
    // A scroll bar takes its room only where there is room for it: a
    // window narrower than the vertical bar, or not taller than the
    // horizontal one, keeps its client area instead.
    int bar_width = GetSystemMetrics(SM_CXVSCROLL), bar_height = GetSystemMetrics(SM_CYHSCROLL);
    if ((style & WS_VSCROLL) && client.right - client.left >= bar_width)
        client.right -= bar_width;
    if ((style & WS_HSCROLL) && client.bottom - client.top > bar_height)
        client.bottom -= bar_height;
    client.right = client.right < client.left ? client.left : client.right;
    client.bottom = client.bottom < client.top ? client.top : client.bottom;
    return client;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = user_window(handle);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    *rect = user_screen_rect_of(window);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* window = user_window(handle);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    *rect = {0, 0, window->client_rect.right - window->client_rect.left,
             window->client_rect.bottom - window->client_rect.top};
    return TRUE;
}

namespace {

// The screen position of a window's client origin; the desktop's is (0, 0).
bool client_origin_of(HWND handle, POINT* origin) {
    if (handle == nullptr) {
        *origin = {0, 0};
        return true;
    }
    Window* window = user_window(handle);
    if (window == nullptr)
        return false;
    *origin = user_client_origin(window);
    return true;
}

} // namespace

// Returns the horizontal offset in the low word and the vertical in the
// high word, as Windows does. Success leaves the last error alone, so that
// a caller can tell an offset of zero from a failure by clearing it first.
int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a, b;
    if (!client_origin_of(from, &a) || !client_origin_of(to, &b))
        return 0;
    LONG dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG((WORD)dx, (WORD)dy);
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    if (point == nullptr || user_window(window) == nullptr)
        return FALSE;
    MapWindowPoints(window, nullptr, point, 1);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) {
    if (point == nullptr || user_window(window) == nullptr)
        return FALSE;
    MapWindowPoints(nullptr, window, point, 1);
    return TRUE;
}

namespace {

bool contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The deepest visible child of `window` under the screen point.
HWND child_at(Window* window, POINT point) {
    for (HWND child : window->children) {
        Window* c = user_window_quiet(child);
        if (c == nullptr || !(c->style & WS_VISIBLE))
            continue;
        if (contains(user_screen_rect_of(c), point))
            return child_at(c, point);
    }
    return window->handle;
}

} // namespace

HWND WINAPI WindowFromPoint(POINT point) {
    for (HWND top : user_top_windows()) {
        Window* window = user_window_quiet(top);
        if (window == nullptr || !(window->style & WS_VISIBLE) || window->minimized)
            continue;
        if (contains(user_screen_rect_of(window), point))
            return child_at(window, point);
    }
    return nullptr;
}

namespace {

// The frame that a style draws: a thick (sizing) frame, a dialog frame,
// which every caption without a sizing frame has, or a thin border.
int frame_width(DWORD style, DWORD ex_style) {
    bool dialog =
        (ex_style & WS_EX_DLGMODALFRAME) || ((style & WS_DLGFRAME) && !(style & WS_THICKFRAME));
    bool thick = (style & WS_THICKFRAME) && (style & (WS_DLGFRAME | WS_BORDER)) != WS_DLGFRAME;
    if (thick)
        return GetSystemMetrics(SM_CXFRAME);
    if (dialog)
        return GetSystemMetrics(SM_CXDLGFRAME);
    return (style & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

} // namespace

// The window rectangle that holds `rect` as its client area: frame,
// caption, menu bar and client edge around it. Scroll bars are not added,
// as Windows does not add them.
BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex_style) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int frame = frame_width(style, ex_style);
    InflateRect(rect, frame, frame);
    if ((style & WS_CAPTION) == WS_CAPTION)
        rect->top -=
            GetSystemMetrics((ex_style & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (menu)
        rect->top -= GetSystemMetrics(SM_CYMENU);
    if (ex_style & WS_EX_CLIENTEDGE)
        InflateRect(rect, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}
