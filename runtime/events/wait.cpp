// The wait for events: the one place where the program takes messages off
// the queue and hands them to their windows.
#include "runtime/events/wait.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"

namespace {

// The record of the nearest framework window at or above the message's
// window, looked up afresh for every message.
WindowRecord* recordForMessage(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        ATOM atom = GetClassWord(w, GCW_ATOM);
        if (atom == 0)
            return nullptr;
        if (atom == wndClassAtom || atom == frameClassAtom)
            return (WindowRecord*)GetWindowLongPtrA(w, 0);
    }
    return nullptr;
}

// The window property that holds a window's accelerator table.
constexpr const char* ACCEL_TABLE_PROPERTY = "_ACCEL_TABLE";

// With a record: dispatched unless an accelerator or the dialog keyboard
// navigation took the message, or a hosted component's key filter took a
// key-down. The first two tests only ever mark the message.
bool markForRecord(const WindowRecord* record, MSG* msg) {
    bool marked = false;
    HACCEL table = (HACCEL)GetPropA(record->hwnd, ACCEL_TABLE_PROPERTY);
    if (table && TranslateAcceleratorA(record->hwnd, table, msg) == 0)
        marked = true;
    if (record->dialogNavigation == 0 || IsDialogMessageA(record->hwnd, msg) == 0)
        marked = true;
    if (record->hookTable && msg->message == WM_KEYDOWN &&
        record->hookTable->keyFilter(record->hwnd, msg))
        marked = false;
    return marked;
}

// Without a record: an active control parent gets its dialog keys.
bool markWithoutRecord(MSG* msg) {
    HWND active = GetActiveWindow();
    if (GetWindowLongA(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
        return IsDialogMessageA(active, msg) == 0;
    return true;
}

} // namespace

int32_t waitEvents(int32_t noWait) {
    if (noWait == 0)
        WaitMessage();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        WindowRecord* record = recordForMessage(msg.hwnd);
        bool marked = record ? markForRecord(record, &msg) : markWithoutRecord(&msg);
        if (marked) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
