// Window classes. Names compare without regard to case; atoms of
// registered classes come from 0xC000 up, as Windows' string atoms do.
#include "platform/user/user_private.h"

#include <strings.h>

#include <string>

namespace {

std::vector<WindowClass*>& g_classes = *new std::vector<WindowClass*>;
ATOM g_next_atom = 0xC000;

bool names_match(const WindowClass& cls, LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return cls.atom == (ATOM)(ULONG_PTR)name;
    return strcasecmp(cls.name.c_str(), name) == 0;
}

} // namespace

// Classes are the program's own; the instance given does not separate them.
// The system's classes are registered the first time any class is looked up.
WindowClass* user_find_class(LPCSTR name, HINSTANCE) {
    static bool system_classes = false;
    if (!system_classes) {
        system_classes = true;
        user_register_system_classes();
        user_register_button_class();
        user_register_static_class();
    }
    if (name == nullptr)
        return nullptr;
    for (WindowClass* cls : g_classes) {
        if (names_match(*cls, name))
            return cls;
    }
    return nullptr;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpszClassName == nullptr ||
        wc->cbClsExtra < 0 || wc->cbWndExtra < 0 || wc->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (user_find_class(wc->lpszClassName, wc->hInstance) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto* cls = new WindowClass{};
    cls->atom =
        IS_INTRESOURCE(wc->lpszClassName) ? (ATOM)(ULONG_PTR)wc->lpszClassName : g_next_atom++;
    if (!IS_INTRESOURCE(wc->lpszClassName))
        cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->class_extra = wc->cbClsExtra;
    cls->window_extra = wc->cbWndExtra;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->small_icon = wc->hIconSm;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    if (IS_INTRESOURCE(wc->lpszMenuName) && wc->lpszMenuName != nullptr)
        cls->menu_name = "#" + std::to_string((ULONG_PTR)wc->lpszMenuName);
    else if (wc->lpszMenuName != nullptr)
        cls->menu_name = wc->lpszMenuName;
    g_classes.push_back(cls);
    return cls->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    WindowClass* cls = user_find_class(name, instance);
    if (cls == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->window_count > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    for (size_t i = 0; i < g_classes.size(); ++i) {
        if (g_classes[i] == cls) {
            g_classes.erase(g_classes.begin() + (ptrdiff_t)i);
            break;
        }
    }
    delete cls;
    return TRUE;
}

WORD WINAPI GetClassWord(HWND handle, int index) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    if (index != GCW_ATOM) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return window->cls->atom;
}

DWORD WINAPI GetClassLongA(HWND handle, int index) {
    Window* window = user_window(handle);
    if (window == nullptr)
        return 0;
    switch (index) {
    case GCL_STYLE:
        return window->cls->style;
    case GCW_ATOM:
        return window->cls->atom;
    case GCLP_HBRBACKGROUND:
        return (DWORD)(ULONG_PTR)window->cls->background;
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

// Copies at most count - 1 characters and a terminating zero; returns the
// characters copied.
int WINAPI GetClassNameA(HWND handle, LPSTR name, int count) {
    Window* window = user_window(handle);
    if (window == nullptr || name == nullptr || count <= 0)
        return 0;
    const std::string& text = window->cls->name;
    int copied = (int)text.size() < count - 1 ? (int)text.size() : count - 1;
    text.copy(name, (size_t)copied);
    name[copied] = '\0';
    return copied;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndclass) {
    if (wndclass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{sizeof ex,
                   wndclass->style,
                   wndclass->lpfnWndProc,
                   wndclass->cbClsExtra,
                   wndclass->cbWndExtra,
                   wndclass->hInstance,
                   wndclass->hIcon,
                   wndclass->hCursor,
                   wndclass->hbrBackground,
                   wndclass->lpszMenuName,
                   wndclass->lpszClassName,
                   nullptr};
    return RegisterClassExA(&ex);
}

namespace {

// The class's menu name as the program gave it: a string of the class's
// own, or a resource number.
LPCSTR menu_name_of(const WindowClass& cls) {
    if (cls.menu_name.empty())
        return nullptr;
    if (cls.menu_name[0] == '#')
        return MAKEINTRESOURCEA(std::stoul(cls.menu_name.substr(1)));
    return cls.menu_name.c_str();
}

} // namespace

// Succeeds with the class's atom; the name reported is the one asked for.
BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, LPWNDCLASSEXA info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const WindowClass* cls = user_find_class(name, instance);
    if (cls == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    UINT size = info->cbSize; // left as the caller set it
    *info = {size,          cls->style,     cls->proc,   cls->class_extra, cls->window_extra,
             cls->instance, cls->icon,      cls->cursor, cls->background,  menu_name_of(*cls),
             name,          cls->small_icon};
    return cls->atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR name, LPWNDCLASSA info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof ex;
    BOOL atom = GetClassInfoExA(instance, name, &ex);
    if (!atom)
        return FALSE;
    *info = {ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
             ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return atom;
}
