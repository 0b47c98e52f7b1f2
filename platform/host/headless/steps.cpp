// Script lines that the host carries out itself when their time comes:
// window manager close requests and captures. Windows are looked up by title
// then, not when the script is read, as they are made while the program runs.
#include "platform/host/headless/headless.h"
#include "platform/host/headless/state.h"

namespace {

// The topmost visible window with this title; the topmost visible window
// when the title is empty.
HWND find_visible(const std::string& title) {
    for (HWND window : desktop_z_order()) {
        if (desktop_window_visible(window) &&
            (title.empty() || title == desktop_window_title(window)))
            return window;
    }
    return nullptr;
}

void fail_step(const ScriptStep& step, const std::string& why) {
    const std::string& name = headless_state().script_name;
    headless_end_program(HEADLESS_EXIT_SCRIPT_FAILED, name + ":" + std::to_string(step.line) +
                                                          ": " + why + " (virtual time " +
                                                          headless_run_time_text() + ")");
}

// The script's parser lets through only names inside the capture folder.
std::string capture_path(const std::string& file) {
    const std::string& dir = headless_state().capture_dir;
    if (dir.empty())
        return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

bool close_window(const ScriptStep& step, HostEvent* event) {
    HWND window = find_visible(step.title);
    if (!window) {
        fail_step(step, step.title.empty() ? "no visible window to close"
                                           : "no visible window titled " +
                                                 headless_quote(step.title) + " to close");
        return false;
    }
    *event = HostEvent{};
    event->type = HOST_CLOSE;
    event->time_us = step.time_us;
    event->window = window;
    return true;
}

// The writer's error names the path as it is; the capture folder and the
// script's file name may hold anything, so the message escapes it.
void capture(const ScriptStep& step) {
    std::string error;
    std::string path = capture_path(step.file);
    if (step.action == ScriptAction::Capture) {
        if (!headless_capture_screen(path.c_str(), &error))
            fail_step(step, host_escape(error));
        return;
    }
    HWND window = desktop_find_window(step.title.c_str());
    if (!window)
        fail_step(step, "no window titled " + headless_quote(step.title) + " to capture");
    else if (!headless_capture_window(window, path.c_str(), &error))
        fail_step(step, host_escape(error));
}

} // namespace

bool headless_run_step(const ScriptStep& step, HostEvent* event) {
    if (step.action == ScriptAction::Close)
        return close_window(step, event);
    capture(step);
    return false;
}
