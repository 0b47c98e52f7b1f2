// What a window carries: its longs and extra bytes, text, properties, and
// its place among other windows.
#include "platform/user/user_private.h"

#include <string.h>
#include <strings.h>

namespace {

bool extra_range(const Window* window, int index, size_t size) {
    if (index >= 0 && (size_t)index + size <= window->extra.size())
        return true;
    SetLastError(ERROR_INVALID_INDEX);
    return false;
}

LONG_PTR read_extra(const Window* window, int index, size_t size) {
    LONG_PTR value = 0;
    if (size == sizeof(LONG)) {
        LONG small;
        memcpy(&small, window->extra.data() + index, sizeof small);
        value = small;
    } else {
        memcpy(&value, window->extra.data() + index, sizeof value);
    }
    return value;
}

void write_extra(Window* window, int index, size_t size, LONG_PTR value) {
    if (size == sizeof(LONG)) {
        LONG small = (LONG)value;
        memcpy(window->extra.data() + index, &small, sizeof small);
    } else {
        memcpy(window->extra.data() + index, &value, sizeof value);
    }
}

LONG_PTR read_long(HWND handle, int index, size_t size) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return (LONG)window->style;
    case GWL_EXSTYLE:
        return (LONG)window->ex_style;
    case GWLP_WNDPROC:
        return (LONG_PTR)window->proc;
    case GWLP_HINSTANCE:
        return (LONG_PTR)window->instance;
    case GWLP_HWNDPARENT:
        return (LONG_PTR)(window->parent != nullptr ? window->parent : window->owner);
    case GWLP_ID:
        return (LONG_PTR)window->id;
    case GWLP_USERDATA:
        return window->user_data;
    }
    if (!extra_range(window, index, size))
        return 0;
    return read_extra(window, index, size);
}

// A style change is announced before and after, as on Windows.
void change_style(HWND handle, int index, DWORD value) {
    Window* window = user_window_quiet(handle);
    DWORD* field = index == GWL_STYLE ? &window->style : &window->ex_style;
    STYLESTRUCT change{*field, value};
    user_send(handle, WM_STYLECHANGING, (WPARAM)index, (LPARAM)&change);
    if ((window = user_window_quiet(handle)) == nullptr)
        return;
    field = index == GWL_STYLE ? &window->style : &window->ex_style;
    change.styleOld = *field;
    *field = change.styleNew;
    // A minimised window stays minimised: WS_MINIMIZE cannot be cleared.
    if (index == GWL_STYLE && window->minimized)
        *field |= WS_MINIMIZE;
    user_send(handle, WM_STYLECHANGED, (WPARAM)index, (LPARAM)&change);
}

LONG_PTR write_long(HWND handle, int index, LONG_PTR value, size_t size) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    LONG_PTR old = read_long(handle, index, size);
    switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
        change_style(handle, index, (DWORD)value);
        return old;
    case GWLP_WNDPROC:
        window->proc = (WNDPROC)value;
        return old;
    case GWLP_HINSTANCE:
        window->instance = (HINSTANCE)value;
        return old;
    case GWLP_ID:
        window->id = (UINT_PTR)value;
        return old;
    case GWLP_USERDATA:
        window->user_data = value;
        return old;
    case GWLP_HWNDPARENT:
        if (window->parent == nullptr)
            window->owner = (HWND)value;
        return old;
    }
    if (!extra_range(window, index, size))
        return 0;
    write_extra(window, index, size, value);
    SetLastError(NO_ERROR);
    return old;
}

} // namespace

LONG WINAPI GetWindowLongA(HWND window, int index) {
    return (LONG)read_long(window, index, sizeof(LONG));
}
LONG WINAPI SetWindowLongA(HWND window, int index, LONG value) {
    return (LONG)write_long(window, index, value, sizeof(LONG));
}
LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
    return read_long(window, index, sizeof(LONG_PTR));
}
LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    return write_long(window, index, value, sizeof(LONG_PTR));
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int count) {
    if (text == nullptr || count <= 0)
        return 0;
    return (int)user_send(handle, WM_GETTEXT, (WPARAM)count, (LPARAM)text);
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (user_window(handle) == nullptr)
        return FALSE;
    return (BOOL)user_send(handle, WM_SETTEXT, 0, (LPARAM)text);
}

namespace {

std::string prop_name(LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string((ULONG_PTR)name);
    return name;
}

WindowProp* find_prop(Window* window, LPCSTR name) {
    std::string key = prop_name(name);
    for (WindowProp& prop : window->props) {
        if (strcasecmp(prop.name.c_str(), key.c_str()) == 0)
            return &prop;
    }
    return nullptr;
}

} // namespace

