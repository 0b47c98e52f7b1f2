// The picture of the layer's top-level windows: where they are, in which
// order, and a copy of their pixels, kept from what the layer reports. The
// desktop is composed from it and tests inspect it.
#include "platform/host/desktop/desktop.h"
#include "platform/host/desktop/state.h"
#include "platform/host/host.h"

#include <algorithm>
#include <assert.h>
#include <string.h>

namespace {

DesktopWindow* find(HWND window) {
    auto& windows = desktop_state().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

void remove_from_z_order(HWND window) {
    auto& z_order = desktop_state().z_order;
    z_order.erase(std::remove(z_order.begin(), z_order.end(), window), z_order.end());
}

// Directly below `above`, or at the top when `above` is null or unknown.
void insert_in_z_order(HWND window, HWND above) {
    auto& z_order = desktop_state().z_order;
    auto at = above ? std::find(z_order.begin(), z_order.end(), above) : z_order.end();
    if (at == z_order.end())
        z_order.insert(z_order.begin(), window);
    else
        z_order.insert(at + 1, window);
}

// Keeps the pixels the old and new sizes share; the rest starts black until
// the layer presents it.
void resize_pixels(DesktopWindow* record, int32_t width, int32_t height) {
    if (width == record->width && height == record->height)
        return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0);
    int32_t common_width = std::min(width, record->width);
    int32_t common_height = std::min(height, record->height);
    for (int32_t y = 0; y < common_height; ++y)
        memcpy(&pixels[size_t(y) * size_t(width)],
               &record->pixels[size_t(y) * size_t(record->width)],
               size_t(common_width) * sizeof(uint32_t));
    record->pixels.swap(pixels);
    record->width = width;
    record->height = height;
}

// Where a window's pixels lie on the screen while it is shown.
void add_window_damage(const DesktopWindow& record) {
    if (record.visible)
        desktop_add_damage({record.rect.left, record.rect.top, record.rect.left + record.width,
                            record.rect.top + record.height});
}

void copy_rect(DesktopWindow* record, const uint32_t* pixels, int32_t stride, RECT r) {
    for (LONG y = r.top; y < r.bottom; ++y)
        memcpy(&record->pixels[size_t(y) * size_t(record->width) + size_t(r.left)],
               pixels + size_t(y) * size_t(stride) + size_t(r.left),
               size_t(r.right - r.left) * sizeof(uint32_t));
}

} // namespace

DesktopState& desktop_state(void) {
    static DesktopState* state = new DesktopState;
    return *state;
}

void host_window_placed(HWND window, const RECT* rect, bool visible, HWND above) {
    DesktopWindow& record = desktop_state().windows[window];
    add_window_damage(record);
    record.rect = *rect;
    record.visible = visible;
    resize_pixels(&record, std::max<LONG>(rect->right - rect->left, 0),
                  std::max<LONG>(rect->bottom - rect->top, 0));
    add_window_damage(record);
    if (above != window) {
        remove_from_z_order(window);
        insert_in_z_order(window, above);
    } else if (std::find(desktop_state().z_order.begin(), desktop_state().z_order.end(), window) ==
               desktop_state().z_order.end()) {
        insert_in_z_order(window, nullptr);
    }
}

void host_window_destroyed(HWND window) {
    if (DesktopWindow* record = find(window))
        add_window_damage(*record);
    desktop_state().windows.erase(window);
    remove_from_z_order(window);
}

// A title or icon may come before the window is first placed; the record
// joins the z-order when it is.
void host_window_titled(HWND window, const char* title) {
    desktop_state().windows[window].title = title ? title : "";
}

// Only the dirty rectangles are copied, as a real screen would only be
// updated there: a layer that forgets to mark a change shows stale pixels.
void host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                  int32_t stride, const RECT* dirty, int32_t dirty_count) {
    DesktopWindow* record = find(window);
    assert(record && "a window is placed before it is presented");
    if (!record)
        return;
    ++desktop_state().present_count;
    RECT bounds = {0, 0, std::min(width, record->width), std::min(height, record->height)};
    for (int32_t i = 0; i < dirty_count; ++i) {
        RECT r;
        if (!IntersectRect(&r, &dirty[i], &bounds))
            continue;
        copy_rect(record, pixels, stride, r);
        if (record->visible)
            desktop_add_damage({record->rect.left + r.left, record->rect.top + r.top,
                                record->rect.left + r.right, record->rect.top + r.bottom});
    }
}

void host_window_made(HWND window, HWND owner, bool popup) {
    DesktopWindow& record = desktop_state().windows[window];
    record.owner = owner;
    record.popup = popup;
}

void host_window_minimized(HWND window, bool minimized) {
    desktop_state().windows[window].minimized = minimized;
}

// This host composes the desktop itself, so the layer's task bar is on it.
bool host_shows_task_bar(void) {
    return true;
}

void host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
    DesktopState& state = desktop_state();
    state.task_bar.resize(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y)
        memcpy(&state.task_bar[size_t(y) * size_t(width)], pixels + size_t(y) * size_t(stride),
               size_t(width) * sizeof(uint32_t));
    state.task_bar_width = width;
    state.task_bar_height = height;
    RECT screen;
    host_screen(&screen, nullptr);
    desktop_add_damage({screen.left, screen.bottom - height, screen.left + width, screen.bottom});
}

bool desktop_window_minimized(HWND window) {
    DesktopWindow* record = find(window);
    return record && record->minimized;
}

void host_window_icon(HWND window, const uint32_t* pixels) {
    DesktopWindow& record = desktop_state().windows[window];
    memcpy(record.icon, pixels, sizeof record.icon);
    record.has_icon = true;
}

size_t desktop_window_count(void) {
    return desktop_state().windows.size();
}

std::vector<HWND> desktop_z_order(void) {
    return desktop_state().z_order;
}

HWND desktop_top_window(void) {
    for (HWND window : desktop_state().z_order) {
        if (find(window)->visible)
            return window;
    }
    return nullptr;
}

bool desktop_window_rect(HWND window, RECT* rect) {
    DesktopWindow* record = find(window);
    if (record)
        *rect = record->rect;
    return record != nullptr;
}

bool desktop_window_visible(HWND window) {
    DesktopWindow* record = find(window);
    return record && record->visible;
}

const char* desktop_window_title(HWND window) {
    DesktopWindow* record = find(window);
    return record ? record->title.c_str() : nullptr;
}

HWND desktop_find_window(const char* title) {
    for (HWND window : desktop_state().z_order) {
        if (find(window)->title == title)
            return window;
    }
    return nullptr;
}

const uint32_t* desktop_window_pixels(HWND window, int32_t* width, int32_t* height) {
    DesktopWindow* record = find(window);
    if (!record)
        return nullptr;
    *width = record->width;
    *height = record->height;
    return record->pixels.data();
}

const uint32_t* desktop_window_icon(HWND window) {
    DesktopWindow* record = find(window);
    return record && record->has_icon ? record->icon : nullptr;
}

uint64_t desktop_present_count(void) {
    return desktop_state().present_count;
}

void desktop_reset(void) {
    DesktopState& state = desktop_state();
    state.windows.clear();
    state.z_order.clear();
    state.task_bar.clear();
    state.task_bar_width = state.task_bar_height = 0;
    state.damage.clear();
    state.present_count = 0;
}
