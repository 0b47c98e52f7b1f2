// Shapes draw with a pen and brush of their own for the one call, so the
// window's pen, its foreground colour, is never changed by them.
#include "runtime/graphics/shapes.h"

#include "runtime/graphics/draw_target.h"

namespace {

typedef BOOL(WINAPI* FigureProc)(HDC dc, int left, int top, int right, int bottom);

HPEN make_pen(const WindowRecord* record, COLORREF colour) {
    return CreatePen(record->penStyle, record->penWidth, colour);
}

// A figure in the pen's colour with nothing inside.
void draw_hollow(WindowRecord* record, HDC dc, FigureProc figure, const RECT& box,
                 COLORREF colour) {
    HPEN pen = make_pen(record, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    figure(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void draw_filled(WindowRecord* record, HDC dc, FigureProc figure, const RECT& box, COLORREF colour,
                 COLORREF fill) {
    HPEN pen = make_pen(record, colour);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ previous_pen = SelectObject(dc, pen);
    HGDIOBJ previous_brush = SelectObject(dc, brush);
    figure(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, previous_pen);
    SelectObject(dc, previous_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

int32_t draw_figure(WindowRecord* record, FigureProc figure, int32_t left, int32_t top,
                    int32_t width, int32_t height, uint32_t colour, uint32_t fill) {
    if (record->hwnd == nullptr)
        return 0;
    HDC dc = acquireDrawTarget(record);
    RECT box{left, top, left + width, top + height};
    if (colour == COLOR_DEFAULT)
        draw_hollow(record, dc, figure, box, GetTextColor(dc));
    else if (fill == COLOR_DEFAULT)
        draw_hollow(record, dc, figure, box, colour);
    else
        draw_filled(record, dc, figure, box, colour, fill);
    releaseDrawTarget(record, dc, 1);
    return 0;
}

} // namespace

uint32_t colorRGB(int32_t red, int32_t green, int32_t blue) {
    return ((uint32_t)blue << 16) | ((uint32_t)green << 8) | (uint32_t)red;
}

int32_t setWindowColor(WindowRecord* record, uint32_t colour) {
    if (record->hwnd == nullptr)
        return 0;
    record->windowColor = colour;
    if (record->backingMode != 0) {
        drawRect(record, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), colour,
                 colour);
    } else {
        InvalidateRect(record->hwnd, nullptr, TRUE);
    }
    return 0;
}

int32_t drawRect(WindowRecord* record, int32_t left, int32_t top, int32_t width, int32_t height,
                 uint32_t colour, uint32_t fill) {
    return draw_figure(record, Rectangle, left, top, width, height, colour, fill);
}

int32_t drawEllipse(WindowRecord* record, int32_t left, int32_t top, int32_t width, int32_t height,
                    uint32_t colour, uint32_t fill) {
    return draw_figure(record, Ellipse, left, top, width, height, colour, fill);
}

int32_t lineToPoint(WindowRecord* record, int32_t x, int32_t y, uint32_t colour) {
    if (record->hwnd == nullptr)
        return 0;
    HDC dc = acquireDrawTarget(record);
    COLORREF line_colour = colour == COLOR_DEFAULT ? GetTextColor(dc) : colour;
    HPEN pen = make_pen(record, line_colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    LineTo(dc, x, y);
    SelectObject(dc, previous);
    DeleteObject(pen);
    releaseDrawTarget(record, dc, 1);
    return 0;
}

int32_t moveToPoint(WindowRecord* record, int32_t x, int32_t y) {
    if (record->hwnd == nullptr)
        return 0;
    HDC dc = acquireDrawTarget(record);
    MoveToEx(dc, x, y, nullptr);
    releaseDrawTarget(record, dc, 1);
    return 0;
}

int32_t drawLine(WindowRecord* record, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                 uint32_t colour) {
    if (record->hwnd == nullptr)
        return 0;
    moveToPoint(record, x1, y1);
    lineToPoint(record, x2, y2, colour);
    return 0;
}
