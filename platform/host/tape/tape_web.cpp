// The web host's part of the tapes. The page records every run into the
// program's in-memory files (page.js sets ZANDREL_RECORD) and offers the
// tape for download; it does not replay: tapes replay on the headless host.
#include "platform/host/tape/record.h"
#include "platform/host/web/page_calls.h"

#include <errno.h>
#include <string.h>

extern "C" const char* tape_host_name(void) {
    return "web";
}

// The C library learns the program's name in a constructor that the linker
// places after the recorder's, which writes the name into the tape's header
// before main. This one runs before both and takes the name the page gives
// the program, as the C library takes it: the file name of a path.
extern "C" __attribute__((constructor(101), used)) void tape_web_name_program(void) {
    static char name[256];
    web_page_program_name(name, sizeof name);
    char* slash = strrchr(name, '/');
    program_invocation_short_name = slash ? slash + 1 : name;
}
