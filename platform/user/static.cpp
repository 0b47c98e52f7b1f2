// The system class "Static": a line-wrapped text, left, centred or right
// within the control, or an icon (SS_ICON) given by STM_SETICON. The
// parent chooses the colours through WM_CTLCOLORSTATIC.
#include "platform/user/msgbox_layout.h"
#include "platform/user/nonclient_draw.h"
#include "platform/user/user_private.h"

#include <string>
#include <vector>

namespace {

constexpr DWORD STATIC_KIND_MASK = 0x1F;

HICON icon_of(HWND control) {
    return (HICON)GetWindowLongPtrA(control, GWLP_USERDATA);
}

HBRUSH colours_from_parent(HWND control, HDC dc) {
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent != nullptr)
        brush = (HBRUSH)SendMessageA(parent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
    return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// Each line of the wrapped text placed as the alignment style asks.
void paint_text(HWND control, HDC dc, const RECT& client, DWORD style) {
    int length = (int)SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text((size_t)length + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    text.resize((size_t)length);
    MsgboxFont font = msgbox_font_of_dc(dc);
    std::vector<std::string> lines = msgbox_wrap_text(text.c_str(), font, client.right);
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(control))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    int y = 0;
    for (const std::string& line : lines) {
        int width = font.text_width(line.c_str(), (int32_t)line.size());
        DWORD align = style & STATIC_KIND_MASK;
        int x = align == SS_CENTER  ? (client.right - width) / 2
                : align == SS_RIGHT ? client.right - width
                                    : 0;
        TextOutA(dc, x, y, line.c_str(), (int)line.size());
        y += font.height;
    }
}

void paint(HWND control) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    RECT client;
    GetClientRect(control, &client);
    FillRect(dc, &client, colours_from_parent(control, dc));
    DWORD style = (DWORD)GetWindowLongA(control, GWL_STYLE);
    if ((style & STATIC_KIND_MASK) == SS_ICON) {
        if (HICON icon = icon_of(control))
            user_draw_icon(dc, 0, 0, icon);
    } else {
        paint_text(control, dc, client, style);
    }
    EndPaint(control, &ps);
}

// The icon replaces the old one, which is returned; the control shows it
// at once.
LRESULT set_icon(HWND control, HICON icon) {
    HICON old = icon_of(control);
    SetWindowLongPtrA(control, GWLP_USERDATA, (LONG_PTR)icon);
    InvalidateRect(control, nullptr, TRUE);
    return (LRESULT)old;
}

LRESULT CALLBACK static_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        paint(control);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting fills the whole control
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case STM_SETICON:
        return set_icon(control, (HICON)wparam);
    case STM_GETICON:
        return (LRESULT)icon_of(control);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(control, message, wparam, lparam);
        InvalidateRect(control, nullptr, TRUE);
        return result;
    }
    }
    return DefWindowProcA(control, message, wparam, lparam);
}

} // namespace

void user_register_static_class() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = static_proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "Static";
    RegisterClassExA(&wc);
}
