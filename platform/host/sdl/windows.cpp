// The layer's top-level windows as real borderless windows: placed where
// the layer puts them, stacked in its order, showing its pixels. Without a
// window manager nothing else moves, raises or focuses them.
#include "platform/host/sdl/sdl_host.h"

#include <algorithm>
#include <assert.h>
#include <string.h>

namespace {

void remove_from_z_order(SdlHost& host, HWND window) {
    host.z_order.erase(std::remove(host.z_order.begin(), host.z_order.end(), window),
                       host.z_order.end());
}

// Directly below `above`, or at the top when `above` is null or unknown.
void insert_in_z_order(SdlHost& host, HWND window, HWND above) {
    auto at =
        above ? std::find(host.z_order.begin(), host.z_order.end(), above) : host.z_order.end();
    if (at == host.z_order.end())
        host.z_order.insert(host.z_order.begin(), window);
    else
        host.z_order.insert(at + 1, window);
}

void place_in_z_order(SdlHost& host, HWND window, HWND above) {
    std::vector<HWND> before = host.z_order;
    if (above != window) {
        remove_from_z_order(host, window);
        insert_in_z_order(host, window, above);
    } else if (std::find(host.z_order.begin(), host.z_order.end(), window) == host.z_order.end()) {
        insert_in_z_order(host, window, nullptr);
    }
    host.z_order_changed |= before != host.z_order;
}

} // namespace

// Raising each shown window from the bottom up leaves them in our order.
void sdl_restack(SdlHost& host) {
    if (!host.z_order_changed)
        return;
    host.z_order_changed = false;
    for (auto it = host.z_order.rbegin(); it != host.z_order.rend(); ++it) {
        SdlWindow& record = host.windows.at(*it);
        if (record.sdl && record.visible)
            SDL_RaiseWindow(record.sdl);
    }
    sdl_raise_task_bar(host);
}

