// What the host does when a window manager comes or goes while the program
// runs. With one, the manager keeps minimised windows as icons, stacks and
// focuses windows and keeps owned windows above their owners; without one,
// the host hides minimised windows, the layer draws its task bar, and the
// layer keeps z-order and activation itself (see README.md).
#include "platform/host/sdl/sdl_host.h"

namespace {

// The manager has gone. The X server maps the windows it kept as icons
// again, and the focus may have gone with it (the layer was then told that
// another program took it): minimised windows are hidden, the task bar
// comes back with its last pixels, and the top window is active again.
// A manager that ends unmaps each window as it lets go of it, which comes
// as a minimise; a minimise the layer has not taken yet is dropped, since
// nobody keeps an icon now and the task bar shows the window as normal.
void work_without_manager(SdlHost& host) {
    std::erase_if(host.pending, [](const HostEvent& event) { return event.type == HOST_MINIMIZE; });
    for (auto& [handle, record] : host.windows) {
        record.told[0] = record.told[1] = false;
        record.real_minimized = false;
        if (record.minimized && record.sdl != nullptr)
            SDL_HideWindow(record.sdl);
    }
    SdlWindow& bar = host.task_bar;
    if (bar.sdl != nullptr && !bar.visible) {
        bar.visible = true;
        SDL_ShowWindow(bar.sdl);
        sdl_task_bar_exposed(host);
    }
    host.z_order_changed = true;
    sdl_restack(host);
    HWND top = sdl_top_window(host);
    if (top == nullptr)
        return;
    sdl_give_focus(top);
    HostEvent event{};
    event.type = HOST_ACTIVATE;
    event.window = top;
    sdl_push(event);
}

// A manager has come. The task bar is the manager's business now, a
// minimised window becomes its icon, and owned windows are its to keep
// above their owners.
void work_with_manager(SdlHost& host) {
    SdlWindow& bar = host.task_bar;
    if (bar.sdl != nullptr && bar.visible) {
        bar.visible = false;
        SDL_HideWindow(bar.sdl);
    }
    for (auto& [handle, record] : host.windows) {
        if (record.sdl == nullptr)
            continue;
        sdl_apply_owner(host, record);
        record.real_minimized = record.minimized;
        if (record.minimized) {
            SDL_ShowWindow(record.sdl);
            SDL_MinimizeWindow(record.sdl);
        }
    }
}

} // namespace

void sdl_window_manager_changed(SdlHost& host, bool runs) {
    if (host.window_manager == runs)
        return;
    host.window_manager = runs;
    // The work area changes with the task bar's rows.
    host.display_known = false;
    if (runs)
        work_with_manager(host);
    else
        work_without_manager(host);
}
