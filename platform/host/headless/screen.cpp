// The virtual screen: a fixed size, with a task bar's rows kept free at the
// bottom, so that windows centred on the work area land in the same place on
// every run.
#include "platform/host/headless/headless.h"
#include "platform/host/host.h"

void host_screen(RECT* screen, RECT* work_area) {
    if (screen)
        *screen = {0, 0, HEADLESS_SCREEN_WIDTH, HEADLESS_SCREEN_HEIGHT};
    if (work_area)
        *work_area = {0, 0, HEADLESS_SCREEN_WIDTH,
                      HEADLESS_SCREEN_HEIGHT - HEADLESS_TASK_BAR_HEIGHT};
}
