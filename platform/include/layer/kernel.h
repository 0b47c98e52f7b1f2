// The layer's own view of its kernel part, for tests, benchmarks and tools:
// the debug channel and heap statistics. Programs written for Windows never
// include this header.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Everything written with OutputDebugStringA since the last clear, in order.
// Bounded: past LAYER_DEBUG_CAPACITY bytes the oldest text is dropped.
#define LAYER_DEBUG_CAPACITY (64 * 1024)
const char* layer_debug_text(void);
void layer_debug_clear(void);

// What a private heap holds right now. Valid only for a live heap handle.
typedef struct LayerHeapStats {
    SIZE_T reserved_bytes; // memory taken from the system for this heap
    SIZE_T live_blocks;    // blocks allocated and not yet freed
    SIZE_T live_bytes;     // bytes the live blocks take, rounded up to their size classes
    SIZE_T free_spans;     // whole free spans ready for blocks of any size
} LayerHeapStats;
BOOL layer_heap_stats(HANDLE heap, LayerHeapStats* stats);

// Number of heaps created with HeapCreate and not yet destroyed.
UINT layer_live_heap_count(void);

#ifdef __cplusplus
}
#endif
