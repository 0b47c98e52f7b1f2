// Multiple-document windows: the "MDICLIENT" class, what a frame and its
// document windows do by default, and the client's messages that activate,
// arrange and destroy the documents.
//
// A document window is any child of a client created with WS_EX_MDICHILD.
// The client learns of it from the child's WM_CREATE (passed on to
// DefMDIChildProcA) or, at the latest, from WM_PARENTNOTIFY, and then shows
// and activates it as Windows does at the end of creation. CreateWindowExA
// asks user_mdi_default_placement where such a child goes by default.
#include "platform/user/user_private.h"

#include <algorithm>
#include <math.h>
#include <memory>
#include <string>

namespace {

// The window menu lists at most this many documents.
constexpr size_t LISTED_MAX = 9;

// What a client knows of its documents. Lives from the client's WM_CREATE
// to its WM_NCDESTROY.
struct MdiClient {
    HWND handle;
    HMENU window_menu;          // lists the documents; may be null
    UINT first_id;              // command id of the first document
    HWND active;                // the active document, or null
    std::vector<HWND> children; // in creation order: child i has id first_id + i
    size_t listed;              // items this client added to the window menu
    bool separator_added;       // ... and whether a separator came before them
    bool scrolls;               // created with WS_HSCROLL or WS_VSCROLL
    bool scroll_update_posted;  // MDI_CALC_SCROLL is in the queue
};

// The message with which Windows' MDI client recomputes its scroll bars
// (WM_MDICALCCHILDSCROLL), posted to itself.
constexpr UINT MDI_CALC_SCROLL = 0x003F;

std::vector<std::unique_ptr<MdiClient>>& g_clients = *new std::vector<std::unique_ptr<MdiClient>>;

MdiClient* client_record(HWND client) {
    for (auto& record : g_clients) {
        if (record->handle == client)
            return record.get();
    }
    return nullptr;
}

MdiClient* client_of(HWND child) {
    Window* window = user_window_quiet(child);
    return window != nullptr ? client_record(window->parent) : nullptr;
}

bool is_document(MdiClient* client, HWND child) {
    return std::find(client->children.begin(), client->children.end(), child) !=
           client->children.end();
}

// Documents in z-order, topmost first, optionally only visible ones.
std::vector<HWND> documents_in_z_order(MdiClient* client, bool visible_only) {
    std::vector<HWND> found;
    Window* window = user_window_quiet(client->handle);
    if (window == nullptr)
        return found;
    for (HWND child : window->children) {
        if (is_document(client, child) && (!visible_only || IsWindowVisible(child)))
            found.push_back(child);
    }
    return found;
}

SIZE client_size(MdiClient* client) {
    RECT rect{};
    GetClientRect(client->handle, &rect);
    return {rect.right, rect.bottom};
}

// --- the scroll bars ---

// A client created with scroll bars shows them only while a document
// reaches past its client area: its creation and size changes, and a
// document's creation, destruction, moves and size changes, post
// MDI_CALC_SCROLL, which puts each bar on or takes it off.
void post_scroll_update(MdiClient* client) {
    if (!client->scrolls || client->scroll_update_posted)
        return;
    client->scroll_update_posted = true;
    PostMessageA(client->handle, MDI_CALC_SCROLL, 0, 0);
}

// The rectangle that the visible, not minimised documents cover, in the
// client's coordinates; empty when there are none.
RECT documents_extent(MdiClient* client) {
    RECT extent{};
    for (HWND child : client->children) {
        RECT r;
        if (!IsWindowVisible(child) || IsIconic(child) || !GetWindowRect(child, &r))
            continue;
        MapWindowPoints(nullptr, client->handle, (POINT*)&r, 2);
        UnionRect(&extent, &extent, &r);
    }
    return extent;
}

void update_scroll_bars(MdiClient* client) {
    client->scroll_update_posted = false;
    LONG style = GetWindowLongA(client->handle, GWL_STYLE);
    SIZE size = client_size(client);
    size.cx += (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    size.cy += (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    RECT extent = documents_extent(client);
    bool across = !IsRectEmpty(&extent) && (extent.left < 0 || extent.right > size.cx);
    bool down = !IsRectEmpty(&extent) && (extent.top < 0 || extent.bottom > size.cy);
    LONG wanted =
        (style & ~(WS_HSCROLL | WS_VSCROLL)) | (across ? WS_HSCROLL : 0) | (down ? WS_VSCROLL : 0);
    if (wanted == style)
        return;
    SetWindowLongA(client->handle, GWL_STYLE, wanted);
    SetWindowPos(client->handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// --- the window menu ---

void unlist_documents(MdiClient* client) {
    HMENU menu = client->window_menu;
    for (size_t i = 0; i < client->listed; ++i)
        RemoveMenu(menu, client->first_id + (UINT)i, MF_BYCOMMAND);
    if (client->separator_added && GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, (UINT)GetMenuItemCount(menu) - 1, MF_BYPOSITION);
    client->listed = 0;
    client->separator_added = false;
}

// Lists the documents as "&1 title", "&2 title"... after a separator, and
// gives each document the id of its item.
void list_documents(MdiClient* client) {
    for (size_t i = 0; i < client->children.size(); ++i) {
        if (Window* child = user_window_quiet(client->children[i]))
            child->id = client->first_id + i;
    }
    if (client->window_menu == nullptr)
        return;
    unlist_documents(client);
    if (client->children.empty())
        return;
    if (GetMenuItemCount(client->window_menu) > 0)
        client->separator_added = AppendMenuA(client->window_menu, MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < client->children.size() && i < LISTED_MAX; ++i) {
        Window* child = user_window_quiet(client->children[i]);
        std::string text = "&" + std::to_string(i + 1) + " " + (child ? child->text : "");
        if (AppendMenuA(client->window_menu, MF_STRING, client->first_id + i, text.c_str()))
            ++client->listed;
    }
}

// --- activation ---

void deactivate(HWND old, HWND next) {
    if (old == nullptr || user_window_quiet(old) == nullptr)
        return;
    user_send(old, WM_NCACTIVATE, FALSE, 0);
    user_send(old, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)next);
}

// Makes `child` the active document (null: none): the old one hears it lost
// the activation, the new one is raised, gets the focus and hears of it.
void activate(MdiClient* client, HWND child) {
    HWND old = client->active;
    if (old == child)
        return;
    client->active = child;
    deactivate(old, child);
    if (child == nullptr || user_window_quiet(child) == nullptr)
        return;
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    user_send(child, WM_NCACTIVATE, TRUE, 0);
    // The focus passes through the client, whose WM_SETFOCUS hands it on to
    // the active document, as on Windows.
    if (client->active == child)
        SetFocus(client->handle);
    if (client->active == child && GetFocus() != child && IsWindow(child))
        SetFocus(child);
    if (client->active == child)
        user_send(child, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)child);
}

// The visible document under `from` in z-order or, going back, the one
// above it, around the ends.
HWND next_document(MdiClient* client, HWND from, bool previous) {
    std::vector<HWND> order = documents_in_z_order(client, true);
    auto at = std::find(order.begin(), order.end(), from);
    size_t n = order.size(), index = at != order.end() ? (size_t)(at - order.begin()) : 0;
    for (size_t k = 1; k < n; ++k) {
        HWND candidate = order[(previous ? index + n - k : index + k) % n];
        if (candidate != from)
            return candidate;
    }
    return nullptr;
}

// --- documents coming and going ---

// The step of cascading: a caption bar without its border line, and a
// sizing frame.
int cascade_step() {
    return GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYBORDER) +
           GetSystemMetrics(SM_CYFRAME);
}

// Where a document asked to be placed by default goes: down the client a
// step at a time, as big as the staggering leaves room for.
RECT default_document_rect(MdiClient* client, size_t index) {
    SIZE size = client_size(client);
    int step = cascade_step();
    int stagger = std::max(size.cy / (3 * step), 1);
    int offset = step * (int)(index % (size_t)(stagger + 1));
    int width = std::max<int>(size.cx - stagger * step, 0);
    int height = std::max<int>(size.cy - stagger * step, 0);
    return {offset, offset, offset + width, offset + height};
}

void adopt(MdiClient* client, HWND child) {
    if (is_document(client, child))
        return;
    client->children.push_back(child);
    list_documents(client);
}

// The child's WM_CREATE: it joins the list and gets its id before its
// parent hears of it.
void adopt_new_document(Window* child) {
    MdiClient* client = client_record(child->parent);
    if (client != nullptr && (child->ex_style & WS_EX_MDICHILD))
        adopt(client, child->handle);
}

// The end of a document's creation: documents are always shown, and the
// new one becomes the active one.
void document_created(MdiClient* client, HWND child) {
    Window* window = user_window_quiet(child);
    if (window == nullptr || !(window->ex_style & WS_EX_MDICHILD))
        return;
    adopt(client, child);
    ShowWindow(child, SW_SHOW);
    if (!IsWindow(child))
        return;
    user_send(client->handle, WM_MDIREFRESHMENU, 0, 0);
    post_scroll_update(client);
    if (IsWindow(child))
        user_send(child, WM_CHILDACTIVATE, 0, 0);
}

void forget(MdiClient* client, HWND child) {
    auto& list = client->children;
    list.erase(std::remove(list.begin(), list.end(), child), list.end());
    list_documents(client);
}

// The active document gives the activation to the next one, or, when it is
// the last, is hidden and leaves the focus to the client.
void hand_over_activation(MdiClient* client, HWND leaving) {
    if (client->active != leaving)
        return;
    HWND next = next_document(client, leaving, false);
    if (next != nullptr) {
        user_send(next, WM_CHILDACTIVATE, 0, 0);
        return;
    }
    ShowWindow(leaving, SW_HIDE);
    client->active = nullptr;
    deactivate(leaving, nullptr);
    if (IsWindow(client->handle))
        SetFocus(client->handle);
}

LRESULT destroy_document(MdiClient* client, HWND child) {
    if (!is_document(client, child))
        return 0;
    hand_over_activation(client, child);
    forget(client, child);
    user_send(client->handle, WM_MDIREFRESHMENU, 0, 0);
    post_scroll_update(client);
    DestroyWindow(child);
    return 0;
}

// --- arranging ---

constexpr UINT ARRANGE_FLAGS = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// Visible documents that are not minimised, topmost first.
std::vector<HWND> arrangeable(MdiClient* client, bool skip_disabled) {
    std::vector<HWND> found;
    for (HWND child : documents_in_z_order(client, true)) {
        if (!IsIconic(child) && !(skip_disabled && !IsWindowEnabled(child)))
            found.push_back(child);
    }
    return found;
}

// Cascades from the bottom document at the client's corner to the topmost
// one, each a caption and a frame further down and right.
LRESULT cascade(MdiClient* client, WPARAM how) {
    std::vector<HWND> order = arrangeable(client, how & MDITILE_SKIPDISABLED);
    size_t n = order.size();
    for (size_t i = 0; i < n; ++i) {
        RECT r = default_document_rect(client, i);
        SetWindowPos(order[n - 1 - i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     ARRANGE_FLAGS);
    }
    return TRUE;
}

// Tiles in a grid, topmost document first: side by side (vertical tiling)
// or one under another (horizontal) up to three, in more rows or columns
// beyond that, the last ones taking the documents that do not divide evenly.
void tile_grid(const std::vector<HWND>& order, SIZE area, bool horizontal) {
    int n = (int)order.size();
    int lines = n <= 3 ? 1 : (int)sqrt((double)n);
    int across = n / lines;
    int along = horizontal ? area.cx : area.cy;
    int span = horizontal ? area.cy : area.cx;
    size_t next = 0;
    for (int line = 0; line < lines; ++line) {
        int count = across + (line >= lines - n % lines ? 1 : 0);
        int width = span / count, depth = along / lines;
        for (int i = 0; i < count && next < order.size(); ++i, ++next) {
            RECT r{i * width, line * depth, (i + 1) * width, (line + 1) * depth};
            if (horizontal)
                r = {line * depth, i * width, (line + 1) * depth, (i + 1) * width};
            SetWindowPos(order[next], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         ARRANGE_FLAGS);
        }
    }
}

LRESULT tile(MdiClient* client, WPARAM how) {
    std::vector<HWND> order = arrangeable(client, how & MDITILE_SKIPDISABLED);
    if (!order.empty())
        tile_grid(order, client_size(client), how & MDITILE_HORIZONTAL);
    return TRUE;
}

// Minimised documents line up along the bottom of the client, left to right.
LRESULT arrange_icons(MdiClient* client) {
    SIZE size = client_size(client);
    int width = GetSystemMetrics(SM_CXMINIMIZED), height = GetSystemMetrics(SM_CYMINIMIZED);
    int x = 0, y = size.cy - height;
    for (HWND child : client->children) {
        if (!IsIconic(child))
            continue;
        if (x > 0 && x + width > size.cx) {
            x = 0;
            y -= height;
        }
        SetWindowPos(child, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += width;
    }
    return TRUE;
}

// --- the client's window procedure ---

LRESULT on_client_create(HWND handle, const CREATESTRUCTA* cs) {
    auto record = std::make_unique<MdiClient>();
    record->handle = handle;
    auto* info = cs != nullptr ? (const CLIENTCREATESTRUCT*)cs->lpCreateParams : nullptr;
    if (info != nullptr) {
        record->window_menu = (HMENU)info->hWindowMenu;
        record->first_id = info->idFirstChild;
    }
    record->scrolls = cs != nullptr && (cs->style & (WS_HSCROLL | WS_VSCROLL)) != 0;
    MdiClient* client = record.get();
    g_clients.push_back(std::move(record));
    post_scroll_update(client);
    return 0;
}

void on_client_gone(HWND handle) {
    for (auto it = g_clients.begin(); it != g_clients.end(); ++it) {
        if ((*it)->handle == handle) {
            g_clients.erase(it);
            return;
        }
    }
}

LRESULT get_active(MdiClient* client, LPARAM maximized) {
    if (maximized != 0)
        *(BOOL*)maximized = FALSE;
    return (LRESULT)client->active;
}

// Forward, the document left sinks to the bottom so that repeating it
// visits every document.
LRESULT activate_next(MdiClient* client, HWND from, bool previous) {
    from = from != nullptr ? from : client->active;
    HWND next = next_document(client, from, previous);
    if (next == nullptr)
        return 0;
    user_send(next, WM_CHILDACTIVATE, 0, 0);
    if (!previous && IsWindow(from))
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return 0;
}

LRESULT create_document(HWND client, const MDICREATESTRUCTA* info) {
    if (info == nullptr)
        return 0;
    return (LRESULT)CreateWindowExA(WS_EX_MDICHILD, info->szClass, info->szTitle,
                                    info->style | WS_CHILD | WS_CLIPSIBLINGS, info->x, info->y,
                                    info->cx, info->cy, client, nullptr, (HINSTANCE)info->hOwner,
                                    (LPVOID)info->lParam);
}

LRESULT client_message(MdiClient* client, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_MDIACTIVATE:
        if (is_document(client, (HWND)wparam) && client->active != (HWND)wparam)
            user_send((HWND)wparam, WM_CHILDACTIVATE, 0, 0);
        return 0;
    case WM_MDIGETACTIVE:
        return get_active(client, lparam);
    case WM_MDIDESTROY:
        return destroy_document(client, (HWND)wparam);
    case WM_MDINEXT:
        return activate_next(client, (HWND)wparam, lparam != 0);
    case WM_MDICASCADE:
        return cascade(client, wparam);
    case WM_MDITILE:
        return tile(client, wparam);
    case WM_MDIICONARRANGE:
        return arrange_icons(client);
    case WM_MDIREFRESHMENU:
        list_documents(client);
        return 0;
    case WM_MDICREATE:
        return create_document(client->handle, (const MDICREATESTRUCTA*)lparam);
    }
    return -1;
}

LRESULT CALLBACK mdi_client_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE)
        return on_client_create(handle, (const CREATESTRUCTA*)lparam);
    if (message == WM_NCDESTROY)
        on_client_gone(handle);
    MdiClient* client = client_record(handle);
    if (client == nullptr)
        return DefWindowProcA(handle, message, wparam, lparam);
    if (message >= WM_MDICREATE && message <= WM_MDIREFRESHMENU) {
        LRESULT result = client_message(client, message, wparam, lparam);
        if (result != -1)
            return result;
    }
    if (message == WM_PARENTNOTIFY && LOWORD(wparam) == WM_CREATE)
        document_created(client, (HWND)lparam);
    if (message == MDI_CALC_SCROLL) {
        update_scroll_bars(client);
        return 0;
    }
    if (message == WM_SIZE)
        post_scroll_update(client);
    if (message == WM_SETFOCUS && client->active != nullptr)
        SetFocus(client->active);
    return DefWindowProcA(handle, message, wparam, lparam);
}

// --- documents' default handling ---

void minimize_document(HWND child) {
    DefWindowProcA(child, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    MdiClient* client = client_of(child);
    if (client != nullptr && IsIconic(child)) {
        arrange_icons(client);
        user_send(child, WM_CHILDACTIVATE, 0, 0);
    }
}

LRESULT document_syscommand(HWND child, WPARAM command, LPARAM lparam) {
    MdiClient* client = client_of(child);
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        minimize_document(child);
        return 0;
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
        if (client != nullptr)
            activate_next(client, child, (command & 0xFFF0) == SC_PREVWINDOW);
        return 0;
    }
    return DefWindowProcA(child, WM_SYSCOMMAND, command, lparam);
}

void document_destroyed(HWND child) {
    MdiClient* client = client_of(child);
    if (client == nullptr || !is_document(client, child))
        return;
    Window* client_window = user_window_quiet(client->handle);
    if (client_window != nullptr && !client_window->destroying)
        hand_over_activation(client, child);
    if (client->active == child)
        client->active = nullptr;
    forget(client, child);
    post_scroll_update(client);
}

} // namespace

