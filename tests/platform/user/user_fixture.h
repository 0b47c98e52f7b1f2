// What every conformance test of windows and messages starts from: a quiet
// queue, an empty log, and windows that are destroyed again after the test.
#pragma once

#include "tests/support/expect_rect.h"
#include "tests/support/message_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include "platform/host/headless/headless.h"
#endif

constexpr DWORD CAPTIONED_POPUP = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class UserTest : public ::testing::Test {
  protected:
    std::vector<HWND> windows_;

    // A window of the recording class, watched under `role`.
    HWND make(int role, DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
              UINT_PTR id = 0, const char* class_name = nullptr) {
        HWND window =
            CreateWindowExA(0, class_name ? class_name : recording_class(), "test", style, x, y,
                            width, height, parent, (HMENU)id, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        log_watch(window, role);
        windows_.push_back(window);
        return window;
    }

    // A shown, active captioned popup with its show messages already handled.
    HWND make_shown_popup(int role = MAIN, int x = 100, int y = 80) {
        HWND window = make(role, CAPTIONED_POPUP | WS_VISIBLE, x, y, 200, 150);
        settle();
        return window;
    }

    void settle() {
        pump_messages();
        log_flush();
    }

    void SetUp() override { settle(); }

    void TearDown() override {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
        settle();
    }
};

#ifndef _WIN32
// A key going down or up at the host's keyboard.
inline void push_key(UINT key, bool down) {
    HostEvent event{};
    event.type = HOST_KEY;
    event.down = down;
    event.key = key;
    headless_push_event(event);
}
#endif

// Holds a key down, or lets it go, as the thread's key state sees it.
inline void set_key(UINT key, bool down) {
#ifdef _WIN32
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
#else
    push_key(key, down);
    pump_messages();
#endif
}

// A click of the left button at a point of the screen, as the mouse makes
// it: it reaches the queue through the system's input, at once on the
// layer and some time later on Windows.
inline void click_at(POINT screen) {
#ifdef _WIN32
    SetCursorPos(screen.x, screen.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
#else
    std::string script =
        "+0 click left " + std::to_string(screen.x) + " " + std::to_string(screen.y) + "\n";
    std::string error;
    ASSERT_TRUE(headless_load_script(script.c_str(), "click", &error)) << error;
#endif
}
