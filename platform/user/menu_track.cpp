// An open menu: the bar item selected, its drop-down shown as a popup
// window of its own, and a modal loop that reads the mouse and the keys
// and dispatches every other message of the thread, so that timers and
// painting go on while the menu is open.
#include "platform/user/menu.h"

#include <ctype.h>

#include <algorithm>

namespace {

constexpr int ITEM_HEIGHT = 19;     // a drop-down item's row, as SM_CYMENU
constexpr int SEPARATOR_HEIGHT = 9; // a separator's row
constexpr int TEXT_LEFT = 20;       // room for a check mark before the text
constexpr int TEXT_RIGHT = 20;      // room after the text
constexpr int BORDER = 3;           // the drop-down's raised frame and margin

struct Tracking {
    HWND window = nullptr; // whose bar is open
    HMENU bar = nullptr;
    int bar_item = -1; // selected bar item
    HWND dropdown = nullptr;
    HMENU dropdown_menu = nullptr;
    int dropdown_item = -1; // selected item of the drop-down
    bool done = false;
    UINT_PTR chosen = 0;
    bool has_choice = false;
    bool system = false;     // the system menu, not a bar
    bool by_mouse = false;   // the message being handled came from the mouse
    bool window_menu = true; // a bar or system menu; false for TrackPopupMenu's
};

Tracking* g_tracking = nullptr;

Menu* dropdown_menu() {
    return g_tracking ? user_menu(g_tracking->dropdown_menu) : nullptr;
}

bool selectable(const MenuItem& item) {
    return !(item.flags & MF_SEPARATOR);
}
bool choosable(const MenuItem& item) {
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP));
}

// Tells the owner which item is now selected: a popup item by its
// position, any other by its command, with the item's flags.
void send_menu_select(HMENU handle, int index) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr || index < 0 || (size_t)index >= menu->items.size())
        return;
    const MenuItem& item = menu->items[(size_t)index];
    constexpr UINT KEPT =
        MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_BITMAP | MF_OWNERDRAW;
    UINT flags = (item.flags & KEPT) | MF_HILITE;
    if (g_tracking->by_mouse)
        flags |= MF_MOUSESELECT;
    if (g_tracking->system)
        flags |= MF_SYSMENU;
    UINT what = (item.flags & MF_POPUP) ? (UINT)index : (UINT)item.id;
    user_send(g_tracking->window, WM_MENUSELECT, MAKEWPARAM(what, flags), (LPARAM)handle);
}

// The item whose mnemonic (the letter after a single '&') is `key`, from
// the item after `after` round to it; -1 for none.
int find_mnemonic(Menu* menu, WPARAM key, int after) {
    if (menu == nullptr || menu->items.empty())
        return -1;
    int count = (int)menu->items.size();
    for (int i = 1; i <= count; ++i) {
        int index = ((after < 0 ? -1 : after) + i) % count;
        if (menu_mnemonic(menu->items[(size_t)index]) == toupper((int)(key & 0xFF)))
            return index;
    }
    return -1;
}

// Lays out the drop-down's items in its client coordinates; returns its size.
SIZE layout_dropdown(Menu* menu) {
    HDC dc = CreateCompatibleDC(nullptr);
    LONG width = 0, y = 0;
    for (MenuItem& item : menu->items) {
        SIZE size{};
        GetTextExtentPoint32A(dc, item.text.c_str(), (int)item.text.size(), &size);
        width = std::max<LONG>(width, size.cx);
        LONG height = (item.flags & MF_SEPARATOR) ? SEPARATOR_HEIGHT : ITEM_HEIGHT;
        item.rect = {0, y, 0, y + height};
        y += height;
    }
    DeleteDC(dc);
    width += TEXT_LEFT + TEXT_RIGHT;
    for (MenuItem& item : menu->items)
        item.rect.right = width;
    return {width, y};
}

