// Pens, brushes, fonts and bitmaps: creation, stock objects, descriptions
// and deletion.
#include "platform/gdi/dib_format.h"
#include "platform/gdi/gdi_private.h"
#include "platform/gdi/surface.h"

#include <string.h>

namespace {

constexpr int STOCK_COUNT = DEFAULT_GUI_FONT + 1;
HGDIOBJ g_stock[STOCK_COUNT];
HBITMAP g_default_bitmap;

// The largest bitmap the layer creates: 2^28 pixels, a gigabyte.
constexpr int64_t MAX_BITMAP_PIXELS = (int64_t)1 << 28;

HGDIOBJ make_pen(UINT style, LONG width, COLORREF color) {
    GdiEntry* entry;
    HGDIOBJ handle = gdi_allocate(OBJ_PEN, &entry);
    if (handle == nullptr)
        return nullptr;
    entry->pen = {style, {width, 0}, color};
    return handle;
}

HGDIOBJ make_brush(UINT style, COLORREF color) {
    GdiEntry* entry;
    HGDIOBJ handle = gdi_allocate(OBJ_BRUSH, &entry);
    if (handle == nullptr)
        return nullptr;
    entry->brush = {style, color, 0};
    return handle;
}

HGDIOBJ make_font(const LOGFONTA& font) {
    GdiEntry* entry;
    HGDIOBJ handle = gdi_allocate(OBJ_FONT, &entry);
    if (handle == nullptr)
        return nullptr;
    entry->font = font;
    entry->font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return handle;
}

HBITMAP make_bitmap(int32_t width, int32_t height, uint16_t bits_per_pixel) {
    GdiEntry* entry;
    HGDIOBJ handle = gdi_allocate(OBJ_BITMAP, &entry);
    if (handle == nullptr)
        return nullptr;
    entry->bitmap = new GdiBitmap{width, height, bits_per_pixel, {}, false, nullptr};
    entry->bitmap->pixels.assign((size_t)width * (size_t)height, 0);
    return (HBITMAP)handle;
}

// The built-in font's description: 16 pixels high, bold, "System".
LOGFONTA system_font_description() {
    LOGFONTA font{};
    font.lfHeight = 16;
    font.lfWidth = 7;
    font.lfWeight = FW_BOLD;
    font.lfPitchAndFamily = 0x22; // variable pitch, swiss family
    strcpy(font.lfFaceName, "System");
    return font;
}

void stock(int which, HGDIOBJ handle) {
    gdi_entry(handle, 0)->stock = true;
    g_stock[which] = handle;
}

void make_stock_objects() {
    stock(WHITE_BRUSH, make_brush(BS_SOLID, RGB(255, 255, 255)));
    stock(LTGRAY_BRUSH, make_brush(BS_SOLID, RGB(192, 192, 192)));
    stock(GRAY_BRUSH, make_brush(BS_SOLID, RGB(128, 128, 128)));
    stock(DKGRAY_BRUSH, make_brush(BS_SOLID, RGB(64, 64, 64)));
    stock(BLACK_BRUSH, make_brush(BS_SOLID, RGB(0, 0, 0)));
    stock(NULL_BRUSH, make_brush(BS_NULL, 0));
    stock(WHITE_PEN, make_pen(PS_SOLID, 0, RGB(255, 255, 255)));
    stock(BLACK_PEN, make_pen(PS_SOLID, 0, RGB(0, 0, 0)));
    stock(NULL_PEN, make_pen(PS_NULL, 0, 0));
    LOGFONTA system = system_font_description();
    for (int which : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT,
                      DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT})
        stock(which, make_font(system));
    g_default_bitmap = make_bitmap(1, 1, 1);
    gdi_entry(g_default_bitmap, 0)->stock = true;
}

void ensure_stock_objects() {
    if (g_default_bitmap == nullptr)
        make_stock_objects();
}

// Copies a description as Windows does: a null buffer asks for the size; a
// buffer too small for the whole description gets nothing.
int copy_description(const void* description, int size, int count, LPVOID buffer) {
    if (buffer == nullptr)
        return size;
    if (count < size)
        return 0;
    memcpy(buffer, description, (size_t)size);
    return size;
}

int describe_bitmap(const GdiBitmap& bitmap, int count, LPVOID buffer) {
    BITMAP description{};
    description.bmWidth = bitmap.width;
    description.bmHeight = bitmap.height;
    description.bmPlanes = 1;
    description.bmBitsPixel = bitmap.bits_per_pixel;
    // Rows are padded to 16 bits.
    description.bmWidthBytes = (bitmap.width * bitmap.bits_per_pixel + 15) / 16 * 2;
    return copy_description(&description, sizeof description, count, buffer);
}

