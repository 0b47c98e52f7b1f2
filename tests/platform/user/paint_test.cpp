// Update regions and painting: what InvalidateRect, InvalidateRgn,
// ValidateRect and UpdateWindow send, what BeginPaint and GetUpdateRgn report, where WM_PAINT
// stands among queued messages, and how a window's context is clipped.
#include "tests/platform/user/user_fixture.h"

namespace {

// What the last BeginPaint reported.
PAINTSTRUCT last_paint{};
int paints = 0;

// Marks show which messages arrive inside BeginPaint: 1 before, 2 after.
LRESULT CALLBACK painting_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wparam, lparam);
    ++paints;
    log_mark(1);
    BeginPaint(window, &last_paint);
    log_mark(2);
    EndPaint(window, &last_paint);
    return 0;
}

const char* painting_class() {
    static ATOM atom =
        register_test_class("ZandrelPainting", painting_proc, 0, (HBRUSH)(COLOR_WINDOW + 1));
    (void)atom;
    return "ZandrelPainting";
}

// With erase asked for, WM_ERASEBKGND comes from inside BeginPaint; the
// non-client area is not part of a client invalidation.
const ExpectedMessage UPDATE_WITH_ERASE[] = {
    {WM_PAINT, MSG_ONLY, 0, 0, MAIN},
    {LOG_MARK, CHECK_W, 1, 0, ANY_WINDOW},
    {WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN},
    {LOG_MARK, CHECK_W, 2, 0, ANY_WINDOW},
};

const ExpectedMessage UPDATE_WITHOUT_ERASE[] = {
    {WM_PAINT, MSG_ONLY, 0, 0, MAIN},
    {LOG_MARK, CHECK_W, 1, 0, ANY_WINDOW},
    {LOG_MARK, CHECK_W, 2, 0, ANY_WINDOW},
};

class Paint : public UserTest {
  protected:
    HWND window = nullptr;
    void SetUp() override {
        UserTest::SetUp();
        window = make(MAIN, CAPTIONED_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, 0,
                      painting_class());
        settle();
        paints = 0;
    }
};

TEST_F(Paint, InvalidateWithEraseThenUpdateWindow) {
    RECT box{10, 10, 30, 40};
    EXPECT_TRUE(InvalidateRect(window, &box, TRUE));
    expect_no_messages("InvalidateRect sends nothing");
    EXPECT_TRUE(UpdateWindow(window));
    log_mark(3);
    const ExpectedMessage SEQUENCE[] = {
        UPDATE_WITH_ERASE[0],
        UPDATE_WITH_ERASE[1],
        UPDATE_WITH_ERASE[2],
        UPDATE_WITH_ERASE[3],
        {LOG_MARK, CHECK_W, 3, 0, ANY_WINDOW},
    };
    expect_sequence(SEQUENCE, "UpdateWindow sends WM_PAINT before it returns");
    expect_rect(last_paint.rcPaint, box, "rcPaint");
    EXPECT_FALSE(last_paint.fErase) << "the background was erased by WM_ERASEBKGND";
}

TEST_F(Paint, InvalidateWithoutEraseThenUpdateWindow) {
    RECT box{0, 0, 5, 5};
    InvalidateRect(window, &box, FALSE);
    UpdateWindow(window);
    expect_sequence(UPDATE_WITHOUT_ERASE, "no WM_ERASEBKGND when no erase was asked");
    EXPECT_FALSE(last_paint.fErase);
}

TEST_F(Paint, EraseRequestIsKeptWhenMixed) {
    RECT a{0, 0, 5, 5};
    RECT b{20, 20, 30, 30};
    InvalidateRect(window, &a, FALSE);
    InvalidateRect(window, &b, TRUE);
    UpdateWindow(window);
    expect_sequence(UPDATE_WITH_ERASE, "one erasing invalidation erases the whole update");
    expect_rect(last_paint.rcPaint, {0, 0, 30, 30}, "rcPaint bounds both");
}

TEST_F(Paint, FEraseIsSetWhenEraseBackgroundDeclines) {
    // DefWindowProcA erases with the class brush and returns nonzero; a
    // window procedure returning 0 leaves fErase TRUE for WM_PAINT to see.
    static LRESULT (*const decline)(HWND, UINT, WPARAM, LPARAM) = [](HWND w, UINT m, WPARAM wp,
                                                                     LPARAM lp) -> LRESULT {
        if (m == WM_ERASEBKGND)
            return 0;
        return painting_proc(w, m, wp, lp);
    };
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)decline);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_TRUE(last_paint.fErase);
    RECT client;
    GetClientRect(window, &client);
    expect_rect(last_paint.rcPaint, client, "whole client");
}