void draw_separator(HDC dc, const RECT& r) {
    RECT shadow{r.left + 1, r.top + 3, r.right - 1, r.top + 4};
    RECT light{r.left + 1, r.top + 4, r.right - 1, r.top + 5};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

void draw_check(HDC dc, const RECT& r, bool selected) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    int x = r.left + 6, y = r.top + 9;
    for (int i = 0; i < 3; ++i) {
        MoveToEx(dc, x, y + i - 2, nullptr);
        LineTo(dc, x + 2, y + i);
        LineTo(dc, x + 7, y + i - 5);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void paint_dropdown(HWND handle) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    Menu* menu = dropdown_menu();
    if (menu != nullptr) {
        for (size_t i = 0; i < menu->items.size(); ++i) {
            const MenuItem& item = menu->items[i];
            bool selected = (int)i == g_tracking->dropdown_item && selectable(item);
            RECT r = item.rect;
            FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
            if (item.flags & MF_SEPARATOR) {
                draw_separator(dc, r);
                continue;
            }
            if (item.flags & MF_CHECKED)
                draw_check(dc, r, selected);
            draw_menu_text(dc, item, r, r.left + TEXT_LEFT, selected);
        }
    }
    EndPaint(handle, &paint);
}

// The drop-down's frame: a raised 3D edge around the menu colour.
void paint_dropdown_frame(HWND handle) {
    HDC dc = GetWindowDC(handle);
    RECT r;
    GetWindowRect(handle, &r);
    OffsetRect(&r, -r.left, -r.top);
    const int colors[4] = {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    for (int ring = 0; ring < 2; ++ring) {
        HBRUSH light = GetSysColorBrush(colors[ring * 2]);
        HBRUSH dark = GetSysColorBrush(colors[ring * 2 + 1]);
        RECT top{r.left, r.top, r.right - 1, r.top + 1},
            left{r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bottom{r.left, r.bottom - 1, r.right, r.bottom},
            right{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, light);
        FillRect(dc, &left, light);
        FillRect(dc, &bottom, dark);
        FillRect(dc, &right, dark);
        InflateRect(&r, -1, -1);
    }
    FrameRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    ReleaseDC(handle, dc);
}

LRESULT CALLBACK dropdown_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        paint_dropdown(handle);
        return 0;
    case WM_NCPAINT:
        paint_dropdown_frame(handle);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCCALCSIZE:
        if (RECT* r = wparam ? &((NCCALCSIZE_PARAMS*)lparam)->rgrc[0] : (RECT*)lparam)
            InflateRect(r, -BORDER, -BORDER);
        return 0;
    }
    return DefWindowProcA(handle, message, wparam, lparam);
}

const char* dropdown_class() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = dropdown_proc;
        wc.lpszClassName = "#32768";
        registered = RegisterClassExA(&wc) != 0;
    }
    return "#32768";
}

Window* bar_window() {
    return user_window_quiet(g_tracking->window);
}
Menu* bar_menu() {
    return user_menu(g_tracking->bar);
}

void redraw_bar() {
    Window* window = bar_window();
    if (window == nullptr)
        return;
    HDC dc = GetWindowDC(window->handle);
    draw_menu_bar(window, dc, g_tracking->bar_item);
    ReleaseDC(window->handle, dc);
}

// The owner hears of a drop-down closing once it is gone.
void close_dropdown() {
    HMENU menu = g_tracking->dropdown_menu;
    bool shown = g_tracking->dropdown != nullptr;
    if (shown)
        DestroyWindow(g_tracking->dropdown);
    g_tracking->dropdown = nullptr;
    g_tracking->dropdown_menu = nullptr;
    g_tracking->dropdown_item = -1;
    if (shown && IsWindow(g_tracking->window))
        user_send(g_tracking->window, WM_UNINITMENUPOPUP, (WPARAM)menu,
                  MAKELPARAM(0, g_tracking->system ? MF_SYSMENU : 0));
}

void select_dropdown_item(int index) {
    if (index == g_tracking->dropdown_item)
        return;
    g_tracking->dropdown_item = index;
    send_menu_select(g_tracking->dropdown_menu, index);
    if (g_tracking->dropdown != nullptr) {
        InvalidateRect(g_tracking->dropdown, nullptr, FALSE);
        UpdateWindow(g_tracking->dropdown);
    }
}

// Shows `handle`'s items in a drop-down with its top-left corner at a
// screen point.
void show_dropdown(HMENU handle, POINT at) {
    Menu* sub = user_menu(handle);
    Window* window = bar_window();
    if (sub == nullptr || window == nullptr)
        return;
    SIZE size = layout_dropdown(sub);
    HWND dropdown = CreateWindowExA(
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW, dropdown_class(), "", WS_POPUP, at.x, at.y,
        size.cx + 2 * BORDER, size.cy + 2 * BORDER, window->handle, nullptr, nullptr, nullptr);
    g_tracking->dropdown = dropdown;
    g_tracking->dropdown_menu = handle;
    ShowWindow(dropdown, SW_SHOWNA);
    UpdateWindow(dropdown);
}

