// The user part's menus: records, the menu bar's layout and drawing, and
// the modal tracking of an open menu.
#pragma once

#include "platform/user/user_private.h"

#include <string>
#include <vector>

struct MenuItem {
    UINT flags;         // MF_* of the item: MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED...
    UINT_PTR id;        // the command id; not for popup items
    HMENU submenu;      // popup items only
    std::string text;   // with '&' before the mnemonic letter
    RECT rect;          // where it was last laid out: window coordinates for a bar,
                        // client coordinates of the drop-down window otherwise
    ULONG_PTR data = 0; // the program's value (MIIM_DATA)
    // Bitmaps as given (MIIM_CHECKMARKS, MIIM_BITMAP); the layer draws none.
    HBITMAP checked_bitmap = nullptr;
    HBITMAP unchecked_bitmap = nullptr;
    HBITMAP bitmap = nullptr;
};

struct Menu {
    HMENU handle;
    bool popup;
    std::vector<MenuItem> items;
    HWND window; // the window whose menu bar this is, or null
};

Menu* user_menu(HMENU handle);
// Whether `submenu` may become a popup item of `holder`: not when it holds
// `holder` (a menu inside itself) nor when it nests deeper than Windows
// allows. The last error is left alone, as Windows leaves it.
bool user_menu_can_hold(HMENU holder, HMENU submenu);
// Puts `item` into `menu` before position `at` (at the end past the last)
// and shows it on the owner's bar.
void user_insert_menu_item(Menu* menu, size_t at, const MenuItem& item);
// The item at a position, or the first item with the command (searching
// submenus too), and the menu that holds it; null when there is none.
MenuItem* user_find_menu_item(HMENU handle, UINT item, UINT flags, Menu** holder);
void user_destroy_window_menu(Window* window);

// The menu bar's rectangle in window coordinates and its items' layout.
RECT menu_bar_rect(Window* window);
// Draws the bar with `selected` (an item index, or -1) highlighted.
void draw_menu_bar(Window* window, HDC window_dc, int selected);
// The bar item under a window point, or -1.
int menu_bar_item_at(Window* window, POINT window_point);

// The drop-down window showing `menu` while a menu is open, or null.
HWND menu_dropdown_window(HMENU menu);

// Draws an item's text at `left` within `box`, mnemonic underlined.
void draw_menu_text(HDC dc, const MenuItem& item, RECT box, int left, bool selected);
// The upper-case letter after an item's single '&', or 0 for none.
char menu_mnemonic(const MenuItem& item);
