// Clocks: a frame whose documents are stopwatches. Each clock keeps its
// picture in its own backing bitmap and counts the seconds since it was
// opened on a timer of its own; the frame's Window menu arranges them.
#include <zandrel/runtime.h>

namespace {

constexpr UINT_PTR CMD_NEW = 1, CMD_EXIT = 2;
constexpr int32_t CLOCK_MAX = 8;
constexpr int32_t TICK_TIMER = 1;
constexpr int32_t FACE = 56; // the dial's size, in pixels

struct Clock {
    WindowRecord window; // the document; hwnd is null when the slot is free
    DWORD started;       // tick count at opening
    int32_t shown;       // seconds last drawn, -1 before the first drawing
};

WindowRecord Frame;
Clock Clocks[CLOCK_MAX];
int32_t Opened = 0; // clocks opened so far, for their captions
int32_t Open = 1;

Clock* clockOf(WindowRecord* record) {
    for (Clock& clock : Clocks)
        if (&clock.window == record)
            return &clock;
    return nullptr;
}

// The dial: a hand that goes round once a minute in twelve steps, over a
// face coloured by the minute, and the elapsed time as text beside it.
void drawClock(Clock* clock, int32_t seconds) {
    static const int8_t HAND[12][2] = {{0, -20},  {10, -17}, {17, -10},  {20, 0},
                                       {17, 10},  {10, 17},  {0, 20},    {-10, 17},
                                       {-17, 10}, {-20, 0},  {-17, -10}, {-10, -17}};
    static const uint32_t FACES[] = {0xE0FFFF, 0xE0FFE0, 0xFFE0E0, 0xE0E0FF};
    WindowRecord* w = &clock->window;
    const int8_t* hand = HAND[(seconds % 60) / 5];
    drawEllipse(w, 8, 8, FACE, FACE, colorRGB(0, 0, 0), FACES[(seconds / 60) % 4]);
    drawLine(w, 8 + FACE / 2, 8 + FACE / 2, 8 + FACE / 2 + hand[0], 8 + FACE / 2 + hand[1],
             colorRGB(192, 0, 0));
    moveToPoint(w, 2 * 8 + FACE, 8 + FACE / 2 - 8);
    printItems(5, PRINT_TARGET, w, PRINT_INT32, seconds / 60, PRINT_TEXT, "min ", PRINT_INT32,
               seconds % 60, PRINT_TEXT, "s   ");
    clock->shown = seconds;
}

void tick(Clock* clock) {
    int32_t seconds = (int32_t)((GetTickCount() - clock->started) / 1000);
    if (seconds != clock->shown)
        drawClock(clock, seconds);
}

int32_t clockHandler() {
    Clock* clock = clockOf(eventWindow);
    if (clock == nullptr)
        return 0;
    if (eventId == WM_TIMER) {
        tick(clock);
        return 1;
    }
    if (eventId == EVENT_CLOSE) {
        closeWindow(&clock->window);
        return 1;
    }
    return 0;
}

// Every other clock ticks through a timer routine instead of the event.
void CALLBACK tickRoutine(HWND window, UINT, UINT_PTR, DWORD) {
    for (Clock& clock : Clocks)
        if (clock.window.hwnd == window)
            tick(&clock);
}

void newClock() {
    Clock* clock = nullptr;
    for (Clock& slot : Clocks)
        if (slot.window.hwnd == nullptr && clock == nullptr)
            clock = &slot;
    if (clock == nullptr) {
        messageBox(&Frame, "Close a clock first.", "Clocks", 0);
        return;
    }
    // The caption's parts are temporary strings, released once it is used.
    char* number = numberToText(++Opened);
    heapStackPush(number);
    char* caption = concatStrings("Clock", number);
    heapStackPush(caption);
    openWindow(&clock->window, CW_USEDEFAULT, CW_USEDEFAULT, 220, 110,
               WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, &Frame, caption, clockHandler);
    heapStackPop(2);
    clock->started = GetTickCount();
    clock->shown = -1;
    drawClock(clock, 0);
    startTimer(&clock->window, 250, TICK_TIMER, Opened % 2 == 0 ? tickRoutine : nullptr);
}

int32_t frameHandler() {
    if (eventId == EVENT_CLOSE)
        Open = 0;
    else if (eventId == EVENT_MENU && menuId == (int32_t)CMD_NEW)
        newClock();
    else if (eventId == EVENT_MENU && menuId == (int32_t)CMD_EXIT)
        Open = 0;
    else
        return 0;
    return 1;
}

// The Clocks menu goes before the frame's own Window menu.
void addClocksMenu() {
    HMENU menu = newMenu(1);
    appendMenuItem(menu, "&New clock", MF_STRING, CMD_NEW);
    appendMenuItem(menu, "", MF_SEPARATOR, 0);
    appendMenuItem(menu, "E&xit", MF_STRING, CMD_EXIT);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_SUBMENU;
    item.hSubMenu = menu;
    item.dwTypeData = (LPSTR) "&Clocks";
    InsertMenuItemA(GetMenu(Frame.hwnd), 0, TRUE, &item);
    DrawMenuBar(Frame.hwnd);
}

} // namespace

int main() {
    createPrivateHeap();
    openWindow(&Frame, 0, 0, 640, 440,
               WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | OW_MDIFRAME, nullptr, "Clocks",
               frameHandler);
    centerWindow(&Frame);
    addClocksMenu();
    while (Open != 0)
        waitEvents(0);
    for (Clock& clock : Clocks)
        closeWindow(&clock.window);
    closeWindow(&Frame);
}
