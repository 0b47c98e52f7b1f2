// A tape: what a program read through the host seam (host.h), in the order
// it read it, so that the run can be played again on the headless host and
// come out the same to the pixel. The format is in README.md here.
#pragma once

#include "platform/host/host.h"

#include <stddef.h>
#include <stdint.h>
#include <string>

constexpr char TAPE_MAGIC[8] = {'Z', 'A', 'N', 'D', 'T', 'A', 'P', 'E'};
constexpr uint16_t TAPE_VERSION = 1;
// A block holds at most this many bytes of records; the writer closes one
// long before, so a longer length can only be damage.
constexpr uint32_t TAPE_MAX_BLOCK = 1 << 16;
// The most a tape may hold: hours of play. The bound keeps a mistaken path
// from being read whole.
constexpr uint64_t TAPE_MAX_BYTES = 64ull << 20;

// Exit codes: a setting refused before main, as the hosts refuse theirs;
// then those of a replay, beside the headless host's own (2 to 5).
constexpr int TAPE_EXIT_BAD_SETTING = 2;
constexpr int TAPE_EXIT_FOREIGN = 6;   // not a tape, another format version or program
constexpr int TAPE_EXIT_DAMAGED = 7;   // cut short inside a block, a block that fails its check
constexpr int TAPE_EXIT_LEFT_TAPE = 8; // the run left the tape: a checkpoint differs, ...
constexpr int TAPE_EXIT_CUT_SHORT = 9; // the tape stops before its end (the recording was cut)

// What one record says. Records follow the program's reads one for one,
// except checkpoints and the end, which the recorder adds.
enum class TapeKind : uint8_t {
    Clock = 0,      // host_clock_us gave `value`
    Polls = 1,      // host_next_event found nothing, `value` times in a row
    Event = 2,      // host_next_event gave `event`
    Screen = 3,     // host_screen gave `screen` and `work_area`
    TaskBar = 4,    // host_shows_task_bar gave `flag`
    Checkpoint = 5, // the windows as they were here: `value` windows, `digest`
    End = 6,        // the program ended with exit code `value`
};
constexpr uint8_t TAPE_KIND_COUNT = 7;

struct TapeRecord {
    TapeKind kind = TapeKind::Clock;
    uint64_t value = 0;
    HostEvent event{};
    RECT screen{};
    RECT work_area{};
    bool flag = false;
    uint32_t digest = 0;
};

// The header's words.
struct TapeHeader {
    std::string program; // the program's name ("zandrel")
    std::string host;    // the host it was recorded on ("sdl", "headless")
    std::string build;   // the build's version ("1.0.0 (fded1b5)")
};

// Reads records from a tape held in memory. Every error is one line, and
// `code` says which kind (TAPE_EXIT_FOREIGN or TAPE_EXIT_DAMAGED).
class TapeReader {
  public:
    // Checks the magic, the version and the header block; `program`, when
    // not null, must be the program the tape is of.
    bool open(const uint8_t* bytes, size_t size, const char* program);
    // The next record; false at the end of the tape (`at_end`) or on an error.
    bool next(TapeRecord* record);
    bool at_end() const { return at_end_; }
    const TapeHeader& header() const { return header_; }
    const std::string& error() const { return error_; }
    int code() const { return code_; }
    uint32_t block_number() const { return block_number_; }

  private:
    bool fail(int code, const std::string& why);
    bool read_block(); // the next block into block_, false at the end or on an error
    bool decode(TapeRecord* record);

    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
    size_t offset_ = 0; // of the next block in bytes_
    const uint8_t* block_ = nullptr;
    size_t block_size_ = 0;
    size_t block_offset_ = 0;   // of the next record in block_
    uint32_t block_number_ = 0; // record blocks read; the header is not one
    bool in_header_ = false;
    bool at_end_ = false;
    // What the records are counted from: the last clock reading and pointer.
    uint64_t clock_us_ = 0;
    POINT point_{};
    RECT screen_{};
    RECT work_area_{};
    TapeHeader header_;
    std::string error_;
    int code_ = 0;
};

// Reads a whole tape through, records and all: an empty string, or the line
// that says what is wrong with it, and its exit code in *code.
std::string tape_check(const uint8_t* bytes, size_t size, const char* program, int* code);

// Writes records into blocks, as the reader reads them back.
class TapeEncoder {
  public:
    // The bytes that start a tape: magic, version and header block.
    static std::string start(const TapeHeader& header);
    void add(const TapeRecord& record);
    // The block of what was added since, or empty when nothing was.
    std::string take_block();
    size_t pending() const { return records_.size(); }

  private:
    std::string records_;
    uint64_t clock_us_ = 0;
    POINT point_{};
    RECT screen_{};
    RECT work_area_{};
};

// The block around a payload: length, CRC-32 and the bytes.
std::string tape_block(const std::string& payload);
