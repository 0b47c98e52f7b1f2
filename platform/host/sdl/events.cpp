// Input from SDL as host events, and the waits. SDL's events are taken off
// its queue as they come and kept, converted, until the layer asks for
// them, so that a sleep can let time pass without losing input.
#include "platform/host/sdl/sdl_host.h"

#include <algorithm>
#include <cmath>
#include <time.h>

namespace {

void take_event(const SDL_Event& event);

// Where the pointer is now, on the real screen, in layer pixels.
POINT global_point(void) {
    int scale = sdl_host().scale;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {LONG(std::floor(double(x) / scale)), LONG(std::floor(double(y) / scale))};
}

// Mouse positions are turned into screen positions from the layer's own
// idea of where the window is: the position inside the real window, in
// layer pixels, plus the window's place. A window manager's moves reach the
// layer as moved events before the input that follows them.
POINT screen_point(Uint32 window_id, int x, int y) {
    SdlHost& host = sdl_host();
    if (SdlWindow* record = sdl_find(sdl_window_of(window_id))) {
        return {record->rect.left + LONG(std::floor(double(x) / host.scale)),
                record->rect.top + LONG(std::floor(double(y) / host.scale))};
    }
    return global_point();
}

int host_button(Uint8 button) {
    return button == SDL_BUTTON_RIGHT    ? HOST_BUTTON_RIGHT
           : button == SDL_BUTTON_MIDDLE ? HOST_BUTTON_MIDDLE
                                         : HOST_BUTTON_LEFT;
}

void take_motion(const SDL_MouseMotionEvent& motion) {
    HostEvent event{};
    event.type = HOST_MOUSE_MOVE;
    event.point = screen_point(motion.windowID, motion.x, motion.y);
    sdl_push(event);
}

// Without a window manager nobody gives the pressed window the keyboard
// focus, and SDL captures the mouse for the window that has it: giving it
// here keeps the positions of the moves that follow relative to the window
// that was pressed.
void take_button(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT && button.button != SDL_BUTTON_RIGHT &&
        button.button != SDL_BUTTON_MIDDLE)
        return;
    HostEvent event{};
    event.type = HOST_MOUSE_BUTTON;
    event.point = screen_point(button.windowID, button.x, button.y);
    event.button = host_button(button.button);
    event.down = button.state == SDL_PRESSED;
    HWND pressed = sdl_window_of(button.windowID);
    if (event.down && pressed != nullptr)
        sdl_give_focus(pressed);
    sdl_push(event);
}

void take_key(const SDL_KeyboardEvent& key) {
    UINT virtual_key = sdl_virtual_key(key.keysym.sym);
    if (virtual_key == 0)
        return;
    HostEvent event{};
    event.type = HOST_KEY;
    event.key = virtual_key;
    event.down = key.state == SDL_PRESSED;
    sdl_push(event);
}

// A moved event for a place the host gave the window itself is its own
// doing; any other is the window manager's, which the layer must follow.
void take_move(HWND window, SdlWindow& record, int x, int y) {
    auto& made = record.moves_made;
    auto own = std::find_if(made.begin(), made.end(),
                            [x, y](const SDL_Point& p) { return p.x == x && p.y == y; });
    if (own != made.end()) {
        made.erase(made.begin(), own + 1);
        return;
    }
    int scale = sdl_host().scale;
    POINT top_left = {LONG(std::floor(double(x) / scale)), LONG(std::floor(double(y) / scale))};
    if (record.minimized || (top_left.x == record.rect.left && top_left.y == record.rect.top))
        return;
    HostEvent event{};
    event.type = HOST_MOVED;
    event.window = window;
    event.point = top_left;
    sdl_push(event);
}

// The window manager minimised or restored a window; what the layer asked
// for itself comes back too and is already known. Without a manager the
// host hides and shows windows itself, and nobody else minimises them.
void take_state(HWND window, SdlWindow& record, bool minimized) {
    if (!sdl_host().window_manager)
        return;
    record.real_minimized = minimized;
    if (record.minimized != minimized)
        sdl_tell_state(window, record, minimized);
}

// Focus that passes between the program's own windows changes nothing;
// focus that leaves them all went to another program. SDL reports focus
// lost only once it has settled, and without a window manager nobody but
// the host moves it.
void take_focus_lost(void) {
    if (!sdl_host().window_manager || SDL_GetKeyboardFocus() != nullptr)
        return;
    HostEvent event{};
    event.type = HOST_DEACTIVATE;
    sdl_push(event);
}

void take_window_event(const SDL_WindowEvent& change) {
    if (sdl_task_bar_event(change))
        return;
    HWND window = sdl_window_of(change.windowID);
    SdlWindow* record = sdl_find(window);
    if (window == nullptr || record == nullptr)
        return;
    HostEvent event{};
    event.window = window;
    switch (change.event) {
    case SDL_WINDOWEVENT_CLOSE:
        event.type = HOST_CLOSE;
        sdl_push(event);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (sdl_focus_was_given(window))
            break;
        event.type = HOST_ACTIVATE;
        sdl_push(event);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        take_focus_lost();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        sdl_show_again(window);
        break;
    case SDL_WINDOWEVENT_MOVED:
        take_move(window, *record, change.data1, change.data2);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        take_state(window, *record, change.event == SDL_WINDOWEVENT_MINIMIZED);
        break;
    default:
        break;
    }
}

