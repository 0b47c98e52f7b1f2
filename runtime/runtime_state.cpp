#include "runtime/runtime_state.h"

#include "runtime/core/core_state.h"
#include "runtime/graphics/message_box.h"
#include "runtime/graphics/text_output.h"
#include "runtime/window/framework.h"
#include "runtime/window/window_record.h"

void resetRuntimeState() {
    resetCoreState();
    resetFrameworkState();
    printTarget = nullptr;
    // Only a box left up by an abandoned call leaves the hook installed.
    if (centreHook != nullptr)
        UnhookWindowsHookEx(centreHook);
    centreHook = nullptr;
}
