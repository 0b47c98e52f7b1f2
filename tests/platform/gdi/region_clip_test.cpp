// Regions, clipping and bounds, checked the same way on Windows (under Wine)
// and on the layer.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Rgn {
    HRGN handle;
    Rgn(int l, int t, int r, int b) : handle(CreateRectRgn(l, t, r, b)) {}
    ~Rgn() { DeleteObject(handle); }
};

// A memory context holding a 32-bit top-down bitmap of the given size.
struct BitmapDc {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ original;
    BitmapDc(int width, int height) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = make_bitmap(width, height);
        original = SelectObject(dc, bitmap);
    }
    ~BitmapDc() {
        SelectObject(dc, original);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    static HBITMAP make_bitmap(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
};

void expect_box(HRGN region, RECT expected, int type) {
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), type);
    EXPECT_EQ(box.left, expected.left);
    EXPECT_EQ(box.top, expected.top);
    EXPECT_EQ(box.right, expected.right);
    EXPECT_EQ(box.bottom, expected.bottom);
}

TEST(Regions, CombinationsGiveTheirTypesAndBoxes) {
    Rgn a(0, 0, 10, 10), b(5, 5, 15, 15), out(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out.handle, a.handle, b.handle, RGN_AND), SIMPLEREGION);
    expect_box(out.handle, {5, 5, 10, 10}, SIMPLEREGION);
    EXPECT_EQ(CombineRgn(out.handle, a.handle, b.handle, RGN_OR), COMPLEXREGION);
    expect_box(out.handle, {0, 0, 15, 15}, COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(out.handle, 12, 12));
    EXPECT_FALSE(PtInRegion(out.handle, 12, 2));
    EXPECT_EQ(CombineRgn(out.handle, a.handle, b.handle, RGN_DIFF), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(out.handle, 2, 7));
    EXPECT_FALSE(PtInRegion(out.handle, 7, 7));
    EXPECT_EQ(CombineRgn(out.handle, a.handle, b.handle, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(out.handle, 7, 7));
    EXPECT_TRUE(PtInRegion(out.handle, 12, 12));
    EXPECT_EQ(CombineRgn(out.handle, a.handle, a.handle, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(out.handle, b.handle, nullptr, RGN_COPY), SIMPLEREGION);
    expect_box(out.handle, {5, 5, 15, 15}, SIMPLEREGION);
}

TEST(Regions, EqualityIgnoresHowTheRegionWasBuilt) {
    Rgn left(0, 0, 5, 10), right(5, 0, 10, 10), whole(0, 0, 10, 10), joined(0, 0, 0, 0);
    CombineRgn(joined.handle, left.handle, right.handle, RGN_OR);
    EXPECT_TRUE(EqualRgn(joined.handle, whole.handle));
    Rgn top(0, 0, 10, 4), bottom(0, 4, 10, 10);
    CombineRgn(joined.handle, top.handle, bottom.handle, RGN_OR);
    EXPECT_TRUE(EqualRgn(joined.handle, whole.handle));
    expect_box(joined.handle, {0, 0, 10, 10}, SIMPLEREGION);
}

TEST(Regions, ReversedCornersAreNormalisedAndOffsetsMove) {
    Rgn r(10, 20, 0, 5);
    expect_box(r.handle, {0, 5, 10, 20}, SIMPLEREGION);
    EXPECT_EQ(OffsetRgn(r.handle, -3, 4), SIMPLEREGION);
    expect_box(r.handle, {-3, 9, 7, 24}, SIMPLEREGION);
    RECT inside{0, 10, 2, 12}, outside{8, 0, 20, 8};
    EXPECT_TRUE(RectInRegion(r.handle, &inside));
    EXPECT_FALSE(RectInRegion(r.handle, &outside));
    Rgn empty(3, 3, 3, 9);
    expect_box(empty.handle, {0, 0, 0, 0}, NULLREGION);
}

TEST(Clipping, BoxOfAContextIsItsBitmapUntilClipped) {
    BitmapDc m(40, 30);
    RECT box{};
    EXPECT_EQ(GetClipBox(m.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 30);
    EXPECT_EQ(GetClipRgn(m.dc, Rgn(0, 0, 0, 0).handle), 0);

    EXPECT_EQ(IntersectClipRect(m.dc, 30, 20, 10, 5), SIMPLEREGION);
    GetClipBox(m.dc, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(box.bottom, 20);
    EXPECT_EQ(ExcludeClipRect(m.dc, 15, 0, 20, 100), COMPLEXREGION);
    EXPECT_EQ(ExcludeClipRect(m.dc, 0, 0, 100, 100), NULLREGION);
    EXPECT_EQ(SelectClipRgn(m.dc, nullptr), SIMPLEREGION);
    GetClipBox(m.dc, &box);
    EXPECT_EQ(box.right, 40);
}

TEST(Clipping, ExcludeWithoutAClipStartsFromTheWholeSurface) {
    BitmapDc m(40, 30);
    EXPECT_EQ(ExcludeClipRect(m.dc, 0, 0, 40, 10), SIMPLEREGION);
    RECT box{};
    GetClipBox(m.dc, &box);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 30);
    Rgn copy(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(m.dc, copy.handle), 1);
    expect_box(copy.handle, {0, 10, 40, 30}, SIMPLEREGION);
}

TEST(Clipping, IsSavedAndRestoredAndSelectCopiesTheRegion) {
    BitmapDc m(40, 30);
    SaveDC(m.dc);
    Rgn region(5, 5, 8, 8);
    EXPECT_EQ(SelectClipRgn(m.dc, region.handle), SIMPLEREGION);
    SetRectRgn(region.handle, 0, 0, 1, 1); // the context keeps its own copy
    RECT box{};
    GetClipBox(m.dc, &box);
    EXPECT_EQ(box.left, 5);
    RestoreDC(m.dc, -1);
    GetClipBox(m.dc, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 40);
}

TEST(Bounds, SetAndGetReportTheirState) {
    BitmapDc m(40, 30);
    RECT rect{};
    EXPECT_EQ(GetBoundsRect(m.dc, &rect, 0), (UINT)DCB_RESET);
    UINT previous = SetBoundsRect(m.dc, nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    EXPECT_EQ(previous & DCB_SET, (UINT)DCB_RESET);
    EXPECT_EQ(previous & (DCB_ENABLE | DCB_DISABLE), (UINT)DCB_DISABLE);
    RECT added{3, 4, 10, 12};
    SetBoundsRect(m.dc, &added, DCB_ACCUMULATE);
    EXPECT_EQ(GetBoundsRect(m.dc, &rect, 0), (UINT)DCB_SET);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.bottom, 12);
    previous = SetBoundsRect(m.dc, nullptr, 0);
    EXPECT_EQ(previous & DCB_SET, (UINT)DCB_SET);
    EXPECT_EQ(previous & (DCB_ENABLE | DCB_DISABLE), (UINT)DCB_ENABLE);
    EXPECT_EQ(GetBoundsRect(m.dc, &rect, DCB_RESET), (UINT)DCB_SET);
    EXPECT_EQ(GetBoundsRect(m.dc, &rect, 0), (UINT)DCB_RESET);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 0);
}

} // namespace
