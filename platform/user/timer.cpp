// Timers on the system tick: intervals below USER_TIMER_MINIMUM are raised
// to it, a timer comes due on the first tick at or after its interval has
// passed, and a due timer yields one WM_TIMER however long it waited.
#include "platform/host/host.h"
#include "platform/kernel/clock.h"
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

struct Timer {
    HWND window; // null for a thread timer
    UINT_PTR id;
    UINT interval_ms;
    TIMERPROC proc;
    uint64_t due_us; // host time of the tick on which it comes due
};

std::vector<Timer>& g_timers = *new std::vector<Timer>;
UINT_PTR g_next_thread_timer = 0x7FFF;

uint64_t due_after(UINT interval_ms) {
    uint64_t at = host_clock_us() + (uint64_t)interval_ms * 1000;
    return (at + SYSTEM_TICK_US - 1) / SYSTEM_TICK_US * SYSTEM_TICK_US;
}

Timer* find(HWND window, UINT_PTR id) {
    for (Timer& timer : g_timers) {
        if (timer.window == window && timer.id == id)
            return &timer;
    }
    return nullptr;
}

bool matches(const Timer& timer, HWND filter) {
    if (filter == nullptr)
        return true;
    if (filter == (HWND)-1)
        return timer.window == nullptr;
    return timer.window == filter || IsChild(filter, timer.window);
}

} // namespace

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (window != nullptr && user_window(window) == nullptr)
        return 0;
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (window == nullptr) {
        Timer* existing = id != 0 ? find(nullptr, id) : nullptr;
        id = existing != nullptr ? id : ++g_next_thread_timer;
    }
    if (Timer* timer = find(window, id)) {
        *timer = {window, id, elapse, proc, due_after(elapse)};
    } else {
        g_timers.push_back({window, id, elapse, proc, due_after(elapse)});
    }
    return window != nullptr && id == 0 ? 1 : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    for (size_t i = 0; i < g_timers.size(); ++i) {
        if (g_timers[i].window == window && g_timers[i].id == id) {
            g_timers.erase(g_timers.begin() + (ptrdiff_t)i);
            return TRUE;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

void user_kill_window_timers(HWND window) {
    g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(),
                                  [window](const Timer& t) { return t.window == window; }),
                   g_timers.end());
}

// The earliest due timer for the filter becomes a WM_TIMER; taking it off
// the queue starts its next interval.
bool user_take_due_timer(HWND filter, MSG* msg, bool remove) {
    uint64_t now = host_clock_us();
    Timer* chosen = nullptr;
    for (Timer& timer : g_timers) {
        if (timer.due_us <= now && matches(timer, filter) &&
            (chosen == nullptr || timer.due_us < chosen->due_us))
            chosen = &timer;
    }
    if (chosen == nullptr)
        return false;
    *msg = {chosen->window, WM_TIMER, chosen->id, (LPARAM)chosen->proc, GetTickCount(), {}};
    GetCursorPos(&msg->pt);
    if (remove)
        chosen->due_us = due_after(chosen->interval_ms);
    return true;
}

uint64_t user_next_timer_due_us() {
    uint64_t next = UINT64_MAX;
    for (const Timer& timer : g_timers)
        next = std::min(next, timer.due_us);
    return next;
}

// Whether a timer came due after `since_us` and by now: news for WaitMessage.
bool user_timer_fired_since(uint64_t since_us) {
    uint64_t now = host_clock_us();
    for (const Timer& timer : g_timers) {
        if (timer.due_us > since_us && timer.due_us <= now)
            return true;
    }
    return false;
}

void user_reset_timers() {
    g_timers.clear();
}
