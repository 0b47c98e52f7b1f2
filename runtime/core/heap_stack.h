// The stack of temporary strings: the final strings that a statement of the
// program hands to a runtime statement are pushed just before it runs and
// popped, and so released, right after it.
#pragma once

#include <stdint.h>

constexpr int32_t HEAP_STACK_CAPACITY = 1000;

struct HeapStackRecord {
    // Live entries: 0 <= count <= HEAP_STACK_CAPACITY. Reset to 0 when the
    // private heap is created.
    int32_t count;
    // Pushes refused since the stack was last below capacity. They are the
    // newest pushes, so the next pops take them first and release nothing:
    // the entries below them still belong to enclosing statements.
    int32_t refused;
    // The first `count` entries are live blocks of the private heap, the
    // newest last; the slots above keep stale pointers and are never read.
    void* entries[HEAP_STACK_CAPACITY];
};

extern HeapStackRecord HeapStack;

int32_t heapStackPush(void* block);
int32_t heapStackPop(int32_t n);
