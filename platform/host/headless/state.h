// The headless host's state, shared by the files of this folder only.
#pragma once

#include "platform/host/headless/headless.h"
#include "platform/host/message_text.h"

#include <deque>
#include <string>
#include <vector>

struct HeadlessState {
    // Script lines and pushed events by absolute time (step.time_us is
    // absolute here); equal times keep the order they came in.
    std::deque<ScriptStep> queue;
    // The clock when the run began: the time limit counts from here.
    uint64_t run_start_us = 0;
    uint64_t time_limit_us = 600'000'000; // 0: none
    // Set by ZANDREL_TIME_LIMIT=0: with no limit, a wait once the queue is
    // empty ends the run as a stall, since nothing else would ever end it.
    bool end_when_input_spent = false;
    std::string capture_dir = ".";
    std::string script_name; // for messages about script lines at run time, escaped
    void (*stall_handler)(void) = nullptr;
    void (*exit_handler)(int code, const char* message) = nullptr;
};

// Made on first use and never destroyed, so that it is ready for the
// settings read before main and still there for anything running at exit.
HeadlessState& headless_state(void);

// Writes "zandrel: <message>" on standard error and ends the process with
// `code`, unless a test's exit handler takes it.
void headless_end_program(int code, const std::string& message);

// The text in double quotes for a message, with quotes and backslashes
// escaped and control characters written as \xNN, so that whatever a
// setting or a script holds, the message stays one line and sends nothing
// but text to the terminal.
std::string headless_quote(const std::string& text);

// "12.345 s" of virtual time since the run began.
std::string headless_run_time_text(void);

// Puts a step (absolute time) into the queue after every step of its time
// or earlier.
void headless_queue_step(const ScriptStep& step);

// Carries out a Close, Capture or CaptureWindow step that has come due.
// Close steps give back the event to hand out in *event and return true.
bool headless_run_step(const ScriptStep& step, HostEvent* event);
