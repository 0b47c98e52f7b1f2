// Recording: with ZANDREL_RECORD=FILE set, every read the program makes
// through the seam goes to the tape as the host answers it. Blocks are
// written as the program runs: at each checkpoint, after a few events and
// whenever one grows large, so that a crash loses at most the last few
// events. The main window's last picture goes beside the tape at the end.
#include "platform/host/tape/record.h"
#include "platform/host/tape/seam.h"
#include "platform/host/tape/windows.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr uint64_t CHECKPOINT_INTERVAL_US = 1'000'000;
constexpr size_t BLOCK_BYTES = 4096;
constexpr uint32_t BLOCK_EVENTS = 8;

class Recorder : public TapeSide {
  public:
    Recorder(FILE* file, std::string path) : file_(file), path_(std::move(path)) {}

    // The header is written before main: a tape that cannot take it stops
    // the program there, as a file that cannot be created does.
    void start() {
        TapeHeader header{tape_program_name(), tape_host_name(), ZANDREL_BUILD_VERSION};
        std::string bytes = TapeEncoder::start(header);
        if (fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || fflush(file_) != 0)
            tape_fail(TAPE_EXIT_BAD_SETTING,
                      "ZANDREL_RECORD: cannot write " + tape_quote(path_) + ": " + strerror(errno));
    }

    uint64_t clock_us() override {
        uint64_t now = real_host_clock_us();
        add({TapeKind::Clock, now});
        if (!clock_seen_ || now >= next_checkpoint_us_) {
            if (clock_seen_)
                checkpoint();
            next_checkpoint_us_ = now + CHECKPOINT_INTERVAL_US;
            clock_seen_ = true;
        }
        return now;
    }

    bool next_event(HostEvent* event) override {
        if (!real_host_next_event(event)) {
            ++polls_;
            return false;
        }
        TapeRecord record;
        record.kind = TapeKind::Event;
        record.event = *event;
        add(record);
        if (++block_events_ >= BLOCK_EVENTS)
            flush();
        return true;
    }

    void screen(RECT* screen, RECT* work_area) override {
        TapeRecord record;
        record.kind = TapeKind::Screen;
        real_host_screen(&record.screen, &record.work_area);
        add(record);
        if (screen)
            *screen = record.screen;
        if (work_area)
            *work_area = record.work_area;
    }

    bool shows_task_bar() override {
        TapeRecord record;
        record.kind = TapeKind::TaskBar;
        record.flag = real_host_shows_task_bar();
        add(record);
        return record.flag;
    }

    void wait(uint64_t deadline_us) override { real_host_wait(deadline_us); }
    void sleep(uint64_t deadline_us) override { real_host_sleep(deadline_us); }
    void poll_empty() override { real_host_poll_empty(); }

    // The last checkpoint, the end, and the picture beside the tape.
    void end(int64_t code) override {
        checkpoint();
        add({TapeKind::End, code == TAPE_CODE_UNKNOWN ? 0 : uint64_t(uint32_t(code)) + 1});
        flush();
        if (file_ && fclose(file_) != 0)
            stop(strerror(errno));
        file_ = nullptr;
        write_picture();
    }

  private:
    void add(const TapeRecord& record) {
        if (polls_ > 0) {
            encoder_.add({TapeKind::Polls, polls_});
            polls_ = 0;
        }
        encoder_.add(record);
        if (encoder_.pending() >= BLOCK_BYTES)
            flush();
    }

    void checkpoint() {
        TapeRecord record;
        record.kind = TapeKind::Checkpoint;
        record.value = tape_windows().count();
        record.digest = tape_windows().digest();
        add(record);
        flush();
    }

    void flush() {
        block_events_ = 0;
        std::string block = encoder_.take_block();
        if (!block.empty())
            write(block);
    }

    bool write(const std::string& bytes) {
        if (!file_)
            return false;
        if (fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && fflush(file_) == 0)
            return true;
        stop(strerror(errno));
        return false;
    }

    // A tape that cannot be written ends the recording, not the program:
    // the player is told once, and the tape keeps what was written.
    void stop(const char* why) {
        fprintf(stderr, "zandrel: ZANDREL_RECORD: cannot write %s: %s; the recording stops here\n",
                tape_quote(path_).c_str(), why);
        if (file_)
            fclose(file_);
        file_ = nullptr;
        tape_set_side(nullptr);
    }

    void write_picture() {
        Image picture = tape_windows().main_picture();
        std::string error;
        std::string path = path_ + ".png";
        if (picture.width > 0 && !png_write_file(path.c_str(), picture.pixels.data(), picture.width,
                                                 picture.height, picture.width, &error))
            fprintf(stderr, "zandrel: ZANDREL_RECORD: %s\n", error.c_str());
    }

    FILE* file_;
    std::string path_;
    TapeEncoder encoder_;
    uint64_t polls_ = 0;
    uint32_t block_events_ = 0;
    bool clock_seen_ = false;
    uint64_t next_checkpoint_us_ = 0;
};

void end_at_exit(void) {
    tape_end(TAPE_CODE_UNKNOWN);
}

} // namespace

// Read before main, as the hosts read their settings: a tape that cannot
// be made stops the program before it opens a window. Marked used, because
// WebAssembly's linker drops a constructor that nothing calls even when
// the link names it.
extern "C" __attribute__((constructor, used)) void tape_record_before_main(void) {
    const char* path = getenv("ZANDREL_RECORD");
    if (!path)
        return;
    if (!*path)
        tape_fail(TAPE_EXIT_BAD_SETTING, "ZANDREL_RECORD: \"\" is not a file name");
    if (getenv("ZANDREL_REPLAY"))
        tape_fail(TAPE_EXIT_BAD_SETTING,
                  "ZANDREL_RECORD and ZANDREL_REPLAY are both set: a run records or replays");
    FILE* file = fopen(path, "wbe");
    if (!file)
        tape_fail(TAPE_EXIT_BAD_SETTING,
                  "ZANDREL_RECORD: cannot create " + tape_quote(path) + ": " + strerror(errno));
    Recorder* recorder = new Recorder(file, path);
    recorder->start();
    tape_set_side(recorder);
    atexit(end_at_exit);
}
