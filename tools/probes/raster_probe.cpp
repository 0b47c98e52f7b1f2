// Draws lines, rectangles and ellipses with the system's GDI into a 32-bit
// DIB section and prints, for each case, a table row with the case's
// parameters, an FNV-1a hash of the whole surface and the bounds of the
// pixels that changed. The rows are what the rasteriser's tests expect.
// With "-p" each case is followed by its picture ('.' background, '#' pen,
// 'o' brush, '?' anything else) so that a mismatch can be looked at.
//
// Build and run (from the repository root):
//   x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -o /tmp/probe.exe
//       tools/probes/raster_probe.cpp -lgdi32 -luser32
//   wine64 /tmp/probe.exe [-p] [lines|wide|rects|ellipses|big|rops|clip|xor]
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

namespace {

constexpr uint32_t BACKGROUND = 0x00FFFFFF;
constexpr COLORREF PEN_COLOUR = RGB(255, 0, 0);   // pixel 0x00FF0000
constexpr COLORREF BRUSH_COLOUR = RGB(0, 255, 0); // pixel 0x0000FF00

struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    uint32_t* bits;
    int width;
    int height;
};

bool show_pictures = false;

Canvas open_canvas(int width, int height) {
    Canvas c = {};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like Surface
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    c.dc = CreateCompatibleDC(nullptr);
    c.bitmap = CreateDIBSection(c.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    c.old = SelectObject(c.dc, c.bitmap);
    c.bits = (uint32_t*)bits;
    c.width = width;
    c.height = height;
    for (int i = 0; i < width * height; ++i)
        c.bits[i] = BACKGROUND;
    return c;
}

void close_canvas(Canvas& c) {
    SelectObject(c.dc, c.old);
    DeleteObject(c.bitmap);
    DeleteDC(c.dc);
}

uint32_t fnv_hash(const Canvas& c) {
    uint32_t h = 2166136261u;
    for (int i = 0; i < c.width * c.height; ++i)
        for (int b = 0; b < 4; ++b) {
            h ^= (c.bits[i] >> (8 * b)) & 0xFF;
            h *= 16777619u;
        }
    return h;
}

RECT changed_bounds(const Canvas& c) {
    RECT r = {0, 0, 0, 0};
    bool any = false;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if (c.bits[y * c.width + x] == BACKGROUND)
                continue;
            if (!any) {
                r = {x, y, x + 1, y + 1};
                any = true;
            }
            r.left = x < r.left ? x : r.left;
            r.right = x + 1 > r.right ? x + 1 : r.right;
            r.top = y < r.top ? y : r.top;
            r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
        }
    return r;
}

char picture_char(uint32_t p) {
    if (p == BACKGROUND)
        return '.';
    if (p == 0x00FF0000)
        return '#';
    if (p == 0x0000FF00)
        return 'o';
    // What R2_XORPEN leaves on the background: pen, brush, both.
    if (p == (BACKGROUND ^ 0x00FF0000))
        return 'P';
    if (p == (BACKGROUND ^ 0x0000FF00))
        return 'B';
    if (p == (BACKGROUND ^ 0x00FF0000 ^ 0x0000FF00))
        return 'X';
    return '?';
}

void print_picture(const Canvas& c, RECT r) {
    if (!show_pictures || r.left >= r.right)
        return;
    for (int y = r.top; y < r.bottom; ++y) {
        printf("    // ");
        for (int x = r.left; x < r.right; ++x)
            putchar(picture_char(c.bits[y * c.width + x]));
        putchar('\n');
    }
}

// One row: {kind, a, b, c, d, pen width (-1 null pen), brush (0 null, 1 solid),
// surface width, surface height, hash, {bounds}}.
void report(const Canvas& c, const char* kind, int a, int b, int cc, int d, int pen, int brush) {
    RECT r = changed_bounds(c);
    printf("    {%s, %d, %d, %d, %d, %d, %d, %d, %d, 0x%08x, {%ld, %ld, %ld, %ld}},\n", kind, a, b,
           cc, d, pen, brush, c.width, c.height, (unsigned)fnv_hash(c), (long)r.left, (long)r.top,
           (long)r.right, (long)r.bottom);
    print_picture(c, r);
}