TEST_F(Paint, ValidatedWindowIsNotPainted) {
    RECT box{10, 10, 30, 40};
    InvalidateRect(window, &box, TRUE);
    EXPECT_TRUE(ValidateRect(window, nullptr));
    EXPECT_TRUE(UpdateWindow(window));
    expect_no_messages("UpdateWindow with an empty update region");
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(Paint, GetUpdateRectBoundsTheRegion) {
    RECT r;
    EXPECT_FALSE(GetUpdateRect(window, &r, FALSE));
    expect_rect(r, {0, 0, 0, 0}, "nothing to update");
    RECT a{5, 6, 10, 12};
    RECT b{40, 30, 50, 35};
    InvalidateRect(window, &a, FALSE);
    InvalidateRect(window, &b, FALSE);
    EXPECT_TRUE(GetUpdateRect(window, &r, FALSE));
    expect_rect(r, {5, 6, 50, 35}, "bounds of two rectangles");
    RECT part{5, 6, 10, 12};
    ValidateRect(window, &part);
    EXPECT_TRUE(GetUpdateRect(window, &r, FALSE));
    expect_rect(r, b, "after validating one of them");
    expect_no_messages("GetUpdateRect(FALSE) sends nothing");
}

// A region made of up to two rectangles; empty rectangles add nothing.
HRGN region_of(const RECT (&rects)[2]) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
    }
    return region;
}

// InvalidateRgn adds its region, in client coordinates and cut to the client
// area, and GetUpdateRgn hands the update region back with its type.
TEST_F(Paint, InvalidateRgnThenGetUpdateRgn) {
    RECT client;
    GetClientRect(window, &client);
    const LONG right = client.right, bottom = client.bottom;
    ASSERT_GT(right, 60);
    ASSERT_GT(bottom, 50);
    const struct {
        const char* what;
        RECT invalid[2];
        RECT expected[2];
        int type;
    } CASES[] = {
        {"one rectangle", {{10, 10, 30, 40}, {}}, {{10, 10, 30, 40}, {}}, SIMPLEREGION},
        {"two apart",
         {{5, 5, 15, 15}, {40, 30, 60, 50}},
         {{5, 5, 15, 15}, {40, 30, 60, 50}},
         COMPLEXREGION},
        {"two that make one",
         {{0, 0, 20, 10}, {0, 10, 20, 30}},
         {{0, 0, 20, 30}, {}},
         SIMPLEREGION},
        {"cut to the client area",
         {{-10, -10, 20, 20}, {right - 5, bottom - 5, 900, 900}},
         {{0, 0, 20, 20}, {right - 5, bottom - 5, right, bottom}},
         COMPLEXREGION},
        {"wholly outside", {{-30, -30, -5, -5}, {}}, {{}, {}}, NULLREGION},
        {"empty", {{}, {}}, {{}, {}}, NULLREGION},
    };
    HRGN update = CreateRectRgn(1, 1, 2, 2);
    for (const auto& c : CASES) {
        ValidateRect(window, nullptr);
        HRGN invalid = region_of(c.invalid);
        EXPECT_TRUE(InvalidateRgn(window, invalid, FALSE)) << c.what;
        DeleteObject(invalid);
        EXPECT_EQ(GetUpdateRgn(window, update, FALSE), c.type) << c.what;
        HRGN expected = region_of(c.expected);
        EXPECT_TRUE(EqualRgn(update, expected)) << c.what;
        RECT box, expected_box;
        GetRgnBox(expected, &expected_box);
        EXPECT_EQ(GetUpdateRect(window, &box, FALSE), c.type != NULLREGION) << c.what;
        expect_rect(box, expected_box, c.what);
        DeleteObject(expected);
    }
    ValidateRect(window, nullptr);
    EXPECT_TRUE(InvalidateRgn(window, nullptr, FALSE));
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), SIMPLEREGION);
    HRGN whole = CreateRectRgnIndirect(&client);
    EXPECT_TRUE(EqualRgn(update, whole)) << "no region: the whole client area";
    DeleteObject(whole);
    DeleteObject(update);
    expect_no_messages("InvalidateRgn and GetUpdateRgn(FALSE) send nothing");
}

// Asked to erase, GetUpdateRgn erases a pending background at once, keeps
// the update region, and leaves nothing to erase for the WM_PAINT that follows.
TEST_F(Paint, GetUpdateRgnErasesWhenAsked) {
    HRGN invalid = CreateRectRgn(10, 10, 30, 40);
    InvalidateRgn(window, invalid, TRUE);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(window, update, TRUE), SIMPLEREGION);
    const ExpectedMessage ERASED[] = {{WM_ERASEBKGND, MSG_ONLY, 0, 0, MAIN}};
    expect_sequence(ERASED, "GetUpdateRgn(TRUE) erases before it returns");
    EXPECT_TRUE(EqualRgn(update, invalid)) << "erasing does not validate";
    EXPECT_EQ(GetUpdateRgn(window, update, TRUE), SIMPLEREGION);
    expect_no_messages("erased once");
    UpdateWindow(window);
    expect_sequence(UPDATE_WITHOUT_ERASE, "WM_PAINT after the erase");
    EXPECT_EQ(GetUpdateRgn(window, update, TRUE), NULLREGION);
    DeleteObject(invalid);
    DeleteObject(update);
}

