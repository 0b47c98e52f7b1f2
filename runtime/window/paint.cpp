// Erasing a window's background in its window colour, and painting it from
// its backing bitmap, one to one or scaled to the client area.
#include "runtime/core/rounding.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"

namespace {

// The record stored in a framework window; null before it is attached.
WindowRecord* attachedRecord(HWND hwnd) {
    return (WindowRecord*)GetWindowLongPtrA(hwnd, 0);
}

SIZE bitmapDimensions(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SIZE clientDimensions(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return {client.right - client.left, client.bottom - client.top};
}

bool isStretched(const WindowRecord* record, SIZE client, SIZE bitmap) {
    return (record->backingMode & BACKING_STRETCH) &&
           (client.cx != bitmap.cx || client.cy != bitmap.cy);
}

void prepareHalftone(HDC dc) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
}

struct ChildClip {
    HWND painted;
    HDC dc;
};

// Keeps the copy off every visible descendant window.
BOOL CALLBACK excludeChild(HWND child, LPARAM param) {
    const ChildClip* clip = (const ChildClip*)param;
    if (IsWindowVisible(child)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, clip->painted, (POINT*)&box, 2);
        ExcludeClipRect(clip->dc, box.left, box.top, box.right, box.bottom);
    }
    return TRUE;
}

// The usual paint: the update rectangle from the bitmap in a memory context.
void copyFromBackBitmap(const WindowRecord* record, HDC paintDC, const RECT& update) {
    HDC memory = CreateCompatibleDC(paintDC);
    HGDIOBJ replaced = SelectObject(memory, record->backBitmap);
    SIZE bitmap = bitmapDimensions(record->backBitmap);
    SIZE client = clientDimensions(record->hwnd);
    int32_t width = update.right - update.left;
    int32_t height = update.bottom - update.top;
    if (isStretched(record, client, bitmap)) {
        // An empty client area has nothing to show and no scale.
        if (client.cx > 0 && client.cy > 0) {
            double sx = (double)bitmap.cx / client.cx;
            double sy = (double)bitmap.cy / client.cy;
            prepareHalftone(paintDC);
            StretchBlt(paintDC, update.left, update.top, width, height, memory,
                       roundHalfEven(sx * update.left), roundHalfEven(sy * update.top),
                       roundHalfEven(sx * width), roundHalfEven(sy * height), SRCCOPY);
        }
    } else {
        BitBlt(paintDC, update.left, update.top, width, height, memory, update.left, update.top,
               SRCCOPY);
    }
    SelectObject(memory, replaced);
    DeleteDC(memory);
}

// A paint while a drawing operation holds the bitmap in drawDC: only what
// was drawn since the last reset of its bounds is copied.
void copyFromHeldContext(const WindowRecord* record, HDC paintDC) {
    RECT drawn{};
    UINT state = GetBoundsRect(record->drawDC, &drawn, DCB_RESET);
    if (!(state & DCB_SET) || drawn.right <= drawn.left || drawn.bottom <= drawn.top)
        return;
    SIZE bitmap = bitmapDimensions(record->backBitmap);
    SIZE client = clientDimensions(record->hwnd);
    if (isStretched(record, client, bitmap)) {
        prepareHalftone(paintDC);
        StretchBlt(paintDC, 0, 0, client.cx, client.cy, record->drawDC, 0, 0, bitmap.cx, bitmap.cy,
                   SRCCOPY);
        return;
    }
    BitBlt(paintDC, drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top,
           record->drawDC, drawn.left, drawn.top, SRCCOPY);
}

} // namespace

LRESULT eraseBackground(HWND hwnd, HDC dc, LPARAM lParam) {
    if (!hwnd)
        return 1;
    WindowRecord* record = attachedRecord(hwnd);
    // A hosted component draws its own background.
    if (record && record->hookTable)
        return 1;
    COLORREF colour = record ? record->windowColor : GetSysColor(COLOR_WINDOW);

    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ previous = SelectObject(dc, brush);
    RECT clip{};
    GetClipBox(dc, &clip);
    PatBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, PATCOPY);
    SelectObject(dc, previous);
    DeleteObject(brush);
    if (!record)
        return 1;

    // While the event runs, drawing goes straight into the erase context.
    SaveDC(dc);
    record->paintDC = dc;
    dispatchEvent(record, EVENT_ERASE, (WPARAM)dc, lParam);
    record->paintDC = nullptr;
    RestoreDC(dc, -1);
    return 1;
}

LRESULT paintWindow(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return 1;
    PAINTSTRUCT ps;
    WindowRecord* record = attachedRecord(hwnd);
    if (!record) {
        // Nothing to show yet; validating keeps the paint from coming back
        // for ever.
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 1;
    }

    RECT update{};
    GetUpdateRect(hwnd, &update, FALSE);
    HDC paintDC = BeginPaint(hwnd, &ps);
    ChildClip clip = {hwnd, paintDC};
    EnumChildWindows(hwnd, excludeChild, (LPARAM)&clip);

    if (record->backingMode == 0)
        dispatchEvent(record, WM_PAINT, wParam, lParam);
    else if (!record->drawDC)
        copyFromBackBitmap(record, paintDC, update);
    else
        copyFromHeldContext(record, paintDC);
    EndPaint(hwnd, &ps);
    return 1;
}
