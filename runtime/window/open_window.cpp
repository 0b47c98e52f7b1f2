// Opening a window on a record: class registration, creation, the backing
// bitmap and the captured default drawing state; and centring.
#include "runtime/window/framework.h"
#include "runtime/window/window.h"

namespace {

constexpr const char* WND_CLASS_NAME = "OrvaneWndClass";
constexpr const char* FRAME_CLASS_NAME = "OrvaneFrameClass";

// The MDI frame's built-in Window menu and its client window.
constexpr UINT_PTR MDI_CLIENT_ID = 3244;
constexpr UINT MDI_FIRST_CHILD_ID = 16464;
constexpr DWORD MDI_CLIENT_STYLE = WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;

constexpr UINT CENTER_MOVE_FLAGS = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

HICON programIcon(HINSTANCE module) {
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(PROGRAM_ICON_ID));
    return icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

// Registers one framework class; 0 when it failed, so the next open retries.
ATOM registerClass(HINSTANCE module, const char* name, UINT style, HBRUSH background) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = frameworkWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = sizeof(void*); // the WindowRecord pointer
    wc.hInstance = module;
    wc.hIcon = programIcon(module);
    wc.hCursor = nullptr;
    wc.hbrBackground = background;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = name;
    wc.hIconSm = nullptr;
    return RegisterClassExA(&wc);
}

void registerClasses(HINSTANCE module) {
    if (wndClassAtom == 0)
        wndClassAtom = registerClass(module, WND_CLASS_NAME, CS_DBLCLKS | CS_BYTEALIGNCLIENT,
                                     (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (frameClassAtom == 0)
        frameClassAtom = registerClass(module, FRAME_CLASS_NAME, CS_DBLCLKS | CS_BYTEALIGNWINDOW,
                                       (HBRUSH)(INT_PTR)(COLOR_APPWORKSPACE + 1));
}

DWORD windowStyle(uint32_t flags, bool hasParent) {
    DWORD style = (flags & ~OW_FRAMEWORK_BITS) | WS_VISIBLE;
    style |= hasParent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP | WS_CLIPCHILDREN;
    if (!(flags & OW_NOCAPTION))
        style |= WS_CAPTION | WS_SYSMENU;
    return style;
}

DWORD extendedStyle(uint32_t flags, bool mdiChild) {
    DWORD exStyle = mdiChild ? WS_EX_MDICHILD : 0;
    if (flags & OW_TOOLWINDOW)
        exStyle |= WS_EX_TOOLWINDOW;
    if (flags & OW_TOPMOST)
        exStyle |= WS_EX_TOPMOST;
    return exStyle;
}

// Everything the record holds before its window exists. The drawing objects
// are forgotten here so that a record reopened without them never names the
// objects of an earlier window.
void prepareRecord(WindowRecord* record, uint32_t flags, HandlerProc handler) {
    record->backingMode = (flags & OW_NOBACKING) ? 0 : 1;
    if (flags & OW_STRETCH)
        record->backingMode |= BACKING_STRETCH;
    record->handler = handler;
    record->paintDC = nullptr;
    record->drawDC = nullptr;
    record->drawNesting = 0;
    record->mdiClient = nullptr;
    record->hookTable = nullptr;
    record->backBitmap = nullptr;
    record->pen = nullptr;
    record->font = nullptr;
}

void showInitialState(HWND hwnd, DWORD style) {
    if (style & WS_MAXIMIZE)
        ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE)
        ShowWindow(hwnd, SW_MINIMIZE);
}

// An MDI frame gets a menu bar with the Window menu and a client window
// that fills its client area.
void makeMdiClient(WindowRecord* record, HINSTANCE module) {
    HMENU bar = CreateMenu();
    HMENU windowMenu = CreateMenu();
    AppendMenuA(windowMenu, MF_STRING, CMD_MDI_CASCADE, "&Cascade");
    AppendMenuA(windowMenu, MF_STRING, CMD_MDI_TILE, "&Tile");
    AppendMenuA(windowMenu, MF_STRING, CMD_MDI_ARRANGE, "&Arrange Icons");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)windowMenu, "&Window");
    SetMenu(record->hwnd, bar);

    RECT client;
    GetClientRect(record->hwnd, &client);
    CLIENTCREATESTRUCT creation;
    creation.hWindowMenu = windowMenu;
    creation.idFirstChild = MDI_FIRST_CHILD_ID;
    record->mdiClient =
        CreateWindowExA(0, "MDICLIENT", "", MDI_CLIENT_STYLE, 0, 0, client.right, client.bottom,
                        record->hwnd, (HMENU)MDI_CLIENT_ID, module, &creation);
    mdiClientAtom = GetClassWord(record->mdiClient, GCW_ATOM);
    ShowWindow(record->mdiClient, SW_SHOW);
}

// Creates the backing bitmap in `memory`, filled with the window colour.
// Returns what the bitmap replaced in `memory`.
HGDIOBJ makeBackBitmap(WindowRecord* record, HDC windowDC, HDC memory, uint32_t flags,
                       int32_t width, int32_t height, SIZE screen) {
    int32_t bitmapWidth = screen.cx;
    int32_t bitmapHeight = screen.cy;
    int32_t fillWidth = bitmapWidth;
    int32_t fillHeight = bitmapHeight;
    if (flags & OW_STRETCH) {
        RECT client;
        GetClientRect(record->hwnd, &client);
        bitmapWidth = fillWidth = client.right - client.left;
        bitmapHeight = fillHeight = client.bottom - client.top;
    } else if (flags & OW_BACKING_WINDOWSIZE) {
        // One spare column and row, left unfilled.
        bitmapWidth = width + 1;
        bitmapHeight = height + 1;
        fillWidth = width;
        fillHeight = height;
    }
    record->backBitmap = CreateCompatibleBitmap(windowDC, bitmapWidth, bitmapHeight);
    HGDIOBJ replaced = SelectObject(memory, record->backBitmap);
    fillRect(memory, 0, 0, fillWidth, fillHeight, record->windowColor);
    return replaced;
}

