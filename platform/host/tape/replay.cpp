// Replaying: with ZANDREL_REPLAY=FILE set, the program's reads are answered
// from the tape instead of the host; the host's part says how time passes
// (replay.h). At each checkpoint the windows are compared with the tape's;
// the first difference ends the run, naming where it left the tape.
#include "platform/host/tape/replay.h"
#include "platform/host/tape/describe.h"
#include "platform/host/tape/record.h"
#include "platform/host/tape/seam.h"
#include "platform/host/tape/windows.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

class Replay : public TapeSide {
  public:
    explicit Replay(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool open() { return reader_.open(bytes_.data(), bytes_.size(), nullptr); }
    const TapeReader& reader() const { return reader_; }

    uint64_t clock_us() override {
        uint64_t now_us = take(TapeKind::Clock, "the clock").value;
        move_clock(now_us);
        while (peek() && next_.kind == TapeKind::Checkpoint)
            check(take(TapeKind::Checkpoint, "a checkpoint"));
        return now_us;
    }

    bool next_event(HostEvent* event) override {
        if (peek() && next_.kind == TapeKind::Polls) {
            if (--next_.value == 0)
                have_next_ = false;
            return false;
        }
        *event = take(TapeKind::Event, "input").event;
        last_event_ = *event;
        has_event_ = true;
        return true;
    }

    void screen(RECT* screen, RECT* work_area) override {
        const TapeRecord& record = take(TapeKind::Screen, "the screen's size");
        if (screen)
            *screen = record.screen;
        if (work_area)
            *work_area = record.work_area;
    }

    bool shows_task_bar() override { return take(TapeKind::TaskBar, "the task bar").flag; }

    // Time moves with the tape's clock readings alone.
    void wait(uint64_t) override {}
    void sleep(uint64_t) override {}
    void poll_empty() override {}

    void end(int64_t code) override {
        check(take(TapeKind::Checkpoint, "the end"));
        const TapeRecord& end = take(TapeKind::End, "the end");
        if (end.value != 0 && code != TAPE_CODE_UNKNOWN && end.value != uint64_t(code) + 1)
            leave("the program ended with exit code " + std::to_string(code) +
                  " where the recorded run ended with " + std::to_string(end.value - 1));
        capture_end();
        fprintf(stderr, "zandrel: the replay matched %u checkpoints\n", matched_);
        fflush(NULL);
        _Exit(0);
    }

  private:
    bool peek() {
        if (!have_next_)
            have_next_ = reader_.next(&next_);
        return have_next_;
    }

    // The record the program's read asks for; any other ends the run. The
    // record stays until the next one is taken.
    const TapeRecord& take(TapeKind kind, const char* asked) {
        if (!peek())
            cut_short(asked);
        if (next_.kind != kind)
            leave(std::string("the program asked for ") + asked + " where the tape has " +
                  tape_describe(next_));
        have_next_ = false;
        taken_ = next_;
        return taken_;
    }

    void move_clock(uint64_t now_us) {
        tape_replay_clock(now_us, !clock_started_);
        clock_started_ = true;
        clock_us_ = now_us;
    }

    void check(const TapeRecord& checkpoint) {
        if (checkpoint.digest != tape_windows().digest() ||
            checkpoint.value != tape_windows().count())
            leave("the windows differ from the recorded run's at checkpoint " +
                  std::to_string(matched_ + 1));
        ++matched_;
    }

    std::string place() const {
        std::string text = "at tick " + tape_tick_text(clock_us_);
        if (has_event_)
            text += ", after " + tape_describe_event(last_event_);
        return text;
    }

    [[noreturn]] void leave(const std::string& why) {
        capture_end();
        tape_fail(TAPE_EXIT_LEFT_TAPE, "the replay left the tape " + place() + ": " + why + " (" +
                                           std::to_string(matched_) +
                                           " checkpoints matched before" + other_build() + ")");
    }

    // A run of another build may well leave the tape; the message says so.
    std::string other_build() const {
        const std::string& build = reader_.header().build;
        if (build == ZANDREL_BUILD_VERSION)
            return "";
        return "; the tape was recorded by build " + tape_quote(build) + ", this is " +
               tape_quote(ZANDREL_BUILD_VERSION);
    }

    [[noreturn]] void cut_short(const char* asked) {
        capture_end();
        tape_fail(TAPE_EXIT_CUT_SHORT, std::string("the tape stops ") + place() +
                                           ", without its end, where the " + "program asked for " +
                                           asked + ": the recording was cut short (" +
                                           std::to_string(matched_) + " checkpoints matched)");
    }

    void capture_end() { tape_replay_end_picture(tape_windows().main_picture()); }

    std::vector<uint8_t> bytes_;
    TapeReader reader_;
    TapeRecord next_;
    bool have_next_ = false;
    TapeRecord taken_;
    bool clock_started_ = false;
    uint64_t clock_us_ = 0; // the last clock reading taken
    uint32_t matched_ = 0;
    HostEvent last_event_{};
    bool has_event_ = false;
};

void end_at_exit(void) {
    tape_end(TAPE_CODE_UNKNOWN);
}

} // namespace

// The whole tape is read and checked before main: a tape that is damaged
// or of another program is refused before the program starts.
extern "C" __attribute__((constructor)) void tape_replay_before_main(void) {
    const char* path = getenv("ZANDREL_REPLAY");
    if (!path)
        return;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!*path || !tape_read_file(path, &bytes, &error))
        tape_fail(TAPE_EXIT_BAD_SETTING,
                  "ZANDREL_REPLAY: " + (*path ? error : "\"\" is not a file name"));
    int code = 0;
    std::string program = tape_program_name();
    error = tape_check(bytes.data(), bytes.size(), program.c_str(), &code);
    if (!error.empty())
        tape_fail(code, "ZANDREL_REPLAY: " + tape_quote(path) + " " + error);
    Replay* replay = new Replay(std::move(bytes));
    replay->open();
    tape_set_side(replay);
    atexit(end_at_exit);
}
