// Painting rules that programs written for Windows rely on: an invalid
// frame brings WM_PAINT until WM_NCPAINT has been sent, from
// DispatchMessageA or GetUpdateRect; a WM_PAINT handler that looks at the
// queue does not get its own message back; class and private contexts, and
// contexts that draw over the parent (CS_PARENTDC).
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

namespace {

// What the WM_PAINT handler does, chosen by each test.
enum class OnPaint { BEGIN_END, VALIDATE_CLIENT, PEEK_INSIDE };
OnPaint g_on_paint = OnPaint::BEGIN_END;
int g_depth = 0, g_deepest = 0;

LRESULT CALLBACK rules_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wparam, lparam);
    if (g_on_paint == OnPaint::VALIDATE_CLIENT) {
        ValidateRect(window, nullptr);
        return 0;
    }
    if (g_on_paint == OnPaint::PEEK_INSIDE && g_depth < 50) {
        g_deepest = std::max(g_deepest, ++g_depth);
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        --g_depth;
    }
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

class PaintRules : public UserTest {
  protected:
    HWND window = nullptr;
    void SetUp() override {
        UserTest::SetUp();
        register_test_class("ZandrelPaintRules", rules_proc, 0, (HBRUSH)(COLOR_WINDOW + 1));
        window = make(MAIN, CAPTIONED_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, 0,
                      "ZandrelPaintRules");
        g_on_paint = OnPaint::BEGIN_END;
        settle();
    }
    // Takes and dispatches every queued message; counts the WM_PAINTs.
    int drain() {
        int paints = 0;
        MSG msg;
        for (int i = 0; i < 20 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            paints += msg.message == WM_PAINT;
            DispatchMessageA(&msg);
        }
        return paints;
    }
};

const ExpectedMessage PAINT_BRINGS_FRAME[] = {
    {WM_PAINT, MSG_ONLY, 0, 0, MAIN},
    {WM_NCPAINT, MSG_ONLY, 0, 0, MAIN},
};

struct FrameRow {
    OnPaint on_paint;
    RECT invalid; // client coordinates; left of the client area: frame only
    int paints;   // WM_PAINTs until the queue is quiet
    const char* what;
};

// The frame is painted from the WM_PAINT that it brought: by BeginPaint
// inside the handler, or by DispatchMessageA after a handler that only
// validated the client area; then no more WM_PAINT comes.
const FrameRow FRAME_ROWS[] = {
    {OnPaint::BEGIN_END, {-4, -4, -1, -1}, 1, "frame only, BeginPaint"},
    {OnPaint::VALIDATE_CLIENT, {-4, -4, -1, -1}, 1, "frame only, ValidateRect"},
    {OnPaint::VALIDATE_CLIENT, {0, 0, 500, 500}, 1, "frame and client, ValidateRect"},
};

TEST_F(PaintRules, InvalidFrameBringsOnePaintAndNcPaint) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const FrameRow& row : FRAME_ROWS) {
        g_on_paint = row.on_paint;
        SetRectRgn(region, row.invalid.left, row.invalid.top, row.invalid.right,
                   row.invalid.bottom);
        RedrawWindow(window, nullptr, region, RDW_INVALIDATE | RDW_FRAME);
        expect_no_messages(row.what);
        EXPECT_EQ(drain(), row.paints) << row.what;
        log_keep_only({WM_PAINT, WM_NCPAINT});
        expect_sequence(PAINT_BRINGS_FRAME, row.what);
    }
    DeleteObject(region);
}

// Only the frame is invalid: the client area's update region is empty, yet
// GetUpdateRect reports something to update until, asked to erase, it has
// sent WM_NCPAINT.
TEST_F(PaintRules, GetUpdateRectSendsTheFramePaint) {
    HRGN region = CreateRectRgn(-4, -4, -1, -1);
    RedrawWindow(window, nullptr, region, RDW_INVALIDATE | RDW_FRAME);
    RECT rect;
    EXPECT_EQ(GetUpdateRgn(window, region, FALSE), NULLREGION);
    EXPECT_TRUE(GetUpdateRect(window, &rect, FALSE));
    EXPECT_FALSE(GetUpdateRect(window, &rect, TRUE));
    EXPECT_EQ(log_count(WM_NCPAINT), 1u);
    log_flush();
    EXPECT_EQ(drain(), 0) << "the frame was painted: no WM_PAINT";
    DeleteObject(region);
}

