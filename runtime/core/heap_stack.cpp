#include "runtime/core/heap_stack.h"

#include "runtime/core/heap.h"

HeapStackRecord HeapStack = {};

int32_t heapStackPush(void* block) {
    if (HeapStack.count < HEAP_STACK_CAPACITY) {
        HeapStack.entries[HeapStack.count++] = block;
        return 0;
    }
    // A refused block stays allocated until the heap is destroyed: the
    // statement that pushed it still uses it, and nobody else records it.
    OutputDebugStringA("Heap Stack Overflow");
    ++HeapStack.refused;
    return 0;
}

int32_t heapStackPop(int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
        if (HeapStack.refused > 0) {
            --HeapStack.refused;
        } else if (HeapStack.count > 0) {
            heapFree(HeapStack.entries[--HeapStack.count]);
        } else {
            OutputDebugStringA("Heap Stack Underflow");
        }
    }
    return 0;
}
