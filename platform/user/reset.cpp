// A fresh start of the user part for the next test: no windows, no queued
// messages, no timers, no focus.
#include <layer/user.h>

#include "platform/user/user_private.h"

void layer_user_reset(void) {
    std::vector<HWND> tops = user_top_windows();
    for (HWND top : tops) {
        if (IsWindow(top))
            DestroyWindow(top);
    }
    user_reset_queue();
    user_reset_timers();
    user_reset_input();
    user_reset_focus();
    user_reset_hooks();
    user_reset_task_bar();
}