namespace {

void apply_icon(SdlWindow& record) {
    if (!record.sdl || !record.has_icon)
        return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(record.icon, 16, 16, 32, 16 * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(record.sdl, icon);
    SDL_FreeSurface(icon);
}

} // namespace

// A hidden or destroyed window leaves the keyboard focus nowhere; it goes
// back to the top window, which after a popup menu is its owner.
void sdl_focus_top_window(SdlHost& host) {
    for (HWND handle : host.z_order) {
        SdlWindow& record = host.windows.at(handle);
        if (record.sdl && record.visible && SDL_GetKeyboardFocus() != record.sdl) {
            sdl_give_focus(handle);
            return;
        }
    }
}

// A window manager keeps an owned window (a message box) above its owner,
// also when the person clicks the owner.
void sdl_apply_owner(SdlHost& host, SdlWindow& record) {
    SdlWindow* owner = sdl_find(record.owner);
    if (host.window_manager && owner != nullptr && owner->sdl != nullptr)
        SDL_SetWindowModalFor(record.sdl, owner->sdl);
}

namespace {

// Moves the real window, noting the place so that the moved event it
// brings back is known for the host's own.
void move_real_window(SdlWindow& record, int x, int y) {
    if (record.moves_made.size() >= 32)
        record.moves_made.erase(record.moves_made.begin());
    record.moves_made.push_back({x, y});
    SDL_SetWindowPosition(record.sdl, x, y);
}

void create(SdlHost& host, SdlWindow& record, int width, int height) {
    std::vector<SDL_Window*>& spare = record.popup ? host.spare_popups : host.spare;
    if (!spare.empty()) {
        record.sdl = spare.back();
        spare.pop_back();
        SDL_SetWindowTitle(record.sdl, record.title.c_str());
        SDL_SetWindowSize(record.sdl, width, height);
        move_real_window(record, record.rect.left * host.scale, record.rect.top * host.scale);
    } else {
        Uint32 kind = record.popup ? SDL_WINDOW_POPUP_MENU : 0;
        record.sdl = SDL_CreateWindow(record.title.c_str(), record.rect.left * host.scale,
                                      record.rect.top * host.scale, width, height,
                                      SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | kind);
    }
    if (record.sdl == nullptr)
        sdl_fail(std::string("no window could be opened (") + SDL_GetError() + ")");
    record.x_window = sdl_x_window_of(record.sdl);
    sdl_note_x_connection(host, record.sdl);
    apply_icon(record);
    sdl_apply_owner(host, record);
}

// Keeps the pixels the old and new sizes share; the rest starts black until
// the layer presents it.
void resize_pixels(SdlWindow& record, int32_t width, int32_t height) {
    if (width == record.width && height == record.height)
        return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0);
    int32_t common_width = std::min(width, record.width);
    int32_t common_height = std::min(height, record.height);
    for (int32_t y = 0; y < common_height; ++y)
        memcpy(&pixels[size_t(y) * size_t(width)], &record.pixels[size_t(y) * size_t(record.width)],
               size_t(common_width) * sizeof(uint32_t));
    record.pixels.swap(pixels);
    record.width = width;
    record.height = height;
}

// Real windows cannot be empty; a window of no size is shown as one pixel.
void place_real_window(SdlHost& host, HWND window, SdlWindow& record, bool was_visible) {
    int width = std::max(record.width, 1) * host.scale;
    int height = std::max(record.height, 1) * host.scale;
    if (record.sdl == nullptr)
        create(host, record, width, height);
    int old_x, old_y, old_width, old_height;
    SDL_GetWindowPosition(record.sdl, &old_x, &old_y);
    SDL_GetWindowSize(record.sdl, &old_width, &old_height);
    if (old_width != width || old_height != height)
        SDL_SetWindowSize(record.sdl, width, height);
    if (old_x != record.rect.left * host.scale || old_y != record.rect.top * host.scale)
        move_real_window(record, record.rect.left * host.scale, record.rect.top * host.scale);
    if (record.visible && !was_visible) {
        // Without a window manager a window shown gets the keyboard focus;
        // with one, the manager usually gives it. SDL gives it only where it
        // found no manager when it started, which may have changed since.
        host.focus_given.push_back(window);
        SDL_ShowWindow(record.sdl);
        if (!host.window_manager)
            SDL_SetWindowInputFocus(record.sdl);
        host.z_order_changed = true;
    } else if (!record.visible && was_visible) {
        bool had_focus = SDL_GetKeyboardFocus() == record.sdl;
        SDL_HideWindow(record.sdl);
        if (had_focus)
            sdl_focus_top_window(host);
    }
}

// Where the real pixels of a layer rectangle are, clipped to the surface.
bool real_rect(const SDL_Surface* surface, int scale, const RECT& r, SDL_Rect* out) {
    int left = std::max<int>(r.left * scale, 0);
    int top = std::max<int>(r.top * scale, 0);
    int right = std::min<int>(r.right * scale, surface->w);
    int bottom = std::min<int>(r.bottom * scale, surface->h);
    *out = {left, top, right - left, bottom - top};
    return left < right && top < bottom;
}

// A surface in the layer's own 0x00RRGGBB form takes the pixels as they
// are, whole rows at a time: at scale 1 each row is one copy, and at larger
// scales the first real row of each layer row is widened and the rest copy
// it. This runs for every presentation, so it must not go pixel by pixel.
void draw_rect_same_form(const SdlWindow& record, SDL_Surface* surface, int scale,
                         const SDL_Rect& r) {
    const uint32_t* widened = nullptr;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const uint32_t* from = &record.pixels[size_t(y / scale) * size_t(record.width)];
        uint32_t* row = (uint32_t*)((uint8_t*)surface->pixels + size_t(y) * size_t(surface->pitch));
        if (scale == 1) {
            memcpy(row + r.x, from + r.x, size_t(r.w) * sizeof(uint32_t));
            continue;
        }
        if (widened != nullptr && y % scale != 0) {
            memcpy(row + r.x, widened + r.x, size_t(r.w) * sizeof(uint32_t));
            continue;
        }
        for (int x = r.x; x < r.x + r.w; ++x)
            row[x] = from[x / scale];
        widened = row;
    }
}

