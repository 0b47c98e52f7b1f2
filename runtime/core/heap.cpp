#include "runtime/core/heap.h"

#include "runtime/core/heap_stack.h"
#include "runtime/core/list.h"
#include "runtime/core/program_end.h"

HANDLE PrivateHeap = nullptr;

int32_t createPrivateHeap() {
    if (PrivateHeap == nullptr) {
        PrivateHeap = HeapCreate(0, PRIVATE_HEAP_INITIAL_SIZE, PRIVATE_HEAP_MAXIMUM_SIZE);
        HeapStack.count = 0;
        HeapStack.refused = 0;
    }
    if (PrivateHeap == nullptr)
        return 0;
    endRuntimeProgramAtExit();
    return 1;
}

// One compaction and one retry when the heap cannot meet a request; then
// the caller gets null.
void* heapAllocate(uint32_t size) {
    if (PrivateHeap == nullptr)
        return nullptr;
    // On a 32-bit build the slack could wrap a huge size round to a tiny one.
    if ((SIZE_T)size > (SIZE_T)-1 - HEAP_BLOCK_SLACK)
        return nullptr;
    SIZE_T bytes = (SIZE_T)size + HEAP_BLOCK_SLACK;
    void* block = HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, bytes);
    if (block == nullptr) {
        HeapCompact(PrivateHeap, 0);
        block = HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, bytes);
    }
    return block;
}

int32_t heapFree(void* block) {
    if (PrivateHeap == nullptr || block == nullptr)
        return 0;
    return HeapFree(PrivateHeap, 0, block) ? 1 : 0;
}

// The exit procedures run first, while the heap's blocks are still there;
// then the heap goes as a whole, with every block still in it. The handle is
// cleared so that nothing can reach the released heap afterwards.
int32_t destroyPrivateHeap() {
    runExitProcs();
    if (PrivateHeap == nullptr)
        return 0;
    BOOL destroyed = HeapDestroy(PrivateHeap);
    if (destroyed)
        PrivateHeap = nullptr;
    return destroyed ? 1 : 0;
}

uint32_t globalElementSize(int32_t typeCode) {
    switch (typeCode) {
    case 0:
        return 255;
    case 1:
    case 15:
        return 1;
    case 13:
        return 2;
    case 14:
    case 17:
    case 18:
        return 8;
    }
    return 4;
}

void* globalAllocateTyped(int32_t typeCode, int32_t count) {
    if (count <= 0)
        return nullptr;
    uint64_t bytes = (uint64_t)count * globalElementSize(typeCode);
    if (bytes > (uint64_t)(SIZE_T)-1)
        return nullptr;
    return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)bytes);
}

int32_t globalFree(void* block) {
    if (block != nullptr)
        GlobalFree(block);
    return 0;
}
