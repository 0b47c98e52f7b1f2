// The headless host: a virtual machine for tests, benchmarks and screenshots.
// Its clock moves only when told to, so every run is identical.
//
// A program over this host reads its settings and input script from the
// environment before main runs (see README.md in this folder); in-process
// tests drive the same machinery through the functions below.
#pragma once

#include "platform/host/desktop/desktop.h"
#include "platform/host/headless/png_file.h"
#include "platform/host/host.h"

#include <stdint.h>
#include <string>
#include <vector>
#include <windows.h>

// The virtual clock, in microseconds. It starts at 0.
uint64_t headless_clock_us(void);
// Setting the clock (directly or through the tick count) starts a new run:
// the time limit and the times in stall messages count from there.
void headless_set_clock_us(uint64_t now_us);
void headless_advance_clock_us(uint64_t delta_us);

// Moves the virtual clock to the first system tick at which GetTickCount()
// reads at least tick_count (counting from 0, before any wrap), so that a
// test can start the tick count anywhere, just below the wrap included.
void headless_set_tick_count(DWORD tick_count);

// The virtual screen, composed by the desktop (desktop.h), which also keeps
// the layer's windows as it reports them.
constexpr int32_t HEADLESS_SCREEN_WIDTH = 1024;
constexpr int32_t HEADLESS_SCREEN_HEIGHT = 768;

// Exit codes of a program that the host ends.
constexpr int HEADLESS_EXIT_BAD_SETTINGS = 2;  // malformed script or setting, before main
constexpr int HEADLESS_EXIT_STALL = 3;         // waits forever: no deadline, no input to come
constexpr int HEADLESS_EXIT_TIME_LIMIT = 4;    // virtual time ran past ZANDREL_TIME_LIMIT
constexpr int HEADLESS_EXIT_SCRIPT_FAILED = 5; // a script line could not be carried out

// Input, for in-process tests and from the script.

// Queues input for the program. The event happens at event.time_us, or at
// once when that is in the past; events stay in time order, and events of
// equal time in the order they were pushed.
void headless_push_event(const HostEvent& event);
// The number of script lines and pushed events not yet handed out.
size_t headless_pending_count(void);
// How far the virtual clock moves each time the layer reports a busy wait
// (host_poll_empty).
constexpr uint64_t HEADLESS_POLL_STEP_US = 1000;

// What a script line does at its time. Input steps become host events; the
// others are carried out by the host itself.
enum class ScriptAction {
    Input,         // hands out `event` (its time_us counts from the script's start)
    Close,         // a close request for the window titled `title` (topmost when empty)
    Capture,       // writes the composed screen to `file` in the capture folder
    CaptureWindow, // writes the window titled `title` alone to `file`
};

struct ScriptStep {
    ScriptAction action = ScriptAction::Input;
    uint64_t time_us = 0; // virtual time from the start of the script
    int line = 0;         // line of the script it came from, for messages
    HostEvent event{};    // valid for Input
    std::string title;    // Close, CaptureWindow
    std::string file;     // Capture, CaptureWindow
};

// Parses a script. `name` is how messages name it ("play.txt"). On failure
// returns false with one line in *error: "play.txt:7: unknown key name "Entr"".
bool headless_parse_script(const char* text, const char* name, std::vector<ScriptStep>* steps,
                           std::string* error);
// Parses a script and queues its steps, timed from the clock now.
bool headless_load_script(const char* text, const char* name, std::string* error);

// Settings, read from the environment before main.

struct HeadlessSettings {
    std::string script_path;              // ZANDREL_SCRIPT; empty when there is no script
    bool has_tick_start = false;          // ZANDREL_TICK_START was given
    DWORD tick_start = 0;                 // ... and the tick count to start at
    std::string capture_dir = ".";        // ZANDREL_CAPTURE_DIR
    uint64_t time_limit_us = 600'000'000; // ZANDREL_TIME_LIMIT, in virtual seconds there
};

// Reads the settings through `lookup` (getenv in a program; a table in
// tests). Returns an empty string, or one line that says what is wrong.
std::string headless_read_settings(const char* (*lookup)(const char* name),
                                   HeadlessSettings* settings);
// Applies settings: the tick start, the folder and limit, then the script,
// read and parsed from its file. Returns an empty string or the message.
std::string headless_apply_settings(const HeadlessSettings& settings);
void headless_set_time_limit_us(uint64_t limit_us); // 0: no limit
void headless_set_capture_dir(const char* dir);

// How the host ends a program, and how a test sees it instead.

// When the program waits with no deadline and no input will ever come, the
// host writes one line on standard error and ends the process with
// HEADLESS_EXIT_STALL. A test installs a handler instead to see the stall;
// when the handler returns, host_wait returns without moving the clock.
void headless_set_stall_handler(void (*handler)(void));
// The same for every other way the host ends a program (time limit, a
// script line that cannot be carried out): the handler receives the exit
// code and the line that would have been written. Null restores the default.
void headless_set_exit_handler(void (*handler)(int code, const char* message));

// Captures.

// The desktop with every visible window drawn from the bottom of the
// z-order to the top, clipped to the screen, and the layer's task bar
// across the rows below the work area.
Image headless_compose_screen(void);
// One window's pixels alone; false for a window the host does not know.
bool headless_window_image(HWND window, Image* image);
// Write those pictures as PNG; on failure they return false and, when
// `error` is given, say why.
bool headless_capture_screen(const char* path, std::string* error = nullptr);
bool headless_capture_window(HWND window, const char* path, std::string* error = nullptr);

// Forgets windows, queued input, handlers and counts, puts the time limit
// and capture folder back to their defaults and the clock back to 0: a
// test's fresh start.
void headless_reset(void);
