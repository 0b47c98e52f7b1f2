// Message boxes centred by a creation hook that lives for one call.
#include "runtime/graphics/message_box.h"

HHOOK centreHook = nullptr;

namespace {

// Where a window of `width` by `height` goes when centred on `reference`:
// at least 0, and not past the work area's right and bottom edges.
POINT centred_position(const RECT& reference, const RECT& work, LONG width, LONG height) {
    POINT at;
    at.x = (reference.right - reference.left - width) / 2 + reference.left;
    at.y = (reference.bottom - reference.top - height) / 2 + reference.top;
    if (at.x < 0)
        at.x = 0;
    else if (at.x + width > work.right)
        at.x = work.right - width;
    if (at.y < 0)
        at.y = 0;
    else if (at.y + height > work.bottom)
        at.y = work.bottom - height;
    return at;
}

} // namespace

LRESULT CALLBACK centreBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0 || code != HCBT_CREATEWND)
        return CallNextHookEx(centreHook, code, wParam, lParam);
    CREATESTRUCTA* create = ((CBT_CREATEWNDA*)lParam)->lpcs;
    if ((create->style & (WS_DLGFRAME | (LONG)WS_POPUP)) == 0)
        return CallNextHookEx(centreHook, code, wParam, lParam);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND reference = create->hwndParent != nullptr ? create->hwndParent : GetDesktopWindow();
    RECT rect{};
    GetWindowRect(reference, &rect);
    POINT at = centred_position(rect, work, create->cx, create->cy);
    create->x = at.x;
    create->y = at.y;
    return 0;
}

int32_t messageBox(WindowRecord* record, const char* text, const char* caption, uint32_t flags) {
    HWND owner = record != nullptr ? record->hwnd : nullptr;
    // A box shown from an event handler while another is up gets its own
    // hook; the outer box's hook is current again afterwards.
    HHOOK outer = centreHook;
    centreHook = SetWindowsHookExA(WH_CBT, centreBoxHook, nullptr, GetCurrentThreadId());
    int32_t result =
        MessageBoxA(owner, text, caption, flags != 0 ? flags : MESSAGE_BOX_DEFAULT_FLAGS);
    if (centreHook != nullptr)
        UnhookWindowsHookEx(centreHook);
    centreHook = outer;
    return result;
}
