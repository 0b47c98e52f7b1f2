// The simple attributes of a device context, and its mapping: each setter returns the
// previous value, or the call's failure value for a bad context or value.
#include "platform/gdi/gdi_private.h"

#include <algorithm>

namespace {

// Replaces one attribute when `valid`, returning the old value or `failure`.
template <typename T, typename Field>
T exchange(HDC dc, Field field, T value, bool valid, T failure) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return failure;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return failure;
    }
    T previous = context->state.*field;
    context->state.*field = value;
    return previous;
}

template <typename T, typename Field> T read(HDC dc, Field field, T failure) {
    DeviceContext* context = gdi_dc(dc);
    return context != nullptr ? context->state.*field : failure;
}

// The point attributes answer the old point through a pointer, which may
// be null when setting.
BOOL exchange_point(HDC dc, POINT DcState::*field, int x, int y, LPPOINT previous) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return FALSE;
    if (previous != nullptr)
        *previous = context->state.*field;
    context->state.*field = {x, y};
    return TRUE;
}

BOOL read_point(HDC dc, POINT DcState::*field, LPPOINT point) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr || point == nullptr)
        return FALSE;
    *point = context->state.*field;
    return TRUE;
}

} // namespace

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    return exchange<COLORREF>(dc, &DcState::text_color, color, true, CLR_INVALID);
}
COLORREF WINAPI GetTextColor(HDC dc) {
    return read<COLORREF>(dc, &DcState::text_color, CLR_INVALID);
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    return exchange<COLORREF>(dc, &DcState::bk_color, color, true, CLR_INVALID);
}
COLORREF WINAPI GetBkColor(HDC dc) {
    return read<COLORREF>(dc, &DcState::bk_color, CLR_INVALID);
}

int WINAPI SetBkMode(HDC dc, int mode) {
    return exchange<int>(dc, &DcState::bk_mode, mode, mode == TRANSPARENT || mode == OPAQUE, 0);
}
int WINAPI GetBkMode(HDC dc) {
    return read<int>(dc, &DcState::bk_mode, 0);
}

int WINAPI SetROP2(HDC dc, int mode) {
    return exchange<int>(dc, &DcState::rop2, mode, mode >= R2_BLACK && mode <= R2_WHITE, 0);
}
int WINAPI GetROP2(HDC dc) {
    return read<int>(dc, &DcState::rop2, 0);
}

int WINAPI SetStretchBltMode(HDC dc, int mode) {
    bool valid = mode >= BLACKONWHITE && mode <= HALFTONE;
    return exchange<int>(dc, &DcState::stretch_mode, mode, valid, 0);
}
int WINAPI GetStretchBltMode(HDC dc) {
    return read<int>(dc, &DcState::stretch_mode, 0);
}

UINT WINAPI SetTextAlign(HDC dc, UINT align) {
    return exchange<UINT>(dc, &DcState::text_align, align, true, (UINT)GDI_ERROR);
}
UINT WINAPI GetTextAlign(HDC dc) {
    return read<UINT>(dc, &DcState::text_align, (UINT)GDI_ERROR);
}

int WINAPI SetPolyFillMode(HDC dc, int mode) {
    return exchange(dc, &DcState::poly_fill_mode, mode, mode == ALTERNATE || mode == WINDING, 0);
}
int WINAPI GetPolyFillMode(HDC dc) {
    return read(dc, &DcState::poly_fill_mode, 0);
}

// Every context maps logical units one to one onto device pixels.
int WINAPI GetMapMode(HDC dc) {
    return gdi_dc(dc) != nullptr ? MM_TEXT : 0;
}

namespace {

LONG moved(int value, LONG by) {
    return (LONG)std::clamp<int64_t>((int64_t)value + by, INT32_MIN, INT32_MAX);
}

} // namespace

POINT gdi_to_device(const DcState& state, int x, int y) {
    return {moved(x, state.viewport_origin.x), moved(y, state.viewport_origin.y)};
}

RECT gdi_rect_to_device(const DcState& state, const RECT& rect) {
    POINT from = gdi_to_device(state, rect.left, rect.top);
    POINT to = gdi_to_device(state, rect.right, rect.bottom);
    return {from.x, from.y, to.x, to.y};
}

RECT gdi_rect_to_logical(const DcState& state, const RECT& rect) {
    const POINT& o = state.viewport_origin;
    return {moved(rect.left, -o.x), moved(rect.top, -o.y), moved(rect.right, -o.x),
            moved(rect.bottom, -o.y)};
}

BOOL WINAPI SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return exchange_point(dc, &DcState::viewport_origin, x, y, previous);
}
BOOL WINAPI GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return read_point(dc, &DcState::viewport_origin, origin);
}

// The current position is logical, as the viewport origin leaves it.
BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    return exchange_point(dc, &DcState::position, x, y, previous);
}
BOOL WINAPI GetCurrentPositionEx(HDC dc, LPPOINT position) {
    return read_point(dc, &DcState::position, position);
}

// The brush origin is in device coordinates.
BOOL WINAPI SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return exchange_point(dc, &DcState::brush_origin, x, y, previous);
}
BOOL WINAPI GetBrushOrgEx(HDC dc, LPPOINT origin) {
    return read_point(dc, &DcState::brush_origin, origin);
}
