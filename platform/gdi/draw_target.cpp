// What every drawing call starts from: a context's surface and clip.
#include "platform/gdi/gdi_private.h"
#include "platform/gdi/surface.h"

// A 1-bit section is not monochrome: its colours are its table's.
bool gdi_is_monochrome(const DeviceContext& context) {
    if (context.source.view != nullptr)
        return false;
    GdiEntry* bitmap = gdi_entry(context.state.bitmap, OBJ_BITMAP);
    return bitmap != nullptr && bitmap->bitmap->bits_per_pixel == 1 &&
           bitmap->bitmap->section == nullptr;
}

// What a drawing changed reaches a section's bits once it is done.
DrawTarget::~DrawTarget() {
    if (context == nullptr)
        return;
    context->visible.swap(rects);
    if (context->memory) {
        GdiEntry* bitmap = gdi_entry(context->state.bitmap, OBJ_BITMAP);
        if (bitmap != nullptr)
            gdi_section_written(*bitmap->bitmap);
    }
}

uint16_t gdi_depth(const DeviceContext& context) {
    if (context.source.view != nullptr)
        return 32;
    GdiEntry* bitmap = gdi_entry(context.state.bitmap, OBJ_BITMAP);
    return bitmap != nullptr ? bitmap->bitmap->bits_per_pixel : 32;
}

uint32_t gdi_pixel(const DeviceContext& context, COLORREF color) {
    uint32_t pixel = pixel_from_colorref(color & 0xFFFFFF);
    if (!gdi_is_monochrome(context))
        return pixel;
    int sum = (int)((pixel >> 16) & 0xFF) + (int)((pixel >> 8) & 0xFF) + (int)(pixel & 0xFF);
    return sum >= 3 * 128 ? 0xFFFFFF : 0;
}

bool gdi_draw_target(HDC dc, DrawTarget* target, Surface* surface) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return false;
    *surface = {};
    target->context = context;
    target->surface = surface;
    target->rects.swap(context->visible);
    gdi_visible_rects(*context, surface, &target->rects);
    return surface->bits != nullptr;
}

// Bounds are cut to where the context may draw only when something limits
// it beyond its bitmap (a clip region, or a window's visible area); a memory
// context's bounds are cut to its bitmap when they are read, so a figure
// drawn wholly outside the bitmap still counts, as on Windows.
void DrawTarget::add_bounds(const RECT& box) const {
    RECT extent{0, 0, 0, 0};
    for (const RECT& r : rects)
        extent = rect_union(extent, r);
    RECT drawn = rect_intersection(box, extent);
    bool limited = context->state.clip != nullptr || context->source.view != nullptr;
    gdi_add_bounds(context, limited ? drawn : box);
    if (context->source.drawn != nullptr && !rect_is_empty(drawn))
        context->source.drawn(context->source.owner, drawn);
}

int32_t gdi_pen_margin(int32_t width) {
    return width > 1 ? (width + 1) / 2 + 1 : 0;
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface))
        return CLR_INVALID;
    POINT at = gdi_to_device(target.context->state, x, y);
    x = at.x;
    y = at.y;
    for (const RECT& r : target.rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            uint32_t pixel = gdi_pixel(*target.context, color);
            surface.bits[(ptrdiff_t)y * surface.stride + x] = pixel;
            gdi_add_bounds(target.context, {x, y, x + 1, y + 1});
            return colorref_from_pixel(pixel);
        }
    }
    return CLR_INVALID;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface))
        return CLR_INVALID;
    POINT at = gdi_to_device(target.context->state, x, y);
    x = at.x;
    y = at.y;
    for (const RECT& r : target.rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return colorref_from_pixel(surface.bits[(ptrdiff_t)y * surface.stride + x] & 0xFFFFFF);
    }
    return CLR_INVALID;
}
