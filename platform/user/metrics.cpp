// System metrics and colours of the classic Windows look, the work area,
// and the brushes of the system colours.
#include <layer/gdi.h>

#include "platform/host/host.h"
#include "platform/user/user_private.h"

namespace {

constexpr int COLOR_COUNT = 31;

// The classic scheme: grey 3D faces, navy captions, a teal desktop.
const COLORREF CLASSIC_COLORS[COLOR_COUNT] = {
    RGB(192, 192, 192), // COLOR_SCROLLBAR
    RGB(0, 128, 128),   // COLOR_BACKGROUND
    RGB(0, 0, 128),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(192, 192, 192), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(192, 192, 192), // COLOR_ACTIVEBORDER
    RGB(192, 192, 192), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(0, 0, 128),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(223, 223, 223), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(180, 180, 180), // (unused slot)
    RGB(0, 0, 255),     // COLOR_HOTLIGHT
    RGB(16, 132, 208),  // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181), // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),     // COLOR_MENUHILIGHT
    RGB(192, 192, 192), // COLOR_MENUBAR
};

HBRUSH g_color_brushes[COLOR_COUNT];

RECT screen_rect() {
    RECT screen, work;
    host_screen(&screen, &work);
    return screen;
}

RECT work_area() {
    RECT screen, work;
    host_screen(&screen, &work);
    return work;
}

int fixed_metric(int index) {
    switch (index) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 16;
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
        return 18;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
        return 12;
    case SM_CYSMSIZE:
        return 14;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXMINIMIZED:
        return 160;
    case SM_CYMINIMIZED:
        return 24;
    }
    return 0;
}

} // namespace

int WINAPI GetSystemMetrics(int index) {
    RECT screen = screen_rect(), work = work_area();
    switch (index) {
    case SM_CXSCREEN:
        return screen.right - screen.left;
    case SM_CYSCREEN:
        return screen.bottom - screen.top;
    case SM_CXFULLSCREEN:
        return work.right - work.left;
    case SM_CYFULLSCREEN:
        return work.bottom - work.top - fixed_metric(SM_CYCAPTION);
    case SM_CXMAXTRACK:
        return screen.right - screen.left + 12;
    case SM_CYMAXTRACK:
        return screen.bottom - screen.top + 12;
    case SM_CXMAXIMIZED:
        return work.right - work.left + 8;
    case SM_CYMAXIMIZED:
        return work.bottom - work.top + 8;
    }
    return fixed_metric(index);
}

DWORD WINAPI GetSysColor(int index) {
    if (index < 0 || index >= COLOR_COUNT)
        return 0;
    return CLASSIC_COLORS[index];
}

// The system colours' brushes are made once and never destroyed.
HBRUSH WINAPI GetSysColorBrush(int index) {
    if (index < 0 || index >= COLOR_COUNT)
        return nullptr;
    if (g_color_brushes[index] == nullptr) {
        g_color_brushes[index] = CreateSolidBrush(CLASSIC_COLORS[index]);
        layer_gdi_make_stock(g_color_brushes[index]);
    }
    return g_color_brushes[index];
}

// A class background is a brush, or a system colour index plus one.
HBRUSH user_class_brush(HBRUSH background) {
    ULONG_PTR value = (ULONG_PTR)background;
    if (value >= 1 && value <= COLOR_COUNT)
        return GetSysColorBrush((int)value - 1);
    return background;
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, PVOID data, UINT) {
    if (action != SPI_GETWORKAREA) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *(RECT*)data = work_area();
    return TRUE;
}
