// The menu bar: laid out along the top of the client area, below the
// caption, and drawn in the non-client area in the menu colours.
#include "platform/user/menu.h"
#include "platform/user/nonclient_draw.h"

#include <ctype.h>

#include <string>

namespace {

constexpr int BAR_ITEM_PADDING = 8; // blank pixels each side of a bar item's text

// The text without its '&' marks, and the index of the mnemonic letter.
std::string visible_text(const std::string& text, int* mnemonic) {
    std::string shown;
    *mnemonic = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&')
                *mnemonic = (int)shown.size();
        }
        shown += text[i];
    }
    return shown;
}

int text_width(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    return size.cx;
}

} // namespace

char menu_mnemonic(const MenuItem& item) {
    int mnemonic;
    std::string shown = visible_text(item.text, &mnemonic);
    return mnemonic < 0 ? 0 : (char)toupper((unsigned char)shown[(size_t)mnemonic]);
}

// The bar lies below the caption, inside the frame, SM_CYMENU rows high.
RECT menu_bar_rect(Window* window) {
    RECT outer{0, 0, window->window_rect.right - window->window_rect.left,
               window->window_rect.bottom - window->window_rect.top};
    int frame = window_frame_width(window->style, window->ex_style);
    RECT caption = caption_rect_for_window(outer, window->style, window->ex_style);
    LONG top = rect_is_empty(caption) ? frame : caption.bottom;
    return {frame, top, outer.right - frame, top + GetSystemMetrics(SM_CYMENU)};
}

namespace {

// Gives each bar item its rectangle, one after the other along the bar.
void layout_menu_bar(Window* window, Menu* menu) {
    RECT bar = menu_bar_rect(window);
    HDC dc = CreateCompatibleDC(nullptr);
    LONG x = bar.left;
    for (MenuItem& item : menu->items) {
        int mnemonic;
        int width = text_width(dc, visible_text(item.text, &mnemonic)) + 2 * BAR_ITEM_PADDING;
        item.rect = {x, bar.top, x + width, bar.bottom};
        x += width;
    }
    DeleteDC(dc);
}

} // namespace

// Draws an item's text with its mnemonic underlined; greyed items in the
// grey text colour over a white shadow.
void draw_menu_text(HDC dc, const MenuItem& item, RECT box, int left, bool selected) {
    int mnemonic;
    std::string shown = visible_text(item.text, &mnemonic);
    int top = box.top + (box.bottom - box.top - 16) / 2;
    SetBkMode(dc, TRANSPARENT);
    bool greyed = item.flags & (MF_GRAYED | MF_DISABLED);
    COLORREF color = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_MENUTEXT);
    if (greyed && !selected) {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        TextOutA(dc, left + 1, top + 1, shown.c_str(), (int)shown.size());
    }
    SetTextColor(dc, greyed ? GetSysColor(COLOR_GRAYTEXT) : color);
    TextOutA(dc, left, top, shown.c_str(), (int)shown.size());
    if (mnemonic < 0)
        return;
    int x0 = left + text_width(dc, shown.substr(0, (size_t)mnemonic));
    int x1 = left + text_width(dc, shown.substr(0, (size_t)mnemonic + 1));
    HPEN pen = CreatePen(PS_SOLID, 1, greyed ? GetSysColor(COLOR_GRAYTEXT) : color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, top + 14, nullptr);
    LineTo(dc, x1, top + 14);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void draw_menu_bar(Window* window, HDC dc, int selected) {
    Menu* menu = user_menu((HMENU)window->id);
    if (menu == nullptr)
        return;
    layout_menu_bar(window, menu);
    draw_menu_bar_background(dc, menu_bar_rect(window));
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        bool is_selected = (int)i == selected;
        if (is_selected) {
            RECT box = item.rect;
            FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        draw_menu_text(dc, item, item.rect, item.rect.left + BAR_ITEM_PADDING, is_selected);
    }
}

int menu_bar_item_at(Window* window, POINT point) {
    Menu* menu = user_menu((HMENU)window->id);
    if (menu == nullptr)
        return -1;
    layout_menu_bar(window, menu);
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const RECT& r = menu->items[i].rect;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return (int)i;
    }
    return -1;
}

// Where an item is on the screen: an open drop-down's item in the window
// that shows it, a bar item on its window. Other menus have no place until
// they are open.
BOOL WINAPI GetMenuItemRect(HWND handle, HMENU menu_handle, UINT item, LPRECT rect) {
    Menu* menu = user_menu(menu_handle);
    if (menu == nullptr || rect == nullptr || item >= menu->items.size())
        return FALSE;
    if (HWND dropdown = menu_dropdown_window(menu_handle)) {
        *rect = menu->items[item].rect;
        MapWindowPoints(dropdown, nullptr, (LPPOINT)rect, 2);
        return TRUE;
    }
    Window* window = user_window(handle);
    if (window == nullptr || (HMENU)window->id != menu_handle || (window->style & WS_CHILD))
        return FALSE;
    menu_bar_rect(window); // lays the items out
    POINT origin = user_window_origin(window);
    *rect = menu->items[item].rect;
    OffsetRect(rect, origin.x, origin.y);
    return TRUE;
}
