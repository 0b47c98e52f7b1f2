// Cursors and icons: the system's, by their numbers, and the program's own
// icon resources.
#include <layer/user.h>

#include "platform/user/nonclient_draw.h"
#include "platform/user/user_private.h"

#include <string.h>

namespace {

struct IconResource {
    WORD id;
    uint32_t pixels[16 * 16];
};

std::vector<IconResource>& g_icons = *new std::vector<IconResource>;

// System cursors and icons are handles made from their numbers; the
// program's icons from their index among the registered ones.
constexpr ULONG_PTR SYSTEM_CURSOR_BASE = 0x00010000;
constexpr ULONG_PTR SYSTEM_ICON_BASE = 0x00020000;
constexpr ULONG_PTR PROGRAM_ICON_BASE = 0x00030000;

bool known_system_cursor(WORD id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

bool known_system_icon(WORD id) {
    return id >= 32512 && id <= 32518;
}

bool is_program(HINSTANCE instance) {
    return instance != nullptr && instance == GetModuleHandleA(nullptr);
}

} // namespace

void layer_register_icon(WORD id, const uint32_t* pixels) {
    for (IconResource& icon : g_icons) {
        if (icon.id == id) {
            memcpy(icon.pixels, pixels, sizeof icon.pixels);
            return;
        }
    }
    IconResource icon{id, {}};
    memcpy(icon.pixels, pixels, sizeof icon.pixels);
    g_icons.push_back(icon);
}

BOOL layer_icon_pixels(HICON handle, uint32_t* pixels) {
    ULONG_PTR value = (ULONG_PTR)handle;
    if (value < PROGRAM_ICON_BASE || value >= PROGRAM_ICON_BASE + g_icons.size())
        return FALSE;
    memcpy(pixels, g_icons[value - PROGRAM_ICON_BASE].pixels, sizeof g_icons[0].pixels);
    return TRUE;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    WORD id = (WORD)(ULONG_PTR)name;
    if (instance == nullptr && IS_INTRESOURCE(name) && known_system_cursor(id))
        return (HCURSOR)(SYSTEM_CURSOR_BASE + id);
    SetLastError(1814 /* ERROR_RESOURCE_NAME_NOT_FOUND */);
    return nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    WORD id = (WORD)(ULONG_PTR)name;
    if (!IS_INTRESOURCE(name)) {
        SetLastError(1814 /* ERROR_RESOURCE_NAME_NOT_FOUND */);
        return nullptr;
    }
    if (instance == nullptr && known_system_icon(id))
        return (HICON)(SYSTEM_ICON_BASE + id);
    if (is_program(instance)) {
        for (size_t i = 0; i < g_icons.size(); ++i) {
            if (g_icons[i].id == id)
                return (HICON)(PROGRAM_ICON_BASE + i);
        }
    }
    SetLastError(1814 /* ERROR_RESOURCE_NAME_NOT_FOUND */);
    return nullptr;
}

// Icons loaded by number are shared, so there is nothing to destroy.
BOOL WINAPI DestroyIcon(HICON) {
    return TRUE;
}

bool user_draw_icon(HDC dc, int x, int y, HICON icon) {
    ULONG_PTR value = (ULONG_PTR)icon;
    if (value >= SYSTEM_ICON_BASE && value < PROGRAM_ICON_BASE)
        return draw_system_icon(dc, x, y, (WORD)(value - SYSTEM_ICON_BASE));
    if (value >= PROGRAM_ICON_BASE && value - PROGRAM_ICON_BASE < g_icons.size()) {
        draw_small_icon(dc, x, y, icon);
        return true;
    }
    return false;
}
