// The reset of the runtime's process-wide state: a program run again after it
// behaves as it did the first time, the framework's classes are registered
// afresh by the next openWindow, and nothing is released that belongs to
// someone else.
#include "runtime/core/heap.h"
#include "runtime/core/heap_stack.h"
#include "runtime/core/text.h"
#include "runtime/events/random.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/text_output.h"
#include "runtime/runtime_state.h"
#include "runtime/window/framework.h"
#include "tests/runtime/window/framework_fixture.h"
#include "tests/support/stdout_capture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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

constexpr int32_t LAST_IME_MESSAGE = 0x0291; // WM_IME_KEYUP

// What a short program did that the runtime's state could change: where
// the mouse was before any event, a number's text, what its prints wrote to
// standard output and into its window, and the events its window heard.
struct ProgramRun {
    int32_t mouseAtStart[2];
    std::string third;
    std::string printed;
    int32_t penX;
    std::vector<int32_t> events;
    std::vector<int32_t> draws;
};

// A program's worth of statements, from creating its heap to destroying it,
// that leaves behind what a program leaves: places, a print target, a seed,
// an event's values and a temporary string of a statement cut short.
ProgramRun runProgram(WindowRecord* record) {
    ProgramRun run{{mouseX, mouseY}, "", "", 0, {}, {}};
    EXPECT_EQ(createPrivateHeap(), 1);
    char* third = numberToText(2.0 / 3.0);
    run.third = third;
    heapFree(third);
    StdoutCapture capture;
    printItems(2, PRINT_TEXT, "score", PRINT_INT32, 12);
    EXPECT_EQ(openWindow(record, 0, 0, 200, 100, 0, nullptr, "program", recordingHandler), 1);
    printItems(2, PRINT_TEXT, "lives", PRINT_INT32, 3);
    printItems(2, PRINT_TARGET, record, PRINT_TEXT, "in the window");
    run.penX = record->curPos.x;
    run.printed = capture.finish();
    // Windows sends some input-method messages only to a thread's first
    // window: they are the system's state, not the runtime's.
    for (int32_t id : seenIds())
        if (id < WM_IME_SETCONTEXT || id > LAST_IME_MESSAGE)
            run.events.push_back(id);
    seedRandom(77);
    for (int i = 0; i < 3; ++i)
        run.draws.push_back(randomInRange(1, 1000));
    decimalPlaces = 5;
    heapStackPush(duplicateString("cut short"));
    closeWindow(record);
    destroyPrivateHeap();
    g_seen.clear();
    return run;
}

TEST_F(RuntimeState, ASecondRunAfterTheResetBehavesAsTheFirst) {
    ProgramRun first = runProgram(&record);
    EXPECT_EQ(first.third, " 0.67");
    EXPECT_EQ(first.printed, "score12 lives3 ") << "no target chosen yet";
    EXPECT_GT(first.penX, 0) << "the chosen target is drawn into";
    resetRuntimeState();
    ProgramRun second = runProgram(&record);
    EXPECT_EQ(second.mouseAtStart[0], first.mouseAtStart[0]);
    EXPECT_EQ(second.mouseAtStart[1], first.mouseAtStart[1]);
    EXPECT_EQ(second.third, first.third) << "decimalPlaces";
    EXPECT_EQ(second.printed, first.printed) << "the print target";
    EXPECT_EQ(second.penX, first.penX);
    EXPECT_EQ(second.events, first.events);
    EXPECT_EQ(second.draws, first.draws);
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
