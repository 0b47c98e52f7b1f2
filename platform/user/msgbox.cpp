// MessageBoxA: a modal box with its icon, text and buttons. Its owner is
// disabled while it is up; its own loop dispatches every message of the
// thread, so the owner's timers and painting go on; it returns the button
// chosen.
#include "platform/user/msgbox_layout.h"
#include "platform/user/nonclient_draw.h"
#include "platform/user/user_private.h"

#include <algorithm>
#include <string>

namespace {

struct MessageBoxState {
    MsgboxLayout layout;
    bool done = false;
    int result = 0;
    int cancel_id = 0; // what Escape and the close box answer; 0 when they do nothing
};

MessageBoxState* state_of(HWND box) {
    return (MessageBoxState*)GetWindowLongPtrA(box, GWLP_USERDATA);
}

// The ids Windows gives the box's icon and text, which programs look for
// with GetDlgItem.
constexpr int ICON_ID = 0x0440;
constexpr int TEXT_ID = 0xFFFF;

// The box's statics are drawn on its face colour.
LRESULT static_colours(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
}

void finish(HWND box, int result) {
    if (MessageBoxState* state = state_of(box)) {
        state->result = result;
        state->done = true;
    }
}

LRESULT CALLBACK box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return static_colours((HDC)wparam);
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED)
            finish(box, LOWORD(wparam));
        return 0;
    case WM_CLOSE:
        if (MessageBoxState* state = state_of(box); state != nullptr && state->cancel_id != 0)
            finish(box, state->cancel_id);
        return 0;
    }
    return DefWindowProcA(box, message, wparam, lparam);
}

void register_classes() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    user_register_button_class();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = box_proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "#32770";
    RegisterClassExA(&wc);
}

// Escape and the close box answer Cancel where there is one, and OK when
// OK is the only button; otherwise they do nothing.
int cancel_answer(const MsgboxLayout& layout) {
    for (int i = 0; i < layout.button_count; ++i) {
        if (layout.buttons[i].id == IDCANCEL)
            return IDCANCEL;
    }
    return layout.button_count == 1 && layout.buttons[0].id == IDOK ? IDOK : 0;
}

HWND create_box(const char* caption, UINT type, HWND owner, MessageBoxState* state) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SIZE size = state->layout.window;
    int x = (work.left + work.right - size.cx) / 2, y = (work.top + work.bottom - size.cy) / 2;
    DWORD ex_style =
        WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | ((type & MB_TOPMOST) ? WS_EX_TOPMOST : 0);
    // As the system's box template has it: no WM_ENTERIDLE, its own font.
    constexpr DWORD DS_SETFONT_BIT = 0x40, DS_NOIDLEMSG_BIT = 0x100;
    DWORD style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_NOIDLEMSG_BIT | DS_SETFONT_BIT;
    HWND box = CreateWindowExA(ex_style, "#32770", caption, style, x, y, size.cx, size.cy, owner,
                               nullptr, nullptr, nullptr);
    if (box != nullptr)
        SetWindowLongPtrA(box, GWLP_USERDATA, (LONG_PTR)state);
    return box;
}

HWND create_child(HWND box, const char* cls, const char* text, DWORD style, const RECT& r, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, box, (HMENU)(UINT_PTR)id, nullptr,
                           nullptr);
}

// The text's static is as wide as its widest line, so that it wraps the
// message into the same lines again; where it would not, the whole band.
RECT text_rect(const char* text, const MsgboxLayout& layout, const MsgboxFont& font) {
    RECT r = layout.text;
    r.bottom = r.top + (LONG)layout.lines.size() * layout.line_height;
    int32_t widest = 0;
    for (const std::string& line : layout.lines)
        widest = std::max(widest, font.text_width(line.c_str(), (int32_t)line.size()));
    if (msgbox_wrap_text(text, font, widest) == layout.lines)
        r.right = r.left + widest;
    return r;
}

