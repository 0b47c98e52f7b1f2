// Pixels in a program's own layout: reading and writing a bitmap's rows
// (GetDIBits, SetDIBits) and drawing rows through a context (StretchDIBits).
// The layouts are those of dib_format.h, each row padded to 32 bits.
#include "platform/gdi/dib_format.h"
#include "platform/gdi/gdi_private.h"

#include <string.h>

namespace {

// The row of the bitmap that scan line `scan` of the layout lands on: the
// layout's top row is the bitmap's top row, and scan lines count from the
// bottom of a bottom-up layout and from the top of a top-down one.
int32_t bitmap_row(const DibFormat& layout, int32_t scan) {
    return layout.top_down ? scan : layout.height - 1 - scan;
}

// The scan lines [first, end) that a call asking for `lines` from `start`
// reaches; end <= first when none.
void scan_range(const DibFormat& layout, UINT start, UINT lines, int32_t* first, int32_t* end) {
    int64_t last = (int64_t)start + lines;
    *first = start > (UINT)layout.height ? layout.height : (int32_t)start;
    *end = last > layout.height ? layout.height : (int32_t)last;
}

uint32_t nearer_of_black_and_white(uint32_t pixel) {
    int sum = (int)((pixel >> 16) & 0xFF) + (int)((pixel >> 8) & 0xFF) + (int)(pixel & 0xFF);
    return sum >= 3 * 128 ? 0xFFFFFF : 0;
}

// The pixel a bitmap keeps for a program's pixel: all 32 bits in a 32-bit
// bitmap, the colour in a 24-bit one, black or white in a monochrome one.
uint32_t kept_pixel(const GdiBitmap& bitmap, uint32_t pixel) {
    if (bitmap.bits_per_pixel == 1)
        return nearer_of_black_and_white(pixel & 0xFFFFFF);
    return bitmap.bits_per_pixel == 32 ? pixel : pixel & 0xFFFFFF;
}

// A bitmap's pixel (x, y), its rows top to bottom.
uint32_t& bitmap_pixel(GdiBitmap& bitmap, int32_t x, int32_t y) {
    int32_t row = bitmap.bottom_up ? bitmap.height - 1 - y : y;
    return bitmap.pixels[(size_t)row * (size_t)bitmap.width + (size_t)x];
}

// Copies scan lines between a bitmap and a program's rows; `to_program`
// says which way. Columns and rows outside the bitmap read as black and are
// not written.
void transfer_rows(GdiBitmap& bitmap, const DibFormat& layout, int32_t first, int32_t end,
                   BYTE* rows, bool to_program) {
    for (int32_t scan = first; scan < end; ++scan) {
        BYTE* row = rows + (size_t)(scan - first) * layout.stride;
        int32_t y = bitmap_row(layout, scan);
        bool inside = y >= 0 && y < bitmap.height;
        for (int32_t x = 0; x < layout.width; ++x) {
            bool here = inside && x < bitmap.width;
            if (to_program)
                dib_write(layout, row, x, here ? bitmap_pixel(bitmap, x, y) : 0);
            else if (here)
                bitmap_pixel(bitmap, x, y) = kept_pixel(bitmap, dib_read(layout, row, x));
        }
    }
}

// GetDIBits with a header of no depth: the header is filled in to describe
// the bitmap, as 32-bit bitmaps describe themselves with their colour masks.
int describe(const GdiBitmap& bitmap, BITMAPINFOHEADER* header) {
    DWORD size = header->biSize;
    memset(header, 0, sizeof *header);
    header->biSize = size;
    header->biWidth = bitmap.width;
    header->biHeight = bitmap.height;
    header->biPlanes = 1;
    header->biBitCount = bitmap.bits_per_pixel;
    header->biCompression = bitmap.bits_per_pixel == 32 ? BI_BITFIELDS : BI_RGB;
    header->biSizeImage = (DWORD)(dib_stride(bitmap.width, bitmap.bits_per_pixel) * bitmap.height);
    return bitmap.height;
}

GdiBitmap* bitmap_of(HBITMAP bitmap) {
    GdiEntry* entry = gdi_entry(bitmap, OBJ_BITMAP);
    return entry != nullptr ? entry->bitmap : nullptr;
}

} // namespace

int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT usage) {
    GdiBitmap* data = gdi_dc(dc) != nullptr ? bitmap_of(bitmap) : nullptr;
    if (data == nullptr || info == nullptr || usage > DIB_PAL_COLORS ||
        info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    if (info->bmiHeader.biBitCount == 0 && bits == nullptr)
        return describe(*data, &info->bmiHeader);
    DibFormat layout;
    if (!dib_format_of(*info, usage, true, &layout))
        return 0;
    dib_write_table(layout, info);
    info->bmiHeader.biSizeImage = (DWORD)(layout.stride * (size_t)layout.height);
    if (bits == nullptr)
        return 1;
    int32_t first, end;
    scan_range(layout, start, lines, &first, &end);
    if (end <= first)
        return 0;
    gdi_section_read(*data);
    transfer_rows(*data, layout, first, end, (BYTE*)bits, true);
    return end - first;
}

int WINAPI SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                     const BITMAPINFO* info, UINT usage) {
    if (dc != nullptr && gdi_dc(dc) == nullptr)
        return 0;
    GdiBitmap* data = bitmap_of(bitmap);
    DibFormat layout;
    if (data == nullptr || bits == nullptr || info == nullptr ||
        !dib_format_of(*info, usage, false, &layout))
        return 0;
    int32_t first, end;
    scan_range(layout, start, lines, &first, &end);
    if (end <= first)
        return 0;
    gdi_section_read(*data);
    transfer_rows(*data, layout, first, end, (BYTE*)bits, false);
    gdi_section_written(*data);
    return end - first;
}

namespace {

// A memory context holding a 32-bit top-down copy of a program's rows, for
// the length of one StretchDIBits call.
class DibSource {
  public:
    DibSource(const DibFormat& layout, const void* bits) {
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), layout.width, -layout.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pixels = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        dc_ = bitmap_ != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (dc_ == nullptr)
            return;
        transfer_rows(*bitmap_of(bitmap_), layout, 0, layout.height, (BYTE*)bits, false);
        SelectObject(dc_, bitmap_);
    }
    ~DibSource() {
        if (dc_ != nullptr)
            DeleteDC(dc_);
        if (bitmap_ != nullptr)
            DeleteObject(bitmap_);
    }
    DibSource(const DibSource&) = delete;
    DibSource& operator=(const DibSource&) = delete;
    HDC dc() const { return dc_; }

  private:
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
};

} // namespace

// The source rectangle is measured from the top of a top-down layout and
// from the bottom of a bottom-up one. Answers the layout's height on
// success, as Windows does.
int WINAPI StretchDIBits(HDC dc, int x, int y, int width, int height, int source_x, int source_y,
                         int source_width, int source_height, const void* bits,
                         const BITMAPINFO* info, UINT usage, DWORD rop) {
    DibFormat layout;
    if (gdi_dc(dc) == nullptr || bits == nullptr || info == nullptr ||
        !dib_format_of(*info, usage, false, &layout))
        return 0;
    DibSource source(layout, bits);
    if (source.dc() == nullptr)
        return 0;
    int top = layout.top_down ? source_y : layout.height - source_y - source_height;
    if (!StretchBlt(dc, x, y, width, height, source.dc(), source_x, top, source_width,
                    source_height, rop))
        return 0;
    return layout.height;
}
