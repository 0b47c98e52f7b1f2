// The soak: 100,000 frames of random play of the real game on the headless
// host's virtual clock, with every invariant checked at every frame
// boundary. The seed is printed; ZANDREL_SOAK_SEED=N plays the same game
// again, and ZANDREL_SOAK_FRAMES=N plays a shorter or longer one.
#include "tests/soak/soak_input.h"
#include "tests/soak/soak_invariants.h"

#include "game/game_state.h"
#include "platform/host/headless/headless.h"
#include "runtime/core/heap.h"
#include "runtime/events/wait.h"
#include "runtime/window/window.h"

#include <layer/user.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <random>
#include <string>

namespace {

constexpr uint64_t DEFAULT_FRAMES = 100'000;
// Live counts are taken as the baseline at this frame; from then on they
// must be back at the baseline at every frame boundary.
constexpr uint64_t WARM_UP_FRAMES = 3'000;

uint64_t setting(const char* name, uint64_t fallback) {
    const char* text = getenv(name);
    return text != nullptr && *text != '\0' ? strtoull(text, nullptr, 10) : fallback;
}

uint64_t chooseSeed() {
    std::random_device device;
    uint64_t fresh = ((uint64_t)device() << 32) | device();
    return setting("ZANDREL_SOAK_SEED", fresh);
}

bool g_stalled = false;
void noteStall() {
    g_stalled = true;
}

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        seed_ = chooseSeed();
        frames_ = setting("ZANDREL_SOAK_FRAMES", DEFAULT_FRAMES);
        printf("soak seed %llu (replay with ZANDREL_SOAK_SEED=%llu), %llu frames\n",
               (unsigned long long)seed_, (unsigned long long)seed_, (unsigned long long)frames_);
        fflush(stdout);
        random_.seed(seed_);
        startProgram();
    }

    void TearDown() override {
        closeWindow(&GameState.mainWindow);
        destroyPrivateHeap();
        layer_user_reset();
        headless_reset();
    }

    // Start-up as the program does it, with the tick count started
    // somewhere in the last 1,000 s before its wrap, so that the soak's
    // 26 minutes of virtual play cross it.
    void startProgram() {
        layer_user_reset();
        headless_reset();
        headless_set_time_limit_us(0);
        headless_set_stall_handler(noteStall);
        g_stalled = false;
        GameState = GameStateRecord{};
        headless_set_tick_count(0xFFFFFFFFu - (DWORD)(random_() % 1'000'000) - 1000);
        setUpFloatingPoint();
        createPrivateHeap();
        registerProgramIcon();
        openMainWindow();
        soak::startBoxWatcher(&random_, &counts_);
        startClock_ = headless_clock_us();
    }

    // One turn of the program's main loop: the start wait until the first
    // New, the frame loop from then on. The player's input is queued just
    // before the wait that takes it, as a person's input arrives while the
    // program waits, so that no key meant for the menu bar reaches a crash
    // box that the frame's update brings up.
    void turn() {
        if (!started_ && GameState.gameOver != 0) {
            play();
            waitEvents(0);
            ++startWaits_;
            return;
        }
        started_ = true;
        GameState.paceFrame = 1;
        SpawnWall();
        UpdateFrame();
        play();
        WaitFrame();
        ++played_;
    }

    void play() {
        if (!quiet_)
            soak::queueRandomInput(random_, counts_);
    }

    // Lets the input already queued, and the boxes it brings up, run out.
    void finishInput() {
        quiet_ = true;
        for (int i = 0; i < 1000 && headless_pending_count() != 0; ++i)
            turn();
        EXPECT_EQ(headless_pending_count(), 0u);
    }

    // An empty string, or what broke at this frame boundary.
    std::string check() {
        std::string problems = soak::checkGameState();
        if (g_stalled)
            problems += "the program stalled in a wait; ";
        if (played_ < WARM_UP_FRAMES)
            return problems;
        soak::LiveCounts live = soak::LiveCounts::now();
        if (played_ == WARM_UP_FRAMES)
            baseline_ = live;
        else if (!(live == baseline_))
            problems += "live counts " + soak::describe(live) + " after warm-up " +
                        soak::describe(baseline_) + "; ";
        return problems;
    }

    void report(double seconds) {
        printf("soak: %llu frames (%llu start waits) in %.1f s, %.1f s of virtual time\n"
               "  moves %llu, wrapped moves %llu, keys %llu, New %llu, Pause %llu, Rules %llu, "
               "About %llu, boxes answered %llu (crashes %llu)\n",
               (unsigned long long)played_, (unsigned long long)startWaits_, seconds,
               (double)(headless_clock_us() - startClock_) / 1e6, (unsigned long long)counts_.moves,
               (unsigned long long)counts_.wrappedMoves, (unsigned long long)counts_.keys,
               (unsigned long long)counts_.menuCommands[MENU_NEW],
               (unsigned long long)counts_.menuCommands[MENU_PAUSE],
               (unsigned long long)counts_.menuCommands[MENU_RULES],
               (unsigned long long)counts_.menuCommands[MENU_ABOUT],
               (unsigned long long)counts_.boxesAnswered, (unsigned long long)counts_.crashBoxes);
        fflush(stdout);
    }

    uint64_t seed_ = 0;
    uint64_t startClock_ = 0; // virtual clock when the program started
    uint64_t frames_ = 0;
    std::mt19937_64 random_;
    soak::PlayCounts counts_;
    soak::LiveCounts baseline_;
    bool started_ = false;
    bool quiet_ = false; // no new input: the run is winding down
    uint64_t played_ = 0;
    uint64_t startWaits_ = 0;
};

TEST_F(Soak, RandomPlayKeepsEveryInvariant) {
    auto start = std::chrono::steady_clock::now();
    while (played_ < frames_) {
        turn();
        std::string problems = check();
        if (!problems.empty()) {
            ADD_FAILURE() << "frame " << played_ << " of seed " << seed_ << ": " << problems;
            break;
        }
    }
    finishInput();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    report(elapsed.count());
    // The play really did everything it was meant to.
    EXPECT_GT(counts_.moves, 0u);
    EXPECT_GT(counts_.wrappedMoves, 0u);
    EXPECT_GT(counts_.keys, 0u);
    for (int32_t command : {MENU_NEW, MENU_PAUSE, MENU_RULES, MENU_ABOUT})
        EXPECT_GT(counts_.menuCommands[command], 0u) << "command " << command;
    EXPECT_GT(counts_.crashBoxes, 0u);
    // Every Rules and About chosen brought up its box, and nothing else did.
    EXPECT_EQ(counts_.boxesAnswered - counts_.crashBoxes,
              counts_.menuCommands[MENU_RULES] + counts_.menuCommands[MENU_ABOUT]);
}

} // namespace
