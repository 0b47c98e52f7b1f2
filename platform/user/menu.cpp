// Menus and their items. A menu bar belongs to its window and goes with it;
// a menu appended as a popup item belongs to the menu that holds it.
#include "platform/user/menu.h"

#include <algorithm>

namespace {

struct MenuSlot {
    Menu* menu = nullptr;
    uint16_t generation = 1;
};

std::vector<MenuSlot>& g_menus = *new std::vector<MenuSlot>;
constexpr ULONG_PTR FIRST_MENU = 0x20;

HMENU make_menu(bool popup) {
    size_t index = 0;
    while (index < g_menus.size() && g_menus[index].menu != nullptr)
        ++index;
    if (index == g_menus.size())
        g_menus.emplace_back();
    MenuSlot& slot = g_menus[index];
    HMENU handle = (HMENU)(((index + FIRST_MENU) << 16) | slot.generation);
    slot.menu = new Menu{handle, popup, {}, nullptr};
    return handle;
}

// The item at a position, or the first item with the id (searching
// submenus too), and the menu that holds it.
MenuItem* find_item(Menu* menu, UINT item, UINT flags, Menu** holder) {
    if (flags & MF_BYPOSITION) {
        if (item >= menu->items.size())
            return nullptr;
        *holder = menu;
        return &menu->items[item];
    }
    for (MenuItem& it : menu->items) {
        if (!(it.flags & MF_POPUP) && it.id == item) {
            *holder = menu;
            return &it;
        }
        if (it.flags & MF_POPUP) {
            if (Menu* sub = user_menu(it.submenu)) {
                if (MenuItem* found = find_item(sub, item, flags, holder))
                    return found;
            }
        }
    }
    return nullptr;
}

// An item of a live menu, by position or command, and the menu holding it.
MenuItem* locate(HMENU handle, UINT item, UINT flags, Menu** holder) {
    Menu* menu = user_menu(handle);
    return menu != nullptr ? find_item(menu, item, flags, holder) : nullptr;
}

// Menus nest at most this deep, counting the menu itself.
constexpr int MAX_MENU_DEPTH = 30;

// How deep the tree below `menu` goes, counting from `depth`; stops
// counting past the limit, so a tree that holds itself ends too.
int menu_depth(Menu* menu, int depth) {
    ++depth;
    int deepest = depth;
    for (const MenuItem& item : menu->items) {
        Menu* sub = (item.flags & MF_POPUP) ? user_menu(item.submenu) : nullptr;
        if (sub != nullptr && depth <= MAX_MENU_DEPTH)
            deepest = std::max(deepest, menu_depth(sub, depth));
    }
    return deepest;
}

bool menu_holds(Menu* menu, HMENU wanted, int depth) {
    if (menu->handle == wanted)
        return true;
    for (const MenuItem& item : menu->items) {
        Menu* sub = (item.flags & MF_POPUP) ? user_menu(item.submenu) : nullptr;
        if (sub != nullptr && depth <= MAX_MENU_DEPTH && menu_holds(sub, wanted, depth + 1))
            return true;
    }
    return false;
}

// A changed item shows on the bar at once, without the frame change that
// DrawMenuBar asks for.
void redraw_owner(Menu* menu) {
    Window* window = user_window_quiet(menu->window);
    if (window == nullptr)
        return;
    window->frame_pending = true;
    RedrawWindow(menu->window, nullptr, nullptr, RDW_FRAME | RDW_ERASENOW);
}

} // namespace

bool user_menu_can_hold(HMENU holder, HMENU submenu) {
    Menu* sub = user_menu(submenu);
    return sub != nullptr && menu_depth(sub, 0) <= MAX_MENU_DEPTH && !menu_holds(sub, holder, 1);
}

void user_insert_menu_item(Menu* menu, size_t at, const MenuItem& item) {
    at = std::min(at, menu->items.size());
    menu->items.insert(menu->items.begin() + (ptrdiff_t)at, item);
    redraw_owner(menu);
}

MenuItem* user_find_menu_item(HMENU handle, UINT item, UINT flags, Menu** holder) {
    return locate(handle, item, flags, holder);
}

Menu* user_menu(HMENU handle) {
    ULONG_PTR value = (ULONG_PTR)handle;
    size_t index = (value >> 16) - FIRST_MENU;
    if ((uint64_t)value >> 32 != 0 || index >= g_menus.size())
        return nullptr;
    const MenuSlot& slot = g_menus[index];
    return slot.generation == (value & 0xFFFF) ? slot.menu : nullptr;
}

HMENU WINAPI CreateMenu(void) {
    return make_menu(false);
}
HMENU WINAPI CreatePopupMenu(void) {
    return make_menu(true);
}

BOOL WINAPI IsMenu(HMENU handle) {
    if (user_menu(handle) != nullptr)
        return TRUE;
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
}

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR text) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    MenuItem item{};
    item.flags = flags & ~(MF_BYPOSITION | MF_APPEND | MF_CHANGE | MF_DELETE | MF_REMOVE);
    item.id = id;
    if (flags & MF_POPUP) {
        if (user_menu((HMENU)id) == nullptr) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return FALSE;
        }
        if (!user_menu_can_hold(handle, (HMENU)id))
            return FALSE;
        item.submenu = (HMENU)id;
    }
    if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text != nullptr)
        item.text = text;
    if (flags & MF_SEPARATOR)
        item.flags |= MF_GRAYED | MF_DISABLED; // a separator can never be chosen
    user_insert_menu_item(menu, menu->items.size(), item);
    return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU handle) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    for (const MenuItem& item : menu->items) {
        if (item.flags & MF_POPUP)
            DestroyMenu(item.submenu);
    }
    MenuSlot& slot = g_menus[((ULONG_PTR)handle >> 16) - FIRST_MENU];
    delete slot.menu;
    slot.menu = nullptr;
    slot.generation = (uint16_t)(slot.generation == 0xFFFF ? 1 : slot.generation + 1);
    return TRUE;
}

