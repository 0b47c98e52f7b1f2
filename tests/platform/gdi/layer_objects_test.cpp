// The layer's object counts: what tests use to check that nothing leaks.
#include <layer/gdi.h>

#include <gtest/gtest.h>

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// The first context of a process makes the stock objects for its default
// state, which grows the handle table under the context's own new entry.
// Only a fresh process shows it, so the test runs this program again with
// just the child's half; under AddressSanitizer a stale entry fails it.
TEST(LayerFirstContext, IsSoundAsTheProcessFirstGraphicsCall) {
    if (getenv("ZANDREL_FIRST_CONTEXT_CHILD") != nullptr) {
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
        HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
        HGDIOBJ original = SelectObject(dc, bitmap);
        EXPECT_EQ(SetPixel(dc, 1, 1, RGB(255, 255, 255)), RGB(255, 255, 255));
        SelectObject(dc, original);
        DeleteObject(bitmap);
        EXPECT_TRUE(DeleteDC(dc));
        return;
    }
    setenv("ZANDREL_FIRST_CONTEXT_CHILD", "1", 1);
    char filter[] = "--gtest_filter=LayerFirstContext.*";
    char program[] = "/proc/self/exe";
    char* arguments[] = {program, filter, nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, program, nullptr, nullptr, arguments, environ);
    unsetenv("ZANDREL_FIRST_CONTEXT_CHILD");
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

TEST(LayerObjects, CountsReturnToWhereTheyStarted) {
    const DWORD types[] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_MEMDC};
    UINT before[5];
    for (int i = 0; i < 5; ++i)
        before[i] = layer_gdi_object_count(types[i]);
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    LOGFONTA description{};
    HFONT font = CreateFontIndirectA(&description);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(layer_gdi_object_count(types[i]), before[i] + 1) << types[i];
    SelectObject(dc, pen);
    SelectObject(dc, bitmap);
    SaveDC(dc);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
    DeleteObject(bitmap);
    EXPECT_EQ(layer_gdi_object_count(OBJ_PEN), before[0] + 1); // still selected
    DeleteDC(dc);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(layer_gdi_object_count(types[i]), before[i]) << types[i];
}

// Windows may fault on these; the layer refuses them.
TEST(LayerText, RefusesBadArguments) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(TextOutA(dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", -1));
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "x", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "x", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 1, &size));
    DeleteDC(dc);
}

} // namespace
