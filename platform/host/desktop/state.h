// The desktop's state, shared by the files of this folder only.
#pragma once

#include "platform/host/desktop/desktop.h"

#include <map>
#include <string>
#include <vector>

// What the desktop knows of one top-level window.
struct DesktopWindow {
    RECT rect{};            // on the screen, non-client area included
    bool visible = false;   // shown
    bool minimized = false; // as the layer last said
    HWND owner = nullptr;   // as the layer said before placing it
    bool popup = false;     // the same: a captionless popup
    std::string title;      // as last given by host_window_titled
    int32_t width = 0;      // size of `pixels`; follows the rectangle's size
    int32_t height = 0;
    std::vector<uint32_t> pixels; // width * height, as presented; 0 where never presented
    bool has_icon = false;
    uint32_t icon[16 * 16]{}; // valid when has_icon
};

struct DesktopState {
    std::map<HWND, DesktopWindow> windows;
    std::vector<HWND> z_order; // top first
    // The layer's task bar below the work area, as last presented; empty
    // until then.
    std::vector<uint32_t> task_bar;
    int32_t task_bar_width = 0;
    int32_t task_bar_height = 0;
    uint64_t present_count = 0;
    // Screen rectangles whose composed pixels changed since the host last
    // took them; folded into their union when many.
    std::vector<RECT> damage;
};

// Made on first use and never destroyed, so that it is still there for
// anything running at exit.
DesktopState& desktop_state(void);

// Notes a screen rectangle whose composed pixels changed; empty ones are
// ignored.
void desktop_add_damage(const RECT& rect);
