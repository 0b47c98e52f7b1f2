// The desktop's task bar, where the layer composes the desktop itself: a
// classic grey bar in the rows below the work area with a button per
// program window. A minimised window lives on in its button: a click on it
// restores the window, a click on the active window's button minimises it,
// and a click on any other button brings that window to the front.
#include "platform/host/host.h"
#include "platform/user/nonclient_draw.h"
#include "platform/user/user_private.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int BUTTON_MAX_WIDTH = 160;
constexpr int BUTTON_HEIGHT = 24;
constexpr int BUTTON_GAP = 3;
constexpr int BAR_MARGIN = 4; // left of the first button
constexpr int ICON_SIZE = 16;

struct TaskBar {
    std::vector<HWND> buttons; // windows with a button, in the order they came
    bool changed = true;       // the picture must be drawn again
    RECT rect{};               // on the screen, as last drawn
    int pressed = -1;          // the button under a mouse button held down, or -1
    // While the bar is drawn: a memory context on a top-down bitmap of the
    // rect's size, and its pixels. Made for each drawing and released once
    // the host has its copy, so the bar holds no graphics objects between.
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    uint32_t* bits = nullptr;
};

TaskBar& g_bar = *new TaskBar;

// Program windows: shown, captioned, top-level and unowned, not tool windows.
bool wants_button(const Window* window) {
    return window != nullptr && window->parent == nullptr && window->owner == nullptr &&
           (window->style & WS_VISIBLE) && (window->style & WS_CAPTION) == WS_CAPTION &&
           !(window->ex_style & WS_EX_TOOLWINDOW) && !window->destroying;
}

// Buttons keep their places; windows that lost theirs drop out and new ones
// join at the end (from the bottom of the z-order up, when several come at
// once).
void update_buttons() {
    std::vector<HWND>& buttons = g_bar.buttons;
    buttons.erase(std::remove_if(buttons.begin(), buttons.end(),
                                 [](HWND h) { return !wants_button(user_window_quiet(h)); }),
                  buttons.end());
    const std::vector<HWND>& tops = user_top_windows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        HWND top = *it;
        if (wants_button(user_window_quiet(top)) &&
            std::find(buttons.begin(), buttons.end(), top) == buttons.end())
            buttons.push_back(top);
    }
}

RECT bar_rect() {
    RECT screen, work;
    host_screen(&screen, &work);
    return {screen.left, work.bottom, screen.right, screen.bottom};
}

int button_width() {
    int count = std::max<int>(int(g_bar.buttons.size()), 1);
    int room = (g_bar.rect.right - g_bar.rect.left) - 2 * BAR_MARGIN;
    return std::max(std::min(BUTTON_MAX_WIDTH, room / count - BUTTON_GAP), 0);
}

// A button's rectangle in the bar's own coordinates.
RECT button_rect(int index) {
    int height = g_bar.rect.bottom - g_bar.rect.top;
    int top = 2 + std::max(height - 2 - BUTTON_HEIGHT, 0) / 2;
    int left = BAR_MARGIN + index * (button_width() + BUTTON_GAP);
    return {left, top, left + button_width(), top + BUTTON_HEIGHT};
}

void release_bitmap() {
    if (g_bar.dc == nullptr)
        return;
    SelectObject(g_bar.dc, g_bar.original);
    DeleteObject(g_bar.bitmap);
    DeleteDC(g_bar.dc);
    g_bar.dc = nullptr;
    g_bar.bitmap = nullptr;
    g_bar.bits = nullptr;
}

bool make_bitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    g_bar.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (g_bar.bitmap == nullptr)
        return false;
    g_bar.dc = CreateCompatibleDC(nullptr);
    g_bar.original = SelectObject(g_bar.dc, g_bar.bitmap);
    g_bar.bits = (uint32_t*)bits;
    return true;
}

void fill(int left, int top, int right, int bottom, int colour) {
    RECT r{left, top, right, bottom};
    FillRect(g_bar.dc, &r, GetSysColorBrush(colour));
}

// One ring of a 3D edge, one pixel wide.
void ring(RECT r, int top_left, int bottom_right) {
    fill(r.left, r.top, r.right - 1, r.top + 1, top_left);
    fill(r.left, r.top, r.left + 1, r.bottom - 1, top_left);
    fill(r.right - 1, r.top, r.right, r.bottom, bottom_right);
    fill(r.left, r.bottom - 1, r.right, r.bottom, bottom_right);
}

// The pushed-in face of the active window's button: the face colour
// checkered with white, as the classic look shows a button held down.
void checker(RECT r) {
    int width = g_bar.rect.right - g_bar.rect.left;
    COLORREF face = GetSysColor(COLOR_3DFACE);
    uint32_t face_pixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (LONG y = r.top; y < r.bottom; ++y) {
        for (LONG x = r.left; x < r.right; ++x)
            g_bar.bits[y * width + x] = (x + y) % 2 == 0 ? 0xFFFFFF : face_pixel;
    }
}