// Icon and text are statics, as in the box Windows builds: the icon first,
// then the text.
void create_statics(HWND box, const char* text, const MsgboxLayout& layout) {
    if (layout.icon != 0) {
        WORD id = (WORD)(32513 + (layout.icon >> 4) - 1); // IDI_HAND ... IDI_ASTERISK
        HWND icon = create_child(box, "Static", "", SS_ICON, layout.icon_rect, ICON_ID);
        SendMessageA(icon, STM_SETICON, (WPARAM)LoadIconA(nullptr, MAKEINTRESOURCEA(id)), 0);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r = text_rect(text, layout, msgbox_font_of_dc(dc));
    DeleteDC(dc);
    create_child(box, "Static", text, WS_GROUP | SS_NOPREFIX, r, TEXT_ID);
}

void create_buttons(HWND box, const MsgboxLayout& layout) {
    for (int i = 0; i < layout.button_count; ++i) {
        const MsgboxButton& b = layout.buttons[i];
        // The first button starts the group the arrow keys move in.
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                      (i == layout.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        CreateWindowExA(0, "Button", b.label, style, b.rect.left, b.rect.top,
                        b.rect.right - b.rect.left, b.rect.bottom - b.rect.top, box,
                        (HMENU)(UINT_PTR)b.id, nullptr, nullptr);
    }
}

// The box's keys: Enter chooses the focused or default button, Escape
// cancels where it can, Tab and the arrows move between the buttons.
bool box_key(HWND box, const MSG& msg, MessageBoxState* state) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != box && !IsChild(box, msg.hwnd)))
        return false;
    const MsgboxLayout& layout = state->layout;
    HWND focus = GetFocus();
    int focused = -1;
    for (int i = 0; i < layout.button_count; ++i) {
        if (GetDlgItem(box, layout.buttons[i].id) == focus)
            focused = i;
    }
    switch (msg.wParam) {
    case VK_RETURN:
        finish(box, layout.buttons[focused >= 0 ? focused : layout.default_button].id);
        return true;
    case VK_ESCAPE:
        if (state->cancel_id != 0)
            finish(box, state->cancel_id);
        return true;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP: {
        bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP ||
                    (msg.wParam == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000));
        int next = ((focused < 0 ? 0 : focused) + (back ? -1 : 1) + layout.button_count) %
                   layout.button_count;
        SetFocus(GetDlgItem(box, layout.buttons[next].id));
        return true;
    }
    }
    return false;
}

void run_loop(HWND box, MessageBoxState* state) {
    MSG msg;
    while (!state->done && IsWindow(box)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (box_key(box, msg, state))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (owner != nullptr && !IsWindow(owner))
        owner = nullptr;
    register_classes();
    MessageBoxState state;
    HDC dc = CreateCompatibleDC(nullptr);
    MsgboxFont font = msgbox_font_of_dc(dc);
    bool laid_out =
        msgbox_layout(text != nullptr ? text : "", caption != nullptr ? caption : "Error", type,
                      font, font, msgbox_system_metrics(), &state.layout);
    DeleteDC(dc);
    if (!laid_out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    state.cancel_id = cancel_answer(state.layout);
    // The owner is disabled before the box exists, as Windows does.
    bool owner_was_enabled = owner != nullptr && IsWindowEnabled(owner);
    if (owner_was_enabled)
        EnableWindow(owner, FALSE);
    HWND box = create_box(caption != nullptr ? caption : "Error", type, owner, &state);
    if (box == nullptr) {
        if (owner_was_enabled)
            EnableWindow(owner, TRUE);
        return 0;
    }
    create_statics(box, text != nullptr ? text : "", state.layout);
    create_buttons(box, state.layout);
    ShowWindow(box, SW_SHOW);
    SetFocus(GetDlgItem(box, state.layout.buttons[state.layout.default_button].id));
    run_loop(box, &state);
    if (owner_was_enabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (IsWindow(box)) {
        SetWindowLongPtrA(box, GWLP_USERDATA, 0);
        DestroyWindow(box);
    }
    return state.result;
}
