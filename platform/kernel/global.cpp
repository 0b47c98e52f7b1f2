// Global memory: fixed blocks from the process heap. Movable blocks, which
// need GlobalLock to be addressed, are not provided.
#include "platform/kernel/heap.h"

#include <windows.h>

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & GMEM_MOVEABLE) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            OutputDebugStringA("GlobalAlloc: movable memory is not supported\n");
        }
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    DWORD heap_flags = (flags & GMEM_ZEROINIT) ? HEAP_ZERO_MEMORY : 0;
    return HeapAlloc(GetProcessHeap(), heap_flags, bytes);
}

// Returns null on success and the block itself when it is not one of ours.
HGLOBAL WINAPI GlobalFree(HGLOBAL block) {
    if (block == nullptr)
        return nullptr;
    if (!HeapFree(GetProcessHeap(), 0, block)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return block;
    }
    return nullptr;
}

// What the block may hold, which may be more than was asked for (Windows
// says the same of its own); 0 for a block that is not one of ours.
SIZE_T WINAPI GlobalSize(HGLOBAL block) {
    SIZE_T size = heap_usable_size(GetProcessHeap(), block);
    if (size == (SIZE_T)-1) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return size;
}