// Opens the drop-down of bar item `index` below it.
void open_dropdown(int index) {
    close_dropdown();
    Menu* bar = bar_menu();
    Window* window = bar_window();
    if (bar == nullptr || window == nullptr || index < 0 || (size_t)index >= bar->items.size())
        return;
    const MenuItem& item = bar->items[(size_t)index];
    Menu* sub = user_menu(item.submenu);
    if (!(item.flags & MF_POPUP) || sub == nullptr || (item.flags & (MF_GRAYED | MF_DISABLED)))
        return;
    user_send(window->handle, WM_INITMENUPOPUP, (WPARAM)item.submenu, MAKELPARAM(index, FALSE));
    if (bar_window() == nullptr)
        return;
    POINT origin = user_window_origin(window);
    show_dropdown(item.submenu, {origin.x + item.rect.left, origin.y + item.rect.bottom});
}

void select_bar_item(int index, bool open) {
    Menu* bar = bar_menu();
    if (bar == nullptr || bar->items.empty())
        return;
    int count = (int)bar->items.size();
    index = (index % count + count) % count;
    if (index != g_tracking->bar_item) {
        close_dropdown();
        g_tracking->bar_item = index;
        redraw_bar();
        send_menu_select(g_tracking->bar, index);
    }
    if (open && g_tracking->dropdown == nullptr)
        open_dropdown(index);
}

void choose(UINT_PTR id) {
    g_tracking->chosen = id;
    g_tracking->has_choice = true;
    g_tracking->done = true;
}

// The next selectable drop-down item in `step` direction, wrapping round.
int step_dropdown(int from, int step) {
    Menu* menu = dropdown_menu();
    if (menu == nullptr || menu->items.empty())
        return -1;
    int count = (int)menu->items.size();
    int index = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int i = 0; i < count; ++i) {
        index = (index + step + count) % count;
        if (selectable(menu->items[(size_t)index]))
            return index;
    }
    return -1;
}

// The selected bar item, when it is a command rather than a drop-down.
const MenuItem* bar_command() {
    Menu* bar = bar_menu();
    int index = g_tracking->bar_item;
    if (bar == nullptr || index < 0 || (size_t)index >= bar->items.size())
        return nullptr;
    const MenuItem& item = bar->items[(size_t)index];
    return (item.flags & MF_POPUP) ? nullptr : &item;
}

void enter_key() {
    Menu* menu = dropdown_menu();
    if (menu == nullptr) {
        if (const MenuItem* command = bar_command()) {
            if (choosable(*command))
                choose(command->id);
            return;
        }
        open_dropdown(g_tracking->bar_item);
        select_dropdown_item(step_dropdown(-1, 1));
        return;
    }
    int index = g_tracking->dropdown_item;
    if (index >= 0 && choosable(menu->items[(size_t)index]))
        choose(menu->items[(size_t)index].id);
}

// A letter chooses the item it is the mnemonic of: in the open drop-down,
// or on the bar, where a drop-down opens with its first item selected.
void handle_char(WPARAM key) {
    if (Menu* menu = dropdown_menu()) {
        int index = find_mnemonic(menu, key, g_tracking->dropdown_item);
        if (index < 0)
            return;
        select_dropdown_item(index);
        if (choosable(menu->items[(size_t)index]))
            choose(menu->items[(size_t)index].id);
        return;
    }
    int index = find_mnemonic(bar_menu(), key, g_tracking->bar_item);
    if (index < 0)
        return;
    select_bar_item(index, false);
    enter_key();
}

// Returns false for keys the menu leaves to TranslateMessage.
bool handle_key(UINT key) {
    switch (key) {
    case VK_ESCAPE:
        if (g_tracking->dropdown != nullptr && g_tracking->bar != nullptr)
            close_dropdown();
        else
            g_tracking->done = true;
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        if (g_tracking->bar == nullptr)
            break;
        bool was_open = g_tracking->dropdown != nullptr;
        select_bar_item(g_tracking->bar_item + (key == VK_RIGHT ? 1 : -1), was_open);
        if (was_open)
            select_dropdown_item(step_dropdown(-1, 1));
        break;
    }
    case VK_DOWN:
    case VK_UP:
        if (g_tracking->dropdown == nullptr && g_tracking->bar != nullptr)
            open_dropdown(g_tracking->bar_item);
        select_dropdown_item(step_dropdown(g_tracking->dropdown_item, key == VK_DOWN ? 1 : -1));
        break;
    case VK_RETURN:
        enter_key();
        break;
    case VK_MENU:
    case VK_F10:
        g_tracking->done = true;
        break;
    default:
        return false;
    }
    return true;
}

