// A fresh core and private heap for each test; the heap is destroyed after
// it.
#pragma once

#include "runtime/core/core_state.h"
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"

#include <gtest/gtest.h>

class PrivateHeapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCoreState();
        ASSERT_EQ(createPrivateHeap(), 1);
    }
    void TearDown() override {
        if (PrivateHeap != nullptr)
            destroyPrivateHeap();
    }
};

inline bool all_zero(const void* block, size_t bytes) {
    const unsigned char* p = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < bytes; ++i) {
        if (p[i] != 0)
            return false;
    }
    return true;
}
