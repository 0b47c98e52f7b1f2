// The window procedure of the framework's classes, the translation of
// messages into events, and the layout of an MDI frame's client window.
#include "runtime/core/heap.h"
#include "runtime/core/text.h"
#include "runtime/window/framework.h"
#include "runtime/window/window.h"

#include <string.h>

namespace {

// The framework's pseudo-message for a close request, which the default
// procedures ignore, so that the close box never destroys the window.
constexpr UINT MSG_CLOSE_REQUEST = (UINT)EVENT_CLOSE;

// The old 16-bit colour query (WM_CTLCOLOR, 25), which the framework's own
// controls answer with their brush.
constexpr UINT MSG_CONTROL_COLOUR = 0x0019;

// WM_MDITILE's wParam for tiling side by side.
constexpr WPARAM TILE_HORIZONTAL = 1;

// Placement bits of a tool bar's style (the common controls' CCS_*).
constexpr LONG BAR_PLACEMENT_MASK = 0x3;
constexpr LONG BAR_AT_TOP = 0x1;
constexpr LONG BAR_AT_BOTTOM = 0x3;
constexpr LONG BAR_VERTICAL = 0x80;

// The eight event variables that every dispatch saves and restores; menuId
// is left out so that it outlives the menu event.
struct SavedEvent {
    int32_t id;
    WPARAM wParam;
    LPARAM lParam;
    int32_t x;
    int32_t y;
    WindowRecord* window;
    int32_t control;
    int32_t notify;
};

SavedEvent saveEvent() {
    return {eventId, eventWParam, eventLParam, mouseX, mouseY, eventWindow, controlId, notifyCode};
}

void restoreEvent(const SavedEvent& saved) {
    eventId = saved.id;
    eventWParam = saved.wParam;
    eventLParam = saved.lParam;
    mouseX = saved.x;
    mouseY = saved.y;
    eventWindow = saved.window;
    controlId = saved.control;
    notifyCode = saved.notify;
}

void translateMouse(WPARAM wParam, LPARAM lParam) {
    // The button and key flags; the position as unsigned 16-bit client
    // coordinates, so a point left of the client area reads as 65533 and up.
    eventLParam = (LPARAM)wParam;
    mouseX = (int32_t)((uint32_t)lParam & 0xFFFF);
    mouseY = (int32_t)(((uint32_t)lParam >> 16) & 0xFFFF);
}

void translateScroll(WPARAM wParam, LPARAM lParam) {
    controlId = lParam ? GetDlgCtrlID((HWND)lParam) : 0;
    eventWParam = wParam & 0xFFFF;
    eventLParam = (LPARAM)((wParam >> 16) & 0xFFFF);
}

// A menu command is reported for the window's topmost child record when it
// has one: the active MDI child of a frame, or a framework child window.
void retargetMenuEvent(WindowRecord* record) {
    HWND child = nullptr;
    if (record->mdiClient)
        child = GetTopWindow(record->mdiClient);
    if (!child)
        child = GetTopWindow(record->hwnd);
    if (!child)
        return;
    if (WindowRecord* childRecord = windowRecordOf(child))
        eventWindow = childRecord;
}

void runMdiCommand(WindowRecord* record, int32_t command) {
    if (!record->mdiClient)
        return;
    if (command == CMD_MDI_TILE)
        SendMessageA(record->mdiClient, WM_MDITILE, TILE_HORIZONTAL, 0);
    else if (command == CMD_MDI_CASCADE)
        SendMessageA(record->mdiClient, WM_MDICASCADE, 0, 0);
    else if (command == CMD_MDI_ARRANGE)
        SendMessageA(record->mdiClient, WM_MDIICONARRANGE, 0, 0);
}

int32_t translateCommand(WindowRecord* record, WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        notifyCode = (int32_t)((wParam >> 16) & 0xFFFF);
        controlId = (int32_t)(wParam & 0xFFFF);
        return EVENT_CONTROL;
    }
    menuId = (int32_t)(wParam & 0xFFFF);
    retargetMenuEvent(record);
    runMdiCommand(record, menuId);
    return EVENT_MENU;
}

