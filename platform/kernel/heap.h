// The private heaps as the rest of the kernel part sees them.
#pragma once

#include <windows.h>

// The bytes a live block of `heap` may use: its size class, at least what was
// asked for. (SIZE_T)-1 when `block` is not the start of a live block.
SIZE_T heap_usable_size(HANDLE heap, LPCVOID block);