bool contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The drop-down item under a screen point, or -1; `inside` says whether
// the point is over the drop-down at all.
int dropdown_item_at(POINT screen, bool* inside) {
    *inside = false;
    Menu* menu = dropdown_menu();
    if (menu == nullptr)
        return -1;
    RECT outer;
    GetWindowRect(g_tracking->dropdown, &outer);
    *inside = contains(outer, screen);
    POINT p = screen;
    ScreenToClient(g_tracking->dropdown, &p);
    for (size_t i = 0; i < menu->items.size(); ++i) {
        if (contains(menu->items[i].rect, p))
            return (int)i;
    }
    return -1;
}

int bar_item_at(POINT screen) {
    Window* window = bar_window();
    if (window == nullptr || g_tracking->bar == nullptr)
        return -1;
    POINT origin = user_window_origin(window);
    return menu_bar_item_at(window, {screen.x - origin.x, screen.y - origin.y});
}

void handle_mouse(UINT message, POINT screen) {
    bool in_dropdown;
    int item = dropdown_item_at(screen, &in_dropdown);
    int bar_item = bar_item_at(screen);
    bool press = message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN ||
                 message == WM_RBUTTONDOWN || message == WM_NCRBUTTONDOWN;
    bool release = message == WM_LBUTTONUP || message == WM_NCLBUTTONUP;
    g_tracking->by_mouse = true;
    if (in_dropdown) {
        select_dropdown_item(item);
        Menu* menu = dropdown_menu();
        if (release && item >= 0 && choosable(menu->items[(size_t)item]))
            choose(menu->items[(size_t)item].id);
        return;
    }
    if (bar_item >= 0) {
        const MenuItem* command = bar_item == g_tracking->bar_item ? bar_command() : nullptr;
        if (release && command != nullptr && choosable(*command))
            choose(command->id);
        else if (bar_item != g_tracking->bar_item || (press && g_tracking->dropdown == nullptr))
            select_bar_item(bar_item, true);
        else if (press)
            g_tracking->done = true; // a second click on the open item closes the menu
        return;
    }
    select_dropdown_item(-1);
    if (press)
        g_tracking->done = true;
}

bool is_mouse(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCRBUTTONUP);
}

void run_loop() {
    MSG msg;
    while (!g_tracking->done && IsWindow(g_tracking->window)) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        g_tracking->by_mouse = false;
        if (is_mouse(msg.message)) {
            handle_mouse(msg.message, msg.pt);
        } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            if (!handle_key((UINT)msg.wParam))
                TranslateMessage(&msg);
        } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            handle_char(msg.wParam);
        } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
            continue;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// The end of every menu loop: the drop-down closes, the owner hears that
// nothing is selected any more and that the loop is over, and then gets
// the command chosen, if any.
void finish_tracking(HWND handle, UINT command_message, bool notify = true) {
    close_dropdown();
    bool had_bar_item = g_tracking->bar_item >= 0;
    g_tracking->bar_item = -1;
    if (!IsWindow(handle))
        return;
    if (had_bar_item)
        redraw_bar();
    if (GetCapture() == handle)
        ReleaseCapture();
    if (!notify)
        return;
    user_send(handle, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    user_send(handle, WM_EXITMENULOOP, g_tracking->window_menu ? FALSE : TRUE, 0);
    if (g_tracking->has_choice && command_message != 0)
        PostMessageA(handle, command_message, g_tracking->chosen, 0);
}

// Runs a menu modally from the bar of `window`: opened at `item` by a click,
// or with the bar selected for the keyboard when `item` is -1; `key` is the
// mnemonic typed with Alt, which chooses its bar item at once.
void track_menu_bar(HWND handle, int item, bool keyboard, WPARAM key) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || g_tracking != nullptr || user_menu((HMENU)window->id) == nullptr)
        return;
    Tracking tracking;
    tracking.window = handle;
    tracking.bar = (HMENU)window->id;
    g_tracking = &tracking;
    user_send(handle, WM_ENTERMENULOOP, FALSE, 0);
    user_send(handle, WM_INITMENU, (WPARAM)tracking.bar, 0);
    SetCapture(handle);
    tracking.by_mouse = !keyboard;
    if (key != 0) {
        handle_char(key);
        if (tracking.bar_item < 0)
            tracking.done = true; // no item has that mnemonic
    } else {
        select_bar_item(item < 0 ? 0 : item, !keyboard);
    }
    run_loop();
    finish_tracking(handle, WM_COMMAND);
    g_tracking = nullptr;
}