// PeekMessageA inside WM_PAINT does not hand out the same WM_PAINT again.
// Wine hands it out again, level after level; Windows does not.
TEST_F(PaintRules, PeekInsidePaintDoesNotRecurse) {
    if (running_under_wine())
        GTEST_SKIP() << "Wine hands out the same WM_PAINT again";
    g_on_paint = OnPaint::PEEK_INSIDE;
    g_deepest = 0;
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_EQ(drain(), 1);
    EXPECT_EQ(g_deepest, 1);
    RECT rect;
    EXPECT_FALSE(GetUpdateRect(window, &rect, FALSE));
}

LRESULT CALLBACK plain_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

struct DcRow {
    const char* class_name;
    UINT class_style;
    bool same_dc_twice;      // GetDC gives the same context each time
    bool shared_by_class;    // two windows of the class get the same context
    bool attributes_persist; // a text colour set survives ReleaseDC
};

const DcRow DC_ROWS[] = {
    {"ZandrelCommonDc", 0, false, false, false},
    {"ZandrelOwnDc", CS_OWNDC, true, false, true},
    {"ZandrelClassDc", CS_CLASSDC, true, true, true},
};

TEST_F(PaintRules, ClassAndPrivateContexts) {
    for (const DcRow& row : DC_ROWS) {
        SCOPED_TRACE(row.class_name);
        register_test_class(row.class_name, plain_proc, 0, nullptr, row.class_style);
        HWND a = make(MAIN, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, row.class_name);
        HWND b = make(SECOND, WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, 0, row.class_name);
        HDC first = GetDC(a);
        SetTextColor(first, RGB(1, 2, 3));
        EXPECT_EQ(ReleaseDC(a, first), 1);
        EXPECT_EQ(ReleaseDC(a, first), row.same_dc_twice ? 1 : 0) << "released twice";
        HDC again = GetDC(a);
        EXPECT_TRUE(!row.same_dc_twice || again == first) << "the same context again";
        EXPECT_EQ(GetTextColor(again) == RGB(1, 2, 3), row.attributes_persist);
        HDC other = GetDC(b);
        EXPECT_EQ(other == again, row.shared_by_class);
        EXPECT_EQ(WindowFromDC(other), b);
        PAINTSTRUCT paint;
        InvalidateRect(a, nullptr, FALSE);
        HDC painting = BeginPaint(a, &paint);
        EXPECT_EQ(painting == again, row.same_dc_twice) << "BeginPaint";
        EndPaint(a, &paint);
        ReleaseDC(b, other);
        ReleaseDC(a, again);
        DestroyWindow(b);
        DestroyWindow(a);
    }
}

// A child that moves or shrinks is drawn at its new place, and what it
// covered before shows its parent again.
struct ChildMove {
    const char* what;
    RECT to;       // the child's new place, from 10, 10, 50, 40
    POINT child;   // a point of the parent where the child now is
    POINT uncover; // a point of the parent that the child left
};
const ChildMove CHILD_MOVES[] = {
    {"moved", {100, 60, 140, 90}, {110, 70}, {20, 20}},
    {"shrunk", {10, 10, 20, 20}, {15, 15}, {30, 30}},
};

