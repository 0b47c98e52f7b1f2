// A message recorder for conformance tests: a window procedure that appends
// every message it receives to one log, and expected sequences written as
// tables that are compared with what was recorded.
//
//     log_flush();
//     ShowWindow(window, SW_HIDE);
//     expect_sequence(HIDE_VISIBLE_POPUP, "hiding a visible popup");
//
// A failing comparison prints the expected rows beside the recorded ones.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <initializer_list>
#include <string>
#include <vector>

// Error codes that USER32 leaves for GetLastError; the layer's winerror.h does
// not declare them yet.
#ifndef ERROR_INVALID_WINDOW_HANDLE
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#endif
#ifndef ERROR_CLASS_ALREADY_EXISTS
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#endif
#ifndef ERROR_CLASS_DOES_NOT_EXIST
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#endif
#ifndef ERROR_INVALID_INDEX
#define ERROR_INVALID_INDEX 1413L
#endif

// A pseudo-message that a test puts into the log itself (see log_mark), to
// show where in the sequence its own calls returned.
constexpr UINT LOG_MARK = 0xFFFF0000u;

// Windows are named in tables by role, not by handle: a test gives each
// window it cares about a role with log_watch, and rows name the role.
enum WindowRole : int {
    ANY_WINDOW = 0, // the row does not check the window
    MAIN = 1,
    SECOND = 2,
    CHILD = 3,
    CHILD2 = 4,
    OWNED = 5,
};

// Which parts of a row are compared. The message is always compared.
enum RowFlags : unsigned {
    MSG_ONLY = 0,
    CHECK_W = 1u << 0, // compare wParam
    CHECK_L = 1u << 1, // compare lParam (for WM_WINDOWPOS* the WINDOWPOS flags)
    CHECK_WL = CHECK_W | CHECK_L,
    MAYBE = 1u << 2, // Windows sends it in some versions only; may be absent
    // For WM_WINDOWPOS*: compare SWP_NOCLIENTSIZE and SWP_NOCLIENTMOVE of
    // the WINDOWPOS flags with those bits of the row's lParam.
    CHECK_CLIENT = 1u << 3,
    // For WM_WINDOWPOS*: the WINDOWPOS rectangle is the window's own where the
    // call left it alone (SWP_NOMOVE, SWP_NOSIZE) and, in
    // WM_WINDOWPOSCHANGED, the window's final rectangle.
    CHECK_PLACE = 1u << 4,
};

// What WM_WINDOWPOSCHANGED adds when the client area kept its size or its
// place; the layer's header has them, the system's headers do not.
#ifndef SWP_NOCLIENTSIZE
#define SWP_NOCLIENTSIZE 0x0800
#endif
#ifndef SWP_NOCLIENTMOVE
#define SWP_NOCLIENTMOVE 0x1000
#endif
constexpr UINT NOCLIENTCHANGE = SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE;

struct ExpectedMessage {
    UINT message;
    unsigned flags;
    WPARAM wparam;
    LPARAM lparam;
    int window; // a WindowRole
};

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wparam;
    // For WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED: the WINDOWPOS flags,
    // without the two undocumented ones that Windows adds (see pos for the
    // whole record). For all other messages: lParam as received.
    LPARAM lparam;
    WINDOWPOS pos; // valid for the WM_WINDOWPOS* messages only
    // WM_WINDOWPOS* only: whether pos held the window's real rectangle as
    // CHECK_PLACE asks, compared with the window when the message arrived.
    bool place_real;
};

// The window procedure that records and then calls DefWindowProcA.
LRESULT CALLBACK recording_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Appends a message to the log, for window procedures of a test's own that
// record before handling. Messages that Windows sends for its own purposes
// and that differ between versions (WM_GETICON, WM_GETOBJECT, the
// undocumented 0x90-0x9F range, WM_IME_*) are not recorded at all.
void log_record(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void log_mark(WPARAM tag);
void log_flush();
// Drops every recorded message but the given ones, for tests of one kind
// of message among others that vary between versions.
void log_keep_only(std::initializer_list<UINT> messages);
void log_watch(HWND window, int role);
const std::vector<LoggedMessage>& log_messages();
// The recorded messages of one kind, in order.
std::vector<LoggedMessage> log_find(UINT message);
size_t log_count(UINT message);

// Compares the log with `expected` (n rows) and clears it; on a mismatch the
// test fails and the two sequences are printed side by side.
void expect_sequence_n(const ExpectedMessage* expected, size_t n, const char* what);
template <size_t N> void expect_sequence(const ExpectedMessage (&expected)[N], const char* what) {
    expect_sequence_n(expected, N, what);
}
// The log is expected to be empty.
void expect_no_messages(const char* what);

// Removes and dispatches every queued message, so that a test starts from a
// quiet queue; WM_PAINT is answered too (DispatchMessageA validates).
void pump_messages();

// Lets `milliseconds` pass without looking at the queue.
void let_time_pass(DWORD milliseconds);

// A class whose windows use `proc` (default: the recording one), registered
// once per process and never unregistered.
const char* recording_class();
ATOM register_test_class(const char* name, WNDPROC proc, int window_extra = 0,
                         HBRUSH background = nullptr, UINT style = 0);

std::string message_name(UINT message);
