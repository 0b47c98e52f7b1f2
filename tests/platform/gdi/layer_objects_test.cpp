// The layer's object counts: what tests use to check that nothing leaks.
#include <layer/gdi.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

namespace {

// The first context of a process makes the stock objects for its default
// state, which grows the handle table under the context's own new entry.
// Only a process with no stock objects yet shows it: the probe is one.
// Under AddressSanitizer a write through the stale entry fails it.
TEST(LayerFirstContext, IsSoundAsTheProcessFirstGraphicsCall) {
    int status = system("'" GDI_FIRST_CONTEXT_PROBE "'");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "probe status " << status;
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
