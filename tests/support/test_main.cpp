// The main of every test program. On the layer it also checks that each
// test leaves as many live graphics objects and heaps as it found: a test
// that leaks fails its program, naming itself.
#include <gtest/gtest.h>
#include <windows.h>

#ifndef _WIN32
#include <layer/gdi.h>
#include <layer/kernel.h>
#include <layer/user.h>

#include <stdio.h>

namespace {

const DWORD COUNTED_TYPES[] = {OBJ_PEN,    OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP,
                               OBJ_REGION, OBJ_MEMDC, OBJ_DC};

struct LiveCounts {
    UINT objects[sizeof COUNTED_TYPES / sizeof COUNTED_TYPES[0]];
    UINT heaps;
    UINT windows;

    static LiveCounts now() {
        LiveCounts counts{};
        for (size_t i = 0; i < sizeof COUNTED_TYPES / sizeof COUNTED_TYPES[0]; ++i)
            counts.objects[i] = layer_gdi_object_count(COUNTED_TYPES[i]);
        counts.heaps = layer_live_heap_count();
        counts.windows = layer_user_window_count();
        return counts;
    }
};

class LeakCheck : public ::testing::EmptyTestEventListener {
  public:
    bool leaked = false;

  private:
    LiveCounts before_{};

    void OnTestStart(const ::testing::TestInfo&) override { before_ = LiveCounts::now(); }

    void OnTestEnd(const ::testing::TestInfo& test) override {
        LiveCounts after = LiveCounts::now();
        for (size_t i = 0; i < sizeof COUNTED_TYPES / sizeof COUNTED_TYPES[0]; ++i)
            report(test, "objects of type", (int)COUNTED_TYPES[i], before_.objects[i],
                   after.objects[i]);
        report(test, "heaps", 0, before_.heaps, after.heaps);
        report(test, "windows", 0, before_.windows, after.windows);
    }

    void report(const ::testing::TestInfo& test, const char* what, int type, UINT before,
                UINT after) {
        if (before == after)
            return;
        leaked = true;
        fprintf(stderr, "LEAK in %s.%s: %s %d went from %u to %u\n", test.test_suite_name(),
                test.name(), what, type, before, after);
    }
};

} // namespace
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifndef _WIN32
    // Objects made once for the whole process are not leaks.
    GetProcessHeap();
    GetStockObject(WHITE_BRUSH);
    GetDesktopWindow();
    auto* leaks = new LeakCheck;
    ::testing::UnitTest::GetInstance()->listeners().Append(leaks);
    int result = RUN_ALL_TESTS();
    return leaks->leaked ? 1 : result;
#else
    return RUN_ALL_TESTS();
#endif
}
