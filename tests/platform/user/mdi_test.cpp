// Multiple-document windows: a frame, its MDI client and documents created
// with WS_EX_MDICHILD. What creation, activation and destruction send, where
// cascading and tiling put the documents, and the window menu's list.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

#include <initializer_list>
#include <string>

namespace {

constexpr UINT FIRST_DOCUMENT = 500;
constexpr UINT CMD_CASCADE = 100;
constexpr DWORD DOCUMENT_STYLE = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;

// Roles of the documents, after the frame (MAIN) and the client (SECOND).
constexpr int DOC1 = CHILD;
constexpr int DOC2 = CHILD2;
constexpr int DOC3 = OWNED;

HWND g_client = nullptr;
WNDPROC g_client_proc = nullptr;

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    return DefFrameProcA(window, g_client, message, wparam, lparam);
}

LRESULT CALLBACK document_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    return DefMDIChildProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK client_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    log_record(window, message, wparam, lparam);
    return CallWindowProcA(g_client_proc, window, message, wparam, lparam);
}

// Keeps only the messages of these kinds in the log: painting and frame
// recalculation around them differ between versions and are not the point,
// and neither is how far up WM_PARENTNOTIFY travels beyond the client.
void keep_only(std::initializer_list<UINT> kinds, HWND frame) {
    std::vector<LoggedMessage> all = log_messages();
    log_flush();
    for (const LoggedMessage& entry : all) {
        if (entry.message == WM_PARENTNOTIFY && entry.window == frame)
            continue;
        for (UINT kind : kinds) {
            if (entry.message == kind)
                log_record(entry.window, entry.message, entry.wparam, entry.lparam);
        }
    }
}

void keep_activation(HWND frame) {
    keep_only({WM_CHILDACTIVATE, WM_NCACTIVATE, WM_MDIACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
               WM_MDIREFRESHMENU, WM_SHOWWINDOW, WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY},
              frame);
}

RECT rect_in_parent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), (POINT*)&rect, 2);
    return rect;
}

// A caption bar without its border line, and a sizing frame.
int step() {
    return GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYBORDER) +
           GetSystemMetrics(SM_CYFRAME);
}

std::string menu_text(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class Mdi : public UserTest {
  protected:
    HWND frame = nullptr;
    HWND client = nullptr;
    HMENU window_menu = nullptr;
    RECT area{}; // the client's client area

    void SetUp() override {
        UserTest::SetUp();
        register_test_class("zandrel_mdi_frame", frame_proc);
        register_test_class("zandrel_mdi_document", document_proc);
        HMENU bar = CreateMenu();
        window_menu = CreatePopupMenu();
        AppendMenuA(window_menu, MF_STRING, CMD_CASCADE, "&Cascade");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)window_menu, "&Window");
        frame = CreateWindowExA(0, "zandrel_mdi_frame", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                50, 50, 500, 400, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame, nullptr);
        windows_.push_back(frame);
        log_watch(frame, MAIN);
        CLIENTCREATESTRUCT info{window_menu, FIRST_DOCUMENT};
        client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                 0, 0, 0, 0, frame, (HMENU)0xCAC, GetModuleHandleA(nullptr), &info);
        ASSERT_NE(client, nullptr);
        g_client = client;
        g_client_proc = (WNDPROC)SetWindowLongPtrA(client, GWLP_WNDPROC, (LONG_PTR)client_proc);
        log_watch(client, SECOND);
        // The frame's default WM_SIZE lays the client over its client area.
        SetWindowPos(frame, nullptr, 0, 0, 520, 410, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(client, &area);
        settle();
    }

    void TearDown() override {
        UserTest::TearDown();
        g_client = nullptr;
    }

    HWND document(int role, const char* title, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
                  int width = CW_USEDEFAULT, int height = CW_USEDEFAULT) {
        HWND window =
            CreateWindowExA(WS_EX_MDICHILD, "zandrel_mdi_document", title, DOCUMENT_STYLE, x, y,
                            width, height, client, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        log_watch(window, role);
        return window;
    }

    HWND active() { return (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0); }

    // The size a document gets by default, and cascading gives every one.
    RECT staggered(int index) {
        int stagger = area.bottom / (3 * step());
        int offset = step() * index;
        return {offset, offset, offset + area.right - stagger * step(),
                offset + area.bottom - stagger * step()};
    }
};

