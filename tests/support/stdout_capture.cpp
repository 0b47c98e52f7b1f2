#include "tests/support/stdout_capture.h"

#include <gtest/gtest.h>

#include <stdio.h>

#ifndef _WIN32
#include <unistd.h>
#endif

StdoutCapture::StdoutCapture() {
#ifdef _WIN32
    CreatePipe(&read_, &write_, nullptr, 1 << 16);
    saved_ = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, write_);
#else
    fflush(stdout);
    EXPECT_EQ(pipe(fds_), 0);
    saved_ = dup(1);
    dup2(fds_[1], 1);
#endif
}

std::string StdoutCapture::finish() {
    std::string text;
    char chunk[256];
#ifdef _WIN32
    SetStdHandle(STD_OUTPUT_HANDLE, saved_);
    CloseHandle(write_);
    DWORD got;
    while (ReadFile(read_, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(read_);
#else
    dup2(saved_, 1);
    close(saved_);
    close(fds_[1]);
    ssize_t got;
    while ((got = read(fds_[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, (size_t)got);
    close(fds_[0]);
#endif
    return text;
}
