#include "runtime/window/event_state.h"
#include "runtime/window/framework.h"
#include "runtime/window/window_record.h"

ATOM wndClassAtom = 0;
ATOM frameClassAtom = 0;
ATOM mdiClientAtom = 0;
WindowRecord* creatingRecord = nullptr;

int32_t eventId = 0;
WPARAM eventWParam = 0;
LPARAM eventLParam = 0;
int32_t mouseX = 0;
int32_t mouseY = 0;
WindowRecord* eventWindow = nullptr;
int32_t controlId = 0;
int32_t menuId = 0;
int32_t notifyCode = 0;

namespace {

// A class that still has windows cannot go; it keeps its atom, so that the
// framework still knows those windows as its own.
void unregisterClass(ATOM& atom) {
    if (atom != 0 && UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)))
        atom = 0;
}

} // namespace

void resetFrameworkState() {
    eventId = 0;
    eventWParam = 0;
    eventLParam = 0;
    mouseX = 0;
    mouseY = 0;
    eventWindow = nullptr;
    controlId = 0;
    menuId = 0;
    notifyCode = 0;
    unregisterClass(wndClassAtom);
    unregisterClass(frameClassAtom);
    mdiClientAtom = 0;
    creatingRecord = nullptr;
}