TEST_F(Mdi, ClientFillsTheFrame) {
    RECT frame_area;
    GetClientRect(frame, &frame_area);
    expect_rect(area, frame_area, "the frame's WM_SIZE sized the client");
    char name[32] = "";
    GetClassNameA(client, name, sizeof name);
    EXPECT_STREQ(name, "MDIClient");
    EXPECT_EQ(active(), nullptr) << "no documents yet";
}

// The end of a first document's creation: it is shown, the menu refreshed,
// and it is activated; the focus goes from the frame through the client.
const ExpectedMessage CREATE_FIRST[] = {
    {WM_PARENTNOTIFY, CHECK_W, MAKEWPARAM(WM_CREATE, FIRST_DOCUMENT), 0, SECOND},
    {WM_SHOWWINDOW, CHECK_W, TRUE, 0, DOC1},
    {WM_MDIREFRESHMENU, MSG_ONLY, 0, 0, SECOND},
    {WM_CHILDACTIVATE, MSG_ONLY, 0, 0, DOC1},
    {WM_NCACTIVATE, CHECK_W, TRUE, 0, DOC1},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, MAIN},
    {WM_SETFOCUS, MSG_ONLY, 0, 0, SECOND},
    {WM_KILLFOCUS, MSG_ONLY, 0, 0, SECOND},
    {WM_SETFOCUS, MSG_ONLY, 0, 0, DOC1},
    {WM_MDIACTIVATE, CHECK_W, 0, 0, DOC1},
};

TEST_F(Mdi, CreatingADocumentShowsAndActivatesIt) {
    HWND one = document(DOC1, "One");
    keep_activation(frame);
    expect_sequence(CREATE_FIRST, "creating the first document");
    EXPECT_EQ(active(), one);
    EXPECT_EQ(GetFocus(), one);
    EXPECT_EQ(GetWindowLongPtrA(one, GWLP_ID), (LONG_PTR)FIRST_DOCUMENT);
    HWND two = document(DOC2, "Two", 10, 20, 200, 100);
    EXPECT_EQ(GetWindowLongPtrA(two, GWLP_ID), (LONG_PTR)FIRST_DOCUMENT + 1);
    expect_rect(rect_in_parent(two), {10, 20, 210, 120}, "a place of its own");
    EXPECT_EQ(active(), two) << "the newest document is the active one";
    EXPECT_EQ(GetWindow(client, GW_CHILD), two) << "and on top";
}

// CW_USEDEFAULT places each new document a step further down the client,
// and sizes it as cascading would.
TEST_F(Mdi, DefaultPlaceAndSize) {
    HWND one = document(DOC1, "One");
    expect_rect(rect_in_parent(one), staggered(0), "the default place and size");
    HWND two = document(DOC2, "Two", CW_USEDEFAULT, CW_USEDEFAULT, 200, 100);
    RECT second = staggered(1);
    expect_rect(rect_in_parent(two), {second.left, second.top, second.left + 200, second.top + 100},
                "the next default place, with a size of its own");
}

TEST_F(Mdi, DocumentsAreListedInTheWindowMenu) {
    document(DOC1, "One");
    document(DOC2, "Two");
    ASSERT_EQ(GetMenuItemCount(window_menu), 4) << "the program's item, a separator, two";
    EXPECT_EQ(menu_text(window_menu, 0), "&Cascade");
    EXPECT_EQ(GetMenuItemID(window_menu, 1), 0u) << "separator";
    EXPECT_EQ(menu_text(window_menu, 2), "&1 One");
    EXPECT_EQ(GetMenuItemID(window_menu, 2), FIRST_DOCUMENT);
    EXPECT_EQ(menu_text(window_menu, 3), "&2 Two");
    EXPECT_EQ(GetMenuItemID(window_menu, 3), FIRST_DOCUMENT + 1);
}

