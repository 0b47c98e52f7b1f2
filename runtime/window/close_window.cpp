// Closing a window: the only way a framework window is destroyed.
#include "runtime/core/heap.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"

namespace {

constexpr const char* ACCEL_TABLE_PROPERTY = "_ACCEL_TABLE";

// A hosted component is told first that it is released, then that its
// window closes; the record owns the table.
void releaseComponent(WindowRecord* record) {
    ComponentHooks* hooks = record->hookTable;
    hooks->onRelease(record->hwnd, hooks->userData);
    hooks->onClose(record->hwnd);
    OleUninitialize();
    globalFree(hooks);
    record->hookTable = nullptr;
}

// Deletes an owned drawing object once and forgets it, so that a record
// reopened without one never deletes it again.
template <typename Handle> void deleteOwned(Handle* object) {
    if (*object)
        DeleteObject(*object);
    *object = nullptr;
}

// The window owns the accelerator table attached to it.
void destroyAcceleratorTable(HWND hwnd) {
    if (HACCEL table = (HACCEL)GetPropA(hwnd, ACCEL_TABLE_PROPERTY)) {
        DestroyAcceleratorTable(table);
        RemovePropA(hwnd, ACCEL_TABLE_PROPERTY);
    }
}

} // namespace

int32_t closeWindow(WindowRecord* record) {
    if (!record->hwnd)
        return 0;
    if (record->hookTable)
        releaseComponent(record);

    // The handler hears the destruction messages while hwnd still names
    // the window.
    HWND hwnd = record->hwnd;
    destroyAcceleratorTable(hwnd);
    if (parentIsMdiClient(hwnd))
        SendMessageA(GetParent(hwnd), WM_MDIDESTROY, (WPARAM)hwnd, 0);
    else
        DestroyWindow(hwnd);
    record->hwnd = nullptr;

    deleteOwned(&record->backBitmap);
    deleteOwned(&record->pen);
    deleteOwned(&record->font);
    return 0;
}
