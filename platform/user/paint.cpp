// Update regions, painting and the contexts of windows.
#include "platform/gdi/window_dc.h"
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

// What a window context draws on: a window's client area or whole window,
// limited during painting to the region being painted.
struct WindowDc {
    HDC dc;
    HWND window; // null for the screen's context, which has no pixels
    bool whole;
    bool painting;
    Region paint_region; // client coordinates; valid when `painting`
    // A window's private context (CS_OWNDC) or its class's (CS_CLASSDC):
    // kept with its attributes across ReleaseDC and EndPaint, until the
    // window, or the last window of the class, goes.
    bool kept;
    const WindowClass* class_owner; // the class of a CS_CLASSDC context
};

std::vector<WindowDc*>& g_dcs = *new std::vector<WindowDc*>;
// Records of released contexts, kept with their storage so that the
// get-draw-release and paint patterns allocate nothing.
std::vector<WindowDc*>& g_spare_dcs = *new std::vector<WindowDc*>;

RECT client_box(const Window* window) {
    return {0, 0, window->client_rect.right - window->client_rect.left,
            window->client_rect.bottom - window->client_rect.top};
}

// Where the context's origin lies in its top-level window's pixels.
POINT origin_in_top(const Window* window, const Window* top, bool whole) {
    POINT origin = whole ? user_window_origin(window) : user_client_origin(window);
    POINT top_origin = user_window_origin(top);
    return {origin.x - top_origin.x, origin.y - top_origin.y};
}

// The window whose client area a child of a CS_PARENTDC class draws in: its
// parent's, so that it may paint over the parent around itself; its origin
// stays its own client area's corner. Null for every other context.
Window* clipping_parent(const Window* window, bool whole) {
    if (whole || !(window->cls->style & CS_PARENTDC) || !(window->style & WS_CHILD))
        return nullptr;
    return user_window_quiet(window->parent);
}

// Where a context may draw, in its own coordinates, before painting limits
// it: the window's visible area, or its parent's visible client area.
void visible_area(Window* window, bool whole, Window* parent, Region* seen) {
    if (parent == nullptr) {
        user_visible_rects(window, whole, &seen->rects);
        return;
    }
    seen->rects.clear();
    if (!user_is_visible(window) || window->minimized)
        return;
    // The parent's visible client area, its children not taken out even
    // when it clips them: the child draws over itself too.
    user_visible_rects(parent, true, &seen->rects);
    POINT mine = user_client_origin(window), corner = user_window_origin(parent);
    region_offset(seen, corner.x - mine.x, corner.y - mine.y);
    POINT client = user_client_origin(parent);
    RECT area{client.x - mine.x, client.y - mine.y,
              client.x - mine.x + parent->client_rect.right - parent->client_rect.left,
              client.y - mine.y + parent->client_rect.bottom - parent->client_rect.top};
    region_combine_into(seen, *seen, user_rect_region(area), RGN_AND);
}

bool view(void* owner, Surface* surface, std::vector<RECT>* visible) {
    auto* wdc = static_cast<WindowDc*>(owner);
    Window* window = user_window_quiet(wdc->window);
    Window* top = user_top_level_of(window);
    if (top == nullptr || top->pixels.empty())
        return false;
    POINT at = origin_in_top(window, top, wdc->whole);
    Window* parent = clipping_parent(window, wdc->whole);
    thread_local Region seen, limit;
    visible_area(window, wdc->whole, parent, &seen);
    limit = user_rect_region({-at.x, -at.y, top->pixel_width - at.x, top->pixel_height - at.y});
    // Painting is limited to the update region, except over the parent:
    // there the whole of the parent's client area stays open, as on Windows.
    if (wdc->painting && parent == nullptr)
        region_combine_into(&limit, limit, wdc->paint_region, RGN_AND);
    region_combine_into(&seen, seen, limit, RGN_AND);
    visible->assign(seen.rects.begin(), seen.rects.end());
    // The view starts at the context's origin; only the visible rectangles,
    // which lie inside the pixels, are ever touched.
    surface->bits = top->pixels.data() + (ptrdiff_t)at.y * top->pixel_width + at.x;
    surface->width = top->pixel_width - at.x;
    surface->height = top->pixel_height - at.y;
    surface->stride = top->pixel_width;
    surface->left = parent != nullptr ? -at.x : 0;
    surface->top = parent != nullptr ? -at.y : 0;
    return true;
}

bool no_pixels(void*, Surface*, std::vector<RECT>*) {
    return false;
}