// Nearest neighbour: each layer pixel becomes a scale-by-scale square.
void draw_rect(const SdlWindow& record, SDL_Surface* surface, int scale, const SDL_Rect& r) {
    bool same_form = surface->format->format == SDL_PIXELFORMAT_RGB888 ||
                     surface->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (same_form) {
        draw_rect_same_form(record, surface, scale, r);
        return;
    }
    for (int y = r.y; y < r.y + r.h; ++y) {
        const uint32_t* from = &record.pixels[size_t(y / scale) * size_t(record.width)];
        uint8_t* row = (uint8_t*)surface->pixels + size_t(y) * size_t(surface->pitch);
        for (int x = r.x; x < r.x + r.w; ++x) {
            uint32_t p = from[x / scale];
            p = SDL_MapRGB(surface->format, uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p));
            if (surface->format->BytesPerPixel == 4)
                ((uint32_t*)row)[x] = p;
            else
                memcpy(row + size_t(x) * surface->format->BytesPerPixel, &p,
                       surface->format->BytesPerPixel);
        }
    }
}

// All rectangles go to the screen in one call: each call waits on the X
// server, so one per rectangle would cost many times as much.
void show_rects(SdlHost& host, SdlWindow& record, const RECT* rects, int32_t count) {
    if (record.sdl == nullptr || !record.visible)
        return;
    SDL_Surface* surface = SDL_GetWindowSurface(record.sdl);
    if (surface == nullptr)
        return;
    std::vector<SDL_Rect> real;
    real.reserve(size_t(count));
    SDL_LockSurface(surface);
    for (int32_t i = 0; i < count; ++i) {
        SDL_Rect r;
        if (real_rect(surface, host.scale, rects[i], &r)) {
            draw_rect(record, surface, host.scale, r);
            real.push_back(r);
        }
    }
    SDL_UnlockSurface(surface);
    if (!real.empty()) {
        SDL_UpdateWindowSurfaceRects(record.sdl, real.data(), int(real.size()));
        sdl_trace("present");
    }
}

RECT clip(const RECT& r, int32_t width, int32_t height) {
    return {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, width),
            std::min<LONG>(r.bottom, height)};
}

void copy_rect(SdlWindow& record, const uint32_t* pixels, int32_t stride, const RECT& r) {
    for (LONG y = r.top; y < r.bottom; ++y)
        memcpy(&record.pixels[size_t(y) * size_t(record.width) + size_t(r.left)],
               pixels + size_t(y) * size_t(stride) + size_t(r.left),
               size_t(r.right - r.left) * sizeof(uint32_t));
}

} // namespace

