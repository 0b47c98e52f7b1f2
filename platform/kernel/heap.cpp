// Private heaps. Small blocks live in spans: SPAN_SIZE-aligned pieces of
// memory that each serve one size class, with a bit per slot that says which
// slots hold live blocks. Large blocks get memory of their own. A heap takes
// its spans from chunks that it requests from the C library, so destroying
// the heap releases every block in it at once, and every address handed to
// HeapFree is checked against the heap's own chunks before it is touched.
#include <layer/kernel.h>

#include "platform/kernel/heap.h"
#include "platform/kernel/heap_memory.h"

#include <algorithm>
#include <atomic>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr size_t GRANULE = 16;
constexpr size_t SMALL_LIMIT = 4096; // larger requests get memory of their own
constexpr size_t MAX_SLOTS = SPAN_SIZE / GRANULE;
constexpr uint32_t SPAN_MAGIC = 0x4E415053;
constexpr size_t MIN_GROWTH = 1024 * 1024;
constexpr size_t MAX_GROWTH = 64 * 1024 * 1024;

// Size classes: 16-byte steps to 256, 64-byte steps to 1024, 256-byte steps
// to SMALL_LIMIT. CLASS_OF maps a size in granules to its class.
struct SizeClasses {
    uint32_t size[64] = {};
    uint8_t of[SMALL_LIMIT / GRANULE + 1] = {};
    uint32_t count = 0;

    constexpr SizeClasses() {
        for (uint32_t s = GRANULE; s <= SMALL_LIMIT; s += step_at(s))
            size[count++] = s;
        uint32_t c = 0;
        for (uint32_t g = 0; g <= SMALL_LIMIT / GRANULE; ++g) {
            while (size[c] < g * GRANULE)
                ++c;
            of[g] = (uint8_t)c;
        }
    }
    static constexpr uint32_t step_at(uint32_t s) { return s < 256 ? 16 : s < 1024 ? 64 : 256; }
};
constexpr SizeClasses CLASSES;

struct FreeSlot {
    FreeSlot* next;
};

// The header at the start of every carved span.
struct Span {
    uint32_t magic;      // SPAN_MAGIC while the span serves a size class, 0 while free
    uint32_t size_class; // index into CLASSES.size; valid with SPAN_MAGIC
    uint32_t slot_size;  // bytes per slot
    uint32_t reciprocal; // ceil(2^32 / slot_size): slot index by multiplication
    uint32_t capacity;   // slots after the header
    uint32_t used;       // slots holding live blocks
    uint32_t bumped;     // slots handed out at least once; those above are untouched
    FreeSlot* free_list; // slots below `bumped` that are free again
    Span* next;          // neighbours in the class list or in the free-span list
    Span* prev;
    uint64_t live[MAX_SLOTS / 64]; // one bit per slot: set while the slot holds a block
};
constexpr size_t DATA_OFFSET = round_up(sizeof(Span), 64);

struct Chunk {
    char* base;
    size_t size;
    size_t carved; // bytes from base that have been cut into spans
};