void drawn(void* owner, const RECT& rect) {
    auto* wdc = static_cast<WindowDc*>(owner);
    Window* window = user_window_quiet(wdc->window);
    Window* top = user_top_level_of(window);
    if (top == nullptr)
        return;
    POINT at = origin_in_top(window, top, wdc->whole);
    user_mark_dirty(top,
                    {rect.left + at.x, rect.top + at.y, rect.right + at.x, rect.bottom + at.y});
}

WindowDc* new_window_dc() {
    if (g_spare_dcs.empty())
        return new WindowDc{};
    WindowDc* wdc = g_spare_dcs.back();
    g_spare_dcs.pop_back();
    return wdc;
}

HDC make_dc(HWND window, bool whole, bool painting, const Region& region) {
    WindowDc* wdc = new_window_dc();
    wdc->window = window;
    wdc->whole = whole;
    wdc->painting = painting;
    wdc->paint_region.rects.assign(region.rects.begin(), region.rects.end());
    wdc->kept = false;
    wdc->class_owner = nullptr;
    WindowSurfaceSource source{wdc, window != nullptr ? view : no_pixels, drawn, window == nullptr};
    wdc->dc = gdi_create_window_dc(source);
    g_dcs.push_back(wdc);
    return wdc->dc;
}

WindowDc* find_dc(HDC dc) {
    for (WindowDc* wdc : g_dcs) {
        if (wdc->dc == dc)
            return wdc;
    }
    return nullptr;
}

void release_dc(WindowDc* wdc) {
    DeleteDC(wdc->dc);
    g_dcs.erase(std::remove(g_dcs.begin(), g_dcs.end(), wdc), g_dcs.end());
    g_spare_dcs.push_back(wdc);
}

bool keeps_dc(const Window* window) {
    return window->cls->style & (CS_OWNDC | CS_CLASSDC);
}

// The window's private or class context, made when first asked for (again
// if the program deleted it), and bound to the window asking.
WindowDc* kept_dc(Window* window) {
    const WindowClass* owner = (window->cls->style & CS_OWNDC) ? nullptr : window->cls;
    for (WindowDc* wdc : g_dcs) {
        if (!wdc->kept || wdc->class_owner != owner || (!owner && wdc->window != window->handle))
            continue;
        if (GetObjectType(wdc->dc) != 0) {
            wdc->window = window->handle;
            return wdc;
        }
        release_dc(wdc); // the program deleted it
        break;
    }
    make_dc(window->handle, false, false, {});
    WindowDc* wdc = g_dcs.back();
    wdc->kept = true;
    wdc->class_owner = owner;
    return wdc;
}

void send_frame_paint(Window* window) {
    window->frame_invalid = false;
    if (!window->frame_pending)
        return;
    window->frame_pending = false;
    user_send(window->handle, WM_NCPAINT, 1, 0);
}

// Erases the update region now, as BeginPaint would; returns what the
// window procedure answered (nonzero: erased).
LRESULT erase_now(Window* window) {
    window->erase_pending = false;
    HDC dc = make_dc(window->handle, false, true, window->update);
    LRESULT erased = user_send(window->handle, WM_ERASEBKGND, (WPARAM)dc, 0);
    if (WindowDc* wdc = find_dc(dc))
        release_dc(wdc);
    return erased;
}

} // namespace

void user_invalidate(Window* window, const RECT* rect, bool erase, bool children) {
    if (!user_is_visible(window))
        return;
    RECT box = client_box(window);
    RECT area = rect != nullptr
                    ? rect_intersection(
                          rect_normalised(rect->left, rect->top, rect->right, rect->bottom), box)
                    : box;
    if (!rect_is_empty(area)) {
        region_combine_into(&window->update, window->update, user_rect_region(area), RGN_OR);
        window->erase_pending = window->erase_pending || erase;
        user_note_queue_changed();
    }
    if (!children || (window->style & WS_CLIPCHILDREN))
        return;
    for (HWND handle : window->children) {
        Window* child = user_window_quiet(handle);
        if (child == nullptr)
            continue;
        RECT part = area;
        part.left -= child->client_rect.left;
        part.right -= child->client_rect.left;
        part.top -= child->client_rect.top;
        part.bottom -= child->client_rect.top;
        user_invalidate(child, &part, erase, true);
    }
}

namespace {

bool needs_paint(const Window* window) {
    return user_is_visible(window) &&
           (!window->update.rects.empty() || window->internal_paint || window->frame_invalid);
}

// A window whose WM_PAINT is being handled is not offered again until the
// handler returns, so that a handler that looks at the queue does not get
// its own message back.
HWND first_to_paint(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || !(window->style & WS_VISIBLE))
        return nullptr;
    if (needs_paint(window) && window->painting_depth == 0)
        return handle;
    for (HWND child : window->children) {
        if (HWND found = first_to_paint(child))
            return found;
    }
    return nullptr;
}

} // namespace

