#include "platform/host/tape/record.h"

extern "C" const char* tape_host_name(void) {
    return "sdl";
}