// Activating a sibling: the old one is told first, then the new one gets
// the focus through the client and is told last; both hear old and new.
TEST_F(Mdi, ActivatingASibling) {
    HWND one = document(DOC1, "One");
    HWND two = document(DOC2, "Two");
    log_flush();
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)one, 0);
    keep_only({WM_CHILDACTIVATE, WM_NCACTIVATE, WM_MDIACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}, frame);
    const ExpectedMessage ACTIVATE_ONE[] = {
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)one, 0, SECOND},
        {WM_CHILDACTIVATE, MSG_ONLY, 0, 0, DOC1},
        {WM_NCACTIVATE, CHECK_W, FALSE, 0, DOC2},
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)two, (LPARAM)one, DOC2},
        {WM_NCACTIVATE, CHECK_W, TRUE, 0, DOC1},
        {WM_KILLFOCUS, CHECK_W, (WPARAM)client, 0, DOC2},
        {WM_SETFOCUS, CHECK_W, (WPARAM)two, 0, SECOND},
        {WM_KILLFOCUS, CHECK_W, (WPARAM)one, 0, SECOND},
        {WM_SETFOCUS, CHECK_W, (WPARAM)client, 0, DOC1},
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)two, (LPARAM)one, DOC1},
    };
    expect_sequence(ACTIVATE_ONE, "WM_MDIACTIVATE of the other document");
    EXPECT_EQ(active(), one);
    EXPECT_EQ(GetWindow(client, GW_CHILD), one) << "raised";
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)one, 0);
    keep_only({WM_CHILDACTIVATE, WM_NCACTIVATE, WM_MDIACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}, frame);
    const ExpectedMessage AGAIN[] = {
        {WM_MDIACTIVATE, CHECK_W, (WPARAM)one, 0, SECOND},
    };
    expect_sequence(AGAIN, "activating the active document changes nothing");
}

TEST_F(Mdi, WindowMenuCommandsActivateDocuments) {
    HWND one = document(DOC1, "One");
    document(DOC2, "Two");
    SendMessageA(frame, WM_COMMAND, FIRST_DOCUMENT, 0);
    EXPECT_EQ(active(), one);
    SendMessageA(frame, WM_COMMAND, CMD_CASCADE, 0);
    EXPECT_EQ(active(), one) << "other commands are the program's";
}

TEST_F(Mdi, CascadeStaggersFromTheBottomDocument) {
    HWND one = document(DOC1, "One", 5, 5, 100, 100);
    HWND two = document(DOC2, "Two", 50, 5, 100, 100);
    HWND three = document(DOC3, "Three", 90, 5, 100, 100);
    LRESULT result = SendMessageA(client, WM_MDICASCADE, 0, 0);
    // Windows documents TRUE for success; Wine returns 0.
    if (!running_under_wine()) {
        EXPECT_TRUE(result);
    }
    expect_rect(rect_in_parent(one), staggered(0), "the bottom document at the corner");
    expect_rect(rect_in_parent(two), staggered(1), "the next one a step further");
    expect_rect(rect_in_parent(three), staggered(2), "the active one on top, furthest");
    EXPECT_EQ(active(), three) << "cascading does not change the active document";
}

