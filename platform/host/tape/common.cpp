#include "platform/host/tape/record.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

std::string tape_program_name(void) {
    std::string name = program_invocation_short_name;
    const std::string ending = "-headless";
    if (name.size() > ending.size() && name.ends_with(ending))
        name.resize(name.size() - ending.size());
    return name;
}

std::string tape_quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            char code[8];
            snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        } else {
            if (c == '"' || c == '\\')
                out += '\\';
            out += char(c);
        }
    }
    return out + "\"";
}

void tape_fail(int code, const std::string& message) {
    fprintf(stderr, "zandrel: %s\n", message.c_str());
    fflush(NULL);
    _Exit(code);
}

namespace {

bool fail_read(const char* path, const std::string& why, std::string* error) {
    *error = tape_quote(path) + " " + why;
    return false;
}

// The size is checked again as the file is read, for one that grows meanwhile.
bool read_all(int fd, const char* path, std::vector<uint8_t>* bytes, std::string* error) {
    uint8_t buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail_read(path, std::string("cannot be read: ") + strerror(errno), error);
        if (got == 0)
            return true;
        if (bytes->size() + size_t(got) > TAPE_MAX_BYTES)
            return fail_read(path, "is larger than a tape can be", error);
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
}

} // namespace

// Opened without blocking, so that a FIFO cannot hold the program, and
// only a regular file is read: a device such as /dev/zero never ends.
bool tape_read_file(const char* path, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail_read(path, std::string("cannot be opened: ") + strerror(errno), error);
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok)
        fail_read(path, "is not a regular file", error);
    else if (uint64_t(info.st_size) > TAPE_MAX_BYTES)
        ok = fail_read(path, "is larger than a tape can be", error);
    else
        ok = read_all(fd, path, bytes, error);
    close(fd);
    if (!ok)
        bytes->clear();
    return ok;
}
