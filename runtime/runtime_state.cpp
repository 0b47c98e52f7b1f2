#include "runtime/runtime_state.h"

#include "runtime/core/core_state.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/window/framework.h"
#include "runtime/window/window_record.h"

void resetRuntimeState() {
    resetCoreState();
    resetFrameworkState();
    resetGraphicsState();
}
