// A memory context on a 32-bit top-down bitmap whose pixels a test can read
// and write directly, on Windows and on the layer alike.
#pragma once

#include <windows.h>

#include <stdint.h>

class BitmapDc {
  public:
    BitmapDc(int width, int height);
    ~BitmapDc();
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB
    uint32_t pixel(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    const uint32_t* bits() const { return bits_; }
    void fill(uint32_t pixel);
    // The smallest rectangle holding every pixel that differs from `background`.
    RECT extent_of_changes(uint32_t background) const;
    // Pixels equal to `value` inside `box`.
    int count(uint32_t value, const RECT& box) const;

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ original_;
    uint32_t* bits_;
};
