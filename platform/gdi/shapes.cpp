// Lines, rectangles, ellipses and pattern fills through a context: its pen,
// brush and mix mode, into its surface, within its clip, into its bounds.
#include "platform/gdi/gdi_private.h"
#include "platform/gdi/raster.h"

#include <vector>

namespace {

PenSpec pen_of(const DeviceContext& context) {
    GdiEntry* pen = gdi_entry(context.state.pen, OBJ_PEN);
    if (pen == nullptr || pen->pen.lopnStyle == PS_NULL)
        return {false, 0, 0};
    if (pen->pen.lopnStyle != PS_SOLID && pen->pen.lopnStyle != PS_INSIDEFRAME) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            OutputDebugStringA("gdi: dashed and dotted pens are drawn solid\n");
        }
    }
    return {true, pen->pen.lopnWidth.x, gdi_pixel(context, pen->pen.lopnColor)};
}

BrushSpec brush_of(const DeviceContext& context) {
    GdiEntry* brush = gdi_entry(context.state.brush, OBJ_BRUSH);
    if (brush == nullptr || brush->brush.lbStyle == BS_NULL)
        return {false, 0};
    return {true, gdi_pixel(context, brush->brush.lbColor)};
}

RECT inflated(RECT box, int32_t margin) {
    return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

// `draw(surface, clip, corners, pen, brush, rop2)` draws the shape in device
// coordinates.
template <typename ShapeDrawer>
BOOL draw_shape(HDC dc, int left, int top, int right, int bottom, ShapeDrawer draw) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface))
        return FALSE;
    const DeviceContext& context = *target.context;
    Clip clip = target.clip();
    PenSpec pen = pen_of(context);
    RECT corners = gdi_rect_to_device(context.state, {left, top, right, bottom});
    draw(&surface, &clip, corners, pen, brush_of(context), context.state.rop2);
    RECT box = rect_normalised(corners.left, corners.top, corners.right, corners.bottom);
    if (!rect_is_empty(box))
        target.add_bounds(inflated(box, pen.visible ? gdi_pen_margin(pen.width) : 0));
    return TRUE;
}

// The mix mode that paints a pattern blit's brush, or 0 for one that needs
// a source.
int pattern_mix(DWORD rop) {
    switch (rop) {
    case PATCOPY:
        return R2_COPYPEN;
    case PATINVERT:
        return R2_XORPEN;
    case DSTINVERT:
        return R2_NOT;
    case BLACKNESS:
        return R2_BLACK;
    case WHITENESS:
        return R2_WHITE;
    }
    return 0;
}

// A blit's rectangle: a negative width or height extends it the other way
// from the pixel after the given corner, as Windows does.
RECT blit_rect(int x, int y, int width, int height) {
    RECT box{x, y, x + width, y + height};
    if (width < 0)
        box = {x + width + 1, box.top, x + 1, box.bottom};
    if (height < 0)
        box = {box.left, y + height + 1, box.right, y + 1};
    return box;
}

} // namespace

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface))
        return FALSE;
    DcState& state = target.context->state;
    PenSpec pen = pen_of(*target.context);
    Clip clip = target.clip();
    if (pen.visible) {
        POINT from = gdi_to_device(state, state.position.x, state.position.y);
        POINT to = gdi_to_device(state, x, y);
        raster_wide_line(&surface, &clip, from, to, pen.width, pen.pixel, state.rop2, nullptr);
        // The bounds of a line take in its end point, which is not drawn.
        RECT box = rect_normalised(from.x, from.y, to.x, to.y);
        box.right += 1;
        box.bottom += 1;
        target.add_bounds(inflated(box, gdi_pen_margin(pen.width)));
    }
    state.position = {x, y};
    return TRUE;
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return draw_shape(dc, left, top, right, bottom,
                      [](Surface* s, const Clip* c, RECT r, const PenSpec& p, const BrushSpec& b,
                         int rop2) { raster_rectangle(s, c, r, p, b, rop2, nullptr); });
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return draw_shape(dc, left, top, right, bottom,
                      [](Surface* s, const Clip* c, RECT r, const PenSpec& p, const BrushSpec& b,
                         int rop2) { raster_ellipse(s, c, r, p, b, rop2, nullptr); });
}

BOOL WINAPI RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    return draw_shape(
        dc, left, top, right, bottom,
        [=](Surface* s, const Clip* c, RECT r, const PenSpec& p, const BrushSpec& b, int rop2) {
            raster_round_rect(s, c, r, width, height, p, b, rop2, nullptr);
        });
}

namespace {

// A path's points in device coordinates, in storage reused from call to call.
const std::vector<POINT>& device_points(const DcState& state, const POINT* points, int count) {
    thread_local std::vector<POINT> device;
    device.resize((size_t)count);
    for (int i = 0; i < count; ++i)
        device[(size_t)i] = gdi_to_device(state, points[i].x, points[i].y);
    return device;
}

// The bounds of a path: every point, each as a pixel, widened by the pen.
RECT path_bounds(const std::vector<POINT>& points, const PenSpec& pen) {
    RECT box = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const POINT& p : points)
        box = rect_union(box, {p.x, p.y, p.x + 1, p.y + 1});
    return inflated(box, pen.visible ? gdi_pen_margin(pen.width) : 0);
}

bool valid_path(const POINT* points, int count) {
    if (points == nullptr || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

} // namespace

// Unlike LineTo, Polyline leaves the current position where it was.
BOOL WINAPI Polyline(HDC dc, const POINT* points, int count) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface) || !valid_path(points, count))
        return FALSE;
    const DeviceContext& context = *target.context;
    PenSpec pen = pen_of(context);
    if (!pen.visible)
        return TRUE;
    const std::vector<POINT>& path = device_points(context.state, points, count);
    Clip clip = target.clip();
    raster_polyline(&surface, &clip, path.data(), count, pen.width, pen.pixel, context.state.rop2,
                    nullptr);
    target.add_bounds(path_bounds(path, pen));
    return TRUE;
}

BOOL WINAPI Polygon(HDC dc, const POINT* points, int count) {
    DrawTarget target;
    Surface surface;
    if (!gdi_draw_target(dc, &target, &surface) || !valid_path(points, count))
        return FALSE;
    const DeviceContext& context = *target.context;
    PenSpec pen = pen_of(context);
    const std::vector<POINT>& path = device_points(context.state, points, count);
    Clip clip = target.clip();
    raster_polygon(&surface, &clip, path.data(), count, context.state.poly_fill_mode == WINDING,
                   pen, brush_of(context), context.state.rop2, nullptr);
    target.add_bounds(path_bounds(path, pen));
    return TRUE;
}

BOOL gdi_pattern_blit(HDC dc, int x, int y, int width, int height, DWORD rop) {
    int mix = pattern_mix(rop);
    DrawTarget target;
    Surface surface;
    if (mix == 0 || !gdi_draw_target(dc, &target, &surface))
        return FALSE;
    BrushSpec brush = brush_of(*target.context);
    bool needs_brush = rop == PATCOPY || rop == PATINVERT;
    if (needs_brush && !brush.visible)
        return TRUE;
    Clip clip = target.clip();
    POINT at = gdi_to_device(target.context->state, x, y);
    RECT box = blit_rect(at.x, at.y, width, height);
    raster_fill_rect(&surface, &clip, box, brush.pixel, mix, nullptr);
    target.add_bounds(box);
    return TRUE;
}

BOOL WINAPI PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    return gdi_pattern_blit(dc, x, y, width, height, rop);
}