TEST_F(Mdi, TileSplitsTheClientTopmostFirst) {
    HWND one = document(DOC1, "One");
    HWND two = document(DOC2, "Two");
    HWND three = document(DOC3, "Three");
    SendMessageA(client, WM_MDITILE, MDITILE_VERTICAL, 0);
    int w = area.right / 3;
    expect_rect(rect_in_parent(three), {0, 0, w, area.bottom}, "vertical: the topmost left");
    expect_rect(rect_in_parent(two), {w, 0, 2 * w, area.bottom}, "vertical: the next");
    expect_rect(rect_in_parent(one), {2 * w, 0, 3 * w, area.bottom}, "vertical: the bottom one");
    SendMessageA(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    int h = area.bottom / 3;
    expect_rect(rect_in_parent(three), {0, 0, area.right, h}, "horizontal: the topmost above");
    expect_rect(rect_in_parent(two), {0, h, area.right, 2 * h}, "horizontal: the next");
    expect_rect(rect_in_parent(one), {0, 2 * h, area.right, 3 * h}, "horizontal: the bottom");
    EXPECT_EQ(active(), three);
}

// Destroying the active document hands the activation to the next one in
// z-order first; the menu loses its item before the window goes.
TEST_F(Mdi, DestroyingTheActiveDocument) {
    HWND one = document(DOC1, "One");
    HWND two = document(DOC2, "Two");
    HWND three = document(DOC3, "Three");
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)two, 0);
    log_flush();
    SendMessageA(client, WM_MDIDESTROY, (WPARAM)two, 0);
    // How DestroyWindow itself hides the window is not the point here.
    keep_only({WM_CHILDACTIVATE, WM_NCACTIVATE, WM_MDIACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
               WM_MDIREFRESHMENU, WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY},
              frame);
    const ExpectedMessage DESTROY_ACTIVE[] = {
        {WM_CHILDACTIVATE, MSG_ONLY, 0, 0, DOC3},
        {WM_NCACTIVATE, CHECK_W, FALSE, 0, DOC2},
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)two, (LPARAM)three, DOC2},
        {WM_NCACTIVATE, CHECK_W, TRUE, 0, DOC3},
        {WM_KILLFOCUS, MSG_ONLY, 0, 0, DOC2},
        {WM_SETFOCUS, MSG_ONLY, 0, 0, SECOND},
        {WM_KILLFOCUS, MSG_ONLY, 0, 0, SECOND},
        {WM_SETFOCUS, MSG_ONLY, 0, 0, DOC3},
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)two, (LPARAM)three, DOC3},
        {WM_MDIREFRESHMENU, MSG_ONLY, 0, 0, SECOND},
        {WM_PARENTNOTIFY, CHECK_W, MAKEWPARAM(WM_DESTROY, FIRST_DOCUMENT + 1), 0, SECOND},
        {WM_DESTROY, MSG_ONLY, 0, 0, DOC2},
        {WM_NCDESTROY, MSG_ONLY, 0, 0, DOC2},
    };
    expect_sequence(DESTROY_ACTIVE, "WM_MDIDESTROY of the active document");
    EXPECT_FALSE(IsWindow(two));
    EXPECT_EQ(active(), three);
    ASSERT_EQ(GetMenuItemCount(window_menu), 4);
    EXPECT_EQ(menu_text(window_menu, 3), "&2 Three") << "the list closes the gap";
    EXPECT_EQ(GetWindowLongPtrA(three, GWLP_ID), (LONG_PTR)FIRST_DOCUMENT + 1) << "renumbered";
    DestroyWindow(one);
    EXPECT_EQ(active(), three) << "destroying an inactive document leaves the active one";
    EXPECT_EQ(GetMenuItemCount(window_menu), 3);
}

// Closing the last document hides it (the client, getting the focus, hands
// it straight back to the still active document), deactivates it, and
// leaves the focus with the client and no document active.
TEST_F(Mdi, ClosingTheLastDocument) {
    HWND one = document(DOC1, "One");
    log_flush();
    SendMessageA(one, WM_SYSCOMMAND, SC_CLOSE, 0);
    keep_activation(frame);
    const ExpectedMessage CLOSE_LAST[] = {
        {WM_SHOWWINDOW, CHECK_W, FALSE, 0, DOC1},
        {WM_KILLFOCUS, CHECK_W, (WPARAM)client, 0, DOC1},
        {WM_SETFOCUS, CHECK_W, (WPARAM)one, 0, SECOND},
        {WM_KILLFOCUS, CHECK_W, (WPARAM)one, 0, SECOND},
        {WM_SETFOCUS, CHECK_W, (WPARAM)client, 0, DOC1},
        {WM_NCACTIVATE, CHECK_W, FALSE, 0, DOC1},
        {WM_MDIACTIVATE, CHECK_WL, (WPARAM)one, 0, DOC1},
        {WM_KILLFOCUS, CHECK_W, (WPARAM)client, 0, DOC1},
        {WM_SETFOCUS, CHECK_W, (WPARAM)one, 0, SECOND},
        {WM_MDIREFRESHMENU, MSG_ONLY, 0, 0, SECOND},
        {WM_PARENTNOTIFY, CHECK_W, MAKEWPARAM(WM_DESTROY, FIRST_DOCUMENT), 0, SECOND},
        {WM_DESTROY, MSG_ONLY, 0, 0, DOC1},
        {WM_NCDESTROY, MSG_ONLY, 0, 0, DOC1},
    };
    expect_sequence(CLOSE_LAST, "SC_CLOSE of the only document");
    EXPECT_FALSE(IsWindow(one));
    EXPECT_EQ(active(), nullptr);
    EXPECT_EQ(GetFocus(), client);
    EXPECT_EQ(GetMenuItemCount(window_menu), 1) << "the separator goes with the list";
}

