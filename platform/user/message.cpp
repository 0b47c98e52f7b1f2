// The thread's message queue. Messages come out in Windows' order: posted
// messages, then WM_QUIT, then input, then WM_PAINT for a window that needs
// painting, then WM_TIMER for a due timer. Sent messages are calls.
#include "platform/host/host.h"
#include "platform/kernel/clock.h"
#include "platform/user/user_private.h"

#include <deque>

namespace {

struct Queue {
    std::deque<MSG> posted;
    bool quit_posted = false;
    int quit_code = 0;
    bool changed = false;      // something arrived since the queue was last looked at
    uint64_t last_look_us = 0; // when it was last looked at
    uint64_t last_present_tick = UINT64_MAX;
    MSG last{};      // the message last taken, for GetMessageTime/Pos
    int sending = 0; // depth of sent messages being handled
    // Polls in a row that found nothing, all at the clock reading
    // `empty_poll_us`: time passing, or a poll that finds a message, starts
    // the count again.
    uint32_t empty_polls = 0;
    uint64_t empty_poll_us = 0;
};

// A busy wait is this many polls in a row that find nothing while the clock
// stands still; the host is then told, and may let time pass.
constexpr uint32_t EMPTY_POLLS_PER_REPORT = 64;

Queue& g_queue = *new Queue;

bool in_range(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0)
        return true;
    return message >= first && message <= last;
}

bool for_window(HWND message_window, HWND filter) {
    if (filter == nullptr)
        return true;
    if (filter == (HWND)-1)
        return message_window == nullptr;
    return message_window == filter || IsChild(filter, message_window);
}

bool take_posted(HWND filter, UINT first, UINT last, bool remove, MSG* msg) {
    for (auto it = g_queue.posted.begin(); it != g_queue.posted.end(); ++it) {
        if (!for_window(it->hwnd, filter) || !in_range(it->message, first, last))
            continue;
        *msg = *it;
        if (remove)
            g_queue.posted.erase(it);
        return true;
    }
    return false;
}

bool take_quit(HWND filter, UINT first, UINT last, bool remove, MSG* msg) {
    if (!g_queue.quit_posted || !in_range(WM_QUIT, first, last))
        return false;
    (void)filter;
    *msg = {nullptr, WM_QUIT, (WPARAM)g_queue.quit_code, 0, GetTickCount(), {}};
    if (remove)
        g_queue.quit_posted = false;
    return true;
}

bool take_paint(HWND filter, UINT first, UINT last, MSG* msg) {
    if (!in_range(WM_PAINT, first, last))
        return false;
    HWND window = user_find_window_to_paint();
    if (window == nullptr || !for_window(window, filter))
        return false;
    *msg = {window, WM_PAINT, 0, 0, GetTickCount(), {}};
    return true;
}

bool take_timer(HWND filter, UINT first, UINT last, bool remove, MSG* msg) {
    return in_range(WM_TIMER, first, last) && user_take_due_timer(filter, msg, remove);
}

// Shows what was drawn at least once per system tick while the program
// keeps busy without waiting.
void present_on_tick(uint64_t now_us) {
    uint64_t tick = now_us / SYSTEM_TICK_US;
    if (tick != g_queue.last_present_tick) {
        g_queue.last_present_tick = tick;
        user_present_all();
    }
}

bool look(MSG* msg, HWND filter, UINT first, UINT last, bool remove) {
    user_pump_host();
    // One reading of the clock a look: a message round trip pays for it once.
    uint64_t now = host_clock_us();
    present_on_tick(now);
    g_queue.changed = false;
    g_queue.last_look_us = now;
    return take_posted(filter, first, last, remove, msg) ||
           take_quit(filter, first, last, remove, msg) ||
           user_take_input(filter, first, last, remove, msg) ||
           take_paint(filter, first, last, msg) || take_timer(filter, first, last, remove, msg);
}

// Whether something arrived since the queue was last looked at.
bool news() {
    user_pump_host();
    return g_queue.changed || user_timer_fired_since(g_queue.last_look_us);
}

// A program that waits for its timer, or for the tick count to move, by
// polling in a loop never waits, and where the clock moves only when the
// program waits its time would stand still. Counting only polls that find
// nothing while the clock stands still leaves out a program busy with its
// own messages and one that sleeps or waits between polls.
void note_poll(bool found) {
    uint64_t now = g_queue.last_look_us;
    if (found || now != g_queue.empty_poll_us) {
        g_queue.empty_polls = 0;
        g_queue.empty_poll_us = now;
    }
    if (found || ++g_queue.empty_polls < EMPTY_POLLS_PER_REPORT)
        return;
    g_queue.empty_polls = 0;
    host_poll_empty();
}

