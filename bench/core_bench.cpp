// The runtime core's hot paths: the score line that the game builds every
// frame, and small blocks on the private heap beside the C library's.
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/core/text.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

namespace {

struct HeapScope {
    HeapScope() { createPrivateHeap(); }
    ~HeapScope() { destroyPrivateHeap(); }
};

// numberToText, duplicateString, concatStrings, push, pop: one score line.
void BM_ScoreLine(benchmark::State& state) {
    HeapScope heap;
    int32_t score = 0;
    for (auto _ : state) {
        char* number = numberToText((double)++score);
        char* copy = duplicateString(number);
        heapFree(number);
        char* line = concatStrings("Score:", copy);
        heapFree(copy);
        heapStackPush(line);
        benchmark::DoNotOptimize(line);
        heapStackPop(1);
    }
}
BENCHMARK(BM_ScoreLine);

// Small blocks: a working set of 64 live blocks, each replaced in turn.
template <typename Allocate, typename Release>
void replace_blocks(benchmark::State& state, Allocate allocate, Release release) {
    const uint32_t size = (uint32_t)state.range(0);
    void* live[64];
    for (void*& block : live)
        block = allocate(size);
    size_t next = 0;
    for (auto _ : state) {
        release(live[next]);
        live[next] = allocate(size);
        benchmark::DoNotOptimize(live[next]);
        next = (next + 1) % 64;
    }
    for (void* block : live)
        release(block);
}

void BM_HeapAllocateFree(benchmark::State& state) {
    HeapScope heap;
    replace_blocks(state, heapAllocate, heapFree);
}
BENCHMARK(BM_HeapAllocateFree)->Arg(8)->Arg(24)->Arg(100)->Arg(500);

void BM_CallocFree(benchmark::State& state) {
    replace_blocks(
        state, [](uint32_t size) { return calloc(1, size + 3); }, free);
}
BENCHMARK(BM_CallocFree)->Arg(8)->Arg(24)->Arg(100)->Arg(500);

// The layer's HeapAlloc and HeapFree themselves, serialised (options 0, as
// the private heap is created) or not.
void BM_HeapAllocFreeRaw(benchmark::State& state) {
    HANDLE heap = HeapCreate((DWORD)state.range(1), 0x7FFFF, 0);
    replace_blocks(
        state, [heap](uint32_t size) { return HeapAlloc(heap, 0, size); },
        [heap](void* block) { HeapFree(heap, 0, block); });
    HeapDestroy(heap);
}
BENCHMARK(BM_HeapAllocFreeRaw)->ArgsProduct({{8, 24, 100, 500}, {0, HEAP_NO_SERIALIZE}});

void BM_MallocFree(benchmark::State& state) {
    replace_blocks(
        state, [](uint32_t size) { return malloc(size); }, free);
}
BENCHMARK(BM_MallocFree)->Arg(8)->Arg(24)->Arg(100)->Arg(500);

} // namespace

BENCHMARK_MAIN();
