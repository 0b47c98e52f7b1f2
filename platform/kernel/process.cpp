#include <windows.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

thread_local DWORD t_last_error = 0;

// The standard handles are fixed values that no other handle can take.
HANDLE const STD_HANDLES[3] = {(HANDLE)(ULONG_PTR)0x10, (HANDLE)(ULONG_PTR)0x14,
                               (HANDLE)(ULONG_PTR)0x18};

// The module handle of the program itself: the address of a byte of its own.
const char g_module_marker = 0;

int descriptor_of(HANDLE handle) {
    for (int fd = 0; fd < 3; ++fd) {
        if (handle == STD_HANDLES[fd])
            return fd;
    }
    return -1;
}

} // namespace

DWORD WINAPI GetLastError(void) {
    return t_last_error;
}
void WINAPI SetLastError(DWORD code) {
    t_last_error = code;
}

HANDLE WINAPI GetStdHandle(DWORD which) {
    switch (which) {
    case STD_INPUT_HANDLE:
        return STD_HANDLES[0];
    case STD_OUTPUT_HANDLE:
        return STD_HANDLES[1];
    case STD_ERROR_HANDLE:
        return STD_HANDLES[2];
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written,
                      LPOVERLAPPED overlapped) {
    int fd = descriptor_of(file);
    if (written != nullptr)
        *written = 0;
    if (fd < 1 || overlapped != nullptr || (buffer == nullptr && bytes > 0)) {
        SetLastError(fd < 1 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Text that C's stdio still holds must come out before ours.
    fflush(fd == 1 ? stdout : stderr);
    const char* next = static_cast<const char*>(buffer);
    DWORD left = bytes;
    while (left > 0) {
        ssize_t done = write(fd, next, left);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        next += done;
        left -= (DWORD)done;
        if (written != nullptr)
            *written += (DWORD)done;
    }
    return TRUE;
}

// Ends the process at once: C's stdio is flushed, but no destructor or
// atexit handler of the program runs, as with the real call.
void WINAPI ExitProcess(UINT exit_code) {
    fflush(nullptr);
    _exit((int)exit_code);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR module_name) {
    if (module_name == nullptr)
        return (HMODULE)(void*)&g_module_marker;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetCurrentThreadId(void) {
    return (DWORD)gettid();
}
