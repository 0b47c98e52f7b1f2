// Hooks of the calling thread. Only WH_CBT is kept: the layer calls it
// before a window is created, destroyed, activated, given the focus,
// minimised or restored, and before a system command, as Windows does.
#include "platform/user/user_private.h"

#include <algorithm>

namespace {

struct Hook {
    HHOOK handle;
    int id;
    HOOKPROC proc;
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

} // namespace

HHOOK WINAPI SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE, DWORD thread_id) {
    if (proc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (id != WH_CBT || (thread_id != 0 && thread_id != GetCurrentThreadId())) {
        SetLastError(id != WH_CBT ? 1426 /* ERROR_INVALID_HOOK_FILTER */ : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HHOOK handle = (HHOOK)(g_next_hook++);
    g_hooks.insert(g_hooks.begin(), {handle, id, proc});
    return handle;
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
// handle it is given, as Windows does.
HHOOK g_current = nullptr;

LRESULT call_hook(const Hook* hook, int code, WPARAM wparam, LPARAM lparam) {
    HHOOK outer = g_current;
    g_current = hook->handle;
    HOOKPROC proc = hook->proc;
    LRESULT result = proc(code, wparam, lparam);
    g_current = outer;
    return result;
}

} // namespace

LRESULT WINAPI CallNextHookEx(HHOOK, int code, WPARAM wparam, LPARAM lparam) {
    if (g_current == nullptr)
        return 0;
    const Hook* next = next_hook(g_current);
    return next != nullptr ? call_hook(next, code, wparam, lparam) : 0;
}

// Calls the CBT chain; nonzero means the action is refused.
LRESULT user_call_cbt(int code, WPARAM wparam, LPARAM lparam) {
    const Hook* first = next_hook(nullptr);
    return first != nullptr ? call_hook(first, code, wparam, lparam) : 0;
}

void user_reset_hooks() {
    g_hooks.clear();
}
