#include "runtime/window/event_state.h"
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