struct SpinLock {
    std::atomic_flag flag = ATOMIC_FLAG_INIT;
    void lock() {
        while (flag.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() { flag.clear(std::memory_order_release); }
};

struct Heap {
    DWORD options = 0;
    size_t maximum = 0;  // 0: grows as needed; else the most it may reserve
    size_t reserved = 0; // bytes of chunks and large blocks
    size_t next_growth = MIN_GROWTH;
    SpinLock lock;
    Span* partial[64] = {}; // per class: spans with at least one free slot
    Span* free_spans = nullptr;
    size_t free_span_count = 0;
    std::vector<Chunk> chunks;   // sorted by address
    char* first_chunk = nullptr; // the chunk of the initial size, kept by compaction
    size_t last_chunk = 0;       // where the last lookup succeeded
    std::unordered_map<void*, size_t> large;
    size_t live_blocks = 0;
    size_t live_bytes = 0;
};

// Heap handles pack a table index and a generation, so that a destroyed or
// made-up handle is recognised without touching memory.
struct HeapSlot {
    Heap* heap = nullptr;
    uint16_t generation = 1;
};
// Never destroyed: heaps still alive at exit, the process heap among them,
// stay reachable for leak checkers instead of being orphaned by a destructor.
std::vector<HeapSlot>& g_heap_table = *new std::vector<HeapSlot>;
UINT g_live_heaps = 0;
HANDLE g_process_heap = nullptr;

HANDLE handle_of(size_t index) {
    return (HANDLE)(((index + 1) << 16) | g_heap_table[index].generation);
}

Heap* heap_from_handle(HANDLE handle) {
    ULONG_PTR value = (ULONG_PTR)handle;
    size_t index = (value >> 16) - 1;
    if (index >= g_heap_table.size())
        return nullptr;
    const HeapSlot& slot = g_heap_table[index];
    return slot.generation == (value & 0xFFFF) ? slot.heap : nullptr;
}

char* span_data(Span* span) {
    return (char*)span + DATA_OFFSET;
}

uint32_t slot_index(Span* span, size_t offset) {
    return (uint32_t)(((uint64_t)offset * span->reciprocal) >> 32);
}

void list_push(Span** head, Span* span) {
    span->prev = nullptr;
    span->next = *head;
    if (*head != nullptr)
        (*head)->prev = span;
    *head = span;
}

void list_remove(Span** head, Span* span) {
    if (span->prev != nullptr)
        span->prev->next = span->next;
    else
        *head = span->next;
    if (span->next != nullptr)
        span->next->prev = span->prev;
    span->next = span->prev = nullptr;
}

bool add_chunk(Heap* heap, size_t size) {
    if (heap->maximum != 0 && heap->reserved + size > heap->maximum)
        return false;
    char* base = (char*)aligned_alloc(SPAN_SIZE, size);
    if (base == nullptr)
        return false;
    HEAP_POISON(base, size);
    Chunk chunk{base, size, 0};
    auto at = std::lower_bound(heap->chunks.begin(), heap->chunks.end(), chunk,
                               [](const Chunk& a, const Chunk& b) { return a.base < b.base; });
    heap->chunks.insert(at, chunk);
    heap->reserved += size;
    if (heap->first_chunk == nullptr)
        heap->first_chunk = base;
    return true;
}

void release_chunk(Heap* heap, size_t index) {
    Chunk& chunk = heap->chunks[index];
    HEAP_UNPOISON(chunk.base, chunk.size);
    free(chunk.base);
    heap->reserved -= chunk.size;
    heap->chunks.erase(heap->chunks.begin() + (ptrdiff_t)index);
    heap->last_chunk = 0;
}

// A span from the free list, or cut from a chunk with room, or from a new chunk.
Span* carve_span(Heap* heap) {
    if (heap->free_spans != nullptr) {
        Span* span = heap->free_spans;
        list_remove(&heap->free_spans, span);
        --heap->free_span_count;
        return span;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (Chunk& chunk : heap->chunks) {
            if (chunk.size - chunk.carved >= SPAN_SIZE) {
                Span* span = (Span*)(chunk.base + chunk.carved);
                chunk.carved += SPAN_SIZE;
                HEAP_UNPOISON(span, DATA_OFFSET);
                return span;
            }
        }
        size_t growth = heap->next_growth;
        if (heap->maximum != 0)
            growth = std::min(growth, round_up(heap->maximum - heap->reserved, SPAN_SIZE));
        if (growth < SPAN_SIZE || !add_chunk(heap, growth))
            return nullptr;
        heap->next_growth = std::min(growth * 2, MAX_GROWTH);
    }
    return nullptr;
}

Span* new_span(Heap* heap, uint32_t size_class) {
    Span* span = carve_span(heap);
    if (span == nullptr)
        return nullptr;
    uint32_t slot_size = CLASSES.size[size_class];
    memset(span, 0, sizeof(Span));
    span->magic = SPAN_MAGIC;
    span->size_class = size_class;
    span->slot_size = slot_size;
    span->reciprocal = (uint32_t)((((uint64_t)1 << 32) + slot_size - 1) / slot_size);
    span->capacity = (uint32_t)((SPAN_SIZE - DATA_OFFSET) / slot_size);
    list_push(&heap->partial[size_class], span);
    return span;
}

void retire_span(Heap* heap, Span* span) {
    list_remove(&heap->partial[span->size_class], span);
    span->magic = 0;
    HEAP_POISON(span_data(span), SPAN_SIZE - DATA_OFFSET);
    list_push(&heap->free_spans, span);
    ++heap->free_span_count;
}

void* alloc_small(Heap* heap, SIZE_T bytes) {
    uint32_t size_class = CLASSES.of[(bytes + GRANULE - 1) / GRANULE];
    Span* span = heap->partial[size_class];
    if (span == nullptr && (span = new_span(heap, size_class)) == nullptr)
        return nullptr;
    char* slot;
    if (span->free_list != nullptr) {
        slot = (char*)span->free_list;
        span->free_list = span->free_list->next;
    } else {
        slot = span_data(span) + (size_t)span->bumped * span->slot_size;
        ++span->bumped;
    }
    uint32_t index = slot_index(span, (size_t)(slot - span_data(span)));
    span->live[index / 64] |= (uint64_t)1 << (index % 64);
    if (++span->used == span->capacity)
        list_remove(&heap->partial[size_class], span);
    HEAP_POISON(slot, span->slot_size);
    HEAP_UNPOISON(slot, bytes);
    heap->live_bytes += span->slot_size;
    return slot;
}

void* alloc_large(Heap* heap, SIZE_T bytes) {
    size_t size = round_up(bytes, GRANULE);
    if (heap->maximum != 0 && heap->reserved + size > heap->maximum)
        return nullptr;
    void* block = aligned_alloc(GRANULE, size);
    if (block == nullptr)
        return nullptr;
    heap->large.emplace(block, size);
    heap->reserved += size;
    heap->live_bytes += size;
    return block;
}

// The span that holds `block` as a live slot, or null when `block` is not
// the start of a live small block of this heap.
Span* find_live_span(Heap* heap, const void* block, uint32_t* index) {
    const char* p = (const char*)block;
    const Chunk* chunk = nullptr;
    if (heap->last_chunk < heap->chunks.size()) {
        const Chunk& cached = heap->chunks[heap->last_chunk];
        if (p >= cached.base && p < cached.base + cached.carved)
            chunk = &cached;
    }
    if (chunk == nullptr) {
        auto after = std::upper_bound(heap->chunks.begin(), heap->chunks.end(), p,
                                      [](const char* a, const Chunk& c) { return a < c.base; });
        if (after == heap->chunks.begin())
            return nullptr;
        --after;
        if (p >= after->base + after->carved)
            return nullptr;
        chunk = &*after;
        heap->last_chunk = (size_t)(after - heap->chunks.begin());
    }
    Span* span = (Span*)((uintptr_t)p & ~(uintptr_t)(SPAN_SIZE - 1));
    if (span->magic != SPAN_MAGIC || p < span_data(span))
        return nullptr;
    size_t offset = (size_t)(p - span_data(span));
    uint32_t i = slot_index(span, offset);
    if ((size_t)i * span->slot_size != offset || i >= span->bumped)
        return nullptr;
    if ((span->live[i / 64] & ((uint64_t)1 << (i % 64))) == 0)
        return nullptr;
    *index = i;
    return span;
}

void free_small(Heap* heap, Span* span, uint32_t index, void* block) {
    span->live[index / 64] &= ~((uint64_t)1 << (index % 64));
    HEAP_POISON(block, span->slot_size);
    HEAP_UNPOISON(block, sizeof(FreeSlot));
    FreeSlot* slot = (FreeSlot*)block;
    slot->next = span->free_list;
    span->free_list = slot;
    heap->live_bytes -= span->slot_size;
    Span** list = &heap->partial[span->size_class];
    if (span->used-- == span->capacity)
        list_push(list, span);
    // An empty span goes back to the heap for any size, unless it is the
    // only span of its class: keeping one avoids churn on alloc-free pairs.
    if (span->used == 0 && (span->next != nullptr || span->prev != nullptr))
        retire_span(heap, span);
}

bool free_block(Heap* heap, void* block) {
    uint32_t index = 0;
    if (Span* span = find_live_span(heap, block, &index)) {
        free_small(heap, span, index, block);
        return true;
    }
    auto large = heap->large.find(block);
    if (large == heap->large.end())
        return false;
    heap->reserved -= large->second;
    heap->live_bytes -= large->second;
    free(large->first);
    heap->large.erase(large);
    return true;
}

void free_everything(Heap* heap) {
    for (auto& [block, size] : heap->large)
        free(block);
    heap->large.clear();
    while (!heap->chunks.empty())
        release_chunk(heap, heap->chunks.size() - 1);
}

// Compaction: empty spans leave their classes, and chunks made only of free
// spans (other than the one made for the initial size) go back to the
// system. Returns the largest run of free memory in whole spans.
size_t compact(Heap* heap) {
    for (Span*& head : heap->partial) {
        for (Span* span = head; span != nullptr;) {
            Span* next = span->next;
            if (span->used == 0)
                retire_span(heap, span);
            span = next;
        }
    }
    size_t largest = 0;
    for (size_t i = heap->chunks.size(); i-- > 0;) {
        Chunk& chunk = heap->chunks[i];
        size_t run = 0, chunk_largest = 0;
        bool all_free = true;
        for (size_t at = 0; at < chunk.carved; at += SPAN_SIZE) {
            Span* span = (Span*)(chunk.base + at);
            run = span->magic == SPAN_MAGIC ? 0 : run + SPAN_SIZE;
            all_free = all_free && span->magic != SPAN_MAGIC;
            chunk_largest = std::max(chunk_largest, run);
        }
        chunk_largest = std::max(chunk_largest, run + chunk.size - chunk.carved);
        if (all_free && chunk.base != heap->first_chunk) {
            for (size_t at = 0; at < chunk.carved; at += SPAN_SIZE) {
                list_remove(&heap->free_spans, (Span*)(chunk.base + at));
                --heap->free_span_count;
            }
            release_chunk(heap, i);
            continue;
        }
        largest = std::max(largest, chunk_largest);
    }
    return largest;
}

bool serialised(const Heap* heap, DWORD flags) {
    return ((heap->options | flags) & HEAP_NO_SERIALIZE) == 0;
}

void note_unsupported_flags(DWORD flags) {
    static bool reported = false;
    if ((flags & HEAP_GENERATE_EXCEPTIONS) != 0 && !reported) {
        reported = true;
        OutputDebugStringA("heap: HEAP_GENERATE_EXCEPTIONS is not supported; failures return "
                           "null\n");
    }
}

} // namespace

HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initial_size, SIZE_T maximum_size) {
    note_unsupported_flags(options);
    Heap* heap = new Heap;
    heap->options = options;
    if (maximum_size != 0)
        heap->maximum = round_up(std::max(maximum_size, initial_size), SPAN_SIZE);
    size_t first = round_up(std::max<size_t>(initial_size, 1), SPAN_SIZE);
    if (!add_chunk(heap, first)) {
        delete heap;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    size_t index = 0;
    while (index < g_heap_table.size() && g_heap_table[index].heap != nullptr)
        ++index;
    if (index == g_heap_table.size())
        g_heap_table.emplace_back();
    g_heap_table[index].heap = heap;
    ++g_live_heaps;
    return handle_of(index);
}

LPVOID WINAPI HeapAlloc(HANDLE handle, DWORD flags, SIZE_T bytes) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    bool lock = serialised(heap, flags);
    if (lock)
        heap->lock.lock();
    void* block = bytes <= SMALL_LIMIT ? alloc_small(heap, bytes) : alloc_large(heap, bytes);
    if (block != nullptr)
        ++heap->live_blocks;
    if (lock)
        heap->lock.unlock();
    if (block == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (flags & HEAP_ZERO_MEMORY)
        memset(block, 0, bytes);
    return block;
}

BOOL WINAPI HeapFree(HANDLE handle, DWORD flags, LPVOID block) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (block == nullptr)
        return TRUE;
    bool lock = serialised(heap, flags);
    if (lock)
        heap->lock.lock();
    bool freed = free_block(heap, block);
    if (freed)
        --heap->live_blocks;
    if (lock)
        heap->lock.unlock();
    if (!freed)
        SetLastError(ERROR_INVALID_PARAMETER);
    return freed;
}

