// Device contexts: creation, selections, saved states and attributes.
#include "platform/gdi/gdi_private.h"

namespace {

void hold_state(const DcState& state) {
    gdi_hold(state.pen);
    gdi_hold(state.brush);
    gdi_hold(state.font);
    if (state.bitmap != nullptr)
        gdi_hold(state.bitmap);
}

void let_go_state(const DcState& state) {
    gdi_let_go(state.pen);
    gdi_let_go(state.brush);
    gdi_let_go(state.font);
    if (state.bitmap != nullptr)
        gdi_let_go(state.bitmap);
}

// What a new context holds and how it draws, as on Windows.
DcState default_state(bool memory) {
    DcState state{};
    state.pen = GetStockObject(BLACK_PEN);
    state.brush = GetStockObject(WHITE_BRUSH);
    state.font = GetStockObject(SYSTEM_FONT);
    state.bitmap = memory ? gdi_default_bitmap() : nullptr;
    state.text_color = RGB(0, 0, 0);
    state.bk_color = RGB(255, 255, 255);
    state.bk_mode = OPAQUE;
    state.poly_fill_mode = ALTERNATE;
    state.rop2 = R2_COPYPEN;
    state.stretch_mode = BLACKONWHITE;
    return state;
}

HGDIOBJ* slot_for(DcState& state, DWORD type) {
    switch (type) {
    case OBJ_PEN:
        return &state.pen;
    case OBJ_BRUSH:
        return &state.brush;
    case OBJ_FONT:
        return &state.font;
    case OBJ_BITMAP:
        return &state.bitmap;
    }
    return nullptr;
}

// A bitmap goes into one memory context at a time; the stock bitmap into any.
bool can_select_bitmap(HDC dc, const DeviceContext& context, const GdiEntry& bitmap) {
    if (!context.memory)
        return false;
    HDC owner = bitmap.bitmap->selected_into;
    return bitmap.stock || owner == nullptr || owner == dc;
}

// Never destroyed, like the handle table.
std::vector<DeviceContext*>& g_spare_dcs = *new std::vector<DeviceContext*>;

DeviceContext* new_dc() {
    if (g_spare_dcs.empty())
        return new DeviceContext{};
    DeviceContext* context = g_spare_dcs.back();
    g_spare_dcs.pop_back();
    return context;
}

} // namespace

void gdi_recycle_dc(DeviceContext* context) {
    context->memory = false;
    context->state = DcState{};
    context->saved.clear();
    context->bounds = {0, 0, 0, 0};
    context->bounds_enabled = false;
    context->visible.clear();
    context->source = {};
    g_spare_dcs.push_back(context);
}

DeviceContext* gdi_dc(HDC dc) {
    GdiEntry* entry = gdi_entry(dc, 0);
    if (entry == nullptr || (entry->type != OBJ_DC && entry->type != OBJ_MEMDC)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return entry->dc;
}

namespace {

// Gives a finished context its handle. The context is made first because
// its default state may create the stock objects, and every new object can
// move the handle table, and with it an entry taken before.
HDC attach_context(DWORD type, DeviceContext* context) {
    GdiEntry* entry;
    HDC handle = (HDC)gdi_allocate(type, &entry);
    if (handle == nullptr) {
        let_go_state(context->state);
        gdi_recycle_dc(context);
        return nullptr;
    }
    entry->dc = context;
    return handle;
}

} // namespace

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && gdi_dc(dc) == nullptr)
        return nullptr;
    DeviceContext* context = new_dc();
    context->memory = true;
    context->state = default_state(true);
    hold_state(context->state);
    return attach_context(OBJ_MEMDC, context);
}

HDC gdi_create_window_dc(const WindowSurfaceSource& source) {
    DeviceContext* context = new_dc();
    context->state = default_state(false);
    context->source = source;
    hold_state(context->state);
    return attach_context(OBJ_DC, context);
}

BOOL WINAPI DeleteDC(HDC dc) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return FALSE;
    let_go_state(context->state);
    for (const DcState& saved : context->saved)
        let_go_state(saved);
    gdi_release(dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    // The context keeps the handle as the layer made it, so that the one it
    // gives back later compares equal to the one its creator returned.
    dc = (HDC)gdi_canonical(dc);
    object = gdi_canonical(object);
    DeviceContext* context = gdi_dc(dc);
    GdiEntry* entry = context != nullptr ? gdi_entry(object, 0) : nullptr;
    HGDIOBJ* slot = entry != nullptr ? slot_for(context->state, entry->type) : nullptr;
    if (slot == nullptr || entry->delete_pending)
        return nullptr;
    if (entry->type == OBJ_BITMAP) {
        if (!can_select_bitmap(dc, *context, *entry))
            return nullptr;
        if (!entry->stock)
            entry->bitmap->selected_into = dc;
    }
    HGDIOBJ previous = *slot;
    if (previous == object)
        return previous;
    gdi_hold(object);
    *slot = object;
    gdi_let_go(previous);
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return nullptr;
    HGDIOBJ* slot = slot_for(context->state, type);
    return slot != nullptr ? *slot : nullptr;
}

// Returns the new number of saved states.
int WINAPI SaveDC(HDC dc) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return 0;
    hold_state(context->state);
    context->saved.push_back(context->state);
    return (int)context->saved.size();
}

// A negative level counts back from the newest saved state (-1 is the
// newest); a positive one names a state by its SaveDC result. Every state
// saved after it is dropped.
BOOL WINAPI RestoreDC(HDC dc, int level) {
    DeviceContext* context = gdi_dc(dc);
    if (context == nullptr)
        return FALSE;
    int count = (int)context->saved.size();
    int target = level < 0 ? count + level + 1 : level;
    if (level == 0 || target < 1 || target > count)
        return FALSE;
    for (int i = count - 1; i >= target; --i)
        let_go_state(context->saved[(size_t)i]);
    let_go_state(context->state);
    context->state = context->saved[(size_t)target - 1];
    context->saved.resize((size_t)target - 1);
    return TRUE;
}
