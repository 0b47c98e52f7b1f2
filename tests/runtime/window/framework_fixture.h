// What the window framework's tests start from: a fresh platform and
// runtime, and a record whose handler notes every event it hears and may
// act on it. The record is closed again after the test.
#pragma once

#include "runtime/runtime_state.h"
#include "runtime/window/window.h"
#include "tests/support/platform_reset.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace framework_test {

// What a handler saw of one event.
struct Seen {
    int32_t id;
    WPARAM wParam;
    LPARAM lParam;
    int32_t x;
    int32_t y;
    WindowRecord* window;
    HWND recordHwnd; // what the event's record held while the event ran
    int32_t control;
    int32_t menu;
    int32_t notify;
    HDC paintDC;
};

inline std::vector<Seen> g_seen;
// Run by the handler after noting the event; its result is the handler's.
inline int32_t (*g_action)() = nullptr;

inline int32_t recordingHandler() {
    g_seen.push_back({eventId, eventWParam, eventLParam, mouseX, mouseY, eventWindow,
                      eventWindow ? eventWindow->hwnd : nullptr, controlId, menuId, notifyCode,
                      eventWindow ? eventWindow->paintDC : nullptr});
    return g_action ? g_action() : 0;
}

inline std::vector<int32_t> seenIds() {
    std::vector<int32_t> ids;
    for (const Seen& s : g_seen)
        ids.push_back(s.id);
    return ids;
}

// The first event heard with `id`, or null.
inline const Seen* find(int32_t id) {
    for (const Seen& s : g_seen)
        if (s.id == id)
            return &s;
    return nullptr;
}

inline bool sawEvent(int32_t id) {
    return find(id) != nullptr;
}

class FrameworkTest : public ::testing::Test {
  protected:
    WindowRecord record{};

    void SetUp() override {
        reset_platform();
        resetRuntimeState();
        g_seen.clear();
        g_action = nullptr;
    }

    void TearDown() override {
        g_action = nullptr;
        closeWindow(&record);
    }
};

} // namespace framework_test
