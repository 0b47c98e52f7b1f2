// The reset of the runtime's process-wide state: every variable back to its
// value at load, the framework's classes registered afresh by the next
// openWindow, and nothing released that belongs to someone else.
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/core/text.h"
#include "runtime/events/random.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/text_output.h"
#include "runtime/runtime_state.h"
#include "runtime/window/framework.h"
#include "tests/runtime/window/framework_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace framework_test;

using RuntimeState = FrameworkTest;

// Asked to unregister a class that is not there, the platform says so.
void expectUnregistered(const char* name) {
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA(name, GetModuleHandleA(nullptr))) << name;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_DOES_NOT_EXIST) << name;
}

void openAndClose(WindowRecord* record, uint32_t flags) {
    ASSERT_EQ(openWindow(record, 0, 0, 200, 100, flags, nullptr, "state", nullptr), 1);
    closeWindow(record);
}

TEST_F(RuntimeState, EveryVariableGoesBackToItsValueAtLoad) {
    WindowRecord other{};
    eventId = 1;
    eventWParam = 2;
    eventLParam = 3;
    mouseX = 4;
    mouseY = 5;
    eventWindow = &other;
    controlId = 6;
    menuId = 7;
    notifyCode = 8;
    creatingRecord = &other;
    seedRandom(99);
    decimalPlaces = 5;
    printTarget = &other;
    HeapStack.count = 3;
    HeapStack.refused = 2;

    resetRuntimeState();

    const int64_t values[] = {eventId,
                              (int64_t)eventWParam,
                              (int64_t)eventLParam,
                              mouseX,
                              mouseY,
                              controlId,
                              menuId,
                              notifyCode,
                              (int64_t)randomState,
                              randomSeeded,
                              HeapStack.count,
                              HeapStack.refused};
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
        EXPECT_EQ(values[i], 0) << "value " << i;
    EXPECT_EQ(eventWindow, nullptr);
    EXPECT_EQ(creatingRecord, nullptr);
    EXPECT_EQ(printTarget, nullptr);
    EXPECT_EQ(decimalPlaces, 2);
}

// The stack forgets its entries; the blocks stay the heap's.
TEST_F(RuntimeState, HeapStackEntriesAreForgottenNotReleased) {
    ASSERT_EQ(createPrivateHeap(), 1);
    void* block = heapAllocate(8);
    heapStackPush(block);
    resetRuntimeState();
    EXPECT_EQ(HeapStack.count, 0);
    EXPECT_EQ(heapFree(block), 1);
    destroyPrivateHeap();
}

TEST_F(RuntimeState, ClassesAreRegisteredAfreshAfterTheReset) {
    openAndClose(&record, 0);
    openAndClose(&record, OW_MDIFRAME);
    ASSERT_NE(wndClassAtom, 0);
    ASSERT_NE(frameClassAtom, 0);
    ASSERT_NE(mdiClientAtom, 0);

    resetRuntimeState();
    EXPECT_EQ(wndClassAtom, 0);
    EXPECT_EQ(frameClassAtom, 0);
    EXPECT_EQ(mdiClientAtom, 0);
    expectUnregistered("OrvaneWndClass");
    expectUnregistered("OrvaneFrameClass");

    ASSERT_EQ(openWindow(&record, 0, 0, 200, 100, 0, nullptr, "again", recordingHandler), 1);
    EXPECT_NE(wndClassAtom, 0);
    EXPECT_EQ(GetClassWord(record.hwnd, GCW_ATOM), wndClassAtom);
    EXPECT_EQ(windowRecordOf(record.hwnd), &record);
    EXPECT_TRUE(sawEvent(WM_CREATE));
}

// A class cannot go while it has windows: it keeps its atom, so that the
// framework still finds the window's record.
TEST_F(RuntimeState, ClassWithAWindowStaysRegistered) {
    ASSERT_EQ(openWindow(&record, 0, 0, 200, 100, 0, nullptr, "open", nullptr), 1);
    ATOM atom = wndClassAtom;
    resetRuntimeState();
    EXPECT_EQ(wndClassAtom, atom);
    EXPECT_EQ(GetClassWord(record.hwnd, GCW_ATOM), atom);
    EXPECT_EQ(windowRecordOf(record.hwnd), &record);
    closeWindow(&record);
    resetRuntimeState();
    EXPECT_EQ(wndClassAtom, 0);
}

TEST_F(RuntimeState, CentringHookLeftInstalledIsRemoved) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, centreBoxHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    centreHook = hook;
    resetRuntimeState();
    EXPECT_EQ(centreHook, nullptr);
    EXPECT_FALSE(UnhookWindowsHookEx(hook)) << "the hook was already removed";
}

} // namespace