int WINAPI GetMenuItemCount(HMENU handle) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return -1;
    }
    return (int)menu->items.size();
}

UINT WINAPI GetMenuItemID(HMENU handle, int position) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr || position < 0 || (size_t)position >= menu->items.size())
        return (UINT)-1;
    const MenuItem& item = menu->items[(size_t)position];
    return (item.flags & MF_POPUP) ? (UINT)-1 : (UINT)item.id;
}

HMENU WINAPI GetSubMenu(HMENU handle, int position) {
    Menu* menu = user_menu(handle);
    if (menu == nullptr || position < 0 || (size_t)position >= menu->items.size())
        return nullptr;
    const MenuItem& item = menu->items[(size_t)position];
    return (item.flags & MF_POPUP) ? item.submenu : nullptr;
}

UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, flags, &holder);
    if (found == nullptr)
        return (UINT)-1;
    UINT state = found->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP);
    if (found->flags & MF_POPUP) {
        Menu* sub = user_menu(found->submenu);
        state |= (UINT)(sub != nullptr ? sub->items.size() : 0) << 8;
    }
    return state;
}

int WINAPI GetMenuStringA(HMENU handle, UINT item, LPSTR text, int count, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, flags, &holder);
    if (found == nullptr)
        return 0;
    if (text == nullptr || count <= 0)
        return (int)found->text.size();
    int copied = std::min((int)found->text.size(), count - 1);
    found->text.copy(text, (size_t)copied);
    text[copied] = '\0';
    return copied;
}

DWORD WINAPI CheckMenuItem(HMENU handle, UINT item, UINT check) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, check, &holder);
    if (found == nullptr)
        return (DWORD)-1;
    DWORD old = found->flags & MF_CHECKED;
    found->flags = (found->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL WINAPI EnableMenuItem(HMENU handle, UINT item, UINT enable) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, enable, &holder);
    if (found == nullptr)
        return -1;
    BOOL old = (BOOL)(found->flags & (MF_GRAYED | MF_DISABLED));
    found->flags =
        (found->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    redraw_owner(holder);
    return old;
}

BOOL WINAPI RemoveMenu(HMENU handle, UINT item, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, flags, &holder);
    if (found == nullptr)
        return FALSE;
    holder->items.erase(holder->items.begin() + (found - holder->items.data()));
    redraw_owner(holder);
    return TRUE;
}

BOOL WINAPI DeleteMenu(HMENU handle, UINT item, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* found = locate(handle, item, flags, &holder);
    if (found == nullptr)
        return FALSE;
    if (found->flags & MF_POPUP)
        DestroyMenu(found->submenu);
    holder->items.erase(holder->items.begin() + (found - holder->items.data()));
    redraw_owner(holder);
    return TRUE;
}

// The menu bar is a window's: it changes the window's client area.
BOOL WINAPI SetMenu(HWND handle, HMENU menu_handle) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    if (window->style & WS_CHILD) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Menu* menu = user_menu(menu_handle);
    if (menu_handle != nullptr && menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (Menu* old = user_menu((HMENU)window->id))
        old->window = nullptr;
    window->id = (UINT_PTR)menu_handle;
    if (menu != nullptr)
        menu->window = handle;
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr || (window->style & WS_CHILD))
        return nullptr;
    return (HMENU)window->id;
}

// The frame is computed again, as for any frame change: the bar may have
// grown or shrunk.
BOOL WINAPI DrawMenuBar(HWND handle) {
    if (user_window(handle) == nullptr)
        return FALSE;
    return SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// A window's menu bar goes with it.
void user_destroy_window_menu(Window* window) {
    if (window->system_menu != nullptr && IsMenu(window->system_menu))
        DestroyMenu(window->system_menu);
    window->system_menu = nullptr;
    if (window->style & WS_CHILD)
        return;
    if (user_menu((HMENU)window->id) != nullptr)
        DestroyMenu((HMENU)window->id);
    window->id = 0;
}

// The system menu of a window: made when first asked for, its items enabled
// as the window's style allows, destroyed with the window.
HMENU WINAPI GetSystemMenu(HWND handle, BOOL revert) {
    Window* window = user_window(handle);
    if (window == nullptr || !(window->style & WS_SYSMENU))
        return nullptr;
    if (revert && window->system_menu != nullptr) {
        DestroyMenu(window->system_menu);
        window->system_menu = nullptr;
    }
    if (window->system_menu == nullptr || !IsMenu(window->system_menu)) {
        HMENU menu = CreatePopupMenu();
        UINT restore = window->minimized || window->maximized ? 0 : MF_GRAYED;
        UINT size = (window->style & WS_THICKFRAME) ? 0 : MF_GRAYED;
        UINT minimize = (window->style & WS_MINIMIZEBOX) && !window->minimized ? 0 : MF_GRAYED;
        UINT maximize = (window->style & WS_MAXIMIZEBOX) && !window->maximized ? 0 : MF_GRAYED;
        AppendMenuA(menu, MF_STRING | restore, SC_RESTORE, "&Restore");
        AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_MOVE, "&Move"); // by keyboard: not offered
        AppendMenuA(menu, MF_STRING | size, SC_SIZE, "&Size");
        AppendMenuA(menu, MF_STRING | minimize, SC_MINIMIZE, "Mi&nimize");
        AppendMenuA(menu, MF_STRING | maximize, SC_MAXIMIZE, "Ma&ximize");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close");
        window->system_menu = menu;
    }
    return revert ? nullptr : window->system_menu;
}