// Sets the event variables for one message and returns its event id.
int32_t translate(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        return EVENT_CLOSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        translateMouse(wParam, lParam);
        return (int32_t)message;
    case WM_HSCROLL:
    case WM_VSCROLL:
        translateScroll(wParam, lParam);
        return (int32_t)message;
    case WM_COMMAND:
    case (UINT)EVENT_CONTROL:
        return translateCommand(record, wParam, lParam);
    case WM_NOTIFY:
        // A notification without its header has nothing to report but the id.
        if (const NMHDR* header = (const NMHDR*)lParam) {
            controlId = (int32_t)header->idFrom;
            notifyCode = (int32_t)header->code;
        }
        return EVENT_CONTROL;
    case (UINT)EVENT_RESIZE:
        eventWindow = record;
        eventLParam = (LPARAM)record->hwnd;
        return EVENT_RESIZE;
    default:
        return (int32_t)message;
    }
}

// What the procedure itself makes of a message before any handler sees it.
enum class FrameworkAnswer {
    Answered,    // paint, erase or a control's own answer: returned as it is
    DefaultOnly, // a reflection with no control to ask: the default processing answers
    NotMine,     // for the handler
};

// Paint, erase and reflections to child controls, which the procedure
// answers without the handler.
FrameworkAnswer handleFrameworkMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT* result) {
    switch (message) {
    case WM_PAINT:
        *result = paintWindow(hwnd, wParam, lParam);
        return FrameworkAnswer::Answered;
    case WM_ERASEBKGND:
        *result = eraseBackground(hwnd, (HDC)wParam, lParam);
        return FrameworkAnswer::Answered;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // The control chooses its own colours.
        if (!lParam)
            return FrameworkAnswer::DefaultOnly;
        *result = SendMessageA((HWND)lParam, MSG_CONTROL_COLOUR, wParam, lParam);
        return FrameworkAnswer::Answered;
    case WM_DRAWITEM:
        // An owner-drawn control draws itself.
        if (!wParam)
            return FrameworkAnswer::DefaultOnly;
        *result = SendMessageA(GetDlgItem(hwnd, (int)wParam), WM_DRAWITEM, wParam, lParam);
        return FrameworkAnswer::Answered;
    default:
        return FrameworkAnswer::NotMine;
    }
}

// Routes a message of a window with a record to its handler. `message` may
// be replaced (a close request) for the default processing that follows.
LRESULT routeToHandler(WindowRecord* record, HWND hwnd, UINT* message, WPARAM wParam,
                       LPARAM lParam) {
    switch (*message) {
    case WM_SIZE:
        if (record->backingMode & BACKING_STRETCH)
            InvalidateRect(hwnd, nullptr, FALSE);
        dispatchEvent(record, EVENT_RESIZE, wParam, lParam);
        return dispatchEvent(record, WM_SIZE, wParam, lParam);
    case WM_SIZING:
        dispatchEvent(record, EVENT_RESIZE, wParam, lParam);
        return dispatchEvent(record, WM_SIZING, wParam, lParam);
    case WM_CLOSE:
        *message = MSG_CLOSE_REQUEST;
        return dispatchEvent(record, MSG_CLOSE_REQUEST, wParam, lParam);
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetActiveWindow(hwnd);
        return dispatchEvent(record, WM_LBUTTONDOWN, wParam, lParam);
    default:
        return dispatchEvent(record, *message, wParam, lParam);
    }
}

