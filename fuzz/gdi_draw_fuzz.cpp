// Drawing through a device context: random pens (every style, widths to 30),
// brushes, mix modes, clip rectangles (intersected and excluded) and a
// viewport origin on a memory context over a DIB section, with bounds
// accumulation on. Nothing
// may change outside the clip, and GetBoundsRect must hold every change.
// A write past the bitmap's memory is AddressSanitizer's to catch.

#include <windows.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

constexpr uint32_t SENTINEL = 0x00C0FFEE;

struct Target {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    uint32_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

Target makeTarget(int32_t width, int32_t height) {
    Target target;
    target.width = width;
    target.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    target.dc = CreateCompatibleDC(nullptr);
    target.bitmap = CreateDIBSection(target.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    target.bits = (uint32_t*)bits;
    target.original = SelectObject(target.dc, target.bitmap);
    for (int32_t i = 0; i < width * height; ++i)
        target.bits[i] = SENTINEL;
    return target;
}

void freeTarget(const Target& target) {
    SelectObject(target.dc, target.original);
    DeleteObject(target.bitmap);
    DeleteDC(target.dc);
}

RECT randomRect(FuzzedDataProvider& input, const Target& target) {
    return {input.ConsumeIntegralInRange<int32_t>(-10, target.width + 10),
            input.ConsumeIntegralInRange<int32_t>(-10, target.height + 10),
            input.ConsumeIntegralInRange<int32_t>(-10, target.width + 10),
            input.ConsumeIntegralInRange<int32_t>(-10, target.height + 10)};
}

RECT normalised(const RECT& r) {
    return {r.left < r.right ? r.left : r.right, r.top < r.bottom ? r.top : r.bottom,
            r.left < r.right ? r.right : r.left, r.top < r.bottom ? r.bottom : r.top};
}

bool inside(const RECT& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The clip as the calls made it: the surface, within every intersected
// rectangle and outside every excluded one, each rectangle normalised first
// as Windows does.
struct ClipModel {
    std::vector<RECT> within;
    std::vector<RECT> without;

    bool allows(int32_t x, int32_t y) const {
        for (const RECT& r : within)
            if (!inside(r, x, y))
                return false;
        for (const RECT& r : without)
            if (inside(r, x, y))
                return false;
        return true;
    }
};

ClipModel clipRandomly(FuzzedDataProvider& input, const Target& target) {
    ClipModel model;
    for (int i = input.ConsumeIntegralInRange<int32_t>(0, 3); i > 0; --i) {
        RECT r = randomRect(input, target);
        if (input.ConsumeIntegralInRange<int32_t>(0, 1) == 0) {
            IntersectClipRect(target.dc, r.left, r.top, r.right, r.bottom);
            model.within.push_back(normalised(r));
        } else {
            ExcludeClipRect(target.dc, r.left, r.top, r.right, r.bottom);
            model.without.push_back(normalised(r));
        }
    }
    return model;
}

int32_t coordinate(FuzzedDataProvider& input, int32_t side) {
    return input.ConsumeIntegralInRange<int32_t>(0, 15) == 0
               ? input.ConsumeIntegralInRange<int32_t>(-20000, 20000)
               : input.ConsumeIntegralInRange<int32_t>(-40, side + 40);
}

void drawFigure(FuzzedDataProvider& input, const Target& target) {
    HPEN pen = CreatePen(input.ConsumeIntegralInRange<int32_t>(PS_SOLID, PS_INSIDEFRAME),
                         input.ConsumeIntegralInRange<int32_t>(0, 30),
                         input.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
    HBRUSH brush = CreateSolidBrush(input.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
    HGDIOBJ oldPen = SelectObject(target.dc, pen);
    HGDIOBJ oldBrush = SelectObject(target.dc, input.ConsumeIntegralInRange<int32_t>(0, 3) == 0
                                                   ? GetStockObject(NULL_BRUSH)
                                                   : (HGDIOBJ)brush);
    SetROP2(target.dc, input.ConsumeIntegralInRange<int32_t>(R2_BLACK, R2_WHITE));
    int32_t x1 = coordinate(input, target.width), y1 = coordinate(input, target.height);
    int32_t x2 = coordinate(input, target.width), y2 = coordinate(input, target.height);
    switch (input.ConsumeIntegralInRange<int32_t>(0, 2)) {
    case 0:
        MoveToEx(target.dc, x1, y1, nullptr);
        LineTo(target.dc, x2, y2);
        break;
    case 1:
        Rectangle(target.dc, x1, y1, x2, y2);
        break;
    default:
        Ellipse(target.dc, x1, y1, x2, y2);
        break;
    }
    SelectObject(target.dc, oldPen);
    SelectObject(target.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// The bounds read back in logical coordinates; the check is in device ones.
void check(const Target& target, const std::vector<uint32_t>& before, const ClipModel& clip) {
    RECT bounds{};
    GetBoundsRect(target.dc, &bounds, 0);
    POINT origin{};
    GetViewportOrgEx(target.dc, &origin);
    OffsetRect(&bounds, origin.x, origin.y);
    for (int32_t y = 0; y < target.height; ++y) {
        for (int32_t x = 0; x < target.width; ++x) {
            size_t index = (size_t)y * target.width + x;
            if (target.bits[index] == before[index])
                continue;
            if (!clip.allows(x, y) || !inside(bounds, x, y)) {
                fprintf(stderr, "gdi draw fuzz: (%d, %d) changed outside the %s\n", x, y,
                        clip.allows(x, y) ? "bounds" : "clip");
                abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Target target = makeTarget(input.ConsumeIntegralInRange<int32_t>(1, 80),
                               input.ConsumeIntegralInRange<int32_t>(1, 80));
    ClipModel clip = clipRandomly(input, target);
    // Set after the clip rectangles, so that the model's device coordinates
    // are theirs.
    if (input.ConsumeIntegralInRange<int32_t>(0, 1) == 1)
        SetViewportOrgEx(target.dc, input.ConsumeIntegralInRange<int32_t>(-100, 100),
                         input.ConsumeIntegralInRange<int32_t>(-100, 100), nullptr);
    for (int figures = 0; figures < 6 && input.remaining_bytes() > 0; ++figures) {
        std::vector<uint32_t> before(target.bits, target.bits + target.width * target.height);
        SetBoundsRect(target.dc, nullptr, DCB_RESET | DCB_ENABLE);
        drawFigure(input, target);
        check(target, before, clip);
    }
    freeTarget(target);
    return 0;
}
