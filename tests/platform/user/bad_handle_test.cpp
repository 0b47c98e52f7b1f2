// Destroyed and made-up window handles: every call fails with Windows'
// failure value and ERROR_INVALID_WINDOW_HANDLE, and none crashes.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

namespace {

struct BadHandleCase {
    const char* call;
    // Calls the function and returns its result widened, for comparison.
    LONG_PTR (*run)(HWND window);
    LONG_PTR failure;
    // What Wine leaves in GetLastError where it differs from Windows'
    // ERROR_INVALID_WINDOW_HANDLE, 0 where it agrees.
    DWORD wine_error;
};

RECT scratch;

const BadHandleCase CASES[] = {
    {"GetWindowRect", [](HWND w) -> LONG_PTR { return GetWindowRect(w, &scratch); }, FALSE, 0},
    {"GetClientRect", [](HWND w) -> LONG_PTR { return GetClientRect(w, &scratch); }, FALSE, 0},
    {"SendMessageA", [](HWND w) -> LONG_PTR { return SendMessageA(w, WM_USER, 0, 0); }, 0, 0},
    {"PostMessageA", [](HWND w) -> LONG_PTR { return PostMessageA(w, WM_USER, 0, 0); }, FALSE, 0},
    // Wine checks that the window belongs to the calling thread before it
    // checks that it exists, and answers ERROR_ACCESS_DENIED.
    {"DestroyWindow", [](HWND w) -> LONG_PTR { return DestroyWindow(w); }, FALSE,
     5 /* ERROR_ACCESS_DENIED */},
    {"SetWindowLongA", [](HWND w) -> LONG_PTR { return SetWindowLongA(w, GWLP_USERDATA, 1); }, 0,
     0},
    {"GetWindowLongA", [](HWND w) -> LONG_PTR { return GetWindowLongA(w, GWL_STYLE); }, 0, 0},
    {"GetClassWord", [](HWND w) -> LONG_PTR { return GetClassWord(w, GCW_ATOM); }, 0, 0},
    {"ShowWindow", [](HWND w) -> LONG_PTR { return ShowWindow(w, SW_SHOW); }, FALSE, 0},
    {"SetWindowPos",
     [](HWND w) -> LONG_PTR { return SetWindowPos(w, nullptr, 0, 0, 1, 1, SWP_NOZORDER); }, FALSE,
     0},
    {"InvalidateRect", [](HWND w) -> LONG_PTR { return InvalidateRect(w, nullptr, TRUE); }, FALSE,
     0},
    // Wine's timer code reports a bad window as a bad handle.
    {"SetTimer", [](HWND w) -> LONG_PTR { return SetTimer(w, 1, 10, nullptr); }, 0,
     ERROR_INVALID_HANDLE},
    {"GetDlgCtrlID", [](HWND w) -> LONG_PTR { return GetDlgCtrlID(w); }, 0, 0},
    {"SetPropA", [](HWND w) -> LONG_PTR { return SetPropA(w, "p", (HANDLE)1); }, FALSE, 0},
};

void check_all(HWND bad, const char* what) {
    for (const BadHandleCase& c : CASES) {
        SetLastError(0);
        EXPECT_EQ(c.run(bad), c.failure) << c.call << " on " << what;
        DWORD expected = running_under_wine() && c.wine_error ? c.wine_error
                                                              : (DWORD)ERROR_INVALID_WINDOW_HANDLE;
        EXPECT_EQ(GetLastError(), expected) << c.call << " on " << what;
    }
    EXPECT_FALSE(IsWindow(bad)) << what;
}

class BadHandle : public UserTest {};

TEST_F(BadHandle, DestroyedWindow) {
    HWND window = CreateWindowExA(0, recording_class(), "gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DestroyWindow(window);
    check_all(window, "a destroyed window");
}

TEST_F(BadHandle, MadeUpHandle) {
    check_all((HWND)(ULONG_PTR)0x12345678, "a made-up handle");
}

TEST_F(BadHandle, NullWindowIsNotAWindow) {
    EXPECT_FALSE(IsWindow(nullptr));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(nullptr));
    // Wine: ERROR_ACCESS_DENIED, as for every bad handle (see above).
    EXPECT_EQ(GetLastError(), running_under_wine() ? 5u : (DWORD)ERROR_INVALID_WINDOW_HANDLE);
}

} // namespace
