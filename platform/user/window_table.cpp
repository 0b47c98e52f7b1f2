// The window table: handles pack a table index and a generation, so that a
// destroyed or made-up handle is recognised without touching freed memory.
#include <layer/user.h>

#include <layer/user.h>

#include "platform/user/user_private.h"

#include <algorithm>

namespace {

struct WindowSlot {
    Window* window = nullptr;
    uint16_t generation = 1;
};

// Never destroyed, so that windows alive at exit stay reachable.
std::vector<WindowSlot>& g_slots = *new std::vector<WindowSlot>;
std::vector<HWND>& g_top_windows = *new std::vector<HWND>;

// Handles start above the values that mean something else (HWND_TOPMOST,
// HWND_MESSAGE, small integers) and stay within 32 bits, as on Windows.
constexpr ULONG_PTR FIRST_INDEX = 0x10;

size_t index_of(HWND handle) {
    return ((ULONG_PTR)handle >> 16) - FIRST_INDEX;
}

} // namespace

Window* user_window_quiet(HWND handle) {
    ULONG_PTR value = (ULONG_PTR)handle;
    if ((uint64_t)value >> 32 != 0)
        return nullptr;
    size_t index = index_of(handle);
    if (index >= g_slots.size())
        return nullptr;
    const WindowSlot& slot = g_slots[index];
    return slot.generation == (value & 0xFFFF) ? slot.window : nullptr;
}

Window* user_window(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

Window* user_new_window(HWND* handle) {
    size_t index = 0;
    while (index < g_slots.size() && g_slots[index].window != nullptr)
        ++index;
    if (index == g_slots.size())
        g_slots.emplace_back();
    WindowSlot& slot = g_slots[index];
    slot.window = new Window{};
    *handle = (HWND)(((index + FIRST_INDEX) << 16) | slot.generation);
    slot.window->handle = *handle;
    return slot.window;
}

void user_free_window(HWND handle) {
    WindowSlot& slot = g_slots[index_of(handle)];
    delete slot.window;
    slot.window = nullptr;
    slot.generation = (uint16_t)(slot.generation == 0xFFFF ? 1 : slot.generation + 1);
    g_top_windows.erase(std::remove(g_top_windows.begin(), g_top_windows.end(), handle),
                        g_top_windows.end());
}

std::vector<HWND>& user_top_windows() {
    return g_top_windows;
}

UINT layer_user_window_count(void) {
    UINT count = 0;
    for (const WindowSlot& slot : g_slots)
        count += slot.window != nullptr && slot.window->handle != GetDesktopWindow();
    return count;
}
