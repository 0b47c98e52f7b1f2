#include "tests/runtime/core/heap_fixture.h"
#include "tests/support/debug_capture.h"

#include "runtime/core/text.h"

#include <string.h>

namespace {

class HeapStackTest : public PrivateHeapTest {
  protected:
    void SetUp() override {
        PrivateHeapTest::SetUp();
        debug_capture_clear();
    }
    // Fills the stack to capacity with blocks that say their slot number.
    void fill() {
        for (int32_t i = 0; i < HEAP_STACK_CAPACITY; ++i)
            heapStackPush(numberToText(i));
    }
};

TEST_F(HeapStackTest, PushRecordsAndPopReleasesNewestFirst) {
    void* a = heapAllocate(4);
    void* b = heapAllocate(4);
    heapStackPush(a);
    heapStackPush(b);
    EXPECT_EQ(HeapStack.count, 2);
    EXPECT_EQ(HeapStack.entries[0], a);
    EXPECT_EQ(HeapStack.entries[1], b);
    heapStackPop(1);
    EXPECT_EQ(HeapStack.count, 1);
#ifndef _WIN32
    // b went back to the heap: the layer refuses to release it twice.
    EXPECT_EQ(heapFree(b), 0);
#endif
    heapStackPop(1);
    EXPECT_EQ(HeapStack.count, 0);
    EXPECT_EQ(debug_capture_text(), "");
}

TEST_F(HeapStackTest, NonPositivePopDoesNothing) {
    heapStackPush(heapAllocate(1));
    heapStackPop(0);
    heapStackPop(-5);
    EXPECT_EQ(HeapStack.count, 1);
    EXPECT_EQ(debug_capture_text(), "");
}

TEST_F(HeapStackTest, UnderflowReportsEachMissingEntry) {
    heapStackPush(heapAllocate(1));
    heapStackPop(3);
    EXPECT_EQ(HeapStack.count, 0);
    EXPECT_EQ(debug_capture_text(), "Heap Stack UnderflowHeap Stack Underflow");
}

TEST_F(HeapStackTest, OverflowChangesNothingButTheDebugOutput) {
    fill();
    void* last = HeapStack.entries[HEAP_STACK_CAPACITY - 1];
    void* refused = heapAllocate(4);
    heapStackPush(refused);
    EXPECT_EQ(HeapStack.count, HEAP_STACK_CAPACITY);
    EXPECT_EQ(HeapStack.entries[HEAP_STACK_CAPACITY - 1], last);
    EXPECT_EQ(debug_capture_text(), "Heap Stack Overflow");
}

TEST_F(HeapStackTest, PopAfterRefusedPushSparesTheEnclosingStatement) {
    fill();
    auto* enclosing = static_cast<char*>(HeapStack.entries[HEAP_STACK_CAPACITY - 1]);
    // A nested statement pushes on the full stack, runs, and pops its one entry.
    heapStackPush(duplicateString("inner"));
    heapStackPop(1);
    EXPECT_EQ(HeapStack.count, HEAP_STACK_CAPACITY);
    EXPECT_STREQ(enclosing, " 999");
    // The enclosing statement's own pop then releases its entry.
    heapStackPop(1);
    EXPECT_EQ(HeapStack.count, HEAP_STACK_CAPACITY - 1);
    EXPECT_EQ(debug_capture_text(), "Heap Stack Overflow");
}

TEST_F(HeapStackTest, NestedStatementsReleaseTheInnerStringFirst) {
    char* outer = duplicateString("outer");
    heapStackPush(outer);
    char* inner = duplicateString("inner");
    heapStackPush(inner);
    heapStackPop(1);
    EXPECT_EQ(HeapStack.count, 1);
    EXPECT_STREQ(outer, "outer");
    // The freed slot is reused by the next push.
    char* next = duplicateString("next");
    heapStackPush(next);
    EXPECT_EQ(HeapStack.entries[1], next);
    heapStackPop(2);
    EXPECT_EQ(HeapStack.count, 0);
}

} // namespace
