// The tape's own picture of the program's top-level windows: their places
// and a copy of their pixels as presented, the same on every host. A
// checkpoint is a digest of it; the main window's last picture outlives
// the window, for the picture beside a tape and the capture at a replay's end.
#pragma once

#include "platform/host/headless/png_file.h"

#include <map>
#include <stdint.h>
#include <vector>
#include <windows.h>

struct TapeWindow {
    RECT rect{};          // on the screen, as last placed
    bool visible = false; // as last placed
    int32_t width = 0;    // of `pixels`; 0 until first presented
    int32_t height = 0;
    std::vector<uint32_t> pixels; // as presented, 0x00RRGGBB
};

class TapeWindows {
  public:
    void made(HWND window, HWND owner, bool popup);
    void placed(HWND window, const RECT& rect, bool visible);
    void presented(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                   int32_t stride, const RECT* dirty, int32_t dirty_count);
    void destroyed(HWND window);
    // CRC-32 of every window's handle, place, size and pixels, in handle order.
    uint32_t digest() const;
    size_t count() const { return windows_.size(); }
    // The main window (the first one made that has no owner and is no popup)
    // as last presented; empty when it never was.
    Image main_picture() const;

  private:
    std::map<HWND, TapeWindow> windows_;
    HWND main_ = nullptr;
    bool main_chosen_ = false;
    Image main_picture_;
};

TapeWindows& tape_windows(void);
