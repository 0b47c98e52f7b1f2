// A small benchmark harness that builds everywhere, Windows included: each
// case runs in batches until a batch takes long enough to time, and the
// median of several batches is reported per operation, with the number of
// heap allocations each operation made.
#pragma once

#include <stdint.h>

typedef void (*BenchBody)(void* state);

struct BenchResult {
    double nanoseconds; // median time per operation
    double allocations; // operator new calls per operation
};

BenchResult bench_run(const char* name, BenchBody body, void* state);

// Counts every operator new of the program since it started.
uint64_t bench_allocation_count();