SdlWindow* sdl_find(HWND window) {
    auto& windows = sdl_host().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

HWND sdl_window_of(Uint32 window_id) {
    for (auto& [handle, record] : sdl_host().windows) {
        if (record.sdl && SDL_GetWindowID(record.sdl) == window_id)
            return handle;
    }
    return nullptr;
}

void sdl_show_again(HWND window) {
    SdlWindow* record = sdl_find(window);
    if (record == nullptr)
        return;
    RECT all = {0, 0, record->width, record->height};
    show_rects(sdl_host(), *record, &all, 1);
}

// A minimised window keeps its real place and pixels to come back to. The
// window manager keeps it as an icon; without one it is hidden, and the
// layer's task bar brings it back.
void place_minimized(SdlHost& host, SdlWindow& record) {
    bool was_visible = record.visible;
    record.visible = false;
    if (host.window_manager || !was_visible || record.sdl == nullptr)
        return;
    bool had_focus = SDL_GetKeyboardFocus() == record.sdl;
    SDL_HideWindow(record.sdl);
    if (had_focus)
        sdl_focus_top_window(host);
}

void host_window_placed(HWND window, const RECT* rect, bool visible, HWND above) {
    SdlHost& host = sdl_host();
    SdlWindow& record = host.windows[window];
    if (record.minimized) {
        place_in_z_order(host, window, above);
        place_minimized(host, record);
        return;
    }
    bool was_visible = record.visible;
    record.rect = *rect;
    record.visible = visible;
    resize_pixels(record, std::max<LONG>(rect->right - rect->left, 0),
                  std::max<LONG>(rect->bottom - rect->top, 0));
    place_in_z_order(host, window, above);
    place_real_window(host, window, record, was_visible);
    sdl_restack(host);
}

void host_window_destroyed(HWND window) {
    SdlHost& host = sdl_host();
    SdlWindow* record = sdl_find(window);
    bool had_focus = record && record->sdl && SDL_GetKeyboardFocus() == record->sdl;
    if (record && record->sdl) {
        // A minimised window is not visible to the layer, but the window
        // manager still keeps its icon.
        if (record->visible || record->minimized)
            SDL_HideWindow(record->sdl);
        SDL_SetWindowTitle(record->sdl, "");
        (record->popup ? host.spare_popups : host.spare).push_back(record->sdl);
    }
    host.windows.erase(window);
    remove_from_z_order(host, window);
    host.focus_given.erase(std::remove(host.focus_given.begin(), host.focus_given.end(), window),
                           host.focus_given.end());
    if (had_focus)
        sdl_focus_top_window(host);
}

void host_window_made(HWND window, HWND owner, bool popup) {
    SdlWindow& record = sdl_host().windows[window];
    record.owner = owner;
    record.popup = popup;
}

void host_window_minimized(HWND window, bool minimized) {
    SdlHost& host = sdl_host();
    SdlWindow& record = host.windows[window];
    if (record.minimized == minimized)
        return;
    record.minimized = minimized;
    if (!host.window_manager || record.sdl == nullptr)
        return;
    if (record.told[minimized]) {
        // The layer follows what the manager said; where the manager has
        // changed the state again since, the layer follows that too.
        record.told[minimized] = false;
        if (record.real_minimized != minimized)
            sdl_tell_state(window, record, record.real_minimized);
        return;
    }
    record.real_minimized = minimized;
    if (minimized)
        SDL_MinimizeWindow(record.sdl);
    else
        SDL_RestoreWindow(record.sdl);
}

bool sdl_is_own_x_window(unsigned long x_window) {
    SdlHost& host = sdl_host();
    if (x_window == 0)
        return false;
    if (host.task_bar.x_window == x_window)
        return true;
    for (const auto& [handle, record] : host.windows) {
        if (record.x_window == x_window)
            return true;
    }
    for (const auto* spares : {&host.spare, &host.spare_popups}) {
        for (SDL_Window* spare : *spares) {
            if (sdl_x_window_of(spare) == x_window)
                return true;
        }
    }
    return false;
}

// A focus the window already has is not given again: no focus event would
// come back to strike it off.
void sdl_give_focus(HWND window) {
    SdlWindow* record = sdl_find(window);
    if (record == nullptr || record->sdl == nullptr || !record->visible ||
        SDL_GetKeyboardFocus() == record->sdl)
        return;
    sdl_host().focus_given.push_back(window);
    SDL_SetWindowInputFocus(record->sdl);
}

bool sdl_focus_was_given(HWND window) {
    auto& given = sdl_host().focus_given;
    auto found = std::find(given.begin(), given.end(), window);
    if (found == given.end())
        return false;
    given.erase(found);
    return true;
}

// A title or icon may come before the window is first placed; the real
// window takes them when it is made.
void host_window_titled(HWND window, const char* title) {
    SdlWindow& record = sdl_host().windows[window];
    record.title = title ? title : "";
    if (record.sdl)
        SDL_SetWindowTitle(record.sdl, record.title.c_str());
}

void host_window_icon(HWND window, const uint32_t* pixels) {
    SdlWindow& record = sdl_host().windows[window];
    memcpy(record.icon, pixels, sizeof record.icon);
    record.has_icon = true;
    apply_icon(record);
}

void host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                  int32_t stride, const RECT* dirty, int32_t dirty_count) {
    SdlWindow* record = sdl_find(window);
    assert(record && "a window is placed before it is presented");
    if (!record)
        return;
    std::vector<RECT> rects;
    for (int32_t i = 0; i < dirty_count; ++i) {
        RECT r = clip(dirty[i], std::min(width, record->width), std::min(height, record->height));
        if (r.left < r.right && r.top < r.bottom) {
            copy_rect(*record, pixels, stride, r);
            rects.push_back(r);
        }
    }
    show_rects(sdl_host(), *record, rects.data(), int32_t(rects.size()));
}

