// The system class "Button", as push buttons: raised in the classic 3D
// style, pressed while the mouse or Space holds them, with the focus
// shown as a dotted rectangle and the default button framed in black. A
// click tells the parent with WM_COMMAND and BN_CLICKED.
#include "platform/user/menu.h"

namespace {

// State kept in the window's user data.
constexpr LONG_PTR PRESSED = 1;  // drawn pushed in
constexpr LONG_PTR TRACKING = 2; // the left button went down on it and is held

LONG_PTR state_of(HWND button) {
    return GetWindowLongPtrA(button, GWLP_USERDATA);
}

void set_state(HWND button, LONG_PTR state) {
    if (state_of(button) == state)
        return;
    SetWindowLongPtrA(button, GWLP_USERDATA, state);
    InvalidateRect(button, nullptr, FALSE);
    UpdateWindow(button);
}

bool is_default(HWND button) {
    return (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void edge(HDC dc, RECT r, int light, int dark) {
    RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom},
        right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, GetSysColorBrush(light));
    FillRect(dc, &left, GetSysColorBrush(light));
    FillRect(dc, &bottom, GetSysColorBrush(dark));
    FillRect(dc, &right, GetSysColorBrush(dark));
}

// A dotted rectangle: every other pixel, as the focus is drawn.
void dotted_rect(HDC dc, const RECT& r) {
    for (LONG x = r.left; x < r.right; x += 2) {
        SetPixel(dc, x, r.top, GetSysColor(COLOR_BTNTEXT));
        SetPixel(dc, x, r.bottom - 1, GetSysColor(COLOR_BTNTEXT));
    }
    for (LONG y = r.top; y < r.bottom; y += 2) {
        SetPixel(dc, r.left, y, GetSysColor(COLOR_BTNTEXT));
        SetPixel(dc, r.right - 1, y, GetSysColor(COLOR_BTNTEXT));
    }
}

void paint(HWND button) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(button, &ps);
    RECT r;
    GetClientRect(button, &r);
    bool pressed = state_of(button) & PRESSED;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (is_default(button) || GetFocus() == button) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (pressed) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
        RECT inner = r;
        InflateRect(&inner, -1, -1);
        edge(dc, inner, COLOR_3DLIGHT, COLOR_BTNSHADOW);
    }
    char text[64] = {};
    GetWindowTextA(button, text, sizeof text);
    MenuItem label{IsWindowEnabled(button) ? 0u : (UINT)MF_GRAYED, 0, nullptr, text, r};
    SIZE size{};
    int mnemonic_free_width = 0;
    std::string shown;
    for (const char* c = text; *c; ++c) {
        if (*c != '&')
            shown += *c;
    }
    GetTextExtentPoint32A(dc, shown.c_str(), (int)shown.size(), &size);
    mnemonic_free_width = size.cx;
    int shift = pressed ? 1 : 0;
    RECT box{r.left, r.top + shift, r.right, r.bottom + shift};
    draw_menu_text(dc, label, box, (r.left + r.right - mnemonic_free_width) / 2 + shift, false);
    if (GetFocus() == button) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        dotted_rect(dc, focus);
    }
    EndPaint(button, &ps);
}

void click(HWND button) {
    HWND parent = GetParent(button);
    int id = GetDlgCtrlID(button);
    if (parent != nullptr)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

bool inside(HWND button, LPARAM lparam) {
    RECT r;
    GetClientRect(button, &r);
    POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    return PtInRect(&r, p);
}

LRESULT on_button_up(HWND button) {
    bool was_pressed = state_of(button) & PRESSED;
    bool tracking = state_of(button) & TRACKING;
    set_state(button, 0);
    if (tracking)
        ReleaseCapture();
    if (was_pressed)
        click(button);
    return 0;
}

LRESULT CALLBACK button_proc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        paint(button);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(button);
        SetCapture(button);
        set_state(button, PRESSED | TRACKING);
        return 0;
    case WM_MOUSEMOVE:
        if (state_of(button) & TRACKING)
            set_state(button, TRACKING | (inside(button, lparam) ? PRESSED : 0));
        return 0;
    case WM_LBUTTONUP:
        return on_button_up(button);
    case WM_KEYDOWN:
        if (wparam == VK_SPACE)
            set_state(button, PRESSED);
        return 0;
    case WM_KEYUP:
        if (wparam == VK_SPACE && (state_of(button) & PRESSED))
            return on_button_up(button);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        if (message == WM_KILLFOCUS && (state_of(button) & TRACKING) && GetCapture() == button)
            ReleaseCapture();
        if (message == WM_KILLFOCUS)
            set_state(button, 0);
        InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_CAPTURECHANGED:
        if (state_of(button) & TRACKING)
            set_state(button, 0);
        return 0;
    case BM_CLICK:
        click(button);
        return 0;
    case BM_SETSTYLE:
        SetWindowLongA(button, GWL_STYLE,
                       (GetWindowLongA(button, GWL_STYLE) & ~0x0F) | (LONG)(wparam & 0x0F));
        if (lparam)
            InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return is_default(button) ? 0x0010 /* DLGC_DEFPUSHBUTTON */
                                  : 0x0020 /* DLGC_UNDEFPUSHBUTTON */;
    }
    return DefWindowProcA(button, message, wparam, lparam);
}

} // namespace

void user_register_button_class() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = button_proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "Button";
    RegisterClassExA(&wc);
}
