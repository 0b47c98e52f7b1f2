// Menu items described by MENUITEMINFOA: reading an item's parts and
// inserting an item built from them. The record's fMask says which parts
// are read or given; the others are left as they are.
#include "platform/user/menu.h"

#include <stddef.h>

#include <algorithm>

namespace {

constexpr UINT TYPE_BITS = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW |
                           MFT_RADIOCHECK | MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
constexpr UINT STATE_BITS = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
constexpr UINT KNOWN_MASK = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE |
                            MIIM_DATA | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE;

// Both sizes of the record that Windows takes: the present one, and the
// older one that ends before hbmpItem.
bool valid_size(const MENUITEMINFOA* info) {
    return info != nullptr && (info->cbSize == sizeof(MENUITEMINFOA) ||
                               info->cbSize == offsetof(MENUITEMINFOA, hbmpItem));
}

bool is_text(UINT flags) {
    return !(flags & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW));
}

// Copies the item's text into the caller's buffer, as much as fits with
// its terminating zero; cch becomes the characters copied, or the text's
// length when there is no buffer to copy into.
void copy_text(const MenuItem& item, MENUITEMINFOA* info) {
    UINT length = (UINT)item.text.size();
    if (info->dwTypeData == nullptr || info->cch == 0) {
        info->cch = length;
        return;
    }
    UINT copied = std::min(length, info->cch - 1);
    item.text.copy(info->dwTypeData, copied);
    info->dwTypeData[copied] = '\0';
    info->cch = copied;
}

void read_item(const MenuItem& item, MENUITEMINFOA* info) {
    UINT mask = info->fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = item.flags & TYPE_BITS;
    if (mask & MIIM_STATE)
        info->fState = (item.flags & MF_SEPARATOR) ? 0 : item.flags & STATE_BITS;
    if (mask & MIIM_ID)
        info->wID = (UINT)item.id;
    if (mask & MIIM_SUBMENU)
        info->hSubMenu = (item.flags & MF_POPUP) ? item.submenu : nullptr;
    if (mask & MIIM_CHECKMARKS) {
        info->hbmpChecked = item.checked_bitmap;
        info->hbmpUnchecked = item.unchecked_bitmap;
    }
    if (mask & MIIM_DATA)
        info->dwItemData = item.data;
    if ((mask & MIIM_BITMAP) && info->cbSize == sizeof(MENUITEMINFOA))
        info->hbmpItem = item.bitmap;
    if ((mask & MIIM_STRING) || ((mask & MIIM_TYPE) && is_text(item.flags)))
        copy_text(item, info);
    else if (mask & MIIM_TYPE)
        info->cch = 0;
}

// The parts of a new item that the record gives; false when they cannot
// make an item (a submenu that is no menu, or one that may not go there).
bool build_item(HMENU holder, const MENUITEMINFOA* info, MenuItem* item) {
    UINT mask = info->fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE))
        item->flags |= info->fType & TYPE_BITS;
    if (mask & MIIM_STATE)
        item->flags |= info->fState & STATE_BITS;
    if (mask & MIIM_ID)
        item->id = info->wID;
    if ((mask & MIIM_SUBMENU) && info->hSubMenu != nullptr) {
        if (user_menu(info->hSubMenu) == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        if (!user_menu_can_hold(holder, info->hSubMenu))
            return false;
        item->flags |= MF_POPUP;
        item->submenu = info->hSubMenu;
    }
    if (mask & MIIM_CHECKMARKS) {
        item->checked_bitmap = info->hbmpChecked;
        item->unchecked_bitmap = info->hbmpUnchecked;
    }
    if (mask & MIIM_DATA)
        item->data = info->dwItemData;
    if ((mask & MIIM_BITMAP) && info->cbSize == sizeof(MENUITEMINFOA))
        item->bitmap = info->hbmpItem;
    bool text = (mask & MIIM_STRING) || ((mask & MIIM_TYPE) && is_text(item->flags));
    if (text && info->dwTypeData != nullptr)
        item->text = info->dwTypeData;
    if (item->flags & MF_SEPARATOR)
        item->flags |= MF_GRAYED | MF_DISABLED; // a separator can never be chosen
    return true;
}

} // namespace

BOOL WINAPI GetMenuItemInfoA(HMENU handle, UINT item, BOOL by_position, LPMENUITEMINFOA info) {
    if (!valid_size(info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (user_menu(handle) == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    Menu* holder = nullptr;
    const MenuItem* found =
        user_find_menu_item(handle, item, by_position ? MF_BYPOSITION : MF_BYCOMMAND, &holder);
    if (found == nullptr) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    read_item(*found, info);
    return TRUE;
}

// The new item goes before the one named, by position (at the end past the
// last) or by command (into the menu that holds that command).
BOOL WINAPI InsertMenuItemA(HMENU handle, UINT item, BOOL by_position, LPCMENUITEMINFOA info) {
    bool mixed = info != nullptr && (info->fMask & MIIM_TYPE) &&
                 (info->fMask & (MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP));
    if (!valid_size(info) || mixed || (info->fMask & ~KNOWN_MASK)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Menu* menu = user_menu(handle);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    size_t at = by_position ? (size_t)item : menu->items.size();
    if (!by_position) {
        Menu* holder = nullptr;
        MenuItem* found = user_find_menu_item(handle, item, MF_BYCOMMAND, &holder);
        if (found == nullptr) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
        menu = holder;
        at = (size_t)(found - holder->items.data());
    }
    MenuItem made{};
    if (!build_item(menu->handle, info, &made))
        return FALSE;
    user_insert_menu_item(menu, at, made);
    return TRUE;
}