HPEN make_pen(int width) {
    if (width < 0)
        return (HPEN)GetStockObject(NULL_PEN);
    return CreatePen(PS_SOLID, width, PEN_COLOUR);
}

HBRUSH make_brush(int brush) {
    if (!brush)
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    return CreateSolidBrush(BRUSH_COLOUR);
}

// Draws one case on a fresh canvas of the given size and reports it.
int mix_mode = R2_COPYPEN;

void draw_case(int size_x, int size_y, const char* kind, int a, int b, int cc, int d, int pen,
               int brush) {
    Canvas c = open_canvas(size_x, size_y);
    HPEN p = make_pen(pen);
    HBRUSH br = make_brush(brush);
    HGDIOBJ old_pen = SelectObject(c.dc, p);
    HGDIOBJ old_brush = SelectObject(c.dc, br);
    SetROP2(c.dc, mix_mode);
    if (!strcmp(kind, "LINE")) {
        MoveToEx(c.dc, a, b, nullptr);
        LineTo(c.dc, cc, d);
    } else if (!strcmp(kind, "RECTANGLE")) {
        Rectangle(c.dc, a, b, cc, d);
    } else {
        Ellipse(c.dc, a, b, cc, d);
    }
    SelectObject(c.dc, old_pen);
    SelectObject(c.dc, old_brush);
    DeleteObject(p);
    DeleteObject(br);
    report(c, kind, a, b, cc, d, pen, brush);
    close_canvas(c);
}

void probe_lines() {
    for (int dy = -8; dy <= 8; ++dy)
        for (int dx = -8; dx <= 8; ++dx)
            draw_case(64, 64, "LINE", 32, 32, 32 + dx, 32 + dy, 0, 0);
    // Long lines with slopes near 1/2 and 2, and lines that leave the surface.
    static const int LONG[][4] = {
        {2, 3, 42, 23},      {2, 3, 43, 23},   {2, 3, 41, 23},       {42, 23, 2, 3},
        {43, 23, 2, 3},      {3, 2, 23, 42},   {23, 42, 3, 2},       {3, 60, 43, 40},
        {43, 40, 3, 60},     {60, 3, 40, 43},  {40, 43, 60, 3},      {-20, -7, 80, 50},
        {80, 50, -20, -7},   {-5, 70, 70, -9}, {70, -9, -5, 70},     {-100, 10, 200, 11},
        {10, -100, 11, 200}, {0, 0, 63, 63},   {63, 0, 0, 63},       {5, 61, 59, 2},
        {-3, 2, 10, 2},      {62, 5, 70, 5},   {-30, -30, -10, -10}, {1, 1, 62, 33},
        {62, 33, 1, 1},      {7, 50, 57, 1},   {57, 1, 7, 50},       {9, 9, 59, 34},
        {59, 34, 9, 9},      {30, 70, 34, -8},
    };
    for (const auto& l : LONG)
        draw_case(64, 64, "LINE", l[0], l[1], l[2], l[3], 0, 0);
}

void probe_wide_lines() {
    static const int ENDS[][2] = {{0, 0},   {1, 0},   {0, 1},  {1, 1},  {5, 0},  {0, 5},
                                  {-5, 0},  {0, -5},  {5, 5},  {-5, 5}, {5, -5}, {-5, -5},
                                  {9, 3},   {3, 9},   {-9, 3}, {-3, 9}, {9, -3}, {3, -9},
                                  {-9, -3}, {-3, -9}, {12, 5}, {7, 2},  {2, -7}, {-11, -4}};
    for (int w = 1; w <= 6; ++w)
        for (const auto& e : ENDS)
            draw_case(64, 64, "LINE", 32, 32, 32 + e[0], 32 + e[1], w, 0);
}

static const int BOXES[][4] = {
    {20, 20, 21, 21}, {20, 20, 22, 22}, {20, 20, 23, 23}, {20, 20, 24, 24}, {20, 20, 25, 25},
    {20, 20, 30, 26}, {30, 26, 20, 20}, {30, 20, 20, 26}, {20, 20, 20, 26}, {20, 20, 30, 20},
    {20, 20, 21, 26}, {20, 20, 30, 21}, {20, 20, 22, 27}, {-5, -5, 10, 8},  {55, 50, 70, 70},
};

