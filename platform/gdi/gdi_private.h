// The graphics part's objects: one table of pens, brushes, fonts, bitmaps
// and device contexts, addressed by handles that pack a table index and a
// generation, so that a stale or made-up handle is recognised without
// touching freed memory.
#pragma once

#include <layer/gdi.h>
#include <windows.h>

#include "platform/gdi/region.h"
#include "platform/gdi/window_dc.h"

#include <memory>
#include <stdint.h>
#include <vector>

struct DeviceContext;
struct SectionBits;

struct GdiBitmap {
    int32_t width;
    int32_t height;
    uint16_t bits_per_pixel;      // 1 (monochrome), 24 or 32, or a section's; pixels are 32 bits
    std::vector<uint32_t> pixels; // 0x00RRGGBB, rows of `width` pixels, in memory order
    bool bottom_up;               // the last row in memory is the top one
    HDC selected_into;            // the one context it is selected into, or null
    // A section in a layout other than the pixels' own: the program's bits
    // (dib_section.cpp); null for every other bitmap.
    std::shared_ptr<SectionBits> section = nullptr;
};

// A section's pixels read from its program's bits, before the layer looks
// at them, and the bits written from the pixels after the layer draws. Both
// do nothing for other bitmaps.
void gdi_section_read(GdiBitmap& bitmap);
void gdi_section_written(GdiBitmap& bitmap);
// Gives a new bitmap of the layout's size the program's bits in that layout;
// false for a layout the layer cannot take.
bool gdi_make_section_bits(GdiBitmap& bitmap, const BITMAPINFO& info, UINT usage, void** bits);

// Everything that SaveDC saves and SelectObject changes.
struct DcState {
    HGDIOBJ pen;
    HGDIOBJ brush;
    HGDIOBJ font;
    HGDIOBJ bitmap; // memory contexts only
    COLORREF text_color;
    COLORREF bk_color;
    int bk_mode;
    int rop2;
    int stretch_mode;
    UINT text_align;
    int poly_fill_mode; // ALTERNATE or WINDING
    POINT position;
    POINT brush_origin;
    // Where logical (0, 0) is in device coordinates; the mapping mode is
    // always MM_TEXT, so this is the whole of the mapping.
    POINT viewport_origin;
    // The program's clip region in device coordinates, shared between saved
    // states and replaced, never changed, when it changes; null: no clip.
    std::shared_ptr<const Region> clip;
};

struct DeviceContext {
    bool memory;                // a memory context, drawing into its bitmap
    DcState state;              // what drawing uses now
    std::vector<DcState> saved; // SaveDC's stack, oldest first
    RECT bounds;                // pixels touched since the last reset; empty: none
    bool bounds_enabled;        // whether drawing adds to `bounds`
    // Where the current drawing call may land; kept between calls only so
    // that its storage is reused.
    std::vector<RECT> visible;
    // Window contexts only: where the window's pixels are. Memory contexts
    // draw on their selected bitmap and leave `view` null.
    WindowSurfaceSource source;
};

// Logical coordinates of the context's state to device coordinates.
// Coordinates past the 32-bit range stop at its ends.
POINT gdi_to_device(const DcState& state, int x, int y);
RECT gdi_rect_to_device(const DcState& state, const RECT& rect);
// Device coordinates back to logical ones.
RECT gdi_rect_to_logical(const DcState& state, const RECT& rect);

// Contexts are recycled, with the storage of their vectors, so that the
// create-draw-delete pattern of a drawing call allocates nothing.
void gdi_recycle_dc(DeviceContext* context);

#include "platform/gdi/surface.h"
// The pixels a memory context draws into; false when it holds none.
bool gdi_bitmap_surface(GdiBitmap* bitmap, Surface* surface);

