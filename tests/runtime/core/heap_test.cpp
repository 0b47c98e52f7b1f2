#include "tests/runtime/core/heap_fixture.h"

#include "runtime/core/list.h"

#include <string.h>
#ifndef _WIN32
#include <layer/kernel.h>
#endif
#include <vector>

namespace {

TEST(PrivateHeapLifecycle, NothingWorksBeforeTheHeapExistsOrAfterItIsGone) {
    ASSERT_EQ(PrivateHeap, nullptr);
    EXPECT_EQ(heapAllocate(10), nullptr);
    EXPECT_EQ(heapFree(nullptr), 0);
    EXPECT_EQ(destroyPrivateHeap(), 0);

    ASSERT_EQ(createPrivateHeap(), 1);
    void* block = heapAllocate(10);
    ASSERT_NE(block, nullptr);
    EXPECT_NE(destroyPrivateHeap(), 0);
    // The released heap can no longer be reached through the runtime.
    EXPECT_EQ(PrivateHeap, nullptr);
    EXPECT_EQ(heapAllocate(10), nullptr);
    EXPECT_EQ(heapFree(block), 0);
}

TEST(PrivateHeapLifecycle, SecondCreateKeepsTheHeapAndTheStack) {
    ASSERT_EQ(createPrivateHeap(), 1);
    HANDLE first = PrivateHeap;
    heapStackPush(heapAllocate(4));
    EXPECT_EQ(createPrivateHeap(), 1);
    EXPECT_EQ(PrivateHeap, first);
    EXPECT_EQ(HeapStack.count, 1);
    EXPECT_NE(destroyPrivateHeap(), 0);
    // A new heap starts with an empty stack.
    ASSERT_EQ(createPrivateHeap(), 1);
    EXPECT_EQ(HeapStack.count, 0);
    destroyPrivateHeap();
}

using HeapAllocateTest = PrivateHeapTest;

TEST_F(HeapAllocateTest, BlocksCarryThreeZeroBytesOfSlack) {
    for (uint32_t size : {0u, 1u, 13u, 100u, 4093u, 5000u, 70000u}) {
        auto* block = static_cast<unsigned char*>(heapAllocate(size));
        ASSERT_NE(block, nullptr) << size;
        EXPECT_TRUE(all_zero(block, size + 3)) << size;
        memset(block, 0xAB, size + 3);
        EXPECT_EQ(heapFree(block), 1);
    }
}

TEST_F(HeapAllocateTest, ReusedMemoryIsZeroedAgain) {
    std::vector<void*> blocks;
    for (int i = 0; i < 100; ++i) {
        void* block = heapAllocate(29);
        memset(block, 0xFF, 32);
        blocks.push_back(block);
    }
    for (void* block : blocks)
        heapFree(block);
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(all_zero(heapAllocate(29), 32));
}

TEST_F(HeapAllocateTest, GrowsPastItsInitialSize) {
    std::vector<void*> blocks;
    for (int i = 0; i < 4096; ++i) {
        void* block = heapAllocate(1021);
        ASSERT_NE(block, nullptr) << i;
        blocks.push_back(block);
    }
    // Four MiB in all, eight times the initial size.
    for (void* block : blocks)
        EXPECT_EQ(heapFree(block), 1);
}

TEST_F(HeapAllocateTest, FreeReleasesOnceAndRefusesForeignBlocks) {
    void* block = heapAllocate(20);
    EXPECT_EQ(heapFree(nullptr), 0);
    EXPECT_EQ(heapFree(block), 1);
#ifndef _WIN32
    // Windows does not promise to notice these; the layer does.
    EXPECT_EQ(heapFree(block), 0);
    int on_stack = 0;
    EXPECT_EQ(heapFree(&on_stack), 0);
#endif
}

TEST_F(HeapAllocateTest, DestroyReclaimsBlocksStillInUse) {
    for (int i = 0; i < 1000; ++i)
        heapAllocate(100);
    heapStackPush(heapAllocate(8));
#ifndef _WIN32
    HANDLE heap = PrivateHeap;
    UINT heaps = layer_live_heap_count();
    LayerHeapStats stats{};
    ASSERT_TRUE(layer_heap_stats(heap, &stats));
    EXPECT_EQ(stats.live_blocks, 1001u);
    EXPECT_EQ(HeapStack.count, 1);
#endif
    EXPECT_NE(destroyPrivateHeap(), 0);
    EXPECT_EQ(PrivateHeap, nullptr);
#ifndef _WIN32
    EXPECT_EQ(layer_live_heap_count(), heaps - 1) << "the heap went, its blocks with it";
    EXPECT_FALSE(layer_heap_stats(heap, &stats));
#endif
}

TEST(GlobalAllocateTyped, ElementSizesByTypeCode) {
    struct Case {
        int32_t type;
        int32_t count;
        size_t bytes;
    };
    const Case cases[] = {{15, 12, 12}, {14, 3, 24}, {0, 2, 510}, {7, 5, 20},
                          {1, 9, 9},    {13, 4, 8},  {17, 1, 8},  {18, 2, 16}};
    for (const Case& c : cases) {
        EXPECT_EQ(globalElementSize(c.type) * (uint32_t)c.count, c.bytes) << c.type;
        void* block = globalAllocateTyped(c.type, c.count);
        ASSERT_NE(block, nullptr) << c.type;
        // Windows may give a little more than was asked for, never less.
        SIZE_T size = GlobalSize(block);
        EXPECT_GE(size, c.bytes) << c.type;
        EXPECT_LE(size, c.bytes + c.bytes / 4 + 16) << c.type;
        EXPECT_TRUE(all_zero(block, c.bytes)) << c.type;
        memset(block, 0x5A, c.bytes);
        EXPECT_EQ(globalFree(block), 0);
    }
}

TEST(GlobalAllocateTyped, RefusesEmptyAndNegativeCounts) {
    for (int32_t type : {0, 1, 7, 14, 15})
        EXPECT_EQ(globalAllocateTyped(type, 0), nullptr);
    EXPECT_EQ(globalAllocateTyped(15, -1), nullptr);
    EXPECT_EQ(globalFree(nullptr), 0);
}

TEST(GlobalAllocateTyped, SurvivesThePrivateHeap) {
    ASSERT_EQ(createPrivateHeap(), 1);
    auto* record = static_cast<char*>(globalAllocateTyped(15, 16));
    destroyPrivateHeap();
    memset(record, 1, 16);
    EXPECT_EQ(globalFree(record), 0);
}

} // namespace
