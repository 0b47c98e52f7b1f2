#include "tests/support/bitmap_dc.h"

BitmapDc::BitmapDc(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    original_ = SelectObject(dc_, bitmap_);
}

BitmapDc::~BitmapDc() {
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void BitmapDc::fill(uint32_t pixel) {
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = pixel;
}

RECT BitmapDc::extent_of_changes(uint32_t background) const {
    RECT extent{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (pixel(x, y) == background)
                continue;
            extent.left = x < extent.left ? x : extent.left;
            extent.top = y < extent.top ? y : extent.top;
            extent.right = x + 1 > extent.right ? x + 1 : extent.right;
            extent.bottom = y + 1 > extent.bottom ? y + 1 : extent.bottom;
        }
    }
    return extent.left < extent.right ? extent : RECT{0, 0, 0, 0};
}

int BitmapDc::count(uint32_t value, const RECT& box) const {
    int found = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x)
            found += pixel(x, y) == value;
    }
    return found;
}
