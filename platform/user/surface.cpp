// The pixels of top-level windows, and showing them through the host. Each
// top-level window keeps its own pixels, non-client area included; child
// windows draw into their top-level window's pixels.
#include <layer/user.h>

#include "platform/host/host.h"
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

// A window may be up to 32767 pixels each way, but no program needs pixels
// for more of it than the largest window a user could size on this screen
// (the maximum tracking size): the part beyond is never drawn nor shown,
// like a part off the screen. So no call can make the layer hold more than
// about one screen of pixels per window.
SIZE surface_size(const Window* top) {
    LONG width = top->window_rect.right - top->window_rect.left;
    LONG height = top->window_rect.bottom - top->window_rect.top;
    return {std::min<LONG>(width, GetSystemMetrics(SM_CXMAXTRACK)),
            std::min<LONG>(height, GetSystemMetrics(SM_CYMAXTRACK))};
}

} // namespace

void user_surface_resize(Window* top) {
    SIZE size = surface_size(top);
    int32_t width = size.cx, height = size.cy;
    if (width == top->pixel_width && height == top->pixel_height)
        return;
    std::vector<uint32_t> pixels((size_t)width * (size_t)height, 0xC0C0C0);
    int32_t keep_w = std::min(width, top->pixel_width);
    int32_t keep_h = std::min(height, top->pixel_height);
    for (int32_t y = 0; y < keep_h; ++y) {
        std::copy_n(top->pixels.begin() + (ptrdiff_t)y * top->pixel_width, keep_w,
                    pixels.begin() + (ptrdiff_t)y * width);
    }
    top->pixels.swap(pixels);
    top->pixel_width = width;
    top->pixel_height = height;
    top->dirty = {0, 0, width, height};
}

void user_mark_dirty(Window* top, const RECT& rect) {
    RECT inside = rect_intersection(rect, {0, 0, top->pixel_width, top->pixel_height});
    top->dirty = rect_union(top->dirty, inside);
}

void user_present_all() {
    user_task_bar_present();
    for (HWND handle : user_top_windows()) {
        Window* top = user_window_quiet(handle);
        // A minimised window is not on the screen; it shows itself whole
        // again when restored.
        if (top == nullptr || rect_is_empty(top->dirty) || !(top->style & WS_VISIBLE) ||
            top->minimized)
            continue;
        RECT dirty = top->dirty;
        top->dirty = {0, 0, 0, 0};
        host_present(handle, top->pixels.data(), top->pixel_width, top->pixel_height,
                     top->pixel_width, &dirty, 1);
    }
}

// Tells the host where the window is and which shown window lies above it.
void user_place_on_host(Window* top) {
    HWND above = nullptr;
    for (HWND handle : user_top_windows()) {
        if (handle == top->handle)
            break;
        Window* other = user_window_quiet(handle);
        if (other != nullptr && (other->style & WS_VISIBLE) && !other->minimized)
            above = handle;
    }
    // The host holds only the pixels the layer has.
    RECT rect = user_screen_rect_of(top);
    rect.right = rect.left + top->pixel_width;
    rect.bottom = rect.top + top->pixel_height;
    bool shown = (top->style & WS_VISIBLE) && !top->minimized;
    if (!top->placed) {
        top->placed = true;
        host_window_titled(top->handle, top->text.c_str());
        bool popup = (top->style & WS_POPUP) && (top->style & WS_CAPTION) != WS_CAPTION;
        host_window_made(top->handle, top->owner, popup);
        // The class's icon, when it is one of the program's, goes to the host.
        uint32_t icon[16 * 16];
        HICON source = top->cls->small_icon != nullptr ? top->cls->small_icon : top->cls->icon;
        if (source != nullptr && layer_icon_pixels(source, icon))
            host_window_icon(top->handle, icon);
    }
    if (top->minimized != top->host_minimized) {
        top->host_minimized = top->minimized;
        host_window_minimized(top->handle, top->minimized);
    }
    host_window_placed(top->handle, &rect, shown, above);
    user_task_bar_changed();
    if (shown)
        user_mark_dirty(top, {0, 0, top->pixel_width, top->pixel_height});
}

namespace {

// A window's rectangle, or its client area's, in screen coordinates.
RECT screen_area(const Window* window, bool whole) {
    if (whole)
        return user_screen_rect_of(window);
    POINT origin = user_client_origin(window);
    return {origin.x, origin.y, origin.x + window->client_rect.right - window->client_rect.left,
            origin.y + window->client_rect.bottom - window->client_rect.top};
}

void subtract_siblings_above(Region* region, const Window* window) {
    const Window* parent = user_window_quiet(window->parent);
    if (parent == nullptr)
        return;
    for (HWND sibling : parent->children) {
        if (sibling == window->handle)
            break;
        const Window* other = user_window_quiet(sibling);
        if (other != nullptr && (other->style & WS_VISIBLE))
            region_combine_into(region, *region, user_rect_region(user_screen_rect_of(other)),
                                RGN_DIFF);
    }
}

void subtract_children(Region* region, const Window* window) {
    for (HWND child : window->children) {
        const Window* c = user_window_quiet(child);
        if (c != nullptr && (c->style & WS_VISIBLE))
            region_combine_into(region, *region, user_rect_region(user_screen_rect_of(c)),
                                RGN_DIFF);
    }
}

} // namespace

const Region& user_rect_region(const RECT& rect) {
    thread_local Region region;
    region.rects.clear();
    if (!rect_is_empty(rect))
        region.rects.push_back(rect);
    return region;
}

void user_visible_rects(Window* window, bool whole, std::vector<RECT>* rects) {
    rects->clear();
    if (!user_is_visible(window) || window->minimized)
        return;
    // Storage kept between calls: nothing here calls out.
    thread_local Region region;
    region = user_rect_region(screen_area(window, whole));
    const Window* child = window;
    for (const Window* p = user_window_quiet(window->parent); p != nullptr;
         p = user_window_quiet(p->parent)) {
        region_combine_into(&region, region, user_rect_region(screen_area(p, false)), RGN_AND);
        if (child->style & WS_CLIPSIBLINGS)
            subtract_siblings_above(&region, child);
        child = p;
    }
    if (!whole && (window->style & WS_CLIPCHILDREN))
        subtract_children(&region, window);
    RECT area = screen_area(window, whole);
    region_offset(&region, -area.left, -area.top);
    rects->assign(region.rects.begin(), region.rects.end());
}
