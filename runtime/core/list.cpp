#include "runtime/core/list.h"

#include "runtime/core/heap.h"
#include "runtime/core/program_end.h"

ListNode* exitProcList = nullptr;

// Nodes and records are requested as type 15, one byte per element.
constexpr int32_t BYTE_TYPE = 15;

static ListNode* allocateNode() {
    return (ListNode*)globalAllocateTyped(BYTE_TYPE, (int32_t)sizeof(ListNode));
}

ListNode* listNew() {
    return allocateNode();
}

// When no node can be had the list stays as it was.
void* listInsertAfter(ListNode* node, void* data) {
    if (node == nullptr)
        return data;
    ListNode* added = allocateNode();
    if (added == nullptr)
        return data;
    ListNode* following = node->next;
    node->next = added;
    if (following != nullptr) {
        added->next = following;
        following->prev = added;
    }
    added->prev = node;
    added->data = data;
    return data;
}

ListNode* listNext(ListNode* node) {
    return node != nullptr ? node->next : nullptr;
}

void* listData(ListNode* node) {
    return node != nullptr ? node->data : nullptr;
}

int32_t listDestroy(ListNode* node, int32_t freeData) {
    while (node != nullptr) {
        ListNode* next = node->next;
        if (freeData == 1 && node->data != nullptr)
            globalFree(node->data);
        globalFree(node);
        node = next;
    }
    return 0;
}

int32_t registerExitProc(ExitProc proc, int32_t argument) {
    if (proc == nullptr)
        return 0;
    if (exitProcList == nullptr && (exitProcList = listNew()) == nullptr)
        return 0;
    auto* record = (ExitProcRecord*)globalAllocateTyped(BYTE_TYPE, (int32_t)sizeof(ExitProcRecord));
    if (record == nullptr)
        return 0;
    ListNode* first = listNext(exitProcList);
    listInsertAfter(exitProcList, record);
    if (listNext(exitProcList) == first) {
        // No node for it: the procedure cannot be registered.
        globalFree(record);
        return 0;
    }
    record->proc = proc;
    record->argument = argument;
    endRuntimeProgramAtExit();
    return 0;
}

// Each procedure leaves the list before it runs, so that one which ends the
// program itself, and so comes back here, neither runs twice nor keeps the
// ones after it from running.
void runExitProcs() {
    while (exitProcList != nullptr) {
        ListNode* node = listNext(exitProcList);
        if (node == nullptr) {
            listDestroy(exitProcList, 1);
            exitProcList = nullptr;
            return;
        }
        exitProcList->next = node->next;
        if (node->next != nullptr)
            node->next->prev = exitProcList;
        ExitProcRecord record = *(ExitProcRecord*)listData(node);
        globalFree(node->data);
        globalFree(node);
        record.proc(record.argument);
    }
}
