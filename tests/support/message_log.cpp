#include "tests/support/message_log.h"

#include "tests/support/platform_info.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <stdio.h>
#include <stdlib.h>

namespace {

// Windows adds SWP_NOCLIENTSIZE and SWP_NOCLIENTMOVE to the flags it passes
// in WINDOWPOS; rows compare them only when they ask to (CHECK_CLIENT).
constexpr UINT UNDOCUMENTED_SWP = NOCLIENTCHANGE;

constexpr UINT GETOBJECT_MESSAGE = 0x003D;
constexpr UINT SYSTIMER_MESSAGE = 0x0118;
constexpr UINT DWM_RENDERING_MESSAGE = 0x031F;

struct Log {
    std::vector<LoggedMessage> messages;
    std::vector<std::pair<HWND, int>> roles;
};

Log& the_log() {
    static Log log;
    return log;
}

bool is_noise(UINT message) {
    return message == WM_GETICON || message == GETOBJECT_MESSAGE || message == SYSTIMER_MESSAGE ||
           message == DWM_RENDERING_MESSAGE || (message >= 0x0090 && message <= 0x009F) ||
           (message >= 0x0281 && message <= 0x0291); // WM_IME_*
}

int role_of(HWND window) {
    for (const auto& [hwnd, role] : the_log().roles)
        if (hwnd == window)
            return role;
    return -1;
}

bool is_window_pos(UINT message) {
    return message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED;
}

bool window_pos_matches(const ExpectedMessage& row, const LoggedMessage& got) {
    if ((row.flags & CHECK_L) && (row.lparam & ~(LPARAM)UNDOCUMENTED_SWP) != got.lparam)
        return false;
    if ((row.flags & CHECK_CLIENT) &&
        (row.lparam & UNDOCUMENTED_SWP) != (LPARAM)(got.pos.flags & UNDOCUMENTED_SWP))
        return false;
    return !(row.flags & CHECK_PLACE) || got.place_real;
}

bool row_matches(const ExpectedMessage& row, const LoggedMessage& got) {
    if (row.message != got.message)
        return false;
    if ((row.flags & CHECK_W) && row.wparam != got.wparam)
        return false;
    if (is_window_pos(row.message)) {
        if (!window_pos_matches(row, got))
            return false;
    } else if ((row.flags & CHECK_L) && row.lparam != got.lparam) {
        return false;
    }
    return row.window == ANY_WINDOW || row.window == role_of(got.window);
}

// The window's rectangle in its parent's client coordinates, as WINDOWPOS
// gives it.
RECT rect_in_parent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), (LPPOINT)&r, 2);
    return r;
}

bool place_is_real(UINT message, HWND window, const WINDOWPOS& pos) {
    RECT r = rect_in_parent(window);
    bool final = message == WM_WINDOWPOSCHANGED;
    // Windows fills in the window's own place and size in
    // WM_WINDOWPOSCHANGING where the call left them alone; Wine passes the
    // caller's unused numbers on, so there the check is skipped under Wine.
    if (!final && running_under_wine())
        return true;
    bool place_ok = (!final && !(pos.flags & SWP_NOMOVE)) || (pos.x == r.left && pos.y == r.top);
    bool size_ok = (!final && !(pos.flags & SWP_NOSIZE)) ||
                   (pos.cx == r.right - r.left && pos.cy == r.bottom - r.top);
    return place_ok && size_ok;
}

std::string describe_row(const ExpectedMessage& row) {
    char text[160];
    snprintf(text, sizeof text, "%-22s w=%-10s l=%-12s %s%s", message_name(row.message).c_str(),
             (row.flags & CHECK_W) ? std::to_string((unsigned long long)row.wparam).c_str() : "*",
             (row.flags & CHECK_L) ? std::to_string((long long)row.lparam).c_str() : "*",
             row.window == ANY_WINDOW ? "" : ("role " + std::to_string(row.window)).c_str(),
             (row.flags & MAYBE) ? " (optional)" : "");
    return text;
}

std::string describe_logged(const LoggedMessage& got) {
    char text[160];
    long long lparam = is_window_pos(got.message) ? got.pos.flags & 0xFFFF : (long long)got.lparam;
    snprintf(text, sizeof text, "%-22s w=%-10llu l=%-12lld role %d%s",
             message_name(got.message).c_str(), (unsigned long long)got.wparam, lparam,
             role_of(got.window),
             is_window_pos(got.message) && !got.place_real ? " (not its place)" : "");
    return text;
}