void probe_rects() {
    for (int pen = -1; pen <= 5; ++pen)
        for (int brush = 0; brush <= 1; ++brush)
            for (const auto& b : BOXES)
                draw_case(64, 64, "RECTANGLE", b[0], b[1], b[2], b[3], pen, brush);
}

void probe_ellipses() {
    static const int PENS[] = {-1, 1, 2, 3, 4, 5};
    for (int pen : PENS)
        for (int brush = 0; brush <= 1; ++brush) {
            for (int s = 1; s <= 20; ++s)
                draw_case(64, 64, "ELLIPSE", 20, 20, 20 + s, 20 + s, pen, brush);
            for (const auto& b : BOXES)
                draw_case(64, 64, "ELLIPSE", b[0], b[1], b[2], b[3], pen, brush);
            static const int ODD[][2] = {{3, 7}, {7, 3}, {10, 4}, {4, 10}, {15, 9},  {9, 15},
                                         {1, 5}, {5, 1}, {2, 9},  {9, 2},  {21, 13}, {6, 17}};
            for (const auto& o : ODD)
                draw_case(64, 64, "ELLIPSE", 20, 20, 20 + o[0], 20 + o[1], pen, brush);
        }
}

void probe_big() {
    static const int PENS[] = {-1, 1, 3};
    for (int pen : PENS)
        for (int brush = 0; brush <= 1; ++brush) {
            draw_case(320, 224, "ELLIPSE", 10, 10, 310, 210, pen, brush);
            draw_case(320, 224, "ELLIPSE", 7, 12, 270, 211, pen, brush);
            draw_case(320, 224, "RECTANGLE", 10, 10, 310, 210, pen, brush);
            // Very narrow and very flat ellipses end in long straight runs.
            draw_case(320, 224, "ELLIPSE", 10, 10, 13, 210, pen, brush);
            draw_case(320, 224, "ELLIPSE", 10, 10, 310, 13, pen, brush);
            draw_case(320, 224, "ELLIPSE", 10, 10, 14, 210, pen, brush);
            draw_case(320, 224, "ELLIPSE", 10, 10, 16, 200, pen, brush);
            draw_case(320, 224, "ELLIPSE", 10, 10, 300, 15, pen, brush);
        }
    draw_case(320, 224, "LINE", 10, 100, 310, 100, 0, 0);
    draw_case(320, 224, "LINE", 3, 201, 317, 7, 0, 0);
    draw_case(320, 224, "LINE", 3, 201, 317, 7, 3, 0);
    draw_case(320, 224, "LINE", 317, 7, 3, 150, 5, 0);
}

// Shapes drawn with R2_XORPEN show where pen and brush overlap ('X') and
// where a pixel is written twice (a hole in the shape).
void probe_xor() {
    mix_mode = R2_XORPEN;
    static const int XBOXES[][4] = {{20, 20, 21, 26}, {20, 20, 30, 21}, {20, 20, 22, 22},
                                    {20, 20, 30, 26}, {20, 20, 33, 29}, {20, 20, 21, 21}};
    for (int pen = -1; pen <= 5; ++pen)
        for (const auto& b : XBOXES) {
            draw_case(64, 64, "RECTANGLE", b[0], b[1], b[2], b[3], pen, 1);
            draw_case(64, 64, "ELLIPSE", b[0], b[1], b[2], b[3], pen, 1);
        }
    static const int ENDS[][2] = {{0, 0}, {9, 3}, {-3, 9}, {12, 5}, {0, 7}};
    for (int w = 1; w <= 6; ++w)
        for (const auto& e : ENDS)
            draw_case(64, 64, "LINE", 32, 32, 32 + e[0], 32 + e[1], w, 0);
    mix_mode = R2_COPYPEN;
}

