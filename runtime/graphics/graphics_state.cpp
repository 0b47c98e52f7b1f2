#include "runtime/graphics/graphics_state.h"

#include "runtime/graphics/message_box.h"
#include "runtime/graphics/text_output.h"

void resetGraphicsState() {
    printTarget = nullptr;
    // Only a box left up by an abandoned call leaves the hook installed.
    if (centreHook != nullptr)
        UnhookWindowsHookEx(centreHook);
    centreHook = nullptr;
}