std::string side_by_side(const ExpectedMessage* expected, size_t n,
                         const std::vector<LoggedMessage>& actual) {
    std::string text = "expected                                                  | actual\n";
    for (size_t i = 0; i < n || i < actual.size(); ++i) {
        char line[400];
        snprintf(line, sizeof line, "%-58s| %s\n", i < n ? describe_row(expected[i]).c_str() : "",
                 i < actual.size() ? describe_logged(actual[i]).c_str() : "");
        text += line;
    }
    return text;
}

} // namespace

void log_record(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (is_noise(message))
        return;
    LoggedMessage entry{window, message, wparam, lparam, {}, false};
    if (is_window_pos(message)) {
        entry.pos = *reinterpret_cast<const WINDOWPOS*>(lparam);
        entry.lparam = entry.pos.flags & ~UNDOCUMENTED_SWP;
        entry.place_real = place_is_real(message, window, entry.pos);
    }
    the_log().messages.push_back(entry);
}

LRESULT CALLBACK recording_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

void log_mark(WPARAM tag) {
    the_log().messages.push_back({nullptr, LOG_MARK, tag, 0, {}, false});
}

void log_flush() {
    the_log().messages.clear();
}

void log_keep_only(std::initializer_list<UINT> messages) {
    auto& log = the_log().messages;
    auto unwanted = [&](const LoggedMessage& entry) {
        for (UINT message : messages)
            if (entry.message == message)
                return false;
        return true;
    };
    log.erase(std::remove_if(log.begin(), log.end(), unwanted), log.end());
}

void log_watch(HWND window, int role) {
    auto& roles = the_log().roles;
    for (auto& entry : roles)
        if (entry.first == window) {
            entry.second = role;
            return;
        }
    roles.push_back({window, role});
}

const std::vector<LoggedMessage>& log_messages() {
    return the_log().messages;
}

std::vector<LoggedMessage> log_find(UINT message) {
    std::vector<LoggedMessage> found;
    for (const auto& entry : the_log().messages)
        if (entry.message == message)
            found.push_back(entry);
    return found;
}

size_t log_count(UINT message) {
    return log_find(message).size();
}

void expect_sequence_n(const ExpectedMessage* expected, size_t n, const char* what) {
    const auto& actual = the_log().messages;
    size_t e = 0;
    size_t a = 0;
    bool ok = true;
    while (e < n && ok) {
        if (a < actual.size() && row_matches(expected[e], actual[a])) {
            ++e;
            ++a;
        } else if (expected[e].flags & MAYBE) {
            ++e;
        } else {
            ok = false;
        }
    }
    ok = ok && a == actual.size();
    EXPECT_TRUE(ok) << what << ": sequences differ at expected row " << e << ", actual row " << a
                    << "\n"
                    << side_by_side(expected, n, actual);
    if (getenv("ZANDREL_DUMP_MESSAGES"))
        printf("%s:\n%s", what, side_by_side(expected, n, actual).c_str());
    log_flush();
}

void expect_no_messages(const char* what) {
    expect_sequence_n(nullptr, 0, what);
}

void pump_messages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void let_time_pass(DWORD milliseconds) {
    // Sleep is the one call here outside the layer's declared subset: the
    // layer's headless clock moves only when the program waits, so it will
    // need a way to let time pass without reading the queue.
    Sleep(milliseconds);
}

ATOM register_test_class(const char* name, WNDPROC proc, int window_extra, HBRUSH background,
                         UINT style) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = window_extra;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

const char* recording_class() {
    static const char* name = [] {
        register_test_class("ZandrelRecorder", recording_window_proc, 0,
                            (HBRUSH)(COLOR_WINDOW + 1));
        return "ZandrelRecorder";
    }();
    return name;
}

std::string message_name(UINT message) {
    static const struct {
        UINT message;
        const char* name;
    } NAMES[] = {
        {WM_NULL, "WM_NULL"},
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_TIMER, "WM_TIMER"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_INITMENU, "WM_INITMENU"},
        {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
        {WM_MENUSELECT, "WM_MENUSELECT"},
        {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
        {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
        {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_USER, "WM_USER"},
        {WM_USER + 1, "WM_USER+1"},
        {WM_USER + 2, "WM_USER+2"},
        {WM_USER + 3, "WM_USER+3"},
        {WM_APP, "WM_APP"},
        {LOG_MARK, "(mark)"},
    };
    for (const auto& entry : NAMES)
        if (entry.message == message)
            return entry.name;
    char text[16];
    snprintf(text, sizeof text, "0x%04X", message);
    return text;
}
