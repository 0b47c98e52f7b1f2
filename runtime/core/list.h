// Doubly linked lists of the runtime's own records, in global memory, and the
// list of procedures to run at program end.
#pragma once

#include <stdint.h>

// A list is known by its head: a node with null `data` and null `prev`.
struct ListNode {
    ListNode* next; // following node, or null at the end
    ListNode* prev; // preceding node, or null for the head
    void* data;     // the record this node carries, or null
};

typedef int32_t (*ExitProc)(int32_t argument);

struct ExitProcRecord {
    ExitProc proc;    // called once at program end; its result is ignored
    int32_t argument; // passed to proc
};

// Head of the exit-procedure list: null until the first registration, and
// null again after the list has run at shutdown.
extern ListNode* exitProcList;

ListNode* listNew();
void* listInsertAfter(ListNode* node, void* data);
ListNode* listNext(ListNode* node);
void* listData(ListNode* node);
int32_t listDestroy(ListNode* node, int32_t freeData);

int32_t registerExitProc(ExitProc proc, int32_t argument);

// Calls every registered procedure, the most recently registered first, then
// releases the list with its records. The first step of destroyPrivateHeap.
void runExitProcs();
