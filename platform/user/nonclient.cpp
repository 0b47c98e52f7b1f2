// The non-client area in use: painting the frame, caption and menu bar,
// telling where a point lies on them, and what pressing there does: the
// caption's buttons, moving the window by its caption, opening the menu.
#include "platform/user/menu.h"
#include "platform/user/nonclient_draw.h"

#include <algorithm>

namespace {

RECT outer_rect(const Window* window) {
    return {0, 0, window->window_rect.right - window->window_rect.left,
            window->window_rect.bottom - window->window_rect.top};
}

bool has_caption(const Window* window) {
    return (window->style & WS_CAPTION) == WS_CAPTION;
}
bool has_menu(const Window* window) {
    return !(window->style & WS_CHILD) && user_menu((HMENU)window->id) != nullptr;
}
bool has_icon(const Window* window) {
    return (window->style & WS_SYSMENU) && !(window->ex_style & WS_EX_TOOLWINDOW);
}

HICON caption_icon(const Window* window) {
    if (!has_icon(window))
        return nullptr;
    return window->cls->small_icon != nullptr ? window->cls->small_icon : window->cls->icon;
}

// The point in window coordinates.
POINT window_point(const Window* window, POINT screen) {
    POINT origin = user_window_origin(window);
    return {screen.x - origin.x, screen.y - origin.y};
}

LRESULT frame_hit(const Window* window, POINT p) {
    if (!(window->style & WS_THICKFRAME))
        return HTBORDER;
    RECT r = outer_rect(window);
    int corner = GetSystemMetrics(SM_CYCAPTION);
    bool left = p.x < GetSystemMetrics(SM_CXFRAME),
         right = p.x >= r.right - GetSystemMetrics(SM_CXFRAME);
    bool top = p.y < GetSystemMetrics(SM_CYFRAME),
         bottom = p.y >= r.bottom - GetSystemMetrics(SM_CYFRAME);
    if (top)
        return p.x < corner ? HTTOPLEFT : p.x >= r.right - corner ? HTTOPRIGHT : HTTOP;
    if (bottom)
        return p.x < corner ? HTBOTTOMLEFT : p.x >= r.right - corner ? HTBOTTOMRIGHT : HTBOTTOM;
    return left ? HTLEFT : right ? HTRIGHT : HTBORDER;
}

} // namespace

void user_nc_paint(Window* window, bool active) {
    if (window->parent != nullptr && !has_caption(window) && !(window->style & WS_BORDER))
        return;
    HWND handle = window->handle;
    HDC dc = GetWindowDC(handle);
    RECT outer = outer_rect(window);
    draw_window_frame(dc, outer, window->style, window->ex_style);
    if (has_caption(window)) {
        CaptionButtons buttons = caption_buttons_for_style(window->style, window->ex_style);
        buttons.pressed_close = window->pressed_button == HTCLOSE;
        buttons.pressed_minimize = window->pressed_button == HTMINBUTTON;
        buttons.pressed_maximize = window->pressed_button == HTMAXBUTTON;
        buttons.maximized = window->maximized;
        draw_caption(dc, caption_rect_for_window(outer, window->style, window->ex_style),
                     window->text.c_str(), caption_icon(window), active, buttons);
    }
    if (has_menu(window))
        draw_menu_bar(window, dc, -1);
    ReleaseDC(handle, dc);
}

LRESULT user_nc_hit_test(Window* window, POINT screen) {
    RECT outer = user_screen_rect_of(window);
    if (!PtInRect(&outer, screen))
        return HTNOWHERE;
    POINT origin = user_client_origin(window);
    RECT client{origin.x, origin.y, origin.x + window->client_rect.right - window->client_rect.left,
                origin.y + window->client_rect.bottom - window->client_rect.top};
    if (PtInRect(&client, screen))
        return HTCLIENT;
    POINT p = window_point(window, screen);
    if (has_caption(window)) {
        RECT caption = caption_rect_for_window(outer_rect(window), window->style, window->ex_style);
        if (PtInRect(&caption, p)) {
            CaptionButtons buttons = caption_buttons_for_style(window->style, window->ex_style);
            return caption_hit_test(caption, p, has_icon(window), buttons);
        }
    }
    if (has_menu(window)) {
        RECT bar = menu_bar_rect(window);
        if (PtInRect(&bar, p))
            return HTMENU;
    }
    return frame_hit(window, p);
}