BOOL WINAPI SetPropA(HWND handle, LPCSTR name, HANDLE data) {
    Window* window = user_window(handle);
    if (window == nullptr || name == nullptr)
        return FALSE;
    if (WindowProp* prop = find_prop(window, name))
        prop->data = data;
    else
        window->props.push_back({prop_name(name), data});
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND handle, LPCSTR name) {
    Window* window = user_window(handle);
    if (window == nullptr || name == nullptr)
        return nullptr;
    WindowProp* prop = find_prop(window, name);
    return prop != nullptr ? prop->data : nullptr;
}

HANDLE WINAPI RemovePropA(HWND handle, LPCSTR name) {
    Window* window = user_window(handle);
    if (window == nullptr || name == nullptr)
        return nullptr;
    WindowProp* prop = find_prop(window, name);
    if (prop == nullptr)
        return nullptr;
    HANDLE data = prop->data;
    window->props.erase(window->props.begin() + (prop - window->props.data()));
    return data;
}

// A child's parent, a popup's owner, or nothing.
HWND WINAPI GetParent(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return nullptr;
    if (window->style & WS_CHILD)
        return window->parent;
    if (window->style & WS_POPUP)
        return window->owner;
    return nullptr;
}

namespace {

const std::vector<HWND>& siblings_of(const Window* window) {
    if (const Window* parent = user_window_quiet(window->parent))
        return parent->children;
    return user_top_windows();
}

HWND sibling(const Window* window, UINT relation) {
    const std::vector<HWND>& list = siblings_of(window);
    if (list.empty())
        return nullptr;
    if (relation == GW_HWNDFIRST)
        return list.front();
    if (relation == GW_HWNDLAST)
        return list.back();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] != window->handle)
            continue;
        if (relation == GW_HWNDNEXT)
            return i + 1 < list.size() ? list[i + 1] : nullptr;
        return i > 0 ? list[i - 1] : nullptr;
    }
    return nullptr;
}

} // namespace

HWND WINAPI GetWindow(HWND handle, UINT relation) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return nullptr;
    switch (relation) {
    case GW_OWNER:
        return window->owner;
    case GW_CHILD:
        return window->children.empty() ? nullptr : window->children.front();
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV:
        return sibling(window, relation);
    }
    SetLastError(ERROR_INVALID_GW_COMMAND);
    return nullptr;
}

HWND WINAPI GetTopWindow(HWND handle) {
    if (handle == nullptr || handle == GetDesktopWindow()) {
        const std::vector<HWND>& tops = user_top_windows();
        return tops.empty() ? nullptr : tops.front();
    }
    return GetWindow(handle, GW_CHILD);
}

namespace {

// Depth first: each child, then its descendants; the list is taken first, so
// windows made or destroyed by the callback do not upset the walk.
bool enum_children(const std::vector<HWND>& list, WNDENUMPROC callback, LPARAM param) {
    for (HWND child : list) {
        Window* window = user_window_quiet(child);
        if (window == nullptr)
            continue;
        std::vector<HWND> grandchildren = window->children;
        if (!callback(child, param))
            return false;
        if (!enum_children(grandchildren, callback, param))
            return false;
    }
    return true;
}

} // namespace

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param) {
    if (callback == nullptr)
        return FALSE;
    if (parent == nullptr)
        return EnumWindows(callback, param);
    Window* window = user_window(parent);
    if (window == nullptr)
        return FALSE;
    std::vector<HWND> children = window->children;
    enum_children(children, callback, param);
    return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM param) {
    std::vector<HWND> tops = user_top_windows();
    for (HWND top : tops) {
        if (user_window_quiet(top) != nullptr && !callback(top, param))
            return FALSE;
    }
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window* window = user_window(dialog);
    if (window == nullptr)
        return nullptr;
    for (HWND child : window->children) {
        Window* c = user_window_quiet(child);
        if (c != nullptr && (int)c->id == id)
            return child;
    }
    SetLastError(1421 /* ERROR_CONTROL_ID_NOT_FOUND */);
    return nullptr;
}

// The text of a dialog's control; a missing control gives an empty text.
UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int count) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr)
        return (UINT)GetWindowTextA(control, text, count);
    if (text != nullptr && count > 0)
        text[0] = '\0';
    return 0;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    Window* window = user_window(handle);
    if (window == nullptr || !(window->style & WS_CHILD))
        return 0;
    return (int)window->id;
}

// The first top-level window, in z-order, of the class and with the title
// given; a null name matches any. Both compare without regard to case.
HWND WINAPI FindWindowA(LPCSTR class_name, LPCSTR window_name) {
    WindowClass* cls = nullptr;
    if (class_name != nullptr && (cls = user_find_class(class_name, nullptr)) == nullptr) {
        SetLastError(1411 /* ERROR_CLASS_DOES_NOT_EXIST */);
        return nullptr;
    }
    for (HWND top : user_top_windows()) {
        Window* window = user_window_quiet(top);
        if (window == nullptr || (cls != nullptr && window->cls != cls))
            continue;
        if (window_name == nullptr || strcasecmp(window->text.c_str(), window_name) == 0)
            return top;
    }
    return nullptr;
}
