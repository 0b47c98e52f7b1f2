// A context's clip region and the bounds of what it draws.
#include "platform/gdi/gdi_private.h"
#include "platform/host/host.h"

#include <algorithm>

namespace {

// Where the context could draw without a clip region of the program's.
// The screen's context draws nowhere but clips as the whole screen.
Region visible_region(const DeviceContext& context) {
    Surface surface;
    Region base;
    if (context.source.screen) {
        RECT screen, work_area;
        host_screen(&screen, &work_area);
        return region_from_rect(screen);
    }
    if (!gdi_surface(context, &surface, &base.rects))
        return {};
    // Put the rectangles in the one banded form that region operations expect.
    return region_combine(base, Region{}, RGN_OR);
}

Region effective_region(const DeviceContext& context) {
    Region visible = visible_region(context);
    if (context.state.clip == nullptr)
        return visible;
    return region_combine(visible, *context.state.clip, RGN_AND);
}

// Replaces the clip region with `base` combined with `rect`, where `base`
// is the clip region or, without one, the whole surface.
int combine_clip(HDC dc, const RECT& logical, int mode) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return ERROR;
    RECT rect = gdi_rect_to_device(context->state, logical);
    Region base = context->state.clip != nullptr ? *context->state.clip
                  : mode == RGN_AND              ? region_from_rect(rect)
                                                 : visible_region(*context);
    Region combined = mode == RGN_AND && context->state.clip == nullptr
                          ? base
                          : region_combine(base, region_from_rect(rect), mode);
    context->state.clip = std::make_shared<const Region>(std::move(combined));
    return region_type(effective_region(*context));
}

} // namespace

bool gdi_surface(const DeviceContext& context, Surface* surface, std::vector<RECT>* base) {
    base->clear();
    if (context.source.view != nullptr)
        return context.source.view(context.source.owner, surface, base);
    GdiEntry* entry = gdi_entry(context.state.bitmap, OBJ_BITMAP);
    if (entry == nullptr || !gdi_bitmap_surface(entry->bitmap, surface))
        return false;
    base->push_back({0, 0, surface->width, surface->height});
    return true;
}

// The clip region's rectangles cut to the surface: still disjoint and in
// order, which is all that drawing needs, and no allocation once `rects`
// has grown.
// The base rectangles cut by the clip region: still disjoint and in order,
// which is all that drawing needs, and no allocation once `rects` has grown.
void gdi_visible_rects(const DeviceContext& context, Surface* surface, std::vector<RECT>* rects) {
    if (!gdi_surface(context, surface, rects) || context.state.clip == nullptr)
        return;
    size_t base_count = rects->size();
    for (size_t i = 0; i < base_count; ++i) {
        for (const RECT& r : context.state.clip->rects) {
            RECT cut = rect_intersection(r, (*rects)[i]);
            if (!rect_is_empty(cut))
                rects->push_back(cut);
        }
    }
    rects->erase(rects->begin(), rects->begin() + (ptrdiff_t)base_count);
}

void gdi_add_bounds(DeviceContext* context, const RECT& touched) {
    if (context->bounds_enabled)
        context->bounds = rect_union(context->bounds, touched);
}

int WINAPI SelectClipRgn(HDC dc, HRGN region) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return ERROR;
    if (region == nullptr) {
        context->state.clip = nullptr;
        return region_type(effective_region(*context));
    }
    GdiEntry* entry = gdi_entry(region, OBJ_REGION);
    if (entry == nullptr)
        return ERROR;
    context->state.clip = std::make_shared<const Region>(*entry->region);
    return region_type(effective_region(*context));
}

// 1 with the clip region copied into `region`, 0 without a clip region
// (the region is then neither read nor changed, so it may be null), -1 on
// failure.
int WINAPI GetClipRgn(HDC dc, HRGN region) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return -1;
    if (context->state.clip == nullptr)
        return 0;
    GdiEntry* entry = gdi_entry(region, OBJ_REGION);
    if (entry == nullptr)
        return -1;
    *entry->region = *context->state.clip;
    return 1;
}

int WINAPI GetClipBox(HDC dc, LPRECT box) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr || box == nullptr)
        return ERROR;
    Region region = effective_region(*context);
    *box = gdi_rect_to_logical(context->state, region_box(region));
    return region_type(region);
}

int WINAPI IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return combine_clip(dc, rect_normalised(left, top, right, bottom), RGN_AND);
}

int WINAPI ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return combine_clip(dc, rect_normalised(left, top, right, bottom), RGN_DIFF);
}

// The previous state: DCB_SET when the bounds hold something, else
// DCB_RESET, with DCB_ENABLE or DCB_DISABLE for accumulation.
UINT WINAPI SetBoundsRect(HDC dc, const RECT* rect, UINT flags) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return 0;
    UINT previous = (context->bounds_enabled ? DCB_ENABLE : DCB_DISABLE) |
                    (rect_is_empty(context->bounds) ? DCB_RESET : DCB_SET);
    if (flags & DCB_RESET)
        context->bounds = {0, 0, 0, 0};
    if ((flags & DCB_ACCUMULATE) && rect != nullptr) {
        RECT added = rect_normalised(rect->left, rect->top, rect->right, rect->bottom);
        added = gdi_rect_to_device(context->state, added);
        context->bounds = rect_union(context->bounds, added);
    }
    if (flags & DCB_ENABLE)
        context->bounds_enabled = true;
    if (flags & DCB_DISABLE)
        context->bounds_enabled = false;
    return previous;
}

// Non-empty bounds are cut to the surface's extent as they are read, each
// edge on its own, so bounds wholly outside read back to front, as on Windows.
UINT WINAPI GetBoundsRect(HDC dc, LPRECT rect, UINT flags) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr || rect == nullptr)
        return 0;
    bool empty = rect_is_empty(context->bounds);
    *rect = {0, 0, 0, 0};
    if (!empty) {
        Surface surface{};
        thread_local std::vector<RECT> base;
        gdi_surface(*context, &surface, &base);
        const RECT& b = context->bounds;
        *rect = {std::max(b.left, surface.left), std::max(b.top, surface.top),
                 std::min(b.right, surface.width), std::min(b.bottom, surface.height)};
        *rect = gdi_rect_to_logical(context->state, *rect);
    }
    if (flags & DCB_RESET)
        context->bounds = {0, 0, 0, 0};
    return empty ? DCB_RESET : DCB_SET;
}
