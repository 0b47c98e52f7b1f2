#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>
#include <thread>

namespace {

TEST(Process, ModuleAndThreadIdentity) {
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
    EXPECT_EQ(GetModuleHandleA("no-such-module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
    EXPECT_NE(GetCurrentThreadId(), 0u);
    DWORD mine = GetCurrentThreadId();
    EXPECT_EQ(GetCurrentThreadId(), mine);
    DWORD other = 0;
    std::thread([&other] { other = GetCurrentThreadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, mine) << "each thread has its own id";
}

TEST(Process, WriteFileToStandardOutput) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
#ifndef _WIN32
    // On Windows the C library's redirection does not reach the handle.
    testing::internal::CaptureStdout();
#endif
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(out, "Score: 5\r\n", 10, &written, nullptr));
    EXPECT_EQ(written, 10u);
#ifndef _WIN32
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Score: 5\r\n");
#endif
}

TEST(Process, LastErrorIsKept) {
    SetLastError(1234);
    EXPECT_EQ(GetLastError(), 1234u);
}

} // namespace
