// Hooks of the calling thread. Only WH_CBT is kept: the layer calls it
// before a window is created, destroyed, activated, given the focus,
// minimised or restored, and before a system command, as Windows does.
// A hook set with SetWindowsHookExW is given wide text.
#include "platform/kernel/codepage.h"
#include "platform/user/user_private.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

struct Hook {
    HHOOK handle;
    int id;
    HOOKPROC proc;
    bool wide;
};

// Newest first: the newest hook is called first and passes on with
// CallNextHookEx.
std::vector<Hook>& g_hooks = *new std::vector<Hook>;
ULONG_PTR g_next_hook = 0x1000;

// The hook after `hook` in the chain, or the first for null.
const Hook* next_hook(HHOOK hook) {
    bool found = hook == nullptr;
    for (const Hook& h : g_hooks) {
        if (found && h.id == WH_CBT)
            return &h;
        found = found || h.handle == hook;
    }
    return nullptr;
}

HHOOK set_hook(int id, HOOKPROC proc, DWORD thread_id, bool wide) {
    if (proc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (id != WH_CBT || (thread_id != 0 && thread_id != GetCurrentThreadId())) {
        SetLastError(id != WH_CBT ? 1426 /* ERROR_INVALID_HOOK_FILTER */ : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HHOOK handle = (HHOOK)(g_next_hook++);
    g_hooks.insert(g_hooks.begin(), {handle, id, proc, wide});
    return handle;
}

} // namespace

HHOOK WINAPI SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE, DWORD thread_id) {
    return set_hook(id, proc, thread_id, false);
}

HHOOK WINAPI SetWindowsHookExW(int id, HOOKPROC proc, HINSTANCE, DWORD thread_id) {
    return set_hook(id, proc, thread_id, true);
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
    auto it = std::find_if(g_hooks.begin(), g_hooks.end(),
                           [hook](const Hook& h) { return h.handle == hook; });
    if (it == g_hooks.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    g_hooks.erase(it);
    return TRUE;
}

namespace {

// The hook being called, so that CallNextHookEx passes on from it whatever
// handle it is given, as Windows does, and whether it was given wide text.
HHOOK g_current = nullptr;
bool g_current_wide = false;

LRESULT call_hook(const Hook* hook, int code, WPARAM wparam, LPARAM lparam) {
    HHOOK outer = g_current;
    bool outer_wide = g_current_wide;
    g_current = hook->handle;
    g_current_wide = hook->wide;
    HOOKPROC proc = hook->proc;
    LRESULT result = proc(code, wparam, lparam);
    g_current = outer;
    g_current_wide = outer_wide;
    return result;
}

// The two CREATESTRUCTs differ only in their text; what the hook changed
// besides the text is kept.
template <typename To, typename From> void copy_numbers(To* to, const From& from) {
    auto name = to->lpszName;
    auto cls = to->lpszClass;
    std::memcpy((void*)to, (const void*)&from, sizeof(*to));
    to->lpszName = name;
    to->lpszClass = cls;
}

// Text in the other width; an atom in place of text stays as it is.
std::u16string converted(LPCSTR text) {
    return IS_INTRESOURCE(text) ? u"" : layer_ansi_to_wide(text);
}
std::string converted(LPCWSTR text) {
    return IS_INTRESOURCE(text) ? "" : layer_wide_to_ansi(text);
}

template <typename Char, typename Text>
const Char* text_or_atom(const void* given, const Text& text) {
    return IS_INTRESOURCE(given) ? (const Char*)given : (const Char*)text.c_str();
}

// Calls `hook` with a copy of `given` whose text has the other width, and
// keeps what the hook changed in it.
template <typename To, typename From>
LRESULT call_with(const Hook* hook, WPARAM wparam, From* given) {
    using CreateStruct = std::remove_pointer_t<decltype(To::lpcs)>;
    using Char = std::remove_const_t<std::remove_pointer_t<decltype(CreateStruct::lpszName)>>;
    const auto& from = *given->lpcs;
    auto name = converted(from.lpszName);
    auto cls = converted(from.lpszClass);
    CreateStruct cs{};
    copy_numbers(&cs, from);
    cs.lpszName = text_or_atom<Char>(from.lpszName, name);
    cs.lpszClass = text_or_atom<Char>(from.lpszClass, cls);
    To other{&cs, given->hwndInsertAfter};
    LRESULT result = call_hook(hook, HCBT_CREATEWND, wparam, (LPARAM)&other);
    copy_numbers(given->lpcs, cs);
    given->hwndInsertAfter = other.hwndInsertAfter;
    return result;
}

// Calls `hook` with what was prepared for a hook of the other kind when
// the text must change width.
LRESULT call_converting(const Hook* hook, int code, WPARAM wparam, LPARAM lparam, bool wide) {
    if (code != HCBT_CREATEWND || lparam == 0 || hook->wide == wide)
        return call_hook(hook, code, wparam, lparam);
    return hook->wide ? call_with<CBT_CREATEWNDW>(hook, wparam, (CBT_CREATEWNDA*)lparam)
                      : call_with<CBT_CREATEWNDA>(hook, wparam, (CBT_CREATEWNDW*)lparam);
}

} // namespace

LRESULT WINAPI CallNextHookEx(HHOOK, int code, WPARAM wparam, LPARAM lparam) {
    if (g_current == nullptr)
        return 0;
    const Hook* next = next_hook(g_current);
    return next != nullptr ? call_converting(next, code, wparam, lparam, g_current_wide) : 0;
}

// Calls the CBT chain; nonzero means the action is refused. HCBT_CREATEWND
// comes with a CBT_CREATEWNDA.
LRESULT user_call_cbt(int code, WPARAM wparam, LPARAM lparam) {
    const Hook* first = next_hook(nullptr);
    return first != nullptr ? call_converting(first, code, wparam, lparam, false) : 0;
}

void user_reset_hooks() {
    g_hooks.clear();
}
