// The keyboard in dialogs: Tab and Shift+Tab move the focus among the
// controls with WS_TABSTOP, the arrow keys within a group (from a WS_GROUP
// control to the next), Enter gives the default command and Escape
// IDCANCEL. A control that wants a key says so in its answer to
// WM_GETDLGCODE and then gets the key as usual.
//
// The layer has no dialog manager, so the focus moves here rather than
// through WM_NEXTDLGCTL to a dialog procedure; what the user sees is the same.
#include "platform/user/user_private.h"

namespace {

// A usable control: visible and enabled.
bool usable(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

bool is_tab_stop(HWND control) {
    return usable(control) && (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
}

bool starts_group(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0;
}

// The dialog's direct children in z-order, which is the order of tabbing.
std::vector<HWND> controls_of(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

// Where `control` (or the direct child of the dialog that holds it) sits.
int index_of(const std::vector<HWND>& controls, HWND dialog, HWND control) {
    while (control != nullptr && GetParent(control) != dialog && IsChild(dialog, control))
        control = GetParent(control);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == control)
            return (int)i;
    }
    return -1;
}

// The first control from `start` on (wrapping around) that `wanted` accepts.
template <typename Accept>
HWND search(const std::vector<HWND>& controls, int start, int step, Accept wanted) {
    int n = (int)controls.size();
    for (int k = 1; k <= n; ++k) {
        HWND candidate = controls[(size_t)(((start + step * k) % n + n) % n)];
        if (wanted(candidate))
            return candidate;
    }
    return nullptr;
}

// The group around index `at`: from its WS_GROUP control to before the next.
std::vector<HWND> group_of(const std::vector<HWND>& controls, int at) {
    int first = at;
    while (first > 0 && !starts_group(controls[(size_t)first]))
        --first;
    int end = at + 1;
    while (end < (int)controls.size() && !starts_group(controls[(size_t)end]))
        ++end;
    return {controls.begin() + first, controls.begin() + end};
}

void move_focus(HWND to) {
    if (to != nullptr && to != GetFocus())
        SetFocus(to);
}

// The command Enter gives: the focused push button's, else the dialog's
// default (DM_GETDEFID), else IDOK.
WORD default_command(HWND dialog, HWND focus, LRESULT focus_code) {
    if (focus != nullptr && (focus_code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        return (WORD)GetDlgCtrlID(focus);
    LRESULT answer = user_send(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : (WORD)IDOK;
}

void send_command(HWND dialog, WORD id) {
    HWND control = GetDlgItem(dialog, id);
    user_send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control);
}

bool is_arrow(WPARAM key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// Handles a key-down the control under the focus does not want; false when
// it is left to the control.
bool navigate(HWND dialog, const MSG* msg) {
    WPARAM key = msg->wParam;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !is_arrow(key))
        return false;
    LRESULT code = user_send(msg->hwnd, WM_GETDLGCODE, key, (LPARAM)msg);
    if (code & DLGC_WANTMESSAGE)
        return false;
    HWND focus = GetFocus();
    if (key == VK_TAB) {
        if (code & DLGC_WANTTAB)
            return false;
        move_focus(GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0));
    } else if (is_arrow(key)) {
        if (code & DLGC_WANTARROWS)
            return false;
        move_focus(GetNextDlgGroupItem(dialog, focus, key == VK_LEFT || key == VK_UP));
    } else if (key == VK_RETURN) {
        send_command(dialog, default_command(dialog, focus, code));
    } else {
        send_command(dialog, IDCANCEL);
    }
    return true;
}

} // namespace

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (user_window(dialog) == nullptr)
        return nullptr;
    std::vector<HWND> controls = controls_of(dialog);
    if (controls.empty())
        return nullptr;
    int at = index_of(controls, dialog, control);
    if (at < 0)
        at = previous ? 0 : (int)controls.size() - 1;
    HWND found = search(controls, at, previous ? -1 : 1, is_tab_stop);
    return found != nullptr ? found : control;
}

HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (user_window(dialog) == nullptr)
        return nullptr;
    std::vector<HWND> controls = controls_of(dialog);
    int at = index_of(controls, dialog, control);
    if (at < 0)
        return controls.empty() ? nullptr : control;
    std::vector<HWND> group = group_of(controls, at);
    int inner = index_of(group, dialog, controls[(size_t)at]);
    HWND found = search(group, inner, previous ? -1 : 1, usable);
    return found != nullptr ? found : control;
}

// Every message for the dialog or its controls is the dialog's: keys it
// navigates with are handled here, the rest translated and dispatched.
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (msg == nullptr || user_window_quiet(dialog) == nullptr)
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    if (msg->message == WM_KEYDOWN && navigate(dialog, msg))
        return TRUE;
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

// Lives in ole32 on Windows; the runtime calls it on its way out. No
// component is ever hosted in this layer, so there is nothing to undo.
void WINAPI OleUninitialize(void) {}
