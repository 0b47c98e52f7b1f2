// Keyboard accelerators: tables of key combinations that become commands.
// A key-down of a virtual key (with exactly the modifiers an entry names)
// or a character of a character entry sends the entry's WM_COMMAND.
#include "platform/user/user_private.h"

#include <stdint.h>

namespace {

// A table's handle packs its slot (from 1) and the slot's generation, so a
// destroyed table's handle stays invalid when the slot is used again.
struct AcceleratorSlot {
    uint16_t generation;
    bool live;
    std::vector<ACCEL> entries;
};

std::vector<AcceleratorSlot>& g_tables = *new std::vector<AcceleratorSlot>;

constexpr BYTE MODIFIERS = FSHIFT | FCONTROL | FALT;

HACCEL make_handle(size_t slot) {
    return (HACCEL)(uintptr_t)(((uintptr_t)g_tables[slot].generation << 16) | (slot + 1));
}

AcceleratorSlot* table(HACCEL handle) {
    uintptr_t value = (uintptr_t)handle;
    size_t slot = (value & 0xFFFF) - 1;
    if (slot >= g_tables.size() || !g_tables[slot].live ||
        (value >> 16) != g_tables[slot].generation) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return nullptr;
    }
    return &g_tables[slot];
}

size_t free_slot() {
    for (size_t i = 0; i < g_tables.size(); ++i) {
        if (!g_tables[i].live)
            return i;
    }
    g_tables.push_back({1, false, {}});
    return g_tables.size() - 1;
}

// The modifiers held now, as an entry names them.
BYTE held_modifiers() {
    BYTE held = 0;
    held |= GetKeyState(VK_SHIFT) < 0 ? FSHIFT : 0;
    held |= GetKeyState(VK_CONTROL) < 0 ? FCONTROL : 0;
    held |= GetKeyState(VK_MENU) < 0 ? FALT : 0;
    return held;
}

bool matches(const ACCEL& entry, const MSG& msg) {
    bool virtual_key = entry.fVirt & FVIRTKEY;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return virtual_key && entry.key == msg.wParam &&
               (entry.fVirt & MODIFIERS) == held_modifiers();
    case WM_CHAR:
    case WM_SYSCHAR:
        // A character entry with FALT is for the character typed with Alt
        // held; the other modifiers are in the character already.
        return !virtual_key && entry.key == msg.wParam &&
               (entry.fVirt & FALT) == (held_modifiers() & FALT);
    }
    return false;
}

} // namespace

HACCEL WINAPI CreateAcceleratorTableA(LPACCEL entries, int count) {
    if (entries == nullptr || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t slot = free_slot();
    g_tables[slot].live = true;
    g_tables[slot].entries.assign(entries, entries + count);
    return make_handle(slot);
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL handle) {
    AcceleratorSlot* slot = table(handle);
    if (slot == nullptr)
        return FALSE;
    slot->live = false;
    slot->entries.clear();
    ++slot->generation;
    return TRUE;
}

// With no room given, the number of entries; otherwise the entries copied.
int WINAPI CopyAcceleratorTableA(HACCEL handle, LPACCEL entries, int count) {
    AcceleratorSlot* slot = table(handle);
    if (slot == nullptr)
        return 0;
    int size = (int)slot->entries.size();
    if (entries == nullptr)
        return size;
    int copied = count < size ? count : size;
    for (int i = 0; i < copied; ++i)
        entries[i] = slot->entries[(size_t)i];
    return copied < 0 ? 0 : copied;
}

// The first matching entry wins; its command goes to `window` with 1 as
// the notification code, the mark of a command from an accelerator.
int WINAPI TranslateAcceleratorA(HWND window, HACCEL handle, LPMSG msg) {
    if (msg == nullptr)
        return 0;
    AcceleratorSlot* slot = table(handle);
    if (slot == nullptr || user_window(window) == nullptr)
        return 0;
    for (const ACCEL& entry : slot->entries) {
        if (matches(entry, *msg)) {
            user_send(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