void block_until_news() {
    while (!news()) {
        user_present_all();
        host_wait(user_next_timer_due_us());
    }
}

} // namespace

void user_note_queue_changed() {
    g_queue.changed = true;
}

LRESULT user_send(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    ++g_queue.sending;
    LRESULT result = CallWindowProcA(window->proc, handle, message, wparam, lparam);
    --g_queue.sending;
    return result;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    if (handle == HWND_BROADCAST) {
        std::vector<HWND> tops = user_top_windows();
        for (HWND top : tops)
            user_send(top, message, wparam, lparam);
        return 1;
    }
    return user_send(handle, message, wparam, lparam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wparam,
                               LPARAM lparam) {
    if (proc == nullptr)
        return 0;
    return proc(window, message, wparam, lparam);
}

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    if (handle == HWND_BROADCAST) {
        for (HWND top : user_top_windows())
            PostMessageA(top, message, wparam, lparam);
        return TRUE;
    }
    if (handle != nullptr && user_window(handle) == nullptr)
        return FALSE;
    MSG msg{handle, message, wparam, lparam, GetTickCount(), {}};
    GetCursorPos(&msg.pt);
    g_queue.posted.push_back(msg);
    g_queue.changed = true;
    return TRUE;
}

// The layer runs one thread with one queue: only its own id is a thread
// with a queue.
BOOL WINAPI PostThreadMessageA(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam) {
    if (thread_id != GetCurrentThreadId()) {
        SetLastError(1444 /* ERROR_INVALID_THREAD_ID */);
        return FALSE;
    }
    return PostMessageA(nullptr, message, wparam, lparam);
}

void WINAPI PostQuitMessage(int exit_code) {
    g_queue.quit_posted = true;
    g_queue.quit_code = exit_code;
    g_queue.changed = true;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND filter, UINT first, UINT last, UINT remove) {
    if (msg == nullptr)
        return FALSE;
    if (filter != nullptr && filter != (HWND)-1 && user_window(filter) == nullptr)
        return FALSE;
    MSG found;
    bool got = look(&found, filter, first, last, (remove & PM_REMOVE) != 0);
    note_poll(got);
    if (!got)
        return FALSE;
    *msg = found;
    g_queue.last = found;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND filter, UINT first, UINT last) {
    if (msg == nullptr)
        return -1;
    if (filter != nullptr && filter != (HWND)-1 && user_window(filter) == nullptr)
        return -1;
    while (!PeekMessageA(msg, filter, first, last, PM_REMOVE))
        block_until_news();
    return msg->message != WM_QUIT;
}

// Returns when something has arrived since the queue was last looked at;
// what was already there when it was looked at does not count.
BOOL WINAPI WaitMessage(void) {
    block_until_news();
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = (TIMERPROC)msg->lParam;
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (msg->hwnd == nullptr)
        return 0;
    Window* window = user_window(msg->hwnd);
    if (window == nullptr)
        return 0;
    if (msg->message != WM_PAINT)
        return CallWindowProcA(window->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
    ++window->painting_depth;
    LRESULT result =
        CallWindowProcA(window->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if ((window = user_window_quiet(msg->hwnd)) != nullptr) {
        --window->painting_depth;
        user_finish_paint_dispatch(msg->hwnd);
    }
    return result;
}

DWORD WINAPI GetMessageTime(void) {
    return g_queue.last.time;
}
DWORD WINAPI GetMessagePos(void) {
    return MAKELONG(g_queue.last.pt.x, g_queue.last.pt.y);
}
BOOL WINAPI InSendMessage(void) {
    return FALSE;
}

// The kinds of message in the queue now (high word) and those that came
// since the queue was last asked (low word, approximated by the same).
DWORD WINAPI GetQueueStatus(UINT flags) {
    user_pump_host();
    UINT kinds = 0;
    kinds |= g_queue.posted.empty() ? 0 : 0x0008;                      // QS_POSTMESSAGE
    kinds |= user_input_waiting() ? 0x0007 : 0;                        // QS_KEY | QS_MOUSE
    kinds |= user_find_window_to_paint() != nullptr ? 0x0020 : 0;      // QS_PAINT
    kinds |= user_next_timer_due_us() <= host_clock_us() ? 0x0010 : 0; // QS_TIMER
    kinds &= flags;
    return MAKELONG(kinds, kinds);
}

void user_reset_queue() {
    g_queue.posted.clear();
    g_queue.quit_posted = false;
    g_queue.changed = false;
    g_queue.last = {};
    g_queue.empty_polls = 0;
}
