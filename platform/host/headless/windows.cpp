// The host's picture of the layer's top-level windows: where they are, in
// which order, and a copy of their pixels, kept from what the layer reports.
// Captures are composed from it and tests inspect it.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"
#include "platform/host/host.h"

#include <algorithm>
#include <assert.h>
#include <string.h>

namespace {

HeadlessWindow* find(HWND window) {
    auto& windows = headless_state().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

void remove_from_z_order(HWND window) {
    auto& z_order = headless_state().z_order;
    z_order.erase(std::remove(z_order.begin(), z_order.end(), window), z_order.end());
}

// Directly below `above`, or at the top when `above` is null or unknown.
void insert_in_z_order(HWND window, HWND above) {
    auto& z_order = headless_state().z_order;
    auto at = above ? std::find(z_order.begin(), z_order.end(), above) : z_order.end();
    if (at == z_order.end())
        z_order.insert(z_order.begin(), window);
    else
        z_order.insert(at + 1, window);
}

// Keeps the pixels the old and new sizes share; the rest starts black until
// the layer presents it.
void resize_pixels(HeadlessWindow* record, int32_t width, int32_t height) {
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

// Enough for a frame's windows and their moves; past it one union stands
// for them all, so a host that never takes the damage keeps little of it.
constexpr size_t DAMAGE_LIMIT = 32;

void add_damage(const RECT& rect) {
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    std::vector<RECT>& damage = headless_state().damage;
    damage.push_back(rect);
    if (damage.size() <= DAMAGE_LIMIT)
        return;
    RECT all = damage[0];
    for (const RECT& r : damage)
        all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
               std::max(all.bottom, r.bottom)};
    damage.assign(1, all);
}

// Where a window's pixels lie on the screen while it is shown.
void add_window_damage(const HeadlessWindow& record) {
    if (record.visible)
        add_damage({record.rect.left, record.rect.top, record.rect.left + record.width,
                    record.rect.top + record.height});
}

void copy_rect(HeadlessWindow* record, const uint32_t* pixels, int32_t stride, RECT r) {
    for (LONG y = r.top; y < r.bottom; ++y)
        memcpy(&record->pixels[size_t(y) * size_t(record->width) + size_t(r.left)],
               pixels + size_t(y) * size_t(stride) + size_t(r.left),
               size_t(r.right - r.left) * sizeof(uint32_t));
}

} // namespace

HeadlessState& headless_state(void) {
    static HeadlessState* state = new HeadlessState;
    return *state;
}

void host_window_placed(HWND window, const RECT* rect, bool visible, HWND above) {
    HeadlessWindow& record = headless_state().windows[window];
    add_window_damage(record);
    record.rect = *rect;
    record.visible = visible;
    resize_pixels(&record, std::max<LONG>(rect->right - rect->left, 0),
                  std::max<LONG>(rect->bottom - rect->top, 0));
    add_window_damage(record);
    if (above != window) {
        remove_from_z_order(window);
        insert_in_z_order(window, above);
    } else if (std::find(headless_state().z_order.begin(), headless_state().z_order.end(),
                         window) == headless_state().z_order.end()) {
        insert_in_z_order(window, nullptr);
    }
}

void host_window_destroyed(HWND window) {
    if (HeadlessWindow* record = find(window))
        add_window_damage(*record);
    headless_state().windows.erase(window);
    remove_from_z_order(window);
}

// A title or icon may come before the window is first placed; the record
// joins the z-order when it is.
void host_window_titled(HWND window, const char* title) {
    headless_state().windows[window].title = title ? title : "";
}

// Only the dirty rectangles are copied, as a real screen would only be
// updated there: a layer that forgets to mark a change shows stale pixels.
void host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                  int32_t stride, const RECT* dirty, int32_t dirty_count) {
    HeadlessWindow* record = find(window);
    assert(record && "a window is placed before it is presented");
    if (!record)
        return;
    ++headless_state().present_count;
    RECT bounds = {0, 0, std::min(width, record->width), std::min(height, record->height)};
    for (int32_t i = 0; i < dirty_count; ++i) {
        RECT r = {std::max(dirty[i].left, bounds.left), std::max(dirty[i].top, bounds.top),
                  std::min(dirty[i].right, bounds.right), std::min(dirty[i].bottom, bounds.bottom)};
        if (r.left >= r.right || r.top >= r.bottom)
            continue;
        copy_rect(record, pixels, stride, r);
        if (record->visible)
            add_damage({record->rect.left + r.left, record->rect.top + r.top,
                        record->rect.left + r.right, record->rect.top + r.bottom});
    }
}

void host_window_made(HWND window, HWND owner, bool popup) {
    HeadlessWindow& record = headless_state().windows[window];
    record.owner = owner;
    record.popup = popup;
}

void host_window_minimized(HWND window, bool minimized) {
    headless_state().windows[window].minimized = minimized;
}

// This host composes the desktop itself, so the layer's task bar is on it.
bool host_shows_task_bar(void) {
    return true;
}

void host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
    HeadlessState& state = headless_state();
    state.task_bar.resize(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y)
        memcpy(&state.task_bar[size_t(y) * size_t(width)], pixels + size_t(y) * size_t(stride),
               size_t(width) * sizeof(uint32_t));
    state.task_bar_width = width;
    state.task_bar_height = height;
    RECT screen, work_area;
    host_screen(&screen, &work_area);
    add_damage({screen.left, screen.bottom - height, screen.left + width, screen.bottom});
}

bool headless_window_minimized(HWND window) {
    HeadlessWindow* record = find(window);
    return record && record->minimized;
}

void host_window_icon(HWND window, const uint32_t* pixels) {
    HeadlessWindow& record = headless_state().windows[window];
    memcpy(record.icon, pixels, sizeof record.icon);
    record.has_icon = true;
}

size_t headless_window_count(void) {
    return headless_state().windows.size();
}

std::vector<HWND> headless_z_order(void) {
    return headless_state().z_order;
}

HWND headless_top_window(void) {
    for (HWND window : headless_state().z_order) {
        if (find(window)->visible)
            return window;
    }
    return nullptr;
}

bool headless_window_rect(HWND window, RECT* rect) {
    HeadlessWindow* record = find(window);
    if (record)
        *rect = record->rect;
    return record != nullptr;
}

bool headless_window_visible(HWND window) {
    HeadlessWindow* record = find(window);
    return record && record->visible;
}

const char* headless_window_title(HWND window) {
    HeadlessWindow* record = find(window);
    return record ? record->title.c_str() : nullptr;
}

HWND headless_find_window(const char* title) {
    for (HWND window : headless_state().z_order) {
        if (find(window)->title == title)
            return window;
    }
    return nullptr;
}

const uint32_t* headless_window_pixels(HWND window, int32_t* width, int32_t* height) {
    HeadlessWindow* record = find(window);
    if (!record)
        return nullptr;
    *width = record->width;
    *height = record->height;
    return record->pixels.data();
}

const uint32_t* headless_window_icon(HWND window) {
    HeadlessWindow* record = find(window);
    return record && record->has_icon ? record->icon : nullptr;
}

uint64_t headless_present_count(void) {
    return headless_state().present_count;
}

std::vector<RECT> headless_take_damage(void) {
    std::vector<RECT> damage;
    damage.swap(headless_state().damage);
    return damage;
}

void headless_reset_windows(void) {
    HeadlessState& state = headless_state();
    state.windows.clear();
    state.z_order.clear();
    state.task_bar.clear();
    state.task_bar_width = state.task_bar_height = 0;
    state.damage.clear();
    state.present_count = 0;
}
