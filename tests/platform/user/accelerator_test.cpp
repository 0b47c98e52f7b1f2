// Accelerator tables: which keys and characters become which commands, and
// what bad handles get.
#include "tests/platform/user/user_fixture.h"
#include "tests/support/platform_info.h"

namespace {

constexpr WORD CMD_NEW = 101;
constexpr WORD CMD_REFRESH = 102;
constexpr WORD CMD_REFRESH_ALL = 103;
constexpr WORD CMD_PAUSE = 104;
constexpr WORD CMD_QUIT = 105;

ACCEL TABLE[] = {
    {FVIRTKEY | FCONTROL, 'N', CMD_NEW},
    {FVIRTKEY, VK_F5, CMD_REFRESH},
    {FVIRTKEY | FSHIFT, VK_F5, CMD_REFRESH_ALL},
    {0, 'p', CMD_PAUSE},
    {FALT, 'q', CMD_QUIT},
};

constexpr LPARAM ALT_HELD = 1 << 29;

class Accelerators : public UserTest {
  protected:
    HWND window = nullptr;
    HACCEL table = nullptr;

    void SetUp() override {
        UserTest::SetUp();
        window = make_shown_popup();
        table = CreateAcceleratorTableA(TABLE, sizeof TABLE / sizeof TABLE[0]);
        ASSERT_NE(table, nullptr);
    }
    void TearDown() override {
        for (UINT key : {VK_SHIFT, VK_CONTROL, VK_MENU})
            set_key(key, false);
        DestroyAcceleratorTable(table);
        UserTest::TearDown();
    }

    // Translates one message for the window; returns what it returned, and
    // the command it sent (0 for none).
    int translate(UINT message, WPARAM wparam, LPARAM lparam, WORD* command) {
        MSG msg{window, message, wparam, lparam, 0, {}};
        log_flush();
        int result = TranslateAcceleratorA(window, table, &msg);
        auto commands = log_find(WM_COMMAND);
        *command = 0;
        if (!commands.empty()) {
            EXPECT_EQ(commands.size(), 1u);
            EXPECT_EQ(HIWORD(commands[0].wparam), 1) << "commands from accelerators say 1";
            EXPECT_EQ(commands[0].lparam, 0);
            *command = LOWORD(commands[0].wparam);
        }
        log_flush();
        return result;
    }

    void expect_command(UINT message, WPARAM wparam, LPARAM lparam, WORD expected,
                        const char* what) {
        WORD command = 0;
        int result = translate(message, wparam, lparam, &command);
        EXPECT_EQ(command, expected) << what;
        EXPECT_EQ(result != 0, expected != 0) << what;
    }
};

TEST_F(Accelerators, VirtualKeysNeedExactlyTheirModifiers) {
    expect_command(WM_KEYDOWN, 'N', 1, 0, "N without Ctrl");
    expect_command(WM_KEYDOWN, VK_F5, 1, CMD_REFRESH, "F5");
    set_key(VK_CONTROL, true);
    expect_command(WM_KEYDOWN, 'N', 1, CMD_NEW, "Ctrl+N");
    expect_command(WM_KEYDOWN, VK_F5, 1, 0, "Ctrl+F5 is no entry's combination");
    set_key(VK_CONTROL, false);
    set_key(VK_SHIFT, true);
    expect_command(WM_KEYDOWN, VK_F5, 1, CMD_REFRESH_ALL, "Shift+F5");
    expect_command(WM_KEYDOWN, 'N', 1, 0, "Shift+N");
    set_key(VK_SHIFT, false);
    expect_command(WM_KEYUP, VK_F5, 0xC0000001, 0, "key-ups give no command");
}

TEST_F(Accelerators, CharacterEntriesMatchCharactersOnly) {
    expect_command(WM_CHAR, 'p', 1, CMD_PAUSE, "the character p");
    expect_command(WM_CHAR, 'P', 1, 0, "characters compare exactly");
    expect_command(WM_KEYDOWN, 'p', 1, 0, "a key-down of the same code is no character");
    expect_command(WM_CHAR, 'q', 1, 0, "q wants Alt");
    set_key(VK_MENU, true);
    expect_command(WM_SYSCHAR, 'q', 1 | ALT_HELD, CMD_QUIT, "Alt+q");
    expect_command(WM_SYSCHAR, 'p', 1 | ALT_HELD, 0, "Alt+p is not p");
}

TEST_F(Accelerators, CommandGoesToTheWindowGivenNotTheMessages) {
    HWND other = make(SECOND, WS_POPUP, 0, 0, 10, 10);
    log_flush();
    MSG msg{other, WM_KEYDOWN, VK_F5, 1, 0, {}};
    EXPECT_NE(TranslateAcceleratorA(window, table, &msg), 0);
    const ExpectedMessage COMMAND_TO_MAIN[] = {
        {WM_COMMAND, CHECK_WL, MAKEWPARAM(CMD_REFRESH, 1), 0, MAIN},
    };
    expect_sequence(COMMAND_TO_MAIN, "the command goes to the window passed");
}

TEST_F(Accelerators, TablesCopyOut) {
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 5) << "asking for the size";
    ACCEL copy[3]{};
    EXPECT_EQ(CopyAcceleratorTableA(table, copy, 3), 3);
    EXPECT_EQ(copy[1].key, VK_F5);
    EXPECT_EQ(copy[1].cmd, CMD_REFRESH);
    EXPECT_EQ(copy[1].fVirt & 0x7F, FVIRTKEY);
}

TEST_F(Accelerators, BadHandlesFail) {
    HACCEL gone = CreateAcceleratorTableA(TABLE, 1);
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(DestroyAcceleratorTable(gone));
    MSG msg{window, WM_KEYDOWN, 'N', 1, 0, {}};
    set_key(VK_CONTROL, true);
    SetLastError(0);
    EXPECT_EQ(TranslateAcceleratorA(window, gone, &msg), 0) << "a destroyed table";
    // Windows reports the bad handle; Wine leaves the last error alone.
    if (!running_under_wine()) {
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ACCEL_HANDLE);
    }
    SetLastError(0);
    EXPECT_EQ(TranslateAcceleratorA(window, nullptr, &msg), 0) << "no table";
    if (!running_under_wine()) {
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ACCEL_HANDLE);
    }
    EXPECT_FALSE(DestroyAcceleratorTable(gone)) << "destroyed twice";
    EXPECT_EQ(log_count(WM_COMMAND), 0u);
    EXPECT_EQ(TranslateAcceleratorA(window, table, &msg), 1) << "the live table still works";
}

TEST_F(Accelerators, EmptyTablesAreRefused) {
    SetLastError(0);
    EXPECT_EQ(CreateAcceleratorTableA(TABLE, 0), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

} // namespace
