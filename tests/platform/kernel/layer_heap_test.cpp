// What the layer's kernel promises beyond Windows' documentation: heaps that
// refuse every block they did not hand out, compaction that gives memory
// back, and well-defined answers for bad handles.
#include <layer/kernel.h>

#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace {

LayerHeapStats stats_of(HANDLE heap) {
    LayerHeapStats stats{};
    EXPECT_TRUE(layer_heap_stats(heap, &stats));
    return stats;
}

TEST(LayerHeap, FreeRefusesEverythingItDidNotHandOut) {
    HANDLE heap = HeapCreate(0, 0, 0);
    auto* block = static_cast<char*>(HeapAlloc(heap, 0, 48));
    memset(block, 'x', 48);
    char local = 0;
    std::vector<char> outside(64);
    void* large = HeapAlloc(heap, 0, 10000);

    EXPECT_FALSE(HeapFree(heap, 0, &local));
    EXPECT_FALSE(HeapFree(heap, 0, outside.data()));
    EXPECT_FALSE(HeapFree(heap, 0, block + 1));  // inside a block
    EXPECT_FALSE(HeapFree(heap, 0, block + 64)); // a slot never handed out
    EXPECT_FALSE(HeapFree(heap, 0, static_cast<char*>(large) + 16));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_EQ(block[47], 'x');
    EXPECT_EQ(stats_of(heap).live_blocks, 2u);

    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_FALSE(HeapFree(heap, 0, block)); // only once
    EXPECT_TRUE(HeapFree(heap, 0, large));
    EXPECT_FALSE(HeapFree(heap, 0, large));
    EXPECT_EQ(stats_of(heap).live_blocks, 0u);
    HeapDestroy(heap);
}

TEST(LayerHeap, StaleAndMadeUpHandlesFail) {
    HANDLE heap = HeapCreate(0, 0, 0);
    void* block = HeapAlloc(heap, 0, 8);
    ASSERT_TRUE(HeapDestroy(heap));
    EXPECT_FALSE(HeapDestroy(heap));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_EQ(HeapAlloc(heap, 0, 8), nullptr);
    EXPECT_FALSE(HeapFree(heap, 0, block));
    EXPECT_EQ(HeapCompact(heap, 0), 0u);
    EXPECT_EQ(HeapAlloc((HANDLE)(ULONG_PTR)0x12345678, 0, 8), nullptr);
    EXPECT_EQ(HeapAlloc(nullptr, 0, 8), nullptr);
    EXPECT_FALSE(HeapDestroy(GetProcessHeap()));
    // A new heap in the same table slot does not answer to the old handle.
    HANDLE next = HeapCreate(0, 0, 0);
    EXPECT_NE(next, heap);
    EXPECT_EQ(HeapAlloc(heap, 0, 8), nullptr);
    HeapDestroy(next);
}

TEST(LayerHeap, DestroyReclaimsEveryBlockAtOnce) {
    UINT heaps = layer_live_heap_count();
    HANDLE heap = HeapCreate(0, 0x7FFFF, 0);
    EXPECT_EQ(layer_live_heap_count(), heaps + 1);
    for (int i = 0; i < 20000; ++i)
        HeapAlloc(heap, 0, (SIZE_T)(i % 300));
    for (int i = 0; i < 20; ++i)
        HeapAlloc(heap, 0, 50000);
    EXPECT_EQ(stats_of(heap).live_blocks, 20020u);
    EXPECT_TRUE(HeapDestroy(heap));
    EXPECT_EQ(layer_live_heap_count(), heaps);
    // LeakSanitizer, in the sanitizer build, checks that nothing is left.
}

TEST(LayerHeap, InitialSizeIsReservedAndTheHeapGrowsPastIt) {
    HANDLE heap = HeapCreate(0, 0x7FFFF, 0);
    EXPECT_EQ(stats_of(heap).reserved_bytes, 512u * 1024u);
    std::vector<void*> blocks;
    for (int i = 0; i < 2000; ++i)
        blocks.push_back(HeapAlloc(heap, 0, 1000));
    EXPECT_GT(stats_of(heap).reserved_bytes, 512u * 1024u);
    HeapDestroy(heap);
}

TEST(LayerHeap, CompactGivesEmptySpaceBack) {
    HANDLE heap = HeapCreate(0, 0x7FFFF, 0);
    std::vector<void*> blocks;
    for (int i = 0; i < 20000; ++i)
        blocks.push_back(HeapAlloc(heap, 0, 100));
    SIZE_T grown = stats_of(heap).reserved_bytes;
    void* survivor = blocks[0];
    for (size_t i = 1; i < blocks.size(); ++i)
        HeapFree(heap, 0, blocks[i]);
    // The chunk of the initial size stays, with all but the survivor's span free.
    SIZE_T largest = HeapCompact(heap, 0);
    EXPECT_GE(largest, (SIZE_T)6 * 64 * 1024);
    LayerHeapStats after = stats_of(heap);
    EXPECT_LT(after.reserved_bytes, grown);
    EXPECT_EQ(after.live_blocks, 1u);
    // Freed space serves blocks of any size.
    void* other = HeapAlloc(heap, 0, 3000);
    EXPECT_NE(other, nullptr);
    EXPECT_TRUE(HeapFree(heap, 0, survivor));
    HeapDestroy(heap);
}

TEST(LayerHeap, FixedHeapRecoversAfterCompaction) {
    HANDLE heap = HeapCreate(0, 0x10000, 0x40000);
    std::vector<void*> small;
    void* block;
    while ((block = HeapAlloc(heap, 0, 16)) != nullptr)
        small.push_back(block);
    EXPECT_EQ(HeapAlloc(heap, 0, 2000), nullptr);
    for (void* each : small)
        HeapFree(heap, 0, each);
    // Empty spans of one size are consolidated for another.
    HeapCompact(heap, 0);
    EXPECT_NE(HeapAlloc(heap, 0, 2000), nullptr);
    HeapDestroy(heap);
}

TEST(LayerGlobalMemory, ForeignBlocksAndMovableMemory) {
    char local = 0;
    EXPECT_EQ(GlobalFree(&local), (HGLOBAL)&local);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    debug_capture_clear();
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 16), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_SUPPORTED);
    EXPECT_NE(debug_capture_text().find("movable"), std::string::npos);
}

TEST(LayerDebugChannel, KeepsTextInOrderAndBounded) {
    debug_capture_clear();
    OutputDebugStringA("Heap Stack ");
    OutputDebugStringA(nullptr);
    OutputDebugStringA("Overflow");
    EXPECT_EQ(debug_capture_text(), "Heap Stack Overflow");
    std::string chunk(1000, 'a');
    for (int i = 0; i < 100; ++i)
        OutputDebugStringA(chunk.c_str());
    OutputDebugStringA("end");
    std::string text = debug_capture_text();
    EXPECT_EQ(text.size(), (size_t)LAYER_DEBUG_CAPACITY);
    EXPECT_EQ(text.substr(text.size() - 3), "end");
    layer_debug_clear();
}

TEST(LayerProcess, WriteFileRefusesWhatIsNotAnOutput) {
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(GetStdHandle(STD_INPUT_HANDLE), "x", 1, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(WriteFile((HANDLE)(ULONG_PTR)0x999, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetStdHandle(12345), INVALID_HANDLE_VALUE);
}

TEST(LayerProcessDeathTest, ExitProcessEndsAtOnceWithItsCode) {
    EXPECT_EXIT(
        {
            printf("flushed");
            ExitProcess(7);
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(ExitProcess(0), ::testing::ExitedWithCode(0), "");
}

} // namespace