// A font's description may be read in part, as far as the buffer goes.
int describe_font(const LOGFONTA& font, int count, LPVOID buffer) {
    if (buffer == nullptr)
        return sizeof font;
    int size = count < (int)sizeof font ? count : (int)sizeof font;
    if (size <= 0)
        return 0;
    memcpy(buffer, &font, (size_t)size);
    return size;
}

} // namespace

bool gdi_bitmap_surface(GdiBitmap* bitmap, Surface* surface) {
    if (bitmap == nullptr || bitmap->pixels.empty())
        return false;
    gdi_section_read(*bitmap);
    surface->width = bitmap->width;
    surface->height = bitmap->height;
    surface->stride = bitmap->bottom_up ? -bitmap->width : bitmap->width;
    surface->bits = bitmap->pixels.data();
    surface->written = bitmap->bits_per_pixel == 32 ? 0xFFFFFFFFu : 0x00FFFFFFu;
    if (bitmap->bottom_up)
        surface->bits += (size_t)(bitmap->height - 1) * (size_t)bitmap->width;
    return true;
}

namespace {

// A 32-bit layout whose pixels are the layer's own: BI_RGB, or BI_BITFIELDS
// with red, green and blue in the usual bytes (the masks follow the header's
// 40 bytes). A colour table means nothing at this depth, so either usage
// will do.
bool own_layout(const BITMAPINFO& info) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    if (header.biBitCount != 32 || header.biPlanes != 1)
        return false;
    if (header.biCompression == BI_RGB)
        return true;
    static const DWORD usual[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    return header.biCompression == BI_BITFIELDS &&
           memcmp((const BYTE*)&info + sizeof(BITMAPINFOHEADER), usual, sizeof usual) == 0;
}

} // namespace

HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD) {
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || usage > DIB_PAL_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    int64_t height = header.biHeight < 0 ? -(int64_t)header.biHeight : header.biHeight;
    DibFormat layout;
    bool other_layout = !own_layout(*info) && dib_format_of(*info, usage, false, &layout);
    if ((!own_layout(*info) && !other_layout) || section != nullptr) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            OutputDebugStringA("CreateDIBSection: only uncompressed sections in memory\n");
        }
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (header.biWidth <= 0 || height == 0 || header.biWidth * height > MAX_BITMAP_PIXELS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP bitmap = make_bitmap(header.biWidth, (int32_t)height, 32);
    if (bitmap == nullptr)
        return nullptr;
    GdiBitmap* data = gdi_entry(bitmap, OBJ_BITMAP)->bitmap;
    data->bottom_up = header.biHeight > 0;
    if (other_layout && !gdi_make_section_bits(*data, *info, usage, bits)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    if (other_layout)
        return bitmap;
    if (bits != nullptr)
        *bits = data->pixels.data();
    return bitmap;
}

HBITMAP gdi_default_bitmap() {
    ensure_stock_objects();
    return g_default_bitmap;
}

HGDIOBJ WINAPI GetStockObject(int which) {
    ensure_stock_objects();
    if (which < 0 || which >= STOCK_COUNT)
        return nullptr;
    return g_stock[which];
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    LOGPEN pen{(UINT)style, {width, 0}, color};
    return CreatePenIndirect(&pen);
}

// A null pen is the stock one, as on Windows.
HPEN WINAPI CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (pen->lopnStyle == PS_NULL)
        return (HPEN)GetStockObject(NULL_PEN);
    if (pen->lopnStyle > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return (HPEN)make_pen(pen->lopnStyle, pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return (HBRUSH)make_brush(BS_SOLID, color);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font) {
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return (HFONT)make_font(*font);
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strike_out, DWORD char_set,
                         DWORD out_precision, DWORD clip_precision, DWORD quality,
                         DWORD pitch_and_family, LPCSTR face_name) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = (BYTE)italic;
    font.lfUnderline = (BYTE)underline;
    font.lfStrikeOut = (BYTE)strike_out;
    font.lfCharSet = (BYTE)char_set;
    font.lfOutPrecision = (BYTE)out_precision;
    font.lfClipPrecision = (BYTE)clip_precision;
    font.lfQuality = (BYTE)quality;
    font.lfPitchAndFamily = (BYTE)pitch_and_family;
    for (int i = 0; face_name != nullptr && i < LF_FACESIZE - 1 && face_name[i] != '\0'; ++i)
        font.lfFaceName[i] = face_name[i];
    return CreateFontIndirectA(&font);
}

// A bitmap like the one the context holds: monochrome while a memory
// context still holds its default bitmap, else 32 bits per pixel. An empty
// size gives the stock 1-by-1 monochrome bitmap.
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return nullptr;
    if (width < 0 || height < 0 || (int64_t)width * height > MAX_BITMAP_PIXELS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0)
        return gdi_default_bitmap();
    uint16_t bits = 32;
    if (context->memory) {
        GdiEntry* selected = gdi_entry(context->state.bitmap, OBJ_BITMAP);
        bits = selected != nullptr ? selected->bitmap->bits_per_pixel : 32;
    }
    return make_bitmap(width, height, bits);
}

