// Reads typed values off a fuzzer's input, front to back. Past the end every
// value reads as zero, so a target never needs to count bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return offset_ >= size_; }

    template <typename T> T take() {
        T value{};
        size_t count = size_ - offset_ < sizeof value ? size_ - offset_ : sizeof value;
        memcpy(&value, data_ + offset_, count);
        offset_ += count;
        return value;
    }

    // A whole number in [low, high].
    int32_t range(int32_t low, int32_t high) {
        uint64_t span = (uint64_t)((int64_t)high - low) + 1;
        return (int32_t)(low + (int64_t)(take<uint32_t>() % span));
    }

    // Up to `most` bytes, as a string (zero bytes included).
    std::string bytes(size_t most) {
        size_t count = size_ - offset_ < most ? size_ - offset_ : most;
        std::string text((const char*)data_ + offset_, count);
        offset_ += count;
        return text;
    }

    // Bytes up to the next zero byte or the end; the zero is skipped.
    std::string untilZero() {
        std::string text;
        while (offset_ < size_ && data_[offset_] != 0)
            text += (char)data_[offset_++];
        if (offset_ < size_)
            ++offset_;
        return text;
    }

    std::string rest() { return bytes(size_ - offset_); }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};
