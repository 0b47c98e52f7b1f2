// Memory for the private heaps: chunks from the C library, aligned so that a
// block's span is found by masking its address, and AddressSanitizer
// annotations so that a sanitizer build still catches overruns and uses after
// free inside our own heaps.
#pragma once

#include <stddef.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define HEAP_POISON(address, size) ASAN_POISON_MEMORY_REGION((address), (size))
#define HEAP_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION((address), (size))
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define HEAP_POISON(address, size) ASAN_POISON_MEMORY_REGION((address), (size))
#define HEAP_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION((address), (size))
#endif
#endif

#ifndef HEAP_POISON
#define HEAP_POISON(address, size) ((void)(address), (void)(size))
#define HEAP_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

// Every span is SPAN_SIZE bytes at an address that is a multiple of SPAN_SIZE.
constexpr size_t SPAN_SIZE = 64 * 1024;

constexpr size_t round_up(size_t value, size_t unit) {
    return (value + unit - 1) / unit * unit;
}
