#include "bench/harness.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

namespace {

uint64_t g_allocations = 0;

double seconds_for(BenchBody body, void* state, uint64_t count) {
    auto start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < count; ++i)
        body(state);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

} // namespace

void* operator new(size_t size) {
    ++g_allocations;
    if (void* block = malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    free(block);
}
void operator delete(void* block, size_t) noexcept {
    free(block);
}

uint64_t bench_allocation_count() {
    return g_allocations;
}

BenchResult bench_run(const char* name, BenchBody body, void* state) {
    uint64_t batch = 1;
    while (seconds_for(body, state, batch) < 0.05)
        batch *= 2;
    std::vector<double> samples;
    uint64_t allocations_before = g_allocations;
    for (int run = 0; run < 7; ++run)
        samples.push_back(seconds_for(body, state, batch) * 1e9 / (double)batch);
    double allocations = (double)(g_allocations - allocations_before) / (double)(batch * 7);
    std::sort(samples.begin(), samples.end());
    BenchResult result{samples[samples.size() / 2], allocations};
    printf("%-44s %10.1f ns/op  %6.2f allocations/op\n", name, result.nanoseconds,
           result.allocations);
    fflush(stdout);
    return result;
}