// Without a window manager the layer's task bar is a real window of its own
// at the bottom of the screen, raised above the windows after each restack.
bool host_shows_task_bar(void) {
    return !sdl_host().window_manager;
}

void host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
    SdlHost& host = sdl_host();
    SdlWindow& bar = host.task_bar;
    RECT screen, work;
    host_screen(&screen, &work);
    RECT rect = {screen.left, work.bottom, screen.left + width, work.bottom + height};
    bool placed = bar.sdl != nullptr && rect.left == bar.rect.left && rect.top == bar.rect.top &&
                  rect.right == bar.rect.right && rect.bottom == bar.rect.bottom;
    bar.rect = rect;
    resize_pixels(bar, width, height);
    RECT all = {0, 0, width, height};
    copy_rect(bar, pixels, stride, all);
    if (!placed) {
        bool was_visible = bar.visible;
        bar.visible = true;
        if (bar.sdl == nullptr) {
            bar.title = "Task bar";
            create(host, bar, width * host.scale, height * host.scale);
        }
        SDL_SetWindowSize(bar.sdl, width * host.scale, height * host.scale);
        SDL_SetWindowPosition(bar.sdl, rect.left * host.scale, rect.top * host.scale);
        if (!was_visible)
            SDL_ShowWindow(bar.sdl);
        sdl_raise_task_bar(host);
    }
    show_rects(host, bar, &all, 1);
}

void sdl_raise_task_bar(SdlHost& host) {
    if (host.task_bar.sdl != nullptr && host.task_bar.visible)
        SDL_RaiseWindow(host.task_bar.sdl);
}

// The task bar shows lost pixels again, and never keeps the keyboard focus:
// without a window manager, showing a window gives it the focus, and SDL
// captures the mouse for the window that has the focus when a button goes
// down. A first drag of a caption would then be captured by the bar, and
// moves off the dragged window lost.
bool sdl_task_bar_event(const SDL_WindowEvent& change) {
    SdlHost& host = sdl_host();
    if (host.task_bar.sdl == nullptr || SDL_GetWindowID(host.task_bar.sdl) != change.windowID)
        return false;
    if (change.event == SDL_WINDOWEVENT_EXPOSED)
        sdl_task_bar_exposed(host);
    else if (change.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        sdl_focus_top_window(host);
    return true;
}

void sdl_task_bar_exposed(SdlHost& host) {
    RECT all = {0, 0, host.task_bar.width, host.task_bar.height};
    show_rects(host, host.task_bar, &all, 1);
}

HWND sdl_top_window(const SdlHost& host) {
    for (HWND handle : host.z_order) {
        const SdlWindow& record = host.windows.at(handle);
        if (record.sdl != nullptr && record.visible && !record.popup)
            return handle;
    }
    return nullptr;
}
