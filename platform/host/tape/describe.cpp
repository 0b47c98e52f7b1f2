#include "platform/host/tape/describe.h"

#include "platform/kernel/clock.h"

namespace {

std::string point_text(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

const char* button_name(int button) {
    static const char* const names[] = {"left", "right", "middle"};
    return button >= 0 && button < 3 ? names[button] : "another";
}

std::string window_text(const char* what, HWND window) {
    return std::string(what) + " for window " + std::to_string(uintptr_t(window));
}

} // namespace

std::string tape_tick_text(uint64_t us) {
    return std::to_string(uint32_t(clock_milliseconds_at(us)));
}

std::string tape_describe_event(const HostEvent& event) {
    std::string at = " (tick " + tape_tick_text(event.time_us) + ")";
    switch (event.type) {
    case HOST_MOUSE_MOVE:
        return "a mouse move to " + point_text(event.point) + at;
    case HOST_MOUSE_BUTTON:
        return std::string("the ") + button_name(event.button) + " button " +
               (event.down ? "down" : "up") + " at " + point_text(event.point) + at;
    case HOST_KEY:
        return "key " + std::to_string(event.key) + (event.down ? " down" : " up") + at;
    case HOST_CLOSE:
        return window_text("a close request", event.window) + at;
    case HOST_ACTIVATE:
        return window_text("an activation", event.window) + at;
    case HOST_EXPOSE:
        return window_text("an exposure", event.window) + at;
    case HOST_MOVED:
        return window_text("a move", event.window) + " to " + point_text(event.point) + at;
    case HOST_DEACTIVATE:
        return "a deactivation" + at;
    case HOST_MINIMIZE:
        return window_text("a minimisation", event.window) + at;
    case HOST_RESTORE:
        return window_text("a restoration", event.window) + at;
    }
    return "an unknown input" + at;
}

std::string tape_describe(const TapeRecord& record) {
    switch (record.kind) {
    case TapeKind::Clock:
        return "a clock reading";
    case TapeKind::Polls:
        return "no input";
    case TapeKind::Event:
        return tape_describe_event(record.event);
    case TapeKind::Screen:
        return "the screen's size";
    case TapeKind::TaskBar:
        return "the task bar";
    case TapeKind::Checkpoint:
        return "a checkpoint";
    case TapeKind::End:
        return "the program's end";
    }
    return "a record";
}
