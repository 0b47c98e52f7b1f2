// Building menus and attaching a menu bar to a window.
#include "runtime/window/window.h"

HMENU newMenu(int32_t popup) {
    return popup ? CreatePopupMenu() : CreateMenu();
}

int32_t appendMenuItem(HMENU menu, const char* text, uint32_t flags, UINT_PTR id) {
    if (menu)
        AppendMenuA(menu, flags, id, text);
    return 0;
}

int32_t setMenuBar(WindowRecord* record, HMENU menu) {
    if (!record->hwnd)
        return 0;
    HMENU previous = GetMenu(record->hwnd);
    SetMenu(record->hwnd, menu);
    // The replaced bar goes with its drop-down menus. Attaching the bar the
    // window already has replaces nothing.
    if (previous && previous != menu)
        DestroyMenu(previous);
    DrawMenuBar(record->hwnd);
    return 0;
}
