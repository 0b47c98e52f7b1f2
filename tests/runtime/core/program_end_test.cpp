// How a program ends, as a child process on the headless host: from inside
// a handler, from an exit procedure while it is already ending, and by
// returning from main. Each way runs every exit procedure once, the most
// recently registered first, and leaves no private heap.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>

#include <string>

namespace {

struct ProgramEnd {
    const char* mode;
    const char* script; // input for the child, or null
    int exitCode;
};

const ProgramEnd PROGRAM_ENDS[] = {
    {"handler", ZANDREL_SOURCE_DIR "/program_end_close.txt", 7},
    {"procedure", nullptr, 5},
    {"return", nullptr, 9},
};

TEST(ProgramEnd, ExitProceduresRunOnceAndTheHeapGoes) {
    for (const ProgramEnd& end : PROGRAM_ENDS) {
        SCOPED_TRACE(end.mode);
        std::string command = "ZANDREL_TIME_LIMIT=30 ";
        if (end.script != nullptr)
            command += std::string("ZANDREL_SCRIPT='") + end.script + "' ";
        command += "timeout 60 '" ZANDREL_PROGRAM_END_CHILD "' " + std::string(end.mode);
        FILE* child = popen(command.c_str(), "r");
        ASSERT_NE(child, nullptr);
        std::string output;
        char buffer[256];
        // A child that runs a procedure again and again writes without end;
        // a few lines are enough to show it.
        while (fgets(buffer, sizeof buffer, child) != nullptr)
            if (output.size() < 200)
                output += buffer;
        int status = pclose(child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), end.exitCode);
        EXPECT_EQ(output, "exit procedure 2\nexit procedure 1\nheap gone\n");
    }
}

} // namespace