// Copies the memory context's defaults into the record: position, pen, font
// and the modes that drawing restores on every acquisition.
void captureDrawingState(WindowRecord* record, HDC memory) {
    GetCurrentPositionEx(memory, &record->curPos);
    if (HGDIOBJ pen = GetCurrentObject(memory, OBJ_PEN)) {
        LOGPEN logPen{};
        GetObjectA(pen, sizeof logPen, &logPen);
        record->pen = CreatePenIndirect(&logPen);
    }
    if (HGDIOBJ font = GetCurrentObject(memory, OBJ_FONT)) {
        LOGFONTA logFont{};
        GetObjectA(font, sizeof logFont, &logFont);
        record->font = CreateFontIndirectA(&logFont);
    }
    record->bkMode = GetBkMode(memory);
    record->bkColor = GetBkColor(memory);
    record->drawMode = GetROP2(memory);
    record->cursor = LoadCursorA(nullptr, IDC_ARROW);
    record->penWidth = 1;
    record->penStyle = 0;
    record->dialogNavigation = 0;
}

// The backing bitmap and the drawing state. Without a window context the
// window stays without them and without its handler.
void setUpDrawing(WindowRecord* record, uint32_t flags, int32_t width, int32_t height,
                  HandlerProc handler) {
    SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HDC windowDC = GetDC(record->hwnd);
    if (!windowDC)
        return;
    HDC memory = CreateCompatibleDC(windowDC);
    record->windowColor = GetSysColor(COLOR_WINDOW);
    HGDIOBJ replaced = nullptr;
    if (record->backingMode != 0)
        replaced = makeBackBitmap(record, windowDC, memory, flags, width, height, screen);
    else
        fillRect(windowDC, 0, 0, width, height, record->windowColor);
    captureDrawingState(record, memory);
    record->handler = handler;
    if (replaced)
        SelectObject(memory, replaced);
    DeleteDC(memory);
    ReleaseDC(record->hwnd, windowDC);
}

} // namespace

int32_t fillRect(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) {
    if (!dc)
        return 0;
    SetBkColor(dc, colour);
    RECT box = {x, y, x + width, y + height};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &box, "", 0, nullptr);
    return 0;
}

int32_t openWindow(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height,
                   uint32_t flags, WindowRecord* parent, const char* caption, HandlerProc handler) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    registerClasses(module);

    HWND parentHwnd = nullptr;
    bool mdiChild = false;
    if (parent && parent->hwnd) {
        parentHwnd = parent->hwnd;
        if (parent->mdiClient) {
            parentHwnd = parent->mdiClient;
            mdiChild = true;
        }
    }
    DWORD style = windowStyle(flags, parentHwnd != nullptr);
    DWORD exStyle = extendedStyle(flags, mdiChild);
    const char* className = (flags & OW_MDIFRAME) ? FRAME_CLASS_NAME : WND_CLASS_NAME;

    prepareRecord(record, flags, handler);
    // Messages sent during creation find the record through creatingRecord.
    creatingRecord = record;
    record->hwnd = CreateWindowExA(exStyle, className, caption, style, x, y, width, height,
                                   parentHwnd, nullptr, module, nullptr);
    creatingRecord = nullptr;
    // Until the record is attached, messages get default processing only.
    record->handler = nullptr;
    if (!record->hwnd)
        return 0;

    showInitialState(record->hwnd, style);
    if (flags & OW_MDIFRAME)
        makeMdiClient(record, module);
    else if (mdiClientAtom == 0)
        mdiClientAtom = 0xFFFF; // a class word no window has
    setUpDrawing(record, flags, width, height, handler);

    SetWindowLongPtrA(record->hwnd, 0, (LONG_PTR)record);
    return 1;
}

int32_t centerWindow(WindowRecord* record) {
    if (!record->hwnd)
        return 0;
    HWND hwnd = record->hwnd;
    RECT bounds, reference;
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) {
        GetClientRect(GetParent(hwnd), &bounds);
        reference = bounds;
    } else {
        HWND owner = GetWindow(hwnd, GW_OWNER);
        if (owner) {
            LONG ownerStyle = GetWindowLongA(owner, GWL_STYLE);
            if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE))
                owner = nullptr;
        }
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &bounds, 0);
        if (owner)
            GetWindowRect(owner, &reference);
        else
            reference = bounds;
    }
    RECT own;
    GetWindowRect(hwnd, &own);
    int32_t w = own.right - own.left;
    int32_t h = own.bottom - own.top;
    int32_t x = (reference.left + reference.right) / 2 - w / 2;
    int32_t y = (reference.top + reference.bottom) / 2 - h / 2;
    // One test per axis: a window larger than the bounds keeps its left (top)
    // edge when it started left of (above) them.
    if (x < bounds.left)
        x = bounds.left;
    else if (x + w > bounds.right)
        x = bounds.right - w;
    if (y < bounds.top)
        y = bounds.top;
    else if (y + h > bounds.bottom)
        y = bounds.bottom - h;
    SetWindowPos(hwnd, nullptr, x, y, -1, -1, CENTER_MOVE_FLAGS);
    return 0;
}
