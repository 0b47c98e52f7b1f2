// The handle table of the graphics part.
#include "platform/gdi/gdi_private.h"

#include <string.h>

// Never destroyed, so that objects alive at exit stay reachable.
std::vector<GdiEntry>& g_gdi_entries = *new std::vector<GdiEntry>;

namespace {

std::vector<size_t>& g_free_slots = *new std::vector<size_t>;

constexpr int TYPE_SLOTS = 16;
constexpr size_t MAX_SLOTS = 0xFFFF;
UINT g_live[TYPE_SLOTS];

size_t index_of(HGDIOBJ handle) {
    return (size_t)((uint32_t)(ULONG_PTR)handle >> 16) - 1;
}

void free_payload(GdiEntry& entry) {
    delete entry.bitmap;
    if (entry.dc != nullptr)
        gdi_recycle_dc(entry.dc);
    delete entry.region;
    entry.bitmap = nullptr;
    entry.dc = nullptr;
    entry.region = nullptr;
}

} // namespace

GdiEntry* gdi_bad_handle() {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// A handle has 16 bits for its slot, so the table never grows past the
// slots those can name; objects past that are refused, as a process past
// its quota of objects is on Windows.
HGDIOBJ gdi_allocate(DWORD type, GdiEntry** entry) {
    size_t index;
    *entry = nullptr;
    if (g_free_slots.empty() && g_gdi_entries.size() >= MAX_SLOTS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!g_free_slots.empty()) {
        index = g_free_slots.back();
        g_free_slots.pop_back();
    } else {
        index = g_gdi_entries.size();
        g_gdi_entries.emplace_back();
        g_gdi_entries[index].generation = 1;
    }
    GdiEntry& slot = g_gdi_entries[index];
    uint16_t generation = slot.generation;
    memset((void*)&slot, 0, sizeof slot);
    slot.generation = generation;
    slot.type = type;
    ++g_live[type % TYPE_SLOTS];
    *entry = &slot;
    return (HGDIOBJ)(((index + 1) << 16) | generation);
}

void gdi_release(HGDIOBJ handle) {
    size_t index = index_of(handle);
    GdiEntry& entry = g_gdi_entries[index];
    free_payload(entry);
    --g_live[entry.type % TYPE_SLOTS];
    entry.type = 0;
    entry.generation = (uint16_t)(entry.generation == 0xFFFF ? 1 : entry.generation + 1);
    g_free_slots.push_back(index);
}

void gdi_hold(HGDIOBJ handle) {
    if (GdiEntry* entry = gdi_entry(handle, 0))
        ++entry->select_count;
}

// The last reference to an object that DeleteObject was asked to delete
// while it was selected deletes it now.
void gdi_let_go(HGDIOBJ handle) {
    GdiEntry* entry = gdi_entry(handle, 0);
    if (entry == nullptr)
        return;
    if (--entry->select_count > 0)
        return;
    if (entry->type == OBJ_BITMAP)
        entry->bitmap->selected_into = nullptr;
    if (entry->delete_pending && !entry->stock)
        gdi_release(handle);
}

BOOL layer_gdi_make_stock(HGDIOBJ object) {
    GdiEntry* entry = gdi_entry(object, 0);
    if (entry == nullptr)
        return FALSE;
    if (entry->type != OBJ_PEN && entry->type != OBJ_BRUSH && entry->type != OBJ_FONT) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    entry->stock = true;
    return TRUE;
}

UINT layer_gdi_object_count(DWORD type) {
    // Stock objects are allocated like any other, but never counted.
    UINT stock = 0;
    for (const GdiEntry& entry : g_gdi_entries)
        stock += entry.type == type && entry.stock;
    return g_live[type % TYPE_SLOTS] - stock;
}