// Off X, the last stretch before a deadline is slept in short steps on the
// clock rather than in SDL's wait, which counts in whole milliseconds.
constexpr uint64_t FINE_WAIT_US = 2000;
constexpr uint64_t FINE_STEP_US = 200;

// Whole milliseconds to wait in SDL for a deadline, leaving the last
// stretch for the fine wait; -1 waits for an event.
int coarse_wait_ms(uint64_t deadline_us, uint64_t now) {
    if (deadline_us == UINT64_MAX)
        return -1;
    if (deadline_us <= now + FINE_WAIT_US)
        return 0;
    return int(std::min<uint64_t>((deadline_us - now - FINE_WAIT_US) / 1000, 1'000'000));
}

void sleep_us(uint64_t microseconds) {
    timespec pause{time_t(microseconds / 1'000'000), long(microseconds % 1'000'000) * 1000};
    nanosleep(&pause, nullptr);
}

// Reads whatever SDL has: from the display connection, and what SDL made
// itself meanwhile. True when an event came.
bool poll_sdl(void) {
    SDL_Event event;
    sdl_host().looked_us = host_clock_us();
    if (!SDL_PollEvent(&event))
        return false;
    take_event(event);
    return true;
}

// Takes what SDL holds already, without reading the display connection.
bool peek_sdl(void) {
    SDL_Event event;
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1)
        return false;
    take_event(event);
    return true;
}

// Waits for one SDL event or the deadline, whichever is first, and takes
// what came. On X the wait is on the connection, and SDL reads it only
// when something came; elsewhere SDL waits, and the last stretch is slept
// in fine steps.
void wait_once(uint64_t deadline_us) {
    SdlHost& host = sdl_host();
    if (peek_sdl())
        return;
    if (sdl_x_wait(host, deadline_us)) {
        if (sdl_x_input_waiting(host))
            poll_sdl();
        return;
    }
    SDL_Event event;
    uint64_t now = host_clock_us();
    int coarse = coarse_wait_ms(deadline_us, now);
    if (coarse != 0) {
        if (SDL_WaitEventTimeout(&event, coarse))
            take_event(event);
        return;
    }
    if (poll_sdl())
        return;
    if (deadline_us > now)
        sleep_us(std::min(deadline_us - now, FINE_STEP_US));
}

// A program looks at its queue many times a frame; SDL's reading of the
// display connection costs several system calls, so it reads it at most
// once in this long, and on X only when input waits there. Events SDL
// already holds are taken every time.
constexpr uint64_t PUMP_INTERVAL_US = 1000;

void drain_sdl(void) {
    SdlHost& host = sdl_host();
    uint64_t now = host_clock_us();
    bool read = false;
    if (now - host.looked_us >= PUMP_INTERVAL_US) {
        host.looked_us = now;
        read = sdl_x_input_waiting(host);
    }
    if (!read) {
        while (peek_sdl()) {
        }
        return;
    }
    while (poll_sdl()) {
    }
}

// Converts an SDL event to host events on the pending queue; exposure is
// the host's own business.
void take_event(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        sdl_trace("motion");
        take_motion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        take_button(event.button);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        take_key(event.key);
        break;
    case SDL_WINDOWEVENT:
        take_window_event(event.window);
        break;
    case SDL_SYSWMEVENT:
        sdl_take_system_event(*event.syswm.msg);
        break;
    case SDL_DISPLAYEVENT:
        sdl_host().display_known = false;
        break;
    default:
        break;
    }
}

} // namespace

void sdl_push(HostEvent event) {
    event.time_us = host_clock_us();
    sdl_host().pending.push_back(event);
}

void sdl_tell_state(HWND window, SdlWindow& record, bool minimized) {
    record.told[minimized] = true;
    HostEvent event{};
    event.type = minimized ? HOST_MINIMIZE : HOST_RESTORE;
    event.window = window;
    sdl_push(event);
}

// A state the layer is told while its window is in that state already is
// one it has nothing to do for.
void note_state_taken(const HostEvent& event) {
    bool minimized = event.type == HOST_MINIMIZE;
    SdlWindow* record = sdl_find(event.window);
    if ((event.type == HOST_MINIMIZE || event.type == HOST_RESTORE) && record != nullptr &&
        record->minimized == minimized)
        record->told[minimized] = false;
}

bool host_next_event(HostEvent* event) {
    SdlHost& host = sdl_host();
    drain_sdl();
    if (host.pending.empty())
        return false;
    *event = host.pending.front();
    host.pending.pop_front();
    note_state_taken(*event);
    return true;
}

// The waits sleep on the display connection, so an idle wait costs
// nothing; a wait may end early, hence the loop.
void host_wait(uint64_t deadline_us) {
    SdlHost& host = sdl_host();
    drain_sdl();
    while (host.pending.empty() && host_clock_us() < deadline_us)
        wait_once(deadline_us);
}

// Time passes whatever comes meanwhile; input is kept for the layer, and
// lost pixels are shown again.
void host_sleep(uint64_t deadline_us) {
    sdl_host();
    while (host_clock_us() < deadline_us)
        wait_once(deadline_us);
}

// The real clock moves while the program polls.
void host_poll_empty(void) {}