HWND user_find_window_to_paint() {
    for (HWND top : user_top_windows()) {
        if (HWND found = first_to_paint(top))
            return found;
    }
    return nullptr;
}

// After a size change: everything when the class redraws on size, else the
// part of the client area that is new.
void user_window_resized(Window* window, const RECT& old_client) {
    window->frame_pending = true;
    user_note_queue_changed();
    RECT box = client_box(window);
    LONG old_w = old_client.right - old_client.left, old_h = old_client.bottom - old_client.top;
    bool wider = box.right != old_w, taller = box.bottom != old_h;
    UINT style = window->cls->style;
    if ((wider && (style & CS_HREDRAW)) || (taller && (style & CS_VREDRAW))) {
        user_invalidate(window, nullptr, true, true);
        return;
    }
    Region fresh =
        region_combine(region_from_rect(box), region_from_rect({0, 0, old_w, old_h}), RGN_DIFF);
    for (const RECT& r : fresh.rects)
        user_invalidate(window, &r, true, true);
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        for (HWND top : user_top_windows())
            InvalidateRect(top, nullptr, erase);
        return TRUE;
    }
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    user_invalidate(window, rect, erase != FALSE, true);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND handle, const RECT* rect) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    if (rect == nullptr) {
        window->update.rects.clear();
        window->internal_paint = false;
    } else {
        RECT r = rect_normalised(rect->left, rect->top, rect->right, rect->bottom);
        region_combine_into(&window->update, window->update, user_rect_region(r), RGN_DIFF);
    }
    if (window->update.rects.empty())
        window->erase_pending = false;
    return TRUE;
}

// A region in client coordinates joins the update region as its rectangles
// would one by one; no region means the whole client area.
BOOL WINAPI InvalidateRgn(HWND handle, HRGN region, BOOL erase) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    if (region == nullptr) {
        user_invalidate(window, nullptr, erase != FALSE, true);
        return TRUE;
    }
    const Region* area = gdi_region(region);
    if (area == nullptr)
        return FALSE;
    for (const RECT& r : area->rects)
        user_invalidate(window, &r, erase != FALSE, true);
    return TRUE;
}

namespace {

// GetUpdateRect and GetUpdateRgn asked to erase: the frame, then the
// background of a pending erase, before they report. Null when the window
// went away on the way.
Window* erase_before_report(HWND handle, Window* window) {
    send_frame_paint(window);
    if ((window = user_window_quiet(handle)) == nullptr)
        return nullptr;
    if (!window->erase_pending || window->update.rects.empty())
        return window;
    erase_now(window);
    return user_window_quiet(handle);
}

} // namespace

void user_finish_paint_dispatch(HWND handle) {
    if (Window* window = user_window_quiet(handle))
        erase_before_report(handle, window);
}

BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL erase) {
    Window* window = user_window(handle);
    if (window != nullptr && erase)
        window = erase_before_report(handle, window);
    if (window == nullptr)
        return FALSE;
    RECT box = region_box(window->update);
    if (rect != nullptr)
        *rect = box;
    // An invalid frame counts as something to update, though it lies
    // outside the client area the rectangle describes.
    return !rect_is_empty(box) || window->frame_invalid;
}

// Copies the update region, in client coordinates, into `region`.
int WINAPI GetUpdateRgn(HWND handle, HRGN region, BOOL erase) {
    Window* window = user_window(handle);
    if (window == nullptr || gdi_region(region) == nullptr)
        return ERROR;
    if (erase)
        window = erase_before_report(handle, window);
    // The window procedure may have deleted the region while erasing.
    Region* copy = gdi_region(region);
    if (window == nullptr || copy == nullptr)
        return ERROR;
    *copy = window->update;
    return region_type(*copy);
}

namespace {

// RedrawWindow's area: the rectangle, else the region's rectangles (which
// may lie partly or wholly on the frame), else the whole client area.
void invalidate_area(Window* window, const RECT* rect, HRGN region, bool erase, bool children) {
    const Region* area = rect == nullptr && region != nullptr ? gdi_region(region) : nullptr;
    if (area == nullptr) {
        user_invalidate(window, rect, erase, children);
        return;
    }
    for (const RECT& r : area->rects)
        user_invalidate(window, &r, erase, children);
}

} // namespace

