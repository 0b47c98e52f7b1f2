// The private heap that holds every string made at run time, and the
// allocator of zero-filled global memory for the runtime's own records.
#pragma once

#include <stdint.h>
#include <windows.h>

// The private heap; null until createPrivateHeap succeeds, and null again
// once destroyPrivateHeap has released it.
extern HANDLE PrivateHeap;

// The heap's creation values: an initial size one byte short of 512 KiB, and
// no maximum, so that it grows as needed.
constexpr SIZE_T PRIVATE_HEAP_INITIAL_SIZE = 0x7FFFF;
constexpr SIZE_T PRIVATE_HEAP_MAXIMUM_SIZE = 0;

// Every block is this many bytes longer than asked for, all of them zero.
constexpr uint32_t HEAP_BLOCK_SLACK = 3;

int32_t createPrivateHeap();
void* heapAllocate(uint32_t size);
int32_t heapFree(void* block);
int32_t destroyPrivateHeap();

void* globalAllocateTyped(int32_t typeCode, int32_t count);
int32_t globalFree(void* block);

// Bytes per element of globalAllocateTyped for a type code.
uint32_t globalElementSize(int32_t typeCode);
