// The software rasteriser: random lines, wide lines, rectangles and
// ellipses, with random pens, brushes, mix modes and clips, drawn into a
// surface framed by guard pixels. Nothing may change outside the clip (and
// so outside the surface), and the rectangle each call reports as touched
// must hold every pixel it changed.
#include "platform/gdi/raster.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

namespace {

constexpr int32_t GUARD = 8;
constexpr uint32_t SENTINEL = 0x00C0FFEE;
constexpr int32_t MAX_SIDE = 80;

struct Canvas {
    int32_t width;
    int32_t height;
    int32_t stride;
    std::vector<uint32_t> pixels; // the surface and its guard frame
    Surface surface;
};

Canvas makeCanvas(FuzzedDataProvider& input) {
    Canvas canvas;
    canvas.width = input.ConsumeIntegralInRange<int32_t>(1, MAX_SIDE);
    canvas.height = input.ConsumeIntegralInRange<int32_t>(1, MAX_SIDE);
    canvas.stride = canvas.width + 2 * GUARD;
    canvas.pixels.assign((size_t)canvas.stride * (canvas.height + 2 * GUARD), SENTINEL);
    uint32_t* origin = canvas.pixels.data() + (size_t)GUARD * canvas.stride + GUARD;
    canvas.surface = Surface{origin, canvas.width, canvas.height, canvas.stride};
    return canvas;
}

// Up to three bands from top to bottom, each with one rectangle across
// part of the surface: disjoint and sorted, as a Clip must be.
std::vector<RECT> makeClip(FuzzedDataProvider& input, int32_t width, int32_t height) {
    std::vector<RECT> rects;
    int32_t bands = input.ConsumeIntegralInRange<int32_t>(0, 3);
    int32_t top = 0;
    for (int32_t band = 0; band < bands && top < height; ++band) {
        int32_t bottom = input.ConsumeIntegralInRange<int32_t>(top + 1, height);
        int32_t left = input.ConsumeIntegralInRange<int32_t>(0, width - 1);
        int32_t right = input.ConsumeIntegralInRange<int32_t>(left + 1, width);
        if (input.ConsumeIntegralInRange<int32_t>(0, 3) != 0)
            rects.push_back({left, top, right, bottom});
        top = bottom;
    }
    if (rects.empty())
        rects.push_back({0, 0, width, height});
    return rects;
}

// Mostly near the surface, now and then far off it.
int32_t coordinate(FuzzedDataProvider& input, int32_t side) {
    if (input.ConsumeIntegralInRange<int32_t>(0, 15) == 0)
        return input.ConsumeIntegralInRange<int32_t>(-20000, 20000);
    return input.ConsumeIntegralInRange<int32_t>(-40, side + 40);
}

POINT point(FuzzedDataProvider& input, const Canvas& canvas) {
    return {coordinate(input, canvas.width), coordinate(input, canvas.height)};
}

RECT box(FuzzedDataProvider& input, const Canvas& canvas) {
    POINT a = point(input, canvas), b = point(input, canvas);
    return {a.x, a.y, b.x, b.y};
}

uint32_t colour(FuzzedDataProvider& input) {
    return input.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
}

// Draws one random figure; returns its name for messages.
const char* drawFigure(FuzzedDataProvider& input, const Canvas& canvas, const Clip& clip,
                       RECT* touched) {
    Surface surface = canvas.surface;
    int rop2 = input.ConsumeIntegralInRange<int32_t>(R2_BLACK, R2_WHITE);
    switch (input.ConsumeIntegralInRange<int32_t>(0, 4)) {
    case 0:
        raster_line(&surface, &clip, point(input, canvas), point(input, canvas), colour(input),
                    rop2, touched);
        return "line";
    case 1:
        raster_wide_line(&surface, &clip, point(input, canvas), point(input, canvas),
                         input.ConsumeIntegralInRange<int32_t>(0, 40), colour(input), rop2,
                         touched);
        return "wide line";
    case 2:
        raster_fill_rect(&surface, &clip, box(input, canvas), colour(input), rop2, touched);
        return "filled rectangle";
    default: {
        PenSpec pen{input.ConsumeIntegralInRange<int32_t>(0, 4) != 0,
                    input.ConsumeIntegralInRange<int32_t>(0, 24), colour(input)};
        BrushSpec brush{input.ConsumeIntegralInRange<int32_t>(0, 1) != 0, colour(input)};
        RECT shape = box(input, canvas);
        if (input.ConsumeIntegralInRange<int32_t>(0, 1) == 0) {
            raster_rectangle(&surface, &clip, shape, pen, brush, rop2, touched);
            return "rectangle";
        }
        raster_ellipse(&surface, &clip, shape, pen, brush, rop2, touched);
        return "ellipse";
    }
    }
}

bool inside(const RECT& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool inClip(const std::vector<RECT>& rects, int32_t x, int32_t y) {
    for (const RECT& r : rects)
        if (inside(r, x, y))
            return true;
    return false;
}

// Every pixel that changed, in surface coordinates (guards included, so
// that they are negative or past the sides there).
void checkChanges(const Canvas& canvas, const std::vector<uint32_t>& before,
                  const std::vector<RECT>& clip, const RECT& touched, const char* figure) {
    for (int32_t row = 0; row < canvas.height + 2 * GUARD; ++row) {
        for (int32_t column = 0; column < canvas.stride; ++column) {
            size_t index = (size_t)row * canvas.stride + column;
            if (canvas.pixels[index] == before[index])
                continue;
            int32_t x = column - GUARD, y = row - GUARD;
            if (!inClip(clip, x, y) || !inside(touched, x, y)) {
                fprintf(stderr,
                        "raster fuzz: %s changed (%d, %d) on a %dx%d surface, outside the %s\n",
                        figure, x, y, canvas.width, canvas.height,
                        inClip(clip, x, y) ? "touched rectangle" : "clip");
                abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Canvas canvas = makeCanvas(input);
    std::vector<RECT> rects = makeClip(input, canvas.width, canvas.height);
    Clip clip{rects.data(), (int32_t)rects.size()};
    for (int figures = 0; figures < 8 && input.remaining_bytes() > 0; ++figures) {
        std::vector<uint32_t> before = canvas.pixels;
        RECT touched{0, 0, 0, 0};
        const char* figure = drawFigure(input, canvas, clip, &touched);
        checkChanges(canvas, before, rects, touched, figure);
    }
    return 0;
}
