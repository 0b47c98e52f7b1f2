// The desktop of a host that draws the whole screen itself (the headless
// and web hosts): the layer's top-level windows as it reports them through
// host.h, their z-order and pixels, the task bar's rows at the bottom of the
// screen, the desktop composed from them, and the rectangles of it that
// changed. Its files implement the window half of host.h; the host that
// links it brings the clock, the input and the screen's size.
#pragma once

#include "platform/host/host.h"

#include <stdint.h>
#include <vector>
#include <windows.h>

// The rows kept free for the task bar at the bottom of the screen.
constexpr int32_t DESKTOP_TASK_BAR_HEIGHT = 40;
// The colour where no window lies: RGB(0, 128, 128) as 0x00RRGGBB.
constexpr uint32_t DESKTOP_COLOUR = 0x008080;

// The work area of a screen: all but the task bar's rows, never less than
// nothing.
RECT desktop_work_area(const RECT& screen);

// Top-level windows, as the layer reported them.

size_t desktop_window_count(void);
// The topmost visible window, or null.
HWND desktop_top_window(void);
// Windows from the top of the z-order to the bottom, hidden ones included.
std::vector<HWND> desktop_z_order(void);
bool desktop_window_rect(HWND window, RECT* rect);
bool desktop_window_visible(HWND window);
// Whether the layer said the window is minimised.
bool desktop_window_minimized(HWND window);
// The title, or null for a window the desktop does not know.
const char* desktop_window_title(HWND window);
// The first window, from the top, with this title; null when none has it.
HWND desktop_find_window(const char* title);
// The window's pixels as last presented (0x00RRGGBB, rows of *width pixels,
// no gap); null for a window the desktop does not know.
const uint32_t* desktop_window_pixels(HWND window, int32_t* width, int32_t* height);
// The 16 by 16 icon (0xAARRGGBB), or null when none was given.
const uint32_t* desktop_window_icon(HWND window);
// host_present calls since the last reset, for every window together.
uint64_t desktop_present_count(void);

// Composing.

// Composes the desktop inside `area` (screen coordinates) into `out`, whose
// first pixel is the area's top left and whose rows are `stride` pixels
// apart: the desktop colour, each visible window from the bottom of the
// z-order up, and the task bar above them all.
void desktop_compose_area(const RECT& area, uint32_t* out, int32_t stride);

// Damage.

// The screen rectangles whose composed pixels may have changed since the
// last call (windows presented, placed, shown, hidden or destroyed, the
// task bar presented); they may overlap. Taking them forgets them.
std::vector<RECT> desktop_take_damage(void);
// The rectangles to copy for a list of changes: each is cut to the screen,
// empty ones are dropped and overlapping ones merged, so that a pixel is
// copied once however many changes cover it.
std::vector<RECT> desktop_merge_damage(const std::vector<RECT>& damage, const RECT& screen);

// Forgets every window, the task bar, the damage and the count of
// presentations: part of a host's fresh start for tests.
void desktop_reset(void);