BOOL WINAPI RedrawWindow(HWND handle, const RECT* rect, HRGN region, UINT flags) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    bool children = !(flags & RDW_NOCHILDREN);
    if (flags & RDW_INVALIDATE)
        invalidate_area(window, rect, region, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_FRAME)
        window->frame_pending = true;
    if ((flags & (RDW_FRAME | RDW_INVALIDATE)) == (RDW_FRAME | RDW_INVALIDATE) &&
        user_is_visible(window)) {
        window->frame_invalid = true;
        user_note_queue_changed();
    }
    if ((flags & (RDW_FRAME | RDW_VALIDATE)) == (RDW_FRAME | RDW_VALIDATE))
        window->frame_pending = window->frame_invalid = false;
    if (flags & RDW_INTERNALPAINT)
        window->internal_paint = true;
    const Region* area = rect == nullptr && region != nullptr ? gdi_region(region) : nullptr;
    if ((flags & RDW_VALIDATE) && area != nullptr) {
        for (const RECT& r : Region(*area).rects)
            ValidateRect(handle, &r);
    } else if (flags & RDW_VALIDATE) {
        ValidateRect(handle, rect);
    }
    if (flags & (RDW_ERASENOW | RDW_UPDATENOW)) {
        send_frame_paint(window);
        if ((window = user_window_quiet(handle)) != nullptr && window->erase_pending &&
            !window->update.rects.empty())
            erase_now(window);
    }
    if ((flags & RDW_UPDATENOW) && (window = user_window_quiet(handle)) != nullptr)
        UpdateWindow(handle);
    return TRUE;
}

// Sends WM_PAINT now to the window and then to its children that need it.
BOOL WINAPI UpdateWindow(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return FALSE;
    if (needs_paint(window))
        user_send(handle, WM_PAINT, 0, 0);
    if ((window = user_window_quiet(handle)) == nullptr)
        return TRUE;
    std::vector<HWND> children = window->children;
    for (HWND child : children) {
        if (IsWindow(child))
            UpdateWindow(child);
    }
    return TRUE;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = user_window(handle);
    if (window == nullptr || paint == nullptr)
        return nullptr;
    send_frame_paint(window);
    if ((window = user_window_quiet(handle)) == nullptr)
        return nullptr;
    bool erase = window->erase_pending;
    *paint = {};
    if (keeps_dc(window)) {
        WindowDc* wdc = kept_dc(window);
        wdc->painting = true;
        wdc->paint_region.rects.assign(window->update.rects.begin(), window->update.rects.end());
        paint->hdc = wdc->dc;
    } else {
        paint->hdc = make_dc(handle, false, true, window->update);
    }
    paint->rcPaint = region_box(window->update);
    // Emptied, not freed: the next invalidation reuses the storage.
    window->update.rects.clear();
    window->internal_paint = false;
    window->erase_pending = false;
    if (erase)
        paint->fErase = user_send(handle, WM_ERASEBKGND, (WPARAM)paint->hdc, 0) == 0;
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint == nullptr)
        return FALSE;
    WindowDc* wdc = find_dc(paint->hdc);
    if (wdc != nullptr && wdc->kept)
        wdc->painting = false;
    else if (wdc != nullptr)
        release_dc(wdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND handle) {
    Window* window = nullptr;
    if (handle != nullptr && (window = user_window(handle)) == nullptr)
        return nullptr;
    if (window != nullptr && keeps_dc(window)) {
        WindowDc* wdc = kept_dc(window);
        wdc->painting = false;
        return wdc->dc;
    }
    return make_dc(handle, false, false, {});
}

HDC WINAPI GetWindowDC(HWND handle) {
    if (handle != nullptr && user_window(handle) == nullptr)
        return nullptr;
    return make_dc(handle, true, false, {});
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    WindowDc* wdc = find_dc(dc);
    if (wdc == nullptr)
        return 0;
    if (!wdc->kept)
        release_dc(wdc);
    return 1;
}

void user_window_dcs_gone(Window* window) {
    bool last_of_class = window->cls->window_count <= 1;
    for (size_t i = g_dcs.size(); i-- > 0;) {
        WindowDc* wdc = g_dcs[i];
        bool own = wdc->kept && !wdc->class_owner && wdc->window == window->handle;
        bool class_dc = wdc->kept && wdc->class_owner == window->cls && last_of_class;
        if (own || class_dc)
            release_dc(wdc);
    }
}

HWND WINAPI WindowFromDC(HDC dc) {
    WindowDc* wdc = find_dc(dc);
    return wdc != nullptr ? wdc->window : nullptr;
}

// Fills with a brush, or a system colour index plus one.
int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr)
        return 0;
    HGDIOBJ old = SelectObject(dc, user_class_brush(brush));
    if (old == nullptr)
        return 0;
    PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, PATCOPY);
    SelectObject(dc, old);
    return 1;
}
