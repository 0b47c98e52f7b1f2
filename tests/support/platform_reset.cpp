#include "tests/support/platform_reset.h"

#include <windows.h>

#ifdef _WIN32

#include <vector>

namespace {

// The system gives the thread input-method windows of its own; they are
// not a test's to destroy.
bool is_system_window(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "IME") == 0 || lstrcmpiA(name, "MSCTFIME UI") == 0;
}

BOOL CALLBACK note_window(HWND window, LPARAM windows) {
    if (!is_system_window(window))
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// Windows that a test left behind. Destroying one may destroy others that
// it owns, so each is checked again before it goes.
void destroy_thread_windows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), note_window, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (IsWindow(window))
            DestroyWindow(window);
    }
}

// Posted messages and input are dropped unread; a window still waiting to
// be painted would come back for ever, so it is validated instead.
void drop_queued_messages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT && msg.hwnd != nullptr)
            ValidateRect(msg.hwnd, nullptr);
    }
}

} // namespace

void reset_platform() {
    ReleaseCapture();
    destroy_thread_windows();
    drop_queued_messages();
}

#else

#include "platform/host/headless/headless.h"

#include <layer/user.h>

void reset_platform() {
    layer_user_reset();
    headless_reset();
}

#endif
