// Scribble: draws with the mouse into a picture that is kept in the window's
// backing bitmap and shown stretched to whatever size the window is given.
#include <zandrel/runtime.h>

namespace {

constexpr UINT_PTR CMD_CLEAR = 1, CMD_EXIT = 2;
constexpr UINT_PTR CMD_COLOUR = 10; // + index into COLOURS
constexpr UINT_PTR CMD_WIDTH = 20;  // + index into WIDTHS

struct Choice {
    const char* name;
    uint32_t value;
};
const Choice COLOURS[] = {
    {"&Black", 0x000000}, {"&Red", 0x0000C0}, {"&Green", 0x008000}, {"B&lue", 0xC00000}};
const Choice WIDTHS[] = {{"&Thin lines", 1}, {"&Medium lines", 3}, {"T&hick lines", 7}};
constexpr int32_t COLOUR_COUNT = sizeof(COLOURS) / sizeof(COLOURS[0]);
constexpr int32_t WIDTH_COUNT = sizeof(WIDTHS) / sizeof(WIDTHS[0]);

WindowRecord Canvas;
int32_t Open = 1;
int32_t Drawing = 0;
int32_t ColourIndex = 0;

// The client point in the backing bitmap's pixels: the bitmap keeps the
// size the client area had at opening and is shown scaled to the client.
POINT toBitmap(int32_t x, int32_t y) {
    int32_t bw = 0, bh = 0, left = 0, top = 0, cw = 0, ch = 0;
    getBackBitmapSize(Canvas.backBitmap, &bw, &bh);
    getClientSize(&Canvas, &left, &top, &cw, &ch);
    if (cw <= 0 || ch <= 0)
        return {x, y};
    return {(LONG)((int16_t)x * bw / cw), (LONG)((int16_t)y * bh / ch)};
}

// Puts the check mark on item `chosen` of a group of `count` items.
void checkOne(UINT_PTR first, int32_t count, int32_t chosen) {
    HMENU bar = GetMenu(Canvas.hwnd);
    for (int32_t i = 0; i < count; ++i)
        CheckMenuItem(bar, (UINT)(first + i), MF_BYCOMMAND | (i == chosen ? MF_CHECKED : 0));
}

HMENU choiceMenu(const Choice* choices, int32_t count, UINT_PTR first) {
    HMENU menu = newMenu(1);
    for (int32_t i = 0; i < count; ++i)
        appendMenuItem(menu, choices[i].name, MF_STRING, first + i);
    return menu;
}

void buildMenus() {
    HMENU bar = newMenu(0), file = newMenu(1);
    appendMenuItem(file, "&Clear", MF_STRING, CMD_CLEAR);
    appendMenuItem(file, "", MF_SEPARATOR, 0);
    appendMenuItem(file, "E&xit", MF_STRING, CMD_EXIT);
    appendMenuItem(bar, "&File", MF_POPUP, (UINT_PTR)file);
    appendMenuItem(bar, "&Colour", MF_POPUP,
                   (UINT_PTR)choiceMenu(COLOURS, COLOUR_COUNT, CMD_COLOUR));
    // The line widths sit in Options itself: the layer's menus open one
    // level of drop-down.
    appendMenuItem(bar, "&Options", MF_POPUP, (UINT_PTR)choiceMenu(WIDTHS, WIDTH_COUNT, CMD_WIDTH));
    setMenuBar(&Canvas, bar);
    checkOne(CMD_COLOUR, COLOUR_COUNT, 0);
    checkOne(CMD_WIDTH, WIDTH_COUNT, 0);
}

void onMenu() {
    if (menuId == CMD_CLEAR) {
        if (messageBox(&Canvas, "Clear the picture?", "Scribble", MB_YESNO | MB_ICONQUESTION) ==
            IDYES)
            setWindowColor(&Canvas, 0xFFFFFF);
    } else if (menuId == CMD_EXIT) {
        Open = 0;
    } else if (menuId >= (int32_t)CMD_COLOUR && menuId < (int32_t)CMD_COLOUR + COLOUR_COUNT) {
        ColourIndex = menuId - (int32_t)CMD_COLOUR;
        checkOne(CMD_COLOUR, COLOUR_COUNT, ColourIndex);
    } else if (menuId >= (int32_t)CMD_WIDTH && menuId < (int32_t)CMD_WIDTH + WIDTH_COUNT) {
        Canvas.penWidth = (int32_t)WIDTHS[menuId - CMD_WIDTH].value;
        checkOne(CMD_WIDTH, WIDTH_COUNT, menuId - (int32_t)CMD_WIDTH);
    }
}

// The left button starts a stroke, moves extend it, release ends it; the
// mouse is held meanwhile so that a stroke may leave the window and return.
void onMouse() {
    POINT p = toBitmap(mouseX, mouseY);
    if (eventId == WM_LBUTTONDOWN) {
        Drawing = 1;
        SetCapture(Canvas.hwnd);
        moveToPoint(&Canvas, p.x, p.y);
        lineToPoint(&Canvas, p.x + 1, p.y, COLOURS[ColourIndex].value);
    } else if (eventId == WM_MOUSEMOVE && Drawing != 0) {
        lineToPoint(&Canvas, p.x, p.y, COLOURS[ColourIndex].value);
    } else if (eventId == WM_LBUTTONUP && Drawing != 0) {
        Drawing = 0;
        ReleaseCapture();
    }
}

int32_t handler() {
    if (eventId == EVENT_CLOSE)
        Open = 0;
    else if (eventId == EVENT_MENU)
        onMenu();
    else if (eventId >= WM_MOUSEMOVE && eventId <= WM_LBUTTONUP)
        onMouse();
    else
        return 0;
    return 1;
}

} // namespace

int main() {
    createPrivateHeap();
    openWindow(&Canvas, 0, 0, 400, 300,
               WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | OW_STRETCH, nullptr, "Scribble",
               handler);
    centerWindow(&Canvas);
    buildMenus();
    while (Open != 0)
        waitEvents(0);
    closeWindow(&Canvas);
}
