// The game in-process on the headless host: the main window opened as
// start-up opens it, frames run as the frame loop runs them, menu commands
// and mouse moves sent as the window receives them, and message boxes
// answered with OK by a watcher that notes what they showed.
#pragma once

#include "game/game_state.h"
#include "platform/host/headless/headless.h"
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/events/wait.h"
#include "runtime/graphics/shapes.h"
#include "runtime/graphics/text_output.h"
#include "runtime/runtime_state.h"
#include "runtime/window/window.h"
#include "tests/support/platform_reset.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace game_test {

constexpr uint32_t BLUE = 0xFF0000;   // colorRGB(0, 0, 255)
constexpr uint32_t YELLOW = 0x00FFFF; // colorRGB(255, 255, 0)
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0x000000;

// One message box as the watcher found it.
struct SeenBox {
    std::string caption;
    std::string pushedText; // the newest HeapStack entry while it was up
    int32_t scoreWhileUp;
    int32_t gameOverWhileUp;
};

inline std::vector<SeenBox> g_boxes;
inline HWND g_answered = nullptr; // the box whose Enter is on its way

// A timer routine of the test: the boxes' modal loop keeps delivering the
// main window's timers, so it sees every box that comes up, notes it and
// answers it with Enter.
inline void CALLBACK watchBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND top = desktop_top_window();
    if (top == nullptr || top == GameState.mainWindow.hwnd || top == g_answered)
        return;
    g_answered = top;
    char caption[64] = {};
    GetWindowTextA(top, caption, sizeof caption);
    SeenBox seen{caption, "", GameState.score, GameState.gameOver};
    if (HeapStack.count > 0)
        seen.pushedText = (const char*)HeapStack.entries[HeapStack.count - 1];
    g_boxes.push_back(seen);
    std::string error;
    EXPECT_TRUE(headless_load_script("+0 key Enter\n", "answer", &error)) << error;
}

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_platform();
        resetRuntimeState();
        g_boxes.clear();
        g_answered = nullptr;
        GameState = GameStateRecord{};
        // Ten seconds in, so that stamps a few seconds back need no wrap.
        headless_set_tick_count(10000);
        setUpFloatingPoint();
        createPrivateHeap();
        registerProgramIcon();
        openMainWindow();
        SetTimer(GameState.mainWindow.hwnd, WATCH_TIMER_ID, 10, watchBoxes);
    }

    void TearDown() override {
        closeWindow(&GameState.mainWindow);
        destroyPrivateHeap();
        reset_platform();
    }

    // One turn of the frame loop; returns the tick count SpawnWall saw.
    DWORD frame() {
        GameState.paceFrame = 1;
        DWORD tick = GetTickCount();
        SpawnWall();
        UpdateFrame();
        WaitFrame();
        return tick;
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i)
            frame();
    }

    void choose(int32_t id) { SendMessageA(GameState.mainWindow.hwnd, WM_COMMAND, id, 0); }

    // A mouse move to client (x, y), taken off the queue as the game takes it.
    void moveMouse(int32_t x, int32_t y) {
        PostMessageA(GameState.mainWindow.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        waitEvents(1);
    }

    // A pixel of the window's drawing (its backing bitmap), as a colour value.
    uint32_t drawn(int32_t x, int32_t y) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GameState.mainWindow.backBitmap);
        COLORREF colour = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return colour;
    }

    // Pixels of one colour in a box of the drawing.
    int countDrawn(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colour) {
        int count = 0;
        for (int32_t y = top; y < top + height; ++y)
            for (int32_t x = left; x < left + width; ++x)
                count += drawn(x, y) == colour;
        return count;
    }

    // Puts a wall in slot `slot` with its gap at x = gap and lower row `row`.
    void placeWall(int slot, int32_t gap, int32_t row) {
        WallSlot& wall = GameState.walls[slot];
        wall = WallSlot{gap, 0, PLAY_WIDTH, gap + GAP_WIDTH, 1, row};
    }

    // Keeps SpawnWall quiet for the next frames.
    void holdSpawning() { GameState.lastSpawnTick = GetTickCount(); }

    static constexpr UINT_PTR WATCH_TIMER_ID = 77;
};

} // namespace game_test
