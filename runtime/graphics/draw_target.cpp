// Installing a window's drawing state in a fresh context, reading it back,
// and pushing what was drawn to the screen.
#include "runtime/graphics/draw_target.h"
#include "runtime/core/rounding.h"

namespace {

// Rounds through a 32-bit float in memory, so that the result is the same
// where the compiler would otherwise keep excess precision (x87).
float to_float(double value) {
    volatile float stored = (float)value;
    return stored;
}

// The window's state, installed in a context that has just been saved.
void install_state(WindowRecord* record, HDC dc) {
    if (record->backingMode != 0)
        SelectObject(dc, record->backBitmap);
    MoveToEx(dc, record->curPos.x, record->curPos.y, nullptr);
    SelectObject(dc, record->font);
    SelectObject(dc, record->pen);
    LOGPEN pen{};
    GetObjectA(record->pen, sizeof pen, &pen);
    SetTextColor(dc, pen.lopnColor);
    SetTextAlign(dc, TA_UPDATECP);
    SetBkMode(dc, record->bkMode);
    SetBkColor(dc, record->bkColor);
    SetROP2(dc, record->drawMode);
}

// What the context holds at release, read before RestoreDC deselects it.
struct ReadBack {
    bool has_pen = false;
    LOGPEN pen{};
    bool has_font = false;
    LOGFONTA font{};
};

ReadBack read_state_back(WindowRecord* record, HDC dc) {
    GetCurrentPositionEx(dc, &record->curPos);
    record->bkMode = GetBkMode(dc);
    record->bkColor = GetBkColor(dc);
    record->drawMode = GetROP2(dc);
    ReadBack state;
    if (HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN))
        state.has_pen = GetObjectA(pen, sizeof state.pen, &state.pen) != 0;
    if (HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT))
        state.has_font = GetObjectA(font, sizeof state.font, &state.font) != 0;
    return state;
}

// Invalidates what the operation touched, in client coordinates.
void invalidate_touched(WindowRecord* record, HDC dc) {
    RECT bounds{};
    if ((GetBoundsRect(dc, &bounds, DCB_RESET) & DCB_SET) != DCB_SET)
        return;
    if (record->backingMode & BACKING_STRETCH) {
        int32_t left, top, cw, ch, bw, bh;
        getClientSize(record, &left, &top, &cw, &ch);
        getBackBitmapSize(record->backBitmap, &bw, &bh);
        bounds = mapBitmapToClient(bounds, bw, bh, cw, ch);
    }
    InvalidateRect(record->hwnd, &bounds, FALSE);
}

// The context's pen and font become the record's.
void replace_pen_and_font(WindowRecord* record, const ReadBack& state) {
    if (state.has_pen) {
        DeleteObject(record->pen);
        record->pen = CreatePenIndirect(&state.pen);
    }
    if (state.has_font) {
        DeleteObject(record->font);
        record->font = CreateFontIndirectA(&state.font);
    }
}

} // namespace

HDC acquireDrawTarget(WindowRecord* record) {
    if (record->hwnd == nullptr)
        return nullptr;
    if (record->paintDC != nullptr)
        return record->paintDC;
    if (record->drawNesting != 0 && record->drawDC != nullptr) {
        ++record->drawNesting;
        return record->drawDC;
    }
    HDC window_dc = GetDC(record->hwnd);
    HDC dc = record->backingMode != 0 ? CreateCompatibleDC(window_dc) : window_dc;
    SaveDC(dc);
    install_state(record, dc);
    // A memory context lives on without the window's context.
    if (record->backingMode != 0)
        ReleaseDC(record->hwnd, window_dc);
    record->drawDC = dc;
    record->drawNesting = 1;
    SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    return dc;
}

int32_t releaseDrawTarget(WindowRecord* record, HDC dc, int32_t flush) {
    if (record->hwnd == nullptr || record->paintDC != nullptr)
        return 0;
    if (record->drawNesting != 0)
        --record->drawNesting;
    if (record->drawNesting != 0) {
        // The outer operation still holds the context: show everything now,
        // the repaint copies what has been drawn so far.
        if (record->backingMode != 0 && flush) {
            InvalidateRect(record->hwnd, nullptr, FALSE);
            UpdateWindow(record->hwnd);
        }
        return 0;
    }
    record->drawDC = nullptr;
    if (dc == nullptr)
        return 0;
    ReadBack state = read_state_back(record, dc);
    if (record->backingMode != 0 && flush)
        invalidate_touched(record, dc);
    RestoreDC(dc, -1);
    replace_pen_and_font(record, state);
    if (record->backingMode != 0)
        DeleteDC(dc);
    else
        ReleaseDC(record->hwnd, dc);
    if (record->backingMode != 0 && flush)
        UpdateWindow(record->hwnd);
    return 0;
}

int32_t getBackBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height) {
    *width = 0;
    *height = 0;
    BITMAP description{};
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof description, &description) != 0) {
        *width = description.bmWidth;
        *height = description.bmHeight;
    }
    return 0;
}

int32_t getClientSize(WindowRecord* record, int32_t* left, int32_t* top, int32_t* width,
                      int32_t* height) {
    *left = 0;
    *top = 0;
    *width = 0;
    *height = 0;
    RECT client{};
    if (record->hwnd != nullptr && GetClientRect(record->hwnd, &client)) {
        *width = client.right - client.left;
        *height = client.bottom - client.top;
    }
    return 0;
}

RECT mapBitmapToClient(RECT bounds, int32_t bw, int32_t bh, int32_t cw, int32_t ch) {
    // A bitmap without size has no scale: dividing by it would give
    // infinities that no integer holds.
    if ((cw == bw && ch == bh) || bw <= 0 || bh <= 0)
        return bounds;
    double w = (double)bounds.right - bounds.left + 1;
    double h = (double)bounds.bottom - bounds.top + 1;
    float sx = to_float((double)cw / bw);
    float sy = to_float((double)ch / bh);
    RECT mapped;
    mapped.left = roundHalfEven(to_float((double)sx * bounds.left));
    mapped.top = roundHalfEven(to_float((double)sy * bounds.top));
    mapped.right = roundHalfEven(to_float(mapped.left + (double)to_float((double)sx * w)));
    mapped.bottom = roundHalfEven(to_float(mapped.top + (double)to_float((double)sy * h)));
    mapped.left -= 1;
    mapped.top -= 1;
    return mapped;
}
