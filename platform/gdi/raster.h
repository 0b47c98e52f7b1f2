// The software rasteriser: lines, rectangles and ellipses drawn with the
// pixel rules of Win32's GDI into a Surface, limited to a Clip.
//
// Coordinates are device coordinates: the device context has already applied
// its mapping and origin. Every function mixes the shape's pixels into the
// surface with a binary raster operation (R2_BLACK .. R2_WHITE) and extends
// `touched` by the pixels it wrote after clipping. `touched` is a bounds
// rectangle that counts as empty while left >= right; it may be null.
#pragma once

#include "platform/gdi/surface.h"

#include <stdint.h>
#include <windows.h>

// Combines a pen or brush pixel `src` with the destination pixel `dst` as the
// mix mode `rop2` says. Pixels keep their top byte 0.
uint32_t mix_pixel(int rop2, uint32_t dst, uint32_t src);

// Mixes `pixel` into every pixel of `box` (right and bottom excluded).
void raster_fill_rect(Surface* surface, const Clip* clip, RECT box, uint32_t pixel, int rop2,
                      RECT* touched);

// A cosmetic solid line (pen width 0 or 1) from `from` to `to`, the end point
// excluded, choosing the same pixels as GDI in all eight octants.
void raster_line(Surface* surface, const Clip* clip, POINT from, POINT to, uint32_t pixel, int rop2,
                 RECT* touched);

// A line of a solid pen `width` pixels wide with round ends, as a PS_SOLID pen
// wider than 1 draws it. A line of no length draws the pen's round dot.
// Widths of 0 and 1 draw the cosmetic line.
void raster_wide_line(Surface* surface, const Clip* clip, POINT from, POINT to, int32_t width,
                      uint32_t pixel, int rop2, RECT* touched);

// The pen of Rectangle and Ellipse. Widths of 0 and 1 are cosmetic; wider
// pens are PS_SOLID with round joins, centred on the outline.
struct PenSpec {
    bool visible;   // false for NULL_PEN: no outline
    int32_t width;  // pen width in device pixels
    uint32_t pixel; // outline colour
};

// The brush that fills the inside of Rectangle and Ellipse.
struct BrushSpec {
    bool visible;   // false for NULL_BRUSH: no fill
    uint32_t pixel; // fill colour
};

// Rectangle(box): the box is normalised, right and bottom excluded. A box of
// no width or height draws nothing. A thin pen draws its outline on the
// box's outermost pixels; without a pen the fill leaves out the last column
// and row, as GDI does. Pen and brush share the mix mode.
void raster_rectangle(Surface* surface, const Clip* clip, RECT box, const PenSpec& pen,
                      const BrushSpec& brush, int rop2, RECT* touched);

// Ellipse(box): the ellipse inscribed in the normalised box. Boxes two pixels
// wide or high or less are drawn as rectangles, as GDI does.
void raster_ellipse(Surface* surface, const Clip* clip, RECT box, const PenSpec& pen,
                    const BrushSpec& brush, int rop2, RECT* touched);

// RoundRect(box): Rectangle with corners rounded along the quarters of an
// ellipse `corner_width` by `corner_height` pixels (signs ignored, limited to
// the box), drawn as Ellipse draws that ellipse with its quarters moved out
// to the box's corners. Corners two pixels wide or high or less leave the
// plain rectangle.
void raster_round_rect(Surface* surface, const Clip* clip, RECT box, int32_t corner_width,
                       int32_t corner_height, const PenSpec& pen, const BrushSpec& brush, int rop2,
                       RECT* touched);

// Polyline: cosmetic segments through `count` points, each leaving out its
// end point, or, for a wide pen, one path with round ends and joins whose
// every pixel is mixed once.
void raster_polyline(Surface* surface, const Clip* clip, const POINT* points, int count,
                     int32_t width, uint32_t pixel, int rop2, RECT* touched);

// Polygon: the inside filled with the brush, pixel (x, y) inside when the
// point (x, y) is, edges on the left and top counting as inside and those on
// the right and bottom not (`winding` chooses WINDING over ALTERNATE), then
// the closed outline drawn with the pen as Polyline draws it.
void raster_polygon(Surface* surface, const Clip* clip, const POINT* points, int count,
                    bool winding, const PenSpec& pen, const BrushSpec& brush, int rop2,
                    RECT* touched);
