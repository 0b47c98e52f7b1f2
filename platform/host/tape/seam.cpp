// The wrapped seam. Every call the program makes passes here; a call made
// while another is in progress is the host's own (the SDL host reads its
// clock while it waits) and goes straight to the host, so that the tape
// holds only what the program read, whichever host answered it.
#include "platform/host/tape/seam.h"
#include "platform/host/tape/windows.h"

#include <stdlib.h>

extern "C" [[noreturn]] void real_exit(int code) asm("__real__exit");

namespace {

TapeSide* g_side = nullptr;
int g_depth = 0;

// Marks a call in progress; `outer` says whether it is the program's own.
struct Call {
    bool outer = g_depth == 0;
    Call() { ++g_depth; }
    ~Call() { --g_depth; }
    bool taped() const { return outer && g_side != nullptr; }
};

} // namespace

// The host's functions that only the wrappers below call.
void real_host_window_placed(HWND window, const RECT* rect, bool visible,
                             HWND above) asm("__real__Z18host_window_placedP6HWND__PK7tagRECTbS0_");
void real_host_window_destroyed(HWND window) asm("__real__Z21host_window_destroyedP6HWND__");
void real_host_window_made(HWND window, HWND owner,
                           bool popup) asm("__real__Z16host_window_madeP6HWND__S0_b");
void real_host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                       int32_t stride, const RECT* dirty,
                       int32_t dirty_count) asm("__real__Z12host_presentP6HWND__PKjiiiPK7tagRECTi");
void real_host_window_titled(HWND window,
                             const char* title) asm("__real__Z18host_window_titledP6HWND__PKc");
void real_host_window_minimized(HWND window,
                                bool minimized) asm("__real__Z21host_window_minimizedP6HWND__b");
void real_host_window_icon(HWND window,
                           const uint32_t* pixels) asm("__real__Z16host_window_iconP6HWND__PKj");
void real_host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride) asm("__real__Z21host_present_task_barPKjiii");

void tape_set_side(TapeSide* side) {
    g_side = side;
}

// The program's reads.

uint64_t wrap_host_clock_us(void) asm("__wrap__Z13host_clock_usv");
uint64_t wrap_host_clock_us(void) {
    // Without a tape the program's most frequent calls go straight through.
    if (g_side == nullptr)
        return real_host_clock_us();
    Call call;
    return call.taped() ? g_side->clock_us() : real_host_clock_us();
}

void wrap_host_screen(RECT* screen, RECT* work_area) asm("__wrap__Z11host_screenP7tagRECTS0_");
void wrap_host_screen(RECT* screen, RECT* work_area) {
    Call call;
    if (call.taped())
        g_side->screen(screen, work_area);
    else
        real_host_screen(screen, work_area);
}

bool wrap_host_next_event(HostEvent* event) asm("__wrap__Z15host_next_eventP9HostEvent");
bool wrap_host_next_event(HostEvent* event) {
    if (g_side == nullptr)
        return real_host_next_event(event);
    Call call;
    return call.taped() ? g_side->next_event(event) : real_host_next_event(event);
}

bool wrap_host_shows_task_bar(void) asm("__wrap__Z19host_shows_task_barv");
bool wrap_host_shows_task_bar(void) {
    Call call;
    return call.taped() ? g_side->shows_task_bar() : real_host_shows_task_bar();
}

void wrap_host_wait(uint64_t deadline_us) asm("__wrap__Z9host_wait" TAPE_U64);
void wrap_host_wait(uint64_t deadline_us) {
    Call call;
    if (call.taped())
        g_side->wait(deadline_us);
    else
        real_host_wait(deadline_us);
}

void wrap_host_sleep(uint64_t deadline_us) asm("__wrap__Z10host_sleep" TAPE_U64);
void wrap_host_sleep(uint64_t deadline_us) {
    Call call;
    if (call.taped())
        g_side->sleep(deadline_us);
    else
        real_host_sleep(deadline_us);
}

void wrap_host_poll_empty(void) asm("__wrap__Z15host_poll_emptyv");
void wrap_host_poll_empty(void) {
    Call call;
    if (call.taped())
        g_side->poll_empty();
    else
        real_host_poll_empty();
}

// What the program shows: the tape keeps its own copy of each window for
// the checkpoints, then the host shows it.

void wrap_host_window_made(HWND window, HWND owner,
                           bool popup) asm("__wrap__Z16host_window_madeP6HWND__S0_b");
void wrap_host_window_made(HWND window, HWND owner, bool popup) {
    Call call;
    if (call.taped())
        tape_windows().made(window, owner, popup);
    real_host_window_made(window, owner, popup);
}

void wrap_host_window_placed(HWND window, const RECT* rect, bool visible,
                             HWND above) asm("__wrap__Z18host_window_placedP6HWND__PK7tagRECTbS0_");
void wrap_host_window_placed(HWND window, const RECT* rect, bool visible, HWND above) {
    Call call;
    if (call.taped())
        tape_windows().placed(window, *rect, visible);
    real_host_window_placed(window, rect, visible, above);
}

void wrap_host_window_destroyed(HWND window) asm("__wrap__Z21host_window_destroyedP6HWND__");
void wrap_host_window_destroyed(HWND window) {
    Call call;
    if (call.taped())
        tape_windows().destroyed(window);
    real_host_window_destroyed(window);
}

void wrap_host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                       int32_t stride, const RECT* dirty,
                       int32_t dirty_count) asm("__wrap__Z12host_presentP6HWND__PKjiiiPK7tagRECTi");
void wrap_host_present(HWND window, const uint32_t* pixels, int32_t width, int32_t height,
                       int32_t stride, const RECT* dirty, int32_t dirty_count) {
    Call call;
    if (call.taped())
        tape_windows().presented(window, pixels, width, height, stride, dirty, dirty_count);
    real_host_present(window, pixels, width, height, stride, dirty, dirty_count);
}

// The rest only mark the call, so that the host's reads inside them stay
// the host's.

void wrap_host_window_titled(HWND window,
                             const char* title) asm("__wrap__Z18host_window_titledP6HWND__PKc");
void wrap_host_window_titled(HWND window, const char* title) {
    Call call;
    real_host_window_titled(window, title);
}

void wrap_host_window_minimized(HWND window,
                                bool minimized) asm("__wrap__Z21host_window_minimizedP6HWND__b");
void wrap_host_window_minimized(HWND window, bool minimized) {
    Call call;
    real_host_window_minimized(window, minimized);
}

void wrap_host_window_icon(HWND window,
                           const uint32_t* pixels) asm("__wrap__Z16host_window_iconP6HWND__PKj");
void wrap_host_window_icon(HWND window, const uint32_t* pixels) {
    Call call;
    real_host_window_icon(window, pixels);
}

void wrap_host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride) asm("__wrap__Z21host_present_task_barPKjiii");
void wrap_host_present_task_bar(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride) {
    Call call;
    real_host_present_task_bar(pixels, width, height, stride);
}

// The end of the program: the layer's ExitProcess ends the process with
// _exit, the one call of it in the layer, so the tape sees the end there
// and leaves ExitProcess itself free for tests to wrap.
extern "C" [[noreturn]] void wrap_exit(int code) asm("__wrap__exit");
extern "C" void wrap_exit(int code) {
    tape_end(int64_t(uint32_t(code)));
    real_exit(code);
}

void tape_end(int64_t code) {
    if (g_side == nullptr || g_depth != 0)
        return;
    TapeSide* side = g_side;
    g_side = nullptr;
    side->end(code);
}