// A parent without WS_CLIPCHILDREN passes the part of the region over a
// child on to the child, in the child's coordinates.
TEST_F(Paint, InvalidateRgnReachesChildren) {
    HWND child = make(SECOND, WS_CHILD | WS_VISIBLE, 50, 40, 40, 30, window);
    settle();
    HRGN invalid = CreateRectRgn(40, 30, 60, 50);
    EXPECT_TRUE(InvalidateRgn(window, invalid, FALSE));
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(child, update, FALSE), SIMPLEREGION);
    HRGN expected = CreateRectRgn(0, 0, 10, 10);
    EXPECT_TRUE(EqualRgn(update, expected));
    DeleteObject(expected);
    DeleteObject(invalid);
    DeleteObject(update);
}

TEST_F(Paint, UpdateRegionCallsRefuseBadHandles) {
    HRGN region = CreateRectRgn(0, 0, 10, 10);
    HWND gone = make(SECOND, WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(gone);
    settle();
    for (HWND bad : {(HWND) nullptr, gone}) {
        SetLastError(0);
        EXPECT_FALSE(InvalidateRgn(bad, region, FALSE)) << bad;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE) << bad;
        EXPECT_EQ(GetUpdateRgn(bad, region, FALSE), ERROR) << bad;
    }
    HRGN deleted = CreateRectRgn(0, 0, 5, 5);
    DeleteObject(deleted);
    EXPECT_EQ(GetUpdateRgn(window, deleted, FALSE), ERROR) << "not a region";
    EXPECT_EQ(GetUpdateRgn(window, nullptr, FALSE), ERROR) << "no region";
    DeleteObject(region);
}

TEST_F(Paint, InvalidationIsClippedToTheClientArea) {
    RECT huge{-50, -50, 1000, 1000};
    InvalidateRect(window, &huge, FALSE);
    RECT r;
    GetUpdateRect(window, &r, FALSE);
    RECT client;
    GetClientRect(window, &client);
    expect_rect(r, client, "clipped to the client area");
}

TEST_F(Paint, WmPaintComesFromTheQueueAfterPostedMessages) {
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 1, 0);
    PostMessageA(window, WM_USER, 2, 0);
    MSG msg;
    UINT order[3] = {};
    for (UINT& m : order) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        m = msg.message;
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(order[0], (UINT)WM_USER);
    EXPECT_EQ(order[1], (UINT)WM_USER);
    EXPECT_EQ(order[2], (UINT)WM_PAINT);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "painted: nothing left";
}

TEST_F(Paint, UnansweredWmPaintComesBack) {
    // WM_PAINT stays "queued" until the update region is empty: removing it
    // without painting does not validate.
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE));
}

TEST_F(Paint, DefWindowProcPaintValidates) {
    HWND plain = make(SECOND, CAPTIONED_POPUP | WS_VISIBLE, 300, 80, 100, 100);
    settle();
    InvalidateRect(plain, nullptr, TRUE);
    UpdateWindow(plain);
    const ExpectedMessage DEFAULT_PAINT[] = {
        {WM_PAINT, MSG_ONLY, 0, 0, SECOND},
        {WM_ERASEBKGND, MSG_ONLY, 0, 0, SECOND},
    };
    expect_sequence(DEFAULT_PAINT, "DefWindowProcA answers WM_PAINT with BeginPaint");
    RECT r;
    EXPECT_FALSE(GetUpdateRect(plain, &r, FALSE));
}

TEST_F(Paint, GetDcIsClippedToTheClientArea) {
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    RECT box;
    EXPECT_NE(GetClipBox(dc, &box), ERROR);
    RECT client;
    GetClientRect(window, &client);
    expect_rect(box, client, "a window's context sees its client area");
    EXPECT_EQ(ReleaseDC(window, dc), 1);
}

TEST_F(Paint, BeginPaintClipsToTheUpdateRegion) {
    RECT box{10, 10, 30, 40};
    InvalidateRect(window, &box, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT clip;
    GetClipBox(dc, &clip);
    expect_rect(clip, box, "clip box inside BeginPaint");
    EndPaint(window, &ps);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(window, &r, FALSE)) << "BeginPaint validated";
}

TEST_F(Paint, EraseUsesTheClassBrush) {
    // The class brush is COLOR_WINDOW + 1, which DefWindowProcA's
    // WM_ERASEBKGND fills the update region with.
    HDC dc = GetDC(window);
    RECT all;
    GetClientRect(window, &all);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
    RECT box{0, 0, 10, 10};
    InvalidateRect(window, &box, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(GetPixel(dc, 5, 5), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0)) << "outside the update region";
    ReleaseDC(window, dc);
}

} // namespace
