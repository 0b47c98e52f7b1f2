// A first program: a window that greets, and ends when it is closed.
#include <zandrel/runtime.h>

WindowRecord Window;
int32_t Open = 1;

// Nonzero means handled: the close is ours, every other event the system's.
int32_t handler() {
    if (eventId == EVENT_CLOSE)
        Open = 0;
    return eventId == EVENT_CLOSE;
}

int main() {
    createPrivateHeap();
    openWindow(&Window, 0, 0, 320, 200, WS_MINIMIZEBOX, nullptr, "Hello", handler);
    centerWindow(&Window);
    drawEllipse(&Window, 110, 50, 100, 100, colorRGB(255, 0, 0), colorRGB(255, 255, 0));
    printItems(2, PRINT_TARGET, &Window, PRINT_TEXT, "Hello, world");
    while (Open != 0)
        waitEvents(0);
    closeWindow(&Window);
}
