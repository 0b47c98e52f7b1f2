#include "tests/soak/soak_input.h"

#include "game/game_state.h"
#include "platform/host/headless/headless.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace soak {
namespace {

// Keys that reach the window as plain key messages: no Alt and no F10,
// which would open the menu bar, and no accelerator, as the game has none.
const char* const PLAIN_KEYS[] = {"A",  "Q",    "Z",     "0",       "9",        "Left", "Right",
                                  "Up", "Down", "Enter", "Space",   "Escape",   "Tab",  "F1",
                                  "F5", "F12",  "Shift", "Control", "Backspace"};

// The ways through the menu bar to each command, from the program's tests.
struct MenuWay {
    int32_t command;
    const char* keys;
};
const MenuWay MENU_WAYS[] = {
    {MENU_NEW, "key F10\n+20 key Down\n+20 key Enter\n"},
    {MENU_PAUSE, "key F10\n+20 key Right\n+20 key Down\n+20 key Enter\n"},
    {MENU_RULES, "key F10\n+20 key Left\n+20 key Down\n+20 key Enter\n"},
    {MENU_ABOUT, "key F10\n+20 key Left\n+20 key Down\n+20 key Down\n+20 key Enter\n"},
};

// Keys that dismiss a box with only an OK button.
const char* const ANSWER_KEYS[] = {"Enter", "Space", "Escape"};

// A box still up this long after its answer was sent was not dismissed by
// that key: the watcher says so and presses Enter.
constexpr uint64_t ANSWER_GRACE_US = 2'000'000;
constexpr UINT_PTR WATCH_TIMER_ID = 77;
constexpr UINT WATCH_INTERVAL_MS = 10;

struct Watcher {
    std::mt19937_64* random = nullptr;
    PlayCounts* counts = nullptr;
    HWND answered = nullptr; // the box whose answer is on its way
    uint64_t answeredAt = 0; // virtual time the answer was queued
    std::string answerKey;   // the key it was answered with
};
Watcher g_watcher;

int64_t pick(std::mt19937_64& random, int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(random);
}

void load(const std::string& script) {
    std::string error;
    EXPECT_TRUE(headless_load_script(script.c_str(), "soak", &error)) << error;
}

bool isMessageBox(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

void answer(HWND box, const char* key, uint64_t delayMs) {
    g_watcher.answered = box;
    g_watcher.answeredAt = headless_clock_us();
    g_watcher.answerKey = key;
    load("+" + std::to_string(delayMs) + " key " + key + "\n");
}

void noteBox(HWND box) {
    char caption[32] = {};
    GetWindowTextA(box, caption, sizeof caption);
    g_watcher.counts->boxesAnswered += 1;
    g_watcher.counts->crashBoxes += std::string(caption) == "Alert";
}

// Runs on the boxes' modal loops (they keep delivering the main window's
// timers) and in the frame waits, where it finds nothing to answer.
void CALLBACK watchBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND top = desktop_top_window();
    if (top == nullptr || !isMessageBox(top))
        return;
    std::mt19937_64& random = *g_watcher.random;
    if (top != g_watcher.answered) {
        noteBox(top);
        answer(top, ANSWER_KEYS[pick(random, 0, 2)], (uint64_t)pick(random, 0, 300));
    } else if (headless_clock_us() - g_watcher.answeredAt > ANSWER_GRACE_US &&
               headless_pending_count() == 0) {
        ADD_FAILURE() << "a message box stayed up after the key " << g_watcher.answerKey;
        answer(top, "Enter", 0);
    }
}

// A point on the screen near the window: over its client area mostly, over
// its frame, caption and menu bar, or beside it.
POINT nearWindow(std::mt19937_64& random) {
    RECT rect{};
    GetWindowRect(GameState.mainWindow.hwnd, &rect);
    return {(LONG)pick(random, rect.left - 40, rect.right + 40),
            (LONG)pick(random, rect.top + 45, rect.bottom + 20)};
}

void moveTo(POINT point, uint64_t delayMs) {
    HostEvent event{};
    event.type = HOST_MOUSE_MOVE;
    event.time_us = headless_clock_us() + delayMs * 1000;
    event.point = point;
    headless_push_event(event);
}

// A mouse message whose position does not fit the 16-bit halves of its
// lParam (a captured mouse far off the window, or a driver's stray value).
void postWrappedMove(std::mt19937_64& random) {
    int32_t x = (int32_t)pick(random, -70000, 70000);
    int32_t y = (int32_t)pick(random, -70000, 70000);
    PostMessageA(GameState.mainWindow.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

// The menu bar's first key is due at once, so that the frame wait about to
// run takes it: a later one could meet a crash box brought up by the next
// frame, which would take the keys meant for the menu bar.
void queueMenuCommand(std::mt19937_64& random, PlayCounts& counts) {
    const MenuWay& way = MENU_WAYS[pick(random, 0, 3)];
    counts.menuCommands[way.command] += 1;
    load(std::string("+0 ") + way.keys);
}

void queueKey(std::mt19937_64& random, PlayCounts& counts, uint64_t delayMs) {
    const char* key = PLAIN_KEYS[pick(random, 0, sizeof PLAIN_KEYS / sizeof PLAIN_KEYS[0] - 1)];
    counts.keys += 1;
    load("+" + std::to_string(delayMs) + " key " + key + "\n");
}

} // namespace

void startBoxWatcher(std::mt19937_64* random, PlayCounts* counts) {
    g_watcher = Watcher{};
    g_watcher.random = random;
    g_watcher.counts = counts;
    SetTimer(GameState.mainWindow.hwnd, WATCH_TIMER_ID, WATCH_INTERVAL_MS, watchBoxes);
}

// Per frame: mostly nothing or a move over the window; now and then a move
// elsewhere, a stray position, a key, and rarely a menu command.
void queueRandomInput(std::mt19937_64& random, PlayCounts& counts) {
    if (headless_pending_count() != 0)
        return;
    uint64_t delayMs = (uint64_t)pick(random, 0, 12);
    int64_t roll = pick(random, 0, 999);
    if (roll < 300) {
        moveTo(nearWindow(random), delayMs);
    } else if (roll < 340) {
        moveTo({(LONG)pick(random, 0, 1023), (LONG)pick(random, 0, 767)}, delayMs);
    } else if (roll < 350) {
        moveTo({(LONG)pick(random, -3000, 3000), (LONG)pick(random, -3000, 3000)}, delayMs);
    } else if (roll < 370) {
        postWrappedMove(random);
        counts.wrappedMoves += 1;
        return;
    } else if (roll < 390) {
        queueKey(random, counts, delayMs);
        return;
    } else if (roll < 398) {
        queueMenuCommand(random, counts);
        return;
    } else {
        return;
    }
    counts.moves += 1;
}

} // namespace soak
