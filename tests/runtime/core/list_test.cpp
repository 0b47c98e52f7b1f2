#include "runtime/core/heap.h"
#include "runtime/core/list.h"

#include <gtest/gtest.h>
#include <windows.h>

#ifndef _WIN32
#include <layer/kernel.h>
#endif

#include <vector>

namespace {

TEST(List, EmptyHeadHasNoElements) {
    ListNode* head = listNew();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(listNext(head), nullptr);
    EXPECT_EQ(listData(head), nullptr);
    EXPECT_EQ(head->prev, nullptr);
    EXPECT_EQ(listDestroy(head, 1), 0);
}

TEST(List, NullNodesAreAccepted) {
    int record = 0;
    EXPECT_EQ(listInsertAfter(nullptr, &record), &record);
    EXPECT_EQ(listNext(nullptr), nullptr);
    EXPECT_EQ(listData(nullptr), nullptr);
    EXPECT_EQ(listDestroy(nullptr, 1), 0);
}

TEST(List, InsertAfterLinksBothWays) {
    int a = 1, b = 2;
    ListNode* head = listNew();
    EXPECT_EQ(listInsertAfter(head, &a), &a);
    ListNode* first = listNext(head);
    EXPECT_EQ(listInsertAfter(head, &b), &b);
    ListNode* added = listNext(head);
    EXPECT_EQ(listData(added), &b);
    EXPECT_EQ(listNext(added), first);
    EXPECT_EQ(first->prev, added);
    EXPECT_EQ(added->prev, head);
    EXPECT_EQ(listData(first), &a);
    EXPECT_EQ(listNext(first), nullptr);
    listDestroy(head, 0);
}

// Blocks of global memory live right now (they come from the process heap).
size_t live_global_blocks() {
#ifndef _WIN32
    LayerHeapStats stats{};
    EXPECT_TRUE(layer_heap_stats(GetProcessHeap(), &stats));
    return stats.live_blocks;
#else
    return 0;
#endif
}

// The nodes always go; the records they hold only when asked.
TEST(List, DestroyReleasesRecordsOnlyWhenAsked) {
    for (int32_t release : {0, 1}) {
        SCOPED_TRACE(release);
        size_t before = live_global_blocks();
        ListNode* head = listNew();
        void* records[2] = {globalAllocateTyped(15, 8), globalAllocateTyped(15, 8)};
        listInsertAfter(head, records[0]);
        listInsertAfter(head, records[1]);
#ifndef _WIN32
        EXPECT_EQ(live_global_blocks(), before + 5) << "a head, two nodes, two records";
#endif
        listDestroy(head, release);
#ifndef _WIN32
        EXPECT_EQ(live_global_blocks(), before + (release ? 0 : 2));
#endif
        if (!release) {
            // The records are still ours to release.
            EXPECT_EQ(GlobalFree(records[0]), nullptr);
            EXPECT_EQ(GlobalFree(records[1]), nullptr);
        }
        EXPECT_EQ(live_global_blocks(), before);
    }
}

std::vector<int32_t> g_calls;
int32_t record_call(int32_t argument) {
    g_calls.push_back(argument);
    return argument;
}

TEST(ExitProcs, NullProcedureCreatesNoList) {
    registerExitProc(nullptr, 5);
    EXPECT_EQ(exitProcList, nullptr);
}

TEST(ExitProcs, RunNewestFirstBeforeTheHeapGoes) {
    ASSERT_EQ(createPrivateHeap(), 1);
    g_calls.clear();
    registerExitProc(record_call, 'A');
    registerExitProc(record_call, 'B');
    registerExitProc(record_call, 'C');
    EXPECT_NE(destroyPrivateHeap(), 0);
    EXPECT_EQ(g_calls, (std::vector<int32_t>{'C', 'B', 'A'}));
    // The list is gone and does not run twice.
    EXPECT_EQ(exitProcList, nullptr);
    destroyPrivateHeap();
    EXPECT_EQ(g_calls.size(), 3u);
}

char* g_block_seen_by_exit_proc = nullptr;
int32_t read_heap_block(int32_t) {
    g_calls.push_back(g_block_seen_by_exit_proc[0]);
    return 0;
}

TEST(ExitProcs, MayStillUseThePrivateHeap) {
    ASSERT_EQ(createPrivateHeap(), 1);
    g_calls.clear();
    g_block_seen_by_exit_proc = static_cast<char*>(heapAllocate(1));
    g_block_seen_by_exit_proc[0] = 'x';
    registerExitProc(read_heap_block, 0);
    destroyPrivateHeap();
    EXPECT_EQ(g_calls, (std::vector<int32_t>{'x'}));
}

} // namespace
