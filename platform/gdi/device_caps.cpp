// What a context's device can do. Every context of the layer draws for the
// one screen, a 32-bit display at 96 pixels per inch, so memory contexts
// answer as the screen does whatever bitmap they hold, as on Windows.
#include "platform/gdi/gdi_private.h"
#include "platform/host/host.h"

namespace {

constexpr int DOTS_PER_INCH = 96;

// Millimetres that `pixels` cover at the display's resolution, rounded.
int millimetres(LONG pixels) {
    return (int)(((int64_t)pixels * 254 + DOTS_PER_INCH * 5) / (DOTS_PER_INCH * 10));
}

SIZE screen_size() {
    RECT screen, work_area;
    host_screen(&screen, &work_area);
    return {screen.right - screen.left, screen.bottom - screen.top};
}

// The shapes, lines and blits the layer draws itself; a program that reads
// a capability here may rely on it.
constexpr int CURVES = CC_CIRCLES | CC_ELLIPSES | CC_WIDE | CC_INTERIORS | CC_ROUNDRECT;
constexpr int LINES = LC_POLYLINE | LC_WIDE | LC_INTERIORS;
constexpr int POLYGONS = PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_WIDE | PC_INTERIORS;
constexpr int RASTER = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                       RC_BIGFONT | RC_STRETCHBLT | RC_STRETCHDIB;

// The capabilities that depend on the screen's size; -1 for other indices.
int screen_cap(int index) {
    SIZE size = screen_size();
    switch (index) {
    case HORZRES:
    case DESKTOPHORZRES:
        return size.cx;
    case VERTRES:
    case DESKTOPVERTRES:
        return size.cy;
    case HORZSIZE:
        return millimetres(size.cx);
    case VERTSIZE:
        return millimetres(size.cy);
    }
    return -1;
}

// The fixed capabilities of a true-colour display; 0 for indices that
// name nothing.
int fixed_cap(int index) {
    switch (index) {
    case DRIVERVERSION:
        return 0x4000;
    case TECHNOLOGY:
        return DT_RASDISPLAY;
    case BITSPIXEL:
        return 32;
    case PLANES:
    case CLIPCAPS:
        return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: // more colours than a palette holds
        return -1;
    case CURVECAPS:
        return CURVES;
    case LINECAPS:
        return LINES;
    case POLYGONALCAPS:
        return POLYGONS;
    case TEXTCAPS:
        return TC_RA_ABLE;
    case RASTERCAPS:
        return RASTER;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return DOTS_PER_INCH;
    case NUMRESERVED:
        return 20;
    case COLORRES:
        return 24;
    }
    return 0;
}

} // namespace

int WINAPI GetDeviceCaps(HDC dc, int index) {
    if (gdi_dc(dc) == nullptr)
        return 0;
    int cap = screen_cap(index);
    return cap != -1 ? cap : fixed_cap(index);
}