LRESULT defaultProcessing(WindowRecord* record, ATOM atom, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    if (record && atom == frameClassAtom) {
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED && layoutFrame(hwnd, record->mdiClient))
            return 0;
        return DefFrameProcA(hwnd, record->mdiClient, message, wParam, lParam);
    }
    if (parentIsMdiClient(hwnd))
        return DefMDIChildProcA(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Only the window's own client area shows the record's cursor; children and
// the non-client area keep what the default processing chose.
void applyCursor(WindowRecord* record, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (record && (lParam & 0xFFFF) == HTCLIENT && (HWND)wParam == hwnd)
        SetCursor(record->cursor);
}

struct FrameLayout {
    RECT area; // what is left for the MDI client
    bool found;
};

void fitBesideToolBar(HWND bar, FrameLayout* layout) {
    RECT box;
    GetWindowRect(bar, &box);
    LONG style = GetWindowLongA(bar, GWL_STYLE);
    LONG width = box.right - box.left;
    LONG height = box.bottom - box.top;
    bool vertical = (style & BAR_VERTICAL) != 0;
    if ((style & BAR_PLACEMENT_MASK) == BAR_AT_TOP) {
        if (vertical)
            layout->area.left += width;
        else
            layout->area.top += height;
    } else if ((style & BAR_PLACEMENT_MASK) == BAR_AT_BOTTOM) {
        if (vertical)
            layout->area.right -= width;
        else
            layout->area.bottom -= height;
    }
    layout->found = true;
}

void fitAboveStatusBar(HWND bar, FrameLayout* layout) {
    RECT box;
    GetWindowRect(bar, &box);
    layout->area.bottom -= box.bottom - box.top;
    layout->found = true;
}

BOOL CALLBACK layoutOneChild(HWND child, LPARAM param) {
    FrameLayout* layout = (FrameLayout*)param;
    char name[20] = {};
    GetClassNameA(child, name, sizeof name);
    char* upper = upperCaseCopy(name);
    if (!upper)
        return TRUE;
    if (strcmp(upper, "TOOLBARWINDOW32") == 0)
        fitBesideToolBar(child, layout);
    else if (strcmp(upper, "MSCTLS_STATUSBAR32") == 0)
        fitAboveStatusBar(child, layout);
    heapFree(upper);
    return TRUE;
}

} // namespace

WindowRecord* windowRecordOf(HWND window) {
    if (!window)
        return nullptr;
    ATOM atom = GetClassWord(window, GCW_ATOM);
    if (atom == 0 || (atom != wndClassAtom && atom != frameClassAtom))
        return nullptr;
    return (WindowRecord*)GetWindowLongPtrA(window, 0);
}

bool parentIsMdiClient(HWND window) {
    HWND parent = GetParent(window);
    if (!parent)
        return false;
    // Before the first openWindow decides, mdiClientAtom is 0: no parent's
    // class word can be 0, so it never matches then.
    ATOM atom = GetClassWord(parent, GCW_ATOM);
    return atom != 0 && atom == mdiClientAtom;
}

int32_t dispatchEvent(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    SavedEvent saved = saveEvent();
    HandlerProc handler = record->handler;
    eventWParam = wParam;
    eventLParam = lParam;
    eventWindow = record;
    int32_t id = translate(record, message, wParam, lParam);
    eventId = id;
    int32_t result = handler ? handler() : 0;
    restoreEvent(saved);
    return result;
}

LRESULT CALLBACK frameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ATOM atom = GetClassWord(hwnd, GCW_ATOM);
    WindowRecord* record = hwnd ? (WindowRecord*)GetWindowLongPtrA(hwnd, 0) : nullptr;

    LRESULT result = 0;
    FrameworkAnswer answer = handleFrameworkMessage(hwnd, message, wParam, lParam, &result);
    if (answer == FrameworkAnswer::Answered)
        return result;
    // A reflection with no control to ask goes to the default processing
    // alone; no handler hears it.
    if (answer == FrameworkAnswer::NotMine && !record) {
        // During openWindow's creation call the handler already hears the
        // window's messages, untranslated by the routing below.
        if (creatingRecord) {
            creatingRecord->hwnd = hwnd;
            result = dispatchEvent(creatingRecord, message, wParam, lParam);
        }
    } else if (answer == FrameworkAnswer::NotMine) {
        result = routeToHandler(record, hwnd, &message, wParam, lParam);
    }
    if (result != 0)
        return result;

    result = defaultProcessing(record, atom, hwnd, message, wParam, lParam);
    if (message == WM_SETCURSOR && result == 0)
        applyCursor(record, hwnd, wParam, lParam);
    if (message == WM_SIZE && record && record->hookTable)
        record->hookTable->onResize(hwnd, (int32_t)((uint32_t)lParam & 0xFFFF),
                                    (int32_t)(((uint32_t)lParam >> 16) & 0xFFFF));
    return result;
}

int32_t layoutFrame(HWND frame, HWND mdiClient) {
    FrameLayout layout{};
    GetClientRect(frame, &layout.area);
    EnumChildWindows(frame, layoutOneChild, (LPARAM)&layout);
    if (!layout.found)
        return 0;
    MoveWindow(mdiClient, layout.area.left, layout.area.top, layout.area.right - layout.area.left,
               layout.area.bottom - layout.area.top, TRUE);
    return 1;
}