// Each mix mode on a line of pixels with assorted backgrounds: prints the
// destination before and after, so that the top byte is visible too.
void probe_rops() {
    static const uint32_t DST[] = {0x00000000, 0x00FFFFFF, 0x00123456, 0x00A5C3F0, 0xFF00FF00};
    static const COLORREF PENS[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0x0F, 0xF0, 0x3C)};
    for (int rop = 1; rop <= 16; ++rop)
        for (COLORREF pen : PENS) {
            Canvas c = open_canvas(8, 1);
            for (int i = 0; i < 5; ++i)
                c.bits[i] = DST[i];
            HPEN p = CreatePen(PS_SOLID, 0, pen);
            HGDIOBJ old = SelectObject(c.dc, p);
            SetROP2(c.dc, rop);
            MoveToEx(c.dc, 0, 0, nullptr);
            LineTo(c.dc, 5, 0);
            printf("rop %2d pen %06lx:", rop, (unsigned long)pen);
            for (int i = 0; i < 5; ++i)
                printf(" %08x->%08x", (unsigned)DST[i], (unsigned)c.bits[i]);
            printf("\n");
            SelectObject(c.dc, old);
            DeleteObject(p);
            close_canvas(c);
        }
    // The brush of Rectangle and Ellipse follows the mix mode too.
    for (int rop = 1; rop <= 16; ++rop) {
        Canvas c = open_canvas(16, 16);
        for (int i = 0; i < 256; ++i)
            c.bits[i] = 0x00123456;
        HPEN p = CreatePen(PS_SOLID, 1, RGB(0x0F, 0xF0, 0x3C));
        HBRUSH br = CreateSolidBrush(RGB(0x80, 0x40, 0x20));
        HGDIOBJ op = SelectObject(c.dc, p);
        HGDIOBJ ob = SelectObject(c.dc, br);
        SetROP2(c.dc, rop);
        Rectangle(c.dc, 2, 2, 10, 10);
        printf("rect rop %2d: edge %08x inside %08x outside %08x\n", rop,
               (unsigned)c.bits[2 * 16 + 2], (unsigned)c.bits[5 * 16 + 5],
               (unsigned)c.bits[12 * 16 + 12]);
        SelectObject(c.dc, op);
        SelectObject(c.dc, ob);
        DeleteObject(p);
        DeleteObject(br);
        close_canvas(c);
    }
}

// Clipping to a region of two rectangles, and the bounds the DC accumulates.
void probe_clip() {
    static const int CASES[][4] = {{0, 0, 63, 40}, {63, 40, 0, 0}, {5, 60, 60, 3}, {31, 0, 33, 63}};
    for (const auto& l : CASES) {
        Canvas c = open_canvas(64, 64);
        HRGN a = CreateRectRgn(10, 5, 30, 25);
        HRGN b = CreateRectRgn(35, 20, 50, 60);
        CombineRgn(a, a, b, RGN_OR);
        SelectClipRgn(c.dc, a);
        HPEN p = CreatePen(PS_SOLID, 0, PEN_COLOUR);
        HGDIOBJ old = SelectObject(c.dc, p);
        SetBoundsRect(c.dc, nullptr, DCB_RESET | DCB_ENABLE);
        MoveToEx(c.dc, l[0], l[1], nullptr);
        LineTo(c.dc, l[2], l[3]);
        RECT bounds;
        GetBoundsRect(c.dc, &bounds, 0);
        printf("clip bounds %ld %ld %ld %ld\n", (long)bounds.left, (long)bounds.top,
               (long)bounds.right, (long)bounds.bottom);
        report(c, "LINE", l[0], l[1], l[2], l[3], 0, 0);
        SelectObject(c.dc, old);
        DeleteObject(p);
        DeleteObject(a);
        DeleteObject(b);
        close_canvas(c);
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* which = "all";
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "-p"))
            show_pictures = true;
        else
            which = argv[i];
    }
    bool all = !strcmp(which, "all");
    if (all || !strcmp(which, "lines"))
        probe_lines();
    if (all || !strcmp(which, "wide"))
        probe_wide_lines();
    if (all || !strcmp(which, "rects"))
        probe_rects();
    if (all || !strcmp(which, "ellipses"))
        probe_ellipses();
    if (all || !strcmp(which, "big"))
        probe_big();
    if (all || !strcmp(which, "rops"))
        probe_rops();
    if (!strcmp(which, "xor"))
        probe_xor();
    if (all || !strcmp(which, "clip"))
        probe_clip();
    return 0;
}