namespace {

// The depth a bitmap of `requested` bits per pixel gets, as Windows rounds
// it up to the depths it has; 0 when there is none, -1 for the depths of
// palettes and 16-bit colour, which the layer does not keep.
int bitmap_depth(UINT requested) {
    if (requested == 1)
        return 1;
    if (requested > 32)
        return 0;
    if (requested <= 16)
        return -1;
    return requested <= 24 ? 24 : 32;
}

// The pixel at column x of a row of CreateBitmap's bits: monochrome rows
// hold a bit per pixel, the first in the top bit, set for white; colour rows
// three or four bytes per pixel, blue first.
uint32_t device_pixel(const BYTE* row, int32_t x, uint16_t depth) {
    if (depth == 1)
        return (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0;
    if (depth == 24)
        return (uint32_t)row[3 * x] | (uint32_t)row[3 * x + 1] << 8 |
               (uint32_t)row[3 * x + 2] << 16;
    uint32_t pixel;
    memcpy(&pixel, row + 4 * x, sizeof pixel);
    return pixel;
}

// Rows of a bitmap's own bits are padded to 16 bits, top row first.
void fill_from_device_bits(GdiBitmap* bitmap, const BYTE* bits) {
    size_t stride = ((size_t)bitmap->width * bitmap->bits_per_pixel + 15) / 16 * 2;
    for (int32_t y = 0; y < bitmap->height; ++y) {
        const BYTE* row = bits + (size_t)y * stride;
        for (int32_t x = 0; x < bitmap->width; ++x)
            bitmap->pixels[(size_t)y * bitmap->width + x] =
                device_pixel(row, x, bitmap->bits_per_pixel);
    }
}

} // namespace

// A width or height of either sign gives its size; an empty size the stock
// 1-by-1 monochrome bitmap.
HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                            const void* bits) {
    int depth = bitmap_depth(bits_per_pixel);
    int64_t w = width < 0 ? -(int64_t)width : width, h = height < 0 ? -(int64_t)height : height;
    if (planes != 1 || depth == 0 || w * h > MAX_BITMAP_PIXELS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (depth < 0) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            OutputDebugStringA("CreateBitmap: only 1-, 24- and 32-bit bitmaps\n");
        }
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (w == 0 || h == 0)
        return gdi_default_bitmap();
    HBITMAP bitmap = make_bitmap((int32_t)w, (int32_t)h, (uint16_t)depth);
    if (bitmap != nullptr && bits != nullptr)
        fill_from_device_bits(gdi_entry(bitmap, OBJ_BITMAP)->bitmap, (const BYTE*)bits);
    return bitmap;
}

// Stock objects are never destroyed; an object selected into a context is
// destroyed once the last context lets go of it.
BOOL WINAPI DeleteObject(HGDIOBJ object) {
    GdiEntry* entry = gdi_entry(object, 0);
    if (entry == nullptr || entry->type == OBJ_DC || entry->type == OBJ_MEMDC)
        return FALSE;
    // Contexts keep their own copy of a clip region, so a region is never held.
    if (entry->stock)
        return TRUE;
    if (entry->select_count > 0) {
        entry->delete_pending = true;
        return TRUE;
    }
    gdi_release(object);
    return TRUE;
}

int WINAPI GetObjectA(HGDIOBJ object, int count, LPVOID buffer) {
    GdiEntry* entry = gdi_entry(object, 0);
    if (entry == nullptr)
        return 0;
    switch (entry->type) {
    case OBJ_PEN:
        return copy_description(&entry->pen, sizeof(LOGPEN), count, buffer);
    case OBJ_BRUSH:
        return copy_description(&entry->brush, sizeof(LOGBRUSH), count, buffer);
    case OBJ_FONT:
        return describe_font(entry->font, count, buffer);
    case OBJ_BITMAP:
        return describe_bitmap(*entry->bitmap, count, buffer);
    }
    return 0;
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
    GdiEntry* entry = gdi_entry(object, 0);
    return entry != nullptr ? entry->type : 0;
}