// Where a context's drawing may land, in device coordinates: its surface,
// cut by the program's clip region.
void gdi_visible_rects(const DeviceContext& context, Surface* surface, std::vector<RECT>* rects);
// The pixels a context draws on, and where on them it may draw before its
// clip region is applied. False when it has no pixels.
bool gdi_surface(const DeviceContext& context, Surface* surface, std::vector<RECT>* base);
// The pixel that a colour becomes on the context's surface: itself on 32-bit
// bitmaps, the nearer of black and white on monochrome ones.
uint32_t gdi_pixel(const DeviceContext& context, COLORREF color);
bool gdi_is_monochrome(const DeviceContext& context);
// Bits per pixel of what the context draws on: 1, 24 or 32.
uint16_t gdi_depth(const DeviceContext& context);

// Everything a drawing call needs: the context, its surface and where on it
// drawing may land. False for a bad handle or a context without pixels.
struct DrawTarget {
    DeviceContext* context = nullptr;
    Surface* surface = nullptr;
    std::vector<RECT> rects; // the context's own storage while the target lives

    DrawTarget() = default;
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;
    ~DrawTarget();
    Clip clip() const { return {rects.data(), (int32_t)rects.size()}; }
    // Adds a drawing's bounds, as Windows reckons them from its geometry,
    // cut to the box around where drawing may land.
    void add_bounds(const RECT& box) const;
};
// How far a pen `width` pixels wide widens the bounds of what it draws.
int32_t gdi_pen_margin(int32_t width);
// PatBlt's work, for the blits whose operation needs no source.
BOOL gdi_pattern_blit(HDC dc, int x, int y, int width, int height, DWORD rop);
bool gdi_draw_target(HDC dc, DrawTarget* target, Surface* surface);

// Adds the rectangle of pixels that a drawing touched to the bounds.
void gdi_add_bounds(DeviceContext* context, const RECT& touched);

struct GdiEntry {
    DWORD type;           // OBJ_* of the object, 0 while the slot is free
    uint16_t generation;  // changes every time the slot is freed
    bool stock;           // never destroyed
    bool delete_pending;  // DeleteObject while selected: freed on deselection
    int32_t select_count; // contexts and saved states that hold it
    union {
        LOGPEN pen;
        LOGBRUSH brush;
        LOGFONTA font;
    };
    GdiBitmap* bitmap; // OBJ_BITMAP
    Region* region;    // OBJ_REGION
    DeviceContext* dc; // OBJ_DC and OBJ_MEMDC
};

// The handle table; a handle packs its slot's index plus one in bits 16 to
// 31 and the slot's generation in the low 16.
extern std::vector<GdiEntry>& g_gdi_entries;
GdiEntry* gdi_bad_handle();

// A handle as the layer made it. Handles are 32-bit values on every build,
// so 64-bit programs that pass one through a 32-bit integer and back, sign
// extension or garbage in the high half included, still name the object.
inline HGDIOBJ gdi_canonical(HGDIOBJ handle) {
    return (HGDIOBJ)(ULONG_PTR)(uint32_t)(ULONG_PTR)handle;
}

// The entry of a live handle of the given type (0: any type), or null with
// ERROR_INVALID_HANDLE. Inline: every drawing call looks up several.
inline GdiEntry* gdi_entry(HGDIOBJ handle, DWORD type) {
    uint32_t value = (uint32_t)(ULONG_PTR)handle;
    size_t index = (size_t)(value >> 16) - 1;
    if (index < g_gdi_entries.size()) {
        GdiEntry& entry = g_gdi_entries[index];
        bool alive = entry.type != 0 && entry.generation == (value & 0xFFFF);
        if (alive && (type == 0 || entry.type == type))
            return &entry;
    }
    return gdi_bad_handle();
}
HGDIOBJ gdi_allocate(DWORD type, GdiEntry** entry);
void gdi_release(HGDIOBJ handle);

// Selection references: a context or saved state that holds an object.
void gdi_hold(HGDIOBJ handle);
void gdi_let_go(HGDIOBJ handle);

// The 1-by-1 monochrome bitmap that every new memory context holds.
HBITMAP gdi_default_bitmap();
DeviceContext* gdi_dc(HDC dc);