TEST_F(Mdi, MinimisedDocumentsLineUpAtTheBottom) {
    HWND one = document(DOC1, "One");
    SendMessageA(one, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(one));
    int width = GetSystemMetrics(SM_CXMINIMIZED), height = GetSystemMetrics(SM_CYMINIMIZED);
    RECT icon{0, area.bottom - height, width, area.bottom};
    expect_rect(rect_in_parent(one), icon, "the first icon place of the client");
    EXPECT_EQ(active(), one) << "a minimised document stays active";
    SetWindowPos(one, nullptr, 100, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(client, WM_MDIICONARRANGE, 0, 0);
    expect_rect(rect_in_parent(one), icon, "WM_MDIICONARRANGE puts it back");
}

// Going forward activates the document under the one given (the active
// one by default) and sends that to the bottom; going back brings up the
// one above, around from the bottom.
TEST_F(Mdi, NextAndPreviousDocuments) {
    HWND one = document(DOC1, "One");
    HWND two = document(DOC2, "Two");
    HWND three = document(DOC3, "Three");
    auto bottom = [&] { return GetWindow(GetWindow(client, GW_CHILD), GW_HWNDLAST); };
    SendMessageA(client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(active(), two) << "forward: the one under the active one";
    EXPECT_EQ(bottom(), three) << "the old one went to the bottom";
    SendMessageA(client, WM_MDINEXT, 0, TRUE);
    EXPECT_EQ(active(), three) << "back: the bottom one comes up";
    EXPECT_EQ(bottom(), one) << "the old one stays where it was";
    SendMessageA(client, WM_MDINEXT, (WPARAM)two, 0);
    EXPECT_EQ(active(), one) << "forward from a given document";
    EXPECT_EQ(bottom(), two);
}

// A client made with scroll bars keeps them only while a document reaches
// past its client area: once the messages it posts to itself are handled,
// the bars it does not need are gone and their room is the client's.
struct ScrollRow {
    const char* what;
    RECT document; // none when empty
    DWORD bars;
};
const ScrollRow SCROLL_ROWS[] = {
    {"no document", {}, 0},
    {"a document inside", {10, 10, 110, 90}, 0},
    {"a document past the right edge", {250, 10, 400, 90}, WS_HSCROLL},
    {"a document past the bottom", {10, 150, 110, 300}, WS_VSCROLL},
};

TEST_F(Mdi, ScrollBarsOnlyWhileADocumentReachesOut) {
    for (const ScrollRow& row : SCROLL_ROWS) {
        CLIENTCREATESTRUCT info{nullptr, FIRST_DOCUMENT};
        HWND scrolling = CreateWindowExA(0, "MDICLIENT", nullptr,
                                         WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 300,
                                         200, frame, nullptr, GetModuleHandleA(nullptr), &info);
        ASSERT_NE(scrolling, nullptr);
        const RECT& d = row.document;
        if (!IsRectEmpty(&d))
            CreateWindowExA(WS_EX_MDICHILD, "zandrel_mdi_document", "doc", DOCUMENT_STYLE, d.left,
                            d.top, d.right - d.left, d.bottom - d.top, scrolling, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
        settle();
        DWORD style = (DWORD)GetWindowLongA(scrolling, GWL_STYLE);
        EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), row.bars) << row.what;
        RECT inside;
        GetClientRect(scrolling, &inside);
        RECT expected{0, 0, 300 - ((row.bars & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                      200 - ((row.bars & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0)};
        expect_rect(inside, expected, row.what);
        DestroyWindow(scrolling);
    }
}

} // namespace