namespace {

// Runs a small modal loop while the left button is held: `on_move` hears
// every pointer position; every other message is dispatched.
template <typename OnMove> POINT follow_pointer(HWND handle, OnMove on_move) {
    SetCapture(handle);
    MSG msg;
    POINT last{};
    GetCursorPos(&last);
    while (IsWindow(handle) && GetCapture() == handle) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            last = msg.pt;
            on_move(last);
        } else if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            last = msg.pt;
            break;
        } else if (!(msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (GetCapture() == handle)
        ReleaseCapture();
    return last;
}

// A caption button goes down while the pointer is over it and acts only
// when the button is released there.
void track_caption_button(HWND handle, int which) {
    Window* window = user_window_quiet(handle);
    auto over = [handle, which](POINT screen) {
        Window* w = user_window_quiet(handle);
        return w != nullptr && user_nc_hit_test(w, screen) == which;
    };
    auto press = [handle, which](bool down) {
        Window* w = user_window_quiet(handle);
        if (w == nullptr || (w->pressed_button == which) == down)
            return;
        w->pressed_button = down ? which : 0;
        user_nc_paint(w, w->nc_active);
    };
    if (window == nullptr)
        return;
    press(true);
    POINT end = follow_pointer(handle, [&](POINT screen) { press(over(screen)); });
    press(false);
    if (!over(end))
        return;
    WPARAM command = which == HTCLOSE ? SC_CLOSE : which == HTMINBUTTON ? SC_MINIMIZE : SC_MAXIMIZE;
    user_send(handle, WM_SYSCOMMAND, command, MAKELPARAM(end.x, end.y));
}

// The pointer as the move loop takes it: kept inside the work area, so
// that the point of the caption that was grabbed stays where a person can
// take it again (the task bar below the work area would cover it).
POINT clamp_to_work_area(POINT screen) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    screen.x = std::max(work.left, std::min(screen.x, work.right - 1));
    screen.y = std::max(work.top, std::min(screen.y, work.bottom - 1));
    return screen;
}

// Moves the window with the pointer while the button is held.
void drag_window(HWND handle, POINT start) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    RECT origin = window->window_rect;
    start = clamp_to_work_area(start);
    user_send(handle, WM_ENTERSIZEMOVE, 0, 0);
    follow_pointer(handle, [&](POINT pointer) {
        POINT screen = clamp_to_work_area(pointer);
        SetWindowPos(handle, nullptr, origin.left + screen.x - start.x,
                     origin.top + screen.y - start.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    if (IsWindow(handle))
        user_send(handle, WM_EXITSIZEMOVE, 0, 0);
}

// The rectangle that dragging `edge` (WMSZ_LEFT .. WMSZ_BOTTOMRIGHT) by
// (dx, dy) gives; the opposite edges stay put and the size never goes below
// the minimum tracking size.
RECT sized_rect(RECT r, int edge, int dx, int dy) {
    int min_w = GetSystemMetrics(SM_CXMINTRACK), min_h = GetSystemMetrics(SM_CYMINTRACK);
    bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    if (left)
        r.left = std::min<LONG>(r.left + dx, r.right - min_w);
    if (right)
        r.right = std::max<LONG>(r.right + dx, r.left + min_w);
    if (top)
        r.top = std::min<LONG>(r.top + dy, r.bottom - min_h);
    if (bottom)
        r.bottom = std::max<LONG>(r.bottom + dy, r.top + min_h);
    return r;
}

// Sizes the window by one edge or corner while the button is held; the
// window procedure hears each new rectangle as WM_SIZING and may change it.
void size_window(HWND handle, int edge, POINT start) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    RECT origin = window->window_rect;
    start = clamp_to_work_area(start);
    user_send(handle, WM_ENTERSIZEMOVE, 0, 0);
    follow_pointer(handle, [&](POINT pointer) {
        POINT screen = clamp_to_work_area(pointer);
        RECT r = sized_rect(origin, edge, screen.x - start.x, screen.y - start.y);
        user_send(handle, WM_SIZING, (WPARAM)edge, (LPARAM)&r);
        SetWindowPos(handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    });
    if (IsWindow(handle))
        user_send(handle, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace

LRESULT user_nc_button_down(HWND handle, WPARAM hit, LPARAM lparam) {
    switch (hit) {
    case HTCAPTION:
        user_send(handle, WM_SYSCOMMAND, SC_DRAGMOVE, lparam);
        break;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
        track_caption_button(handle, (int)hit);
        break;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        // The sizing edges in WMSZ_ order follow the hit codes in HT order.
        user_send(handle, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + WMSZ_LEFT), lparam);
        break;
    case HTMENU:
        user_send(handle, WM_SYSCOMMAND, SC_MOUSEMENU, lparam);
        break;
    case HTSYSMENU:
        user_send(handle, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lparam);
        break;
    }
    return 0;
}

// SC_MOVE started from the caption follows the pointer.
void user_move_command(HWND handle, LPARAM lparam) {
    drag_window(handle, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
}

// SC_SIZE with an edge in its low bits, started from the frame, follows the
// pointer; sizing from the keyboard (no edge) is not offered.
void user_size_command(HWND handle, WPARAM command, LPARAM lparam) {
    int edge = (int)(command & 0xF);
    if (edge >= WMSZ_LEFT && edge <= WMSZ_BOTTOMRIGHT)
        size_window(handle, edge, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
}
