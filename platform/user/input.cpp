// Input from the host: mouse and keys become queued input messages, which
// are taken apart when they are taken out of the queue, as Windows does:
// the window under the pointer (or the capture) is asked where the pointer
// is, may be activated, sets the cursor, and gets client or non-client
// mouse messages.
#include "platform/host/host.h"
#include "platform/user/user_private.h"

#include <deque>
#include <stdlib.h>

namespace {

// A piece of input as the host gave it, not yet addressed to a window.
struct RawInput {
    UINT message; // WM_MOUSEMOVE, WM_xBUTTONDOWN/UP, WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP
    POINT point;  // screen position of the pointer
    WPARAM key;   // virtual key of key messages
    LPARAM key_data;
    DWORD time;
    HWND window; // where a close or activation goes
};

struct InputState {
    std::deque<RawInput> raw;
    POINT cursor{0, 0};
    bool keys[256] = {};
    // Alt went down and no other key has gone up while it was held: its
    // release is then WM_SYSKEYUP, otherwise WM_KEYUP.
    bool alt_up_is_system = false;
    HCURSOR cursor_shape = nullptr;
    // The last button press, for double clicks.
    UINT last_click = 0;
    HWND last_click_window = nullptr;
    DWORD last_click_time = 0;
    POINT last_click_point{0, 0};
};

InputState& g_input = *new InputState;

UINT button_message(int button, bool down) {
    static const UINT messages[3][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                        {WM_RBUTTONUP, WM_RBUTTONDOWN},
                                        {WM_MBUTTONUP, WM_MBUTTONDOWN}};
    return messages[button < 0 || button > 2 ? 0 : button][down ? 1 : 0];
}

UINT virtual_key_of_button(int button) {
    return button == HOST_BUTTON_RIGHT ? VK_RBUTTON : button == HOST_BUTTON_MIDDLE ? 4 : VK_LBUTTON;
}

// A burst of moves with nothing between them is one move, as on Windows.
void queue_move(const RawInput& move) {
    if (!g_input.raw.empty() && g_input.raw.back().message == WM_MOUSEMOVE)
        g_input.raw.back() = move;
    else
        g_input.raw.push_back(move);
}

// The scan code a standard keyboard sends for a virtual key, with bit 8
// set for the extended keys (the arrows); 0 for keys not on the table.
UINT scan_code_of(UINT key) {
    static const uint8_t LETTERS[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                        0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                        0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    static const struct {
        UINT key;
        UINT scan;
    } OTHERS[] = {{VK_ESCAPE, 0x01},  {VK_BACK, 0x0E},  {VK_TAB, 0x0F},   {VK_RETURN, 0x1C},
                  {VK_CONTROL, 0x1D}, {VK_SHIFT, 0x2A}, {VK_MENU, 0x38},  {VK_SPACE, 0x39},
                  {VK_F10, 0x44},     {VK_UP, 0x148},   {VK_LEFT, 0x14B}, {VK_RIGHT, 0x14D},
                  {VK_DOWN, 0x150}};
    if (key >= 'A' && key <= 'Z')
        return LETTERS[key - 'A'];
    if (key >= '1' && key <= '9')
        return 0x02 + (key - '1');
    if (key == '0')
        return 0x0B;
    if (key >= VK_F1 && key <= VK_F10)
        return 0x3B + (key - VK_F1);
    for (const auto& entry : OTHERS)
        if (entry.key == key)
            return entry.scan;
    return 0;
}

// A key message's lParam: a repeat count of 1, the scan code and extended
// bit, the context bit while Alt is down (after this key), the previous
// state and the transition.
LPARAM key_data(UINT key, bool down, bool was_down) {
    LPARAM data = 1 | ((LPARAM)scan_code_of(key) << 16);
    if (g_input.keys[VK_MENU])
        data |= 1 << 29;
    if (was_down)
        data |= 1 << 30;
    if (!down)
        data |= (LPARAM)1 << 31;
    return data;
}

void queue_key(const HostEvent& event, DWORD time) {
    UINT key = event.key & 0xFF;
    bool was_down = g_input.keys[key];
    g_input.keys[key] = event.down;
    bool system = g_input.keys[VK_MENU] || key == VK_MENU || key == VK_F10;
    if (g_input.keys[VK_CONTROL] && key != VK_MENU)
        system = key == VK_F10;
    // A release the host made up when the focus left is no tap of Alt.
    if (key == VK_MENU && !event.down && (!g_input.alt_up_is_system || event.made_up))
        system = false;
    UINT message =
        system ? (event.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (event.down ? WM_KEYDOWN : WM_KEYUP);
    if (key == VK_MENU)
        g_input.alt_up_is_system = event.down;
    else if (message == WM_SYSKEYUP)
        g_input.alt_up_is_system = false;
    g_input.raw.push_back(
        {message, g_input.cursor, key, key_data(key, event.down, was_down), time, nullptr});
}

// A window manager focuses whatever real window it maps or the person
// clicks; of the layer's windows only captioned ones take activation that
// way. Drop-down menus and other captionless popups are focused in passing
// and leave the activation where it is.
void activate_from_host(HWND handle) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || window->parent != nullptr ||
        (window->style & WS_CAPTION) != WS_CAPTION)
        return;
    user_activate(user_activation_target(handle), WA_ACTIVE);
}

// The window manager moved the real window: the window moves as when the
// person drags it, so that what opens beside it opens at its real place.
void move_from_host(HWND handle, POINT top_left) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || window->parent != nullptr || window->minimized)
        return;
    if (window->window_rect.left == top_left.x && window->window_rect.top == top_left.y)
        return;
    SetWindowPos(handle, nullptr, top_left.x, top_left.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Minimising or restoring through the window manager reaches the window as
// the system command its caption box or the task bar would give.
void change_state_from_host(HWND handle, bool minimize) {
    Window* window = user_window_quiet(handle);
    if (window == nullptr || window->parent != nullptr || window->minimized == minimize)
        return;
    PostMessageA(handle, WM_SYSCOMMAND, minimize ? SC_MINIMIZE : SC_RESTORE, 0);
}

void take_host_event(const HostEvent& event) {
    DWORD time = GetTickCount();
    switch (event.type) {
    case HOST_MOUSE_MOVE:
        g_input.cursor = event.point;
        queue_move({WM_MOUSEMOVE, event.point, 0, 0, time, nullptr});
        break;
    case HOST_MOUSE_BUTTON:
        g_input.cursor = event.point;
        g_input.keys[virtual_key_of_button(event.button)] = event.down;
        g_input.raw.push_back(
            {button_message(event.button, event.down), event.point, 0, 0, time, nullptr});
        break;
    case HOST_KEY:
        queue_key(event, time);
        break;
    case HOST_CLOSE:
        PostMessageA(event.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    case HOST_ACTIVATE:
        activate_from_host(event.window);
        return;
    case HOST_EXPOSE:
        if (Window* window = user_window_quiet(event.window)) {
            user_mark_dirty(window, {0, 0, window->pixel_width, window->pixel_height});
            user_present_all();
        }
        return;
    case HOST_MOVED:
        move_from_host(event.window, event.point);
        return;
    case HOST_DEACTIVATE:
        user_activate(nullptr, WA_INACTIVE);
        return;
    case HOST_MINIMIZE:
    case HOST_RESTORE:
        change_state_from_host(event.window, event.type == HOST_MINIMIZE);
        return;
    }
    user_note_queue_changed();
}

WPARAM mouse_key_flags() {
    WPARAM flags = 0;
    flags |= g_input.keys[VK_LBUTTON] ? MK_LBUTTON : 0;
    flags |= g_input.keys[VK_RBUTTON] ? MK_RBUTTON : 0;
    flags |= g_input.keys[4] ? MK_MBUTTON : 0;
    flags |= g_input.keys[VK_SHIFT] ? MK_SHIFT : 0;
    flags |= g_input.keys[VK_CONTROL] ? MK_CONTROL : 0;
    return flags;
}

bool is_button_down(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// A second press of the same button on the same window, soon and near
// enough, is a double click when the window's class asks for them.
UINT double_click(Window* window, const RawInput& input) {
    if (!is_button_down(input.message))
        return input.message;
    bool repeat =
        input.message == g_input.last_click && window->handle == g_input.last_click_window &&
        input.time - g_input.last_click_time <= GetDoubleClickTime() &&
        abs(input.point.x - g_input.last_click_point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        abs(input.point.y - g_input.last_click_point.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (repeat && (window->cls->style & CS_DBLCLKS)) {
        g_input.last_click = 0;
        return input.message + 2; // WM_xBUTTONDBLCLK
    }
    g_input.last_click = input.message;
    g_input.last_click_window = window->handle;
    g_input.last_click_time = input.time;
    g_input.last_click_point = input.point;
    return input.message;
}

// A press on an inactive window activates it, unless it says not to; false
// when the press is to be eaten.
bool activate_on_press(Window* window, LRESULT hit, UINT message) {
    Window* top = user_top_level_of(window);
    if (top == nullptr || top->handle == GetActiveWindow())
        return true;
    LRESULT answer = user_send(window->handle, WM_MOUSEACTIVATE, (WPARAM)top->handle,
                               MAKELPARAM((WORD)hit, message));
    if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT && IsWindow(top->handle))
        user_activate(top->handle, WA_CLICKACTIVE);
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

// A press on a window disabled by a modal box brings the box forward and
// activates it; the press itself goes nowhere.
void press_on_disabled(Window* window, UINT message) {
    Window* top = user_top_level_of(window);
    if (!is_button_down(message) || top == nullptr)
        return;
    HWND target = user_activation_target(top->handle);
    if (target != top->handle)
        user_activate(target, WA_CLICKACTIVE);
}

// Addresses a mouse input to its window; false when it goes nowhere.
bool address_mouse(const RawInput& input, MSG* msg) {
    HWND capture = GetCapture();
    if (capture == nullptr && user_task_bar_click(input.point, input.message))
        return false;
    HWND target = capture != nullptr ? capture : WindowFromPoint(input.point);
    Window* window = user_window_quiet(target);
    if (window == nullptr)
        return false;
    if (capture == nullptr && !IsWindowEnabled(target)) {
        press_on_disabled(window, input.message);
        return false;
    }
    LPARAM screen = MAKELPARAM((WORD)input.point.x, (WORD)input.point.y);
    LRESULT hit = capture != nullptr ? HTCLIENT : user_send(target, WM_NCHITTEST, 0, screen);
    if (!IsWindow(target))
        return false;
    if (is_button_down(input.message) && !activate_on_press(window, hit, input.message))
        return false;
    if (capture == nullptr && IsWindow(target))
        user_send(target, WM_SETCURSOR, (WPARAM)target, MAKELPARAM((WORD)hit, input.message));
    if ((window = user_window_quiet(target)) == nullptr)
        return false;
    UINT message = double_click(window, input);
    *msg = {target, message, mouse_key_flags(), 0, input.time, input.point};
    if (hit == HTCLIENT) {
        POINT origin = user_client_origin(window);
        msg->lParam =
            MAKELPARAM((WORD)(input.point.x - origin.x), (WORD)(input.point.y - origin.y));
    } else {
        msg->message = message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg->wParam = (WPARAM)hit;
        msg->lParam = screen;
    }
    return true;
}

// Keys go to the window with the focus, or as system keys to the active one.
bool address_key(const RawInput& input, MSG* msg) {
    HWND target = GetFocus();
    UINT message = input.message;
    if (target == nullptr) {
        target = GetActiveWindow();
        if (message == WM_KEYDOWN || message == WM_KEYUP)
            message += WM_SYSKEYDOWN - WM_KEYDOWN;
    }
    if (target == nullptr)
        return false;
    *msg = {target, message, input.key, input.key_data, input.time, input.point};
    return true;
}

bool address(const RawInput& input, MSG* msg) {
    if (input.message >= WM_KEYFIRST && input.message <= WM_KEYLAST)
        return address_key(input, msg);
    return address_mouse(input, msg);
}

bool in_range(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool for_window(HWND window, HWND filter) {
    return filter == nullptr || window == filter || IsChild(filter, window);
}

} // namespace

void user_pump_host() {
    HostEvent event;
    while (host_next_event(&event))
        take_host_event(event);
}

bool user_input_waiting() {
    return !g_input.raw.empty();
}

// Input is addressed as it comes to the front; input that goes nowhere is
// dropped, and input that does not pass the filters waits.
bool user_take_input(HWND filter, UINT first, UINT last, bool remove, MSG* msg) {
    if (filter == (HWND)-1)
        return false;
    while (!g_input.raw.empty()) {
        RawInput input = g_input.raw.front();
        g_input.raw.pop_front();
        MSG addressed;
        if (!address(input, &addressed))
            continue;
        if (!for_window(addressed.hwnd, filter) || !in_range(addressed.message, first, last)) {
            g_input.raw.push_front(input);
            return false;
        }
        if (!remove)
            g_input.raw.push_front(input);
        *msg = addressed;
        return true;
    }
    return false;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr)
        return FALSE;
    *point = g_input.cursor;
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR old = g_input.cursor_shape;
    g_input.cursor_shape = cursor;
    return old;
}

HCURSOR WINAPI GetCursor(void) {
    return g_input.cursor_shape;
}

UINT WINAPI GetDoubleClickTime(void) {
    return 500;
}

SHORT WINAPI GetKeyState(int key) {
    return g_input.keys[key & 0xFF] ? (SHORT)0x8000 : 0;
}
SHORT WINAPI GetAsyncKeyState(int key) {
    return GetKeyState(key);
}

// Character keys produce WM_CHAR (or WM_SYSCHAR with Alt) after their
// key-down: letters, digits, space, Enter, Escape, Tab and Backspace.
BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr)
        return FALSE;
    bool key_down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool key_message = key_down || msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!key_down)
        return key_message;
    UINT key = (UINT)msg->wParam;
    char c = 0;
    if (key >= 'A' && key <= 'Z')
        c = (char)(g_input.keys[VK_SHIFT] ? key : key - 'A' + 'a');
    else if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN ||
             key == VK_ESCAPE || key == VK_TAB || key == VK_BACK)
        c = (char)key;
    if (c != 0) {
        UINT message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
        PostMessageA(msg->hwnd, message, (WPARAM)(BYTE)c, msg->lParam);
    }
    return TRUE;
}

void user_reset_input() {
    g_input.raw.clear();
    for (bool& key : g_input.keys)
        key = false;
    g_input.alt_up_is_system = false;
    g_input.last_click = 0;
}
