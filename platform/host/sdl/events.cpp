// Input from SDL as host events, and the waits. SDL's events are taken off
// its queue as they come and kept, converted, until the layer asks for
// them, so that a sleep can let time pass without losing input.
#include "platform/host/sdl/sdl_host.h"

#include <algorithm>
#include <cmath>

namespace {

// Where the pointer is now, on the real screen, in layer pixels.
POINT global_point(void) {
    int scale = sdl_host().scale;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {LONG(std::floor(double(x) / scale)), LONG(std::floor(double(y) / scale))};
}

// Mouse positions are turned into screen positions from the layer's own
// idea of where the window is: the position inside the real window, in
// layer pixels, plus the window's place. A window manager that moved the
// real window elsewhere then changes nothing for the layer.
POINT screen_point(Uint32 window_id, int x, int y) {
    SdlHost& host = sdl_host();
    if (SdlWindow* record = sdl_find(sdl_window_of(window_id))) {
        return {record->rect.left + LONG(std::floor(double(x) / host.scale)),
                record->rect.top + LONG(std::floor(double(y) / host.scale))};
    }
    return global_point();
}

void push(HostEvent event) {
    event.time_us = host_clock_us();
    sdl_host().pending.push_back(event);
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
    push(event);
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
    push(event);
}

void take_key(const SDL_KeyboardEvent& key) {
    UINT virtual_key = sdl_virtual_key(key.keysym.sym);
    if (virtual_key == 0)
        return;
    HostEvent event{};
    event.type = HOST_KEY;
    event.key = virtual_key;
    event.down = key.state == SDL_PRESSED;
    push(event);
}

void take_window_event(const SDL_WindowEvent& change) {
    HWND window = sdl_window_of(change.windowID);
    if (window == nullptr)
        return;
    HostEvent event{};
    event.window = window;
    switch (change.event) {
    case SDL_WINDOWEVENT_CLOSE:
        event.type = HOST_CLOSE;
        push(event);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (sdl_focus_was_given(window))
            break;
        event.type = HOST_ACTIVATE;
        push(event);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        sdl_show_again(window);
        break;
    default:
        break;
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
    default:
        break;
    }
}

// Milliseconds to wait for a deadline, rounded up so that a wait that ends
// early waits again rather than spinning; -1 waits for an event.
int wait_ms(uint64_t deadline_us) {
    if (deadline_us == UINT64_MAX)
        return -1;
    uint64_t now = host_clock_us();
    if (deadline_us <= now)
        return 0;
    return int(std::min<uint64_t>((deadline_us - now + 999) / 1000, 1'000'000));
}

// Waits for one SDL event or the deadline, whichever is first, and takes it.
void wait_once(uint64_t deadline_us) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, wait_ms(deadline_us)))
        take_event(event);
}

void drain_sdl(void) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        take_event(event);
}

} // namespace

bool host_next_event(HostEvent* event) {
    SdlHost& host = sdl_host();
    drain_sdl();
    if (host.pending.empty())
        return false;
    *event = host.pending.front();
    host.pending.pop_front();
    return true;
}

// SDL_WaitEventTimeout sleeps on the display connection, so an idle wait
// costs nothing; it may end up to a millisecond early, hence the loop.
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