// For CreateWindowExA: where a document that asks for CW_USEDEFAULT goes,
// the next place down the client and the size that cascading gives.
void user_mdi_default_placement(HWND parent, int* x, int* y, int* width, int* height) {
    MdiClient* client = client_record(parent);
    if (client == nullptr)
        return;
    RECT rect = default_document_rect(client, client->children.size());
    if (*x == CW_USEDEFAULT) {
        *x = rect.left;
        *y = rect.top;
    }
    if (*width == CW_USEDEFAULT) {
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
    }
}

void user_register_system_classes() {
    if (user_find_class("MDIClient", nullptr) != nullptr)
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mdi_client_proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "MDIClient";
    RegisterClassExA(&wc);
}

LRESULT WINAPI DefFrameProcA(HWND frame, HWND client_handle, UINT message, WPARAM wparam,
                             LPARAM lparam) {
    MdiClient* client = client_record(client_handle);
    if (client == nullptr)
        return DefWindowProcA(frame, message, wparam, lparam);
    switch (message) {
    case WM_COMMAND: {
        UINT index = LOWORD(wparam) - client->first_id;
        if (LOWORD(wparam) >= client->first_id && index < client->children.size())
            user_send(client_handle, WM_MDIACTIVATE, (WPARAM)client->children[index], 0);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(client_handle, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(client_handle);
        return 0;
    }
    return DefWindowProcA(frame, message, wparam, lparam);
}

LRESULT WINAPI DefMDIChildProcA(HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* window = user_window(child);
    if (window == nullptr)
        return 0;
    MdiClient* client = client_record(window->parent);
    switch (message) {
    case WM_CREATE:
        adopt_new_document(window);
        break;
    case WM_CHILDACTIVATE:
        if (client != nullptr && is_document(client, child))
            activate(client, child);
        return 0;
    case WM_SETFOCUS:
        if (client != nullptr && client->active != child && is_document(client, child))
            activate(client, child);
        return 0;
    case WM_CLOSE:
        if (client != nullptr)
            user_send(client->handle, WM_MDIDESTROY, (WPARAM)child, 0);
        return 0;
    case WM_SYSCOMMAND:
        return document_syscommand(child, wparam, lparam);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(child, message, wparam, lparam);
        if (client != nullptr)
            list_documents(client);
        return result;
    }
    case WM_DESTROY:
        document_destroyed(child);
        break;
    case WM_MOVE:
    case WM_SIZE:
        if (client != nullptr && is_document(client, child))
            post_scroll_update(client);
        break;
    }
    return DefWindowProcA(child, message, wparam, lparam);
}