// The system menu drops down below the caption's icon; its choices come
// back as WM_SYSCOMMAND.
void track_system_menu(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || g_tracking != nullptr)
        return;
    HMENU menu = GetSystemMenu(handle, FALSE);
    if (menu == nullptr)
        return;
    Tracking tracking;
    tracking.window = handle;
    tracking.system = true;
    g_tracking = &tracking;
    user_send(handle, WM_ENTERMENULOOP, FALSE, 0);
    user_send(handle, WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(0, TRUE));
    SetCapture(handle);
    POINT origin = user_window_origin(window);
    int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    show_dropdown(menu, {origin.x + frame, origin.y + frame + GetSystemMetrics(SM_CYCAPTION)});
    run_loop();
    finish_tracking(handle, WM_SYSCOMMAND);
    g_tracking = nullptr;
}

// Where a popup menu of `size` goes for TrackPopupMenu's point and
// alignment flags: kept on the screen, as Windows keeps it.
POINT popup_origin(UINT flags, int x, int y, SIZE size) {
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    x = std::max(0, std::min(x, screen_w - (int)size.cx));
    y = std::max(0, std::min(y, screen_h - (int)size.cy));
    return {x, y};
}

// The loop of TrackPopupMenu: the owner hears WM_ENTERMENULOOP and
// WM_INITMENUPOPUP unless told not to, the menu drops down at the point,
// and the choice comes back as the result or as a posted WM_COMMAND.
UINT_PTR track_popup(HMENU menu, UINT flags, int x, int y, HWND owner, bool* chosen) {
    Tracking tracking;
    tracking.window = owner;
    tracking.window_menu = false;
    g_tracking = &tracking;
    bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        user_send(owner, WM_ENTERMENULOOP, TRUE, 0);
        user_send(owner, WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(0, FALSE));
    }
    if (Menu* popup = user_menu(menu); popup != nullptr && IsWindow(owner)) {
        SIZE size = layout_dropdown(popup);
        size.cx += 2 * BORDER;
        size.cy += 2 * BORDER;
        SetCapture(owner);
        show_dropdown(menu, popup_origin(flags, x, y, size));
        run_loop();
    }
    UINT command_message = notify && !(flags & TPM_RETURNCMD) ? WM_COMMAND : 0;
    finish_tracking(owner, command_message, notify);
    *chosen = tracking.has_choice;
    g_tracking = nullptr;
    return tracking.has_choice ? tracking.chosen : 0;
}

} // namespace

// One menu is tracked at a time, as on Windows.
BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (user_menu(menu) == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (user_window(owner) == nullptr)
        return FALSE;
    if (g_tracking != nullptr) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    bool chosen = false;
    UINT_PTR command = track_popup(menu, flags, x, y, owner, &chosen);
    if (flags & TPM_RETURNCMD)
        return (BOOL)command;
    return TRUE;
}

HWND menu_dropdown_window(HMENU menu) {
    if (g_tracking == nullptr || menu == nullptr || g_tracking->dropdown_menu != menu)
        return nullptr;
    return g_tracking->dropdown;
}

// What DefWindowProcA does for SC_MOUSEMENU and SC_KEYMENU.
void user_menu_command(HWND handle, WPARAM command, LPARAM lparam) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        return;
    Window* top = user_top_level_of(window);
    bool system_menu =
        (command & 0xFFF0) == SC_MOUSEMENU ? (command & 0x000F) == HTSYSMENU : lparam == ' ';
    if (system_menu) {
        track_system_menu(top->handle);
    } else if ((command & 0xFFF0) == SC_MOUSEMENU) {
        POINT screen{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        POINT origin = user_window_origin(top);
        int item = menu_bar_item_at(top, {screen.x - origin.x, screen.y - origin.y});
        track_menu_bar(top->handle, item, false, 0);
    } else {
        track_menu_bar(top->handle, -1, true, (WPARAM)lparam);
    }
}