TEST_F(PaintRules, AMovedChildIsDrawnAtItsNewPlace) {
    register_test_class("ZandrelPaintChild", DefWindowProcA, 0,
                        (HBRUSH)GetStockObject(BLACK_BRUSH));
    for (const ChildMove& row : CHILD_MOVES) {
        HWND child =
            make(CHILD, WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, window, 1, "ZandrelPaintChild");
        UpdateWindow(window);
        UpdateWindow(child);
        const RECT& to = row.to;
        SetWindowPos(child, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(window);
        UpdateWindow(child);
        HDC dc = GetDC(window);
        EXPECT_EQ(GetPixel(dc, row.child.x, row.child.y), RGB(0, 0, 0)) << row.what;
        EXPECT_EQ(GetPixel(dc, row.uncover.x, row.uncover.y), GetSysColor(COLOR_WINDOW))
            << row.what;
        ReleaseDC(window, dc);
        DestroyWindow(child);
        settle();
    }
}

struct ParentDcRow {
    const char* how;
    UINT child_class_style;
    DWORD parent_style; // beside WS_POPUP | WS_VISIBLE
    bool painting;      // BeginPaint rather than GetDC
    RECT clip;          // the context's clip box
    bool reaches_parent;
    bool wine_differs; // Wine limits a painting context to the update region
};

// A child at (40, 30), 50 by 40, in a parent whose client area is 300 by
// 200: with CS_PARENTDC its context's clip box is the parent's client area,
// seen from the child's origin, whether or not the parent clips its
// children, and a pixel left of and above the child lands in the parent.
// Erasing the child's background stays in the child.
const ParentDcRow PARENT_DC_ROWS[] = {
    {"GetDC", CS_PARENTDC, 0, false, {-40, -30, 260, 170}, true, false},
    {"BeginPaint", CS_PARENTDC, 0, true, {-40, -30, 260, 170}, true, true},
    {"GetDC, parent clips children",
     CS_PARENTDC,
     WS_CLIPCHILDREN,
     false,
     {-40, -30, 260, 170},
     true,
     false},
    {"GetDC, no CS_PARENTDC", 0, 0, false, {0, 0, 50, 40}, false, false},
    {"BeginPaint, no CS_PARENTDC", 0, 0, true, {0, 0, 50, 40}, false, false},
};

TEST_F(PaintRules, ParentDcDrawsOverTheParent) {
    register_test_class("ZandrelParentDc", plain_proc, 0, (HBRUSH)GetStockObject(WHITE_BRUSH),
                        CS_PARENTDC);
    register_test_class("ZandrelPlainChild", plain_proc, 0, (HBRUSH)GetStockObject(WHITE_BRUSH));
    for (const ParentDcRow& row : PARENT_DC_ROWS) {
        if (row.wine_differs && running_under_wine())
            continue;
        SCOPED_TRACE(row.how);
        HWND parent = make(SECOND, WS_POPUP | WS_VISIBLE | row.parent_style, 10, 10, 300, 200);
        HWND child = make(CHILD, WS_CHILD | WS_VISIBLE, 40, 30, 50, 40, parent, 1,
                          row.child_class_style ? "ZandrelParentDc" : "ZandrelPlainChild");
        settle();
        HDC parent_dc = GetDC(parent);
        SetPixel(parent_dc, 20, 20, RGB(0, 0, 255));
        PAINTSTRUCT paint{};
        InvalidateRect(child, nullptr, TRUE);
        HDC dc = row.painting ? BeginPaint(child, &paint) : GetDC(child);
        RECT clip{};
        GetClipBox(dc, &clip);
        expect_rect(clip, row.clip, "clip box");
        EXPECT_EQ(GetPixel(parent_dc, 20, 20), RGB(0, 0, 255)) << "the erase stayed in the child";
        SetPixel(dc, -20, -10, RGB(255, 0, 0));
        BitBlt(dc, -21, -10, 1, 1, dc, -20, -10, SRCCOPY);
        // Wine keeps the drawing inside the child, clip box or not.
        if (!(row.reaches_parent && running_under_wine())) {
            EXPECT_EQ(GetPixel(parent_dc, 20, 20) == RGB(255, 0, 0), row.reaches_parent);
            EXPECT_EQ(GetPixel(parent_dc, 19, 20) == RGB(255, 0, 0), row.reaches_parent);
        }
        if (row.painting)
            EndPaint(child, &paint);
        else
            ReleaseDC(child, dc);
        ReleaseDC(parent, parent_dc);
        DestroyWindow(parent);
    }
}

} // namespace
