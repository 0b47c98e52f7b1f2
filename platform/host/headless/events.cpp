// Input on the virtual clock. Waiting moves the clock straight to the next
// thing that will happen, a queued step or the caller's deadline, so a minute
// of play takes no time at all and every run is the same.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"
#include "platform/host/host.h"
#include "platform/kernel/clock.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>

namespace {

bool is_due(const ScriptStep& step) {
    return step.time_us <= headless_clock_us();
}

// Close requests are input the program must see; captures are the host's
// own business and never wake the program.
bool wakes_program(const ScriptStep& step) {
    return step.action == ScriptAction::Input || step.action == ScriptAction::Close;
}

void run_due_captures(HeadlessState& state) {
    while (!state.queue.empty() && is_due(state.queue.front()) &&
           !wakes_program(state.queue.front())) {
        ScriptStep step = state.queue.front();
        state.queue.pop_front();
        HostEvent unused;
        headless_run_step(step, &unused);
    }
}

void report_stall(HeadlessState& state, const char* why) {
    if (state.stall_handler) {
        state.stall_handler();
        return;
    }
    headless_end_program(HEADLESS_EXIT_STALL,
                         std::string(why) + " (virtual time " + headless_run_time_text() + ")");
}

// True when moving the clock to target_us would pass the time limit; the
// clock then stops at the limit and the program is ended.
bool stop_at_time_limit(HeadlessState& state, uint64_t target_us) {
    if (state.time_limit_us == 0)
        return false;
    uint64_t limit_at = state.run_start_us + state.time_limit_us;
    if (limit_at < state.run_start_us || target_us <= limit_at)
        return false;
    uint64_t now = headless_clock_us();
    if (limit_at > now)
        headless_advance_clock_us(limit_at - now);
    headless_end_program(HEADLESS_EXIT_TIME_LIMIT, "the program ran past its time limit of " +
                                                       headless_run_time_text() +
                                                       " of virtual time (ZANDREL_TIME_LIMIT)");
    return true;
}

bool take_due_event(HeadlessState& state, HostEvent* event) {
    while (!state.queue.empty() && is_due(state.queue.front())) {
        ScriptStep step = state.queue.front();
        state.queue.pop_front();
        if (step.action == ScriptAction::Input) {
            *event = step.event;
            return true;
        }
        if (headless_run_step(step, event))
            return true;
    }
    return false;
}

} // namespace

HeadlessState& headless_state(void) {
    static HeadlessState* state = new HeadlessState;
    return *state;
}

void headless_end_program(int code, const std::string& message) {
    HeadlessState& state = headless_state();
    if (state.exit_handler) {
        state.exit_handler(code, message.c_str());
        return;
    }
    fprintf(stderr, "zandrel: %s\n", message.c_str());
    fflush(NULL);
    // Static destructors would run under a program stopped mid-wait.
    _Exit(code);
}

std::string headless_run_time_text(void) {
    uint64_t elapsed_us = headless_clock_us() - headless_state().run_start_us;
    char text[48];
    snprintf(text, sizeof text, "%llu.%03llu s", (unsigned long long)(elapsed_us / 1000000),
             (unsigned long long)(elapsed_us / 1000 % 1000));
    return text;
}

void headless_queue_step(const ScriptStep& step) {
    std::deque<ScriptStep>& queue = headless_state().queue;
    auto later = std::upper_bound(
        queue.begin(), queue.end(), step.time_us,
        [](uint64_t time_us, const ScriptStep& queued) { return time_us < queued.time_us; });
    queue.insert(later, step);
}

void headless_push_event(const HostEvent& event) {
    ScriptStep step;
    step.event = event;
    // An event from the past happens now: time never runs backwards for the program.
    step.event.time_us = std::max(event.time_us, headless_clock_us());
    step.time_us = step.event.time_us;
    headless_queue_step(step);
}

size_t headless_pending_count(void) {
    return headless_state().queue.size();
}

bool host_next_event(HostEvent* event) {
    HeadlessState& state = headless_state();
    return take_due_event(state, event);
}

void host_wait(uint64_t deadline_us) {
    HeadlessState& state = headless_state();
    for (;;) {
        run_due_captures(state);
        uint64_t now = headless_clock_us();
        bool input_due = !state.queue.empty() && is_due(state.queue.front());
        if (input_due || deadline_us <= now)
            return;
        if (state.end_when_input_spent && state.queue.empty()) {
            report_stall(state, "the script has no input left and ZANDREL_TIME_LIMIT=0 sets no "
                                "time limit, so nothing would end the run");
            return;
        }
        uint64_t next_us = state.queue.empty() ? UINT64_MAX : state.queue.front().time_us;
        uint64_t target_us = std::min(deadline_us, next_us);
        if (target_us == UINT64_MAX) {
            report_stall(state, "the program waits for input and the script has none left");
            return;
        }
        if (stop_at_time_limit(state, target_us))
            return;
        headless_advance_clock_us(target_us - now);
    }
}

// A busy-waiting program would see the virtual clock stand still for ever:
// each report lets a millisecond pass, as a sleep would, so its timers come
// and its tick count moves. Input due meanwhile waits to be taken.
void host_poll_empty(void) {
    host_sleep(headless_clock_us() + HEADLESS_POLL_STEP_US);
}

void headless_set_stall_handler(void (*handler)(void)) {
    headless_state().stall_handler = handler;
}

void headless_set_exit_handler(void (*handler)(int code, const char* message)) {
    headless_state().exit_handler = handler;
}

void headless_set_time_limit_us(uint64_t limit_us) {
    headless_state().time_limit_us = limit_us;
}

void headless_reset(void) {
    HeadlessState& state = headless_state();
    state.queue.clear();
    state.stall_handler = nullptr;
    state.exit_handler = nullptr;
    state.time_limit_us = HeadlessSettings().time_limit_us;
    state.end_when_input_spent = false;
    state.capture_dir = HeadlessSettings().capture_dir;
    state.script_name.clear();
    desktop_reset();
    headless_set_clock_us(0);
}

// Time passes to the deadline whatever input comes meanwhile; the input
// waits in the queue. Captures and the time limit fall due on the way.
void host_sleep(uint64_t deadline_us) {
    HeadlessState& state = headless_state();
    for (;;) {
        run_due_captures(state);
        uint64_t now = headless_clock_us();
        if (deadline_us <= now)
            return;
        uint64_t target_us = deadline_us;
        for (const auto& pending : state.queue) {
            if (pending.time_us > now) {
                target_us = std::min(target_us, pending.time_us);
                break;
            }
        }
        if (stop_at_time_limit(state, target_us))
            return;
        headless_advance_clock_us(target_us - now);
    }
}