// The title cut short with "..." where the button is too narrow for it.
std::string fitted_title(const std::string& title, int room) {
    SIZE size{};
    GetTextExtentPoint32A(g_bar.dc, title.c_str(), int(title.size()), &size);
    if (size.cx <= room)
        return title;
    for (size_t length = title.size(); length > 0; --length) {
        std::string cut = title.substr(0, length - 1) + "...";
        GetTextExtentPoint32A(g_bar.dc, cut.c_str(), int(cut.size()), &size);
        if (size.cx <= room)
            return cut;
    }
    return "";
}

void draw_label(const Window* window, RECT inside, int shift) {
    HICON icon = window->cls->small_icon != nullptr ? window->cls->small_icon : window->cls->icon;
    int icon_top = inside.top + (inside.bottom - inside.top - ICON_SIZE) / 2 + shift;
    draw_small_icon(g_bar.dc, inside.left + 2 + shift, icon_top, icon);
    RECT text{inside.left + ICON_SIZE + 5 + shift, inside.top + shift, inside.right - 2 + shift,
              inside.bottom + shift};
    SIZE size{};
    GetTextExtentPoint32A(g_bar.dc, "X", 1, &size);
    std::string title = fitted_title(window->text, text.right - text.left);
    SetBkMode(g_bar.dc, TRANSPARENT);
    SetTextColor(g_bar.dc, GetSysColor(COLOR_BTNTEXT));
    ExtTextOutA(g_bar.dc, text.left, text.top + (text.bottom - text.top - size.cy) / 2, ETO_CLIPPED,
                &text, title.c_str(), UINT(title.size()), nullptr);
}

void draw_button(int index) {
    const Window* window = user_window_quiet(g_bar.buttons[size_t(index)]);
    RECT r = button_rect(index);
    if (window == nullptr || r.right - r.left < 8)
        return;
    // A minimised window may keep the activation, but its button stands out.
    bool active = window->handle == GetActiveWindow() && !window->minimized;
    bool down = active || index == g_bar.pressed;
    RECT inside{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    if (down) {
        ring(r, COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT);
        ring({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, COLOR_3DSHADOW, COLOR_3DLIGHT);
        checker(inside);
    } else {
        ring(r, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW);
        ring({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, COLOR_3DLIGHT, COLOR_3DSHADOW);
    }
    draw_label(window, inside, down ? 1 : 0);
}

void draw_bar() {
    int width = g_bar.rect.right - g_bar.rect.left;
    int height = g_bar.rect.bottom - g_bar.rect.top;
    fill(0, 0, width, height, COLOR_3DFACE);
    fill(0, 0, width, 1, COLOR_3DLIGHT);
    fill(0, 1, width, 2, COLOR_3DHIGHLIGHT);
    for (int i = 0; i < int(g_bar.buttons.size()); ++i)
        draw_button(i);
}

int button_at(POINT screen) {
    POINT p{screen.x - g_bar.rect.left, screen.y - g_bar.rect.top};
    for (int i = 0; i < int(g_bar.buttons.size()); ++i) {
        RECT r = button_rect(i);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return i;
    }
    return -1;
}

// What a click on a window's button does. The commands are posted: the
// click is taken while the program is looking at its queue.
void press_button(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    if (window->minimized)
        PostMessageA(handle, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (handle == GetActiveWindow() && (window->style & WS_MINIMIZEBOX))
        PostMessageA(handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else
        user_activate(user_activation_target(handle), WA_ACTIVE);
}

bool on_bar(POINT screen) {
    return host_shows_task_bar() && screen.x >= g_bar.rect.left && screen.x < g_bar.rect.right &&
           screen.y >= g_bar.rect.top && screen.y < g_bar.rect.bottom;
}

} // namespace

// The buttons follow at once, so that they come in the order the windows
// were shown.
void user_task_bar_changed() {
    g_bar.changed = true;
    update_buttons();
}

void user_task_bar_present() {
    if (!host_shows_task_bar())
        return;
    RECT rect = bar_rect();
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    if (!g_bar.changed && EqualRect(&rect, &g_bar.rect))
        return;
    if (!make_bitmap(width, height))
        return;
    g_bar.rect = rect;
    g_bar.changed = false;
    update_buttons();
    draw_bar();
    host_present_task_bar(g_bar.bits, width, height, width);
    release_bitmap();
}

// A button acts when the mouse button is released over the button it went
// down on; moves and other presses on the bar go to no window.
bool user_task_bar_click(POINT screen, UINT message) {
    // The click meets the bar as it is now, drawn or not yet.
    if (host_shows_task_bar()) {
        g_bar.rect = bar_rect();
        update_buttons();
    }
    if (!on_bar(screen)) {
        if (message == WM_LBUTTONUP && g_bar.pressed >= 0) {
            g_bar.pressed = -1;
            g_bar.changed = true;
        }
        return false;
    }
    int under = button_at(screen);
    if (message == WM_LBUTTONDOWN) {
        g_bar.pressed = under;
        g_bar.changed = true;
    } else if (message == WM_LBUTTONUP) {
        int pressed = g_bar.pressed;
        g_bar.pressed = -1;
        g_bar.changed = true;
        if (pressed >= 0 && pressed == under)
            press_button(g_bar.buttons[size_t(under)]);
    }
    user_present_all();
    return true;
}

void user_reset_task_bar() {
    g_bar.buttons.clear();
    g_bar.pressed = -1;
    g_bar.changed = true;
}