SIZE_T heap_usable_size(HANDLE handle, LPCVOID block) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr || block == nullptr)
        return (SIZE_T)-1;
    bool lock = serialised(heap, 0);
    if (lock)
        heap->lock.lock();
    SIZE_T size = (SIZE_T)-1;
    uint32_t index = 0;
    if (Span* span = find_live_span(heap, block, &index))
        size = span->slot_size;
    else if (auto large = heap->large.find(const_cast<void*>(block)); large != heap->large.end())
        size = large->second;
    if (lock)
        heap->lock.unlock();
    return size;
}

SIZE_T WINAPI HeapCompact(HANDLE handle, DWORD flags) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    bool lock = serialised(heap, flags);
    if (lock)
        heap->lock.lock();
    size_t largest = compact(heap);
    if (lock)
        heap->lock.unlock();
    SetLastError(NO_ERROR);
    return largest;
}

BOOL WINAPI HeapDestroy(HANDLE handle) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr || handle == g_process_heap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    free_everything(heap);
    HeapSlot& slot = g_heap_table[((ULONG_PTR)handle >> 16) - 1];
    slot.heap = nullptr;
    slot.generation = (uint16_t)(slot.generation == 0xFFFF ? 1 : slot.generation + 1);
    --g_live_heaps;
    delete heap;
    return TRUE;
}

HANDLE WINAPI GetProcessHeap(void) {
    if (g_process_heap == nullptr)
        g_process_heap = HeapCreate(0, 0, 0);
    return g_process_heap;
}

BOOL layer_heap_stats(HANDLE handle, LayerHeapStats* stats) {
    Heap* heap = heap_from_handle(handle);
    if (heap == nullptr || stats == nullptr)
        return FALSE;
    stats->reserved_bytes = heap->reserved;
    stats->live_blocks = heap->live_blocks;
    stats->live_bytes = heap->live_bytes;
    stats->free_spans = heap->free_span_count;
    return TRUE;
}

UINT layer_live_heap_count(void) {
    return g_live_heaps;
}
