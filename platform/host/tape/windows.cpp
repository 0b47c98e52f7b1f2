#include "platform/host/tape/windows.h"

#include "platform/host/tape/crc32.h"

#include <algorithm>

namespace {

uint32_t crc_add(uint32_t crc, const void* bytes, size_t size) {
    return tape_crc32(crc, bytes, size);
}

// Little-endian, so that a digest is the same on every machine.
uint32_t crc_add_number(uint32_t crc, uint64_t value) {
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
    return crc_add(crc, bytes, sizeof bytes);
}

void copy_rect(TapeWindow& copy, const uint32_t* pixels, int32_t stride, const RECT& dirty) {
    LONG left = std::max<LONG>(dirty.left, 0), top = std::max<LONG>(dirty.top, 0);
    LONG right = std::min<LONG>(dirty.right, copy.width);
    LONG bottom = std::min<LONG>(dirty.bottom, copy.height);
    for (LONG y = top; y < bottom && left < right; ++y)
        std::copy_n(pixels + ptrdiff_t(y) * stride + left, right - left,
                    copy.pixels.begin() + ptrdiff_t(y) * copy.width + left);
}

} // namespace

TapeWindows& tape_windows(void) {
    static TapeWindows* windows = new TapeWindows;
    return *windows;
}

void TapeWindows::made(HWND window, HWND owner, bool popup) {
    windows_[window];
    if (!main_chosen_ && owner == nullptr && !popup) {
        main_ = window;
        main_chosen_ = true;
    }
}

void TapeWindows::placed(HWND window, const RECT& rect, bool visible) {
    TapeWindow& copy = windows_[window];
    copy.rect = rect;
    copy.visible = visible;
}

void TapeWindows::presented(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                            int32_t stride, const RECT* dirty, int32_t dirty_count) {
    TapeWindow& copy = windows_[window];
    if (width <= 0 || height <= 0)
        return;
    if (width != copy.width || height != copy.height) {
        copy.width = width;
        copy.height = height;
        copy.pixels.assign(size_t(width) * size_t(height), 0);
        copy_rect(copy, pixels, stride, {0, 0, width, height});
    } else {
        for (int32_t i = 0; i < dirty_count; ++i)
            copy_rect(copy, pixels, stride, dirty[i]);
    }
}

void TapeWindows::destroyed(HWND window) {
    auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    if (window == main_) {
        main_picture_.width = found->second.width;
        main_picture_.height = found->second.height;
        main_picture_.pixels = std::move(found->second.pixels);
    }
    windows_.erase(found);
}

Image TapeWindows::main_picture() const {
    auto found = windows_.find(main_);
    if (!main_chosen_ || found == windows_.end())
        return main_picture_;
    return {found->second.width, found->second.height, found->second.pixels};
}

uint32_t TapeWindows::digest() const {
    uint32_t crc = 0;
    for (const auto& [window, copy] : windows_) {
        crc = crc_add_number(crc, uint64_t(uintptr_t(window)));
        for (LONG side : {copy.rect.left, copy.rect.top, copy.rect.right, copy.rect.bottom})
            crc = crc_add_number(crc, uint64_t(int64_t(side)));
        crc = crc_add_number(crc, uint64_t(copy.visible) << 63 | uint64_t(copy.width) << 32 |
                                      uint64_t(uint32_t(copy.height)));
        crc = crc_add(crc, copy.pixels.data(), copy.pixels.size() * sizeof(uint32_t));
    }
    return crc;
}
