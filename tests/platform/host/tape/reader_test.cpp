// The tape's records written and read back, and the damage only a crafted
// tape holds: each refused with its line and code.
#include <gtest/gtest.h>

#include "platform/host/tape/crc32.h"
#include "platform/host/tape/tape.h"

#include <string>

namespace {

HostEvent event(HostEventType type, LONG x, LONG y, int button, bool down, UINT key,
                uintptr_t window) {
    HostEvent result{};
    result.type = type;
    result.time_us = 1'000'000 - 20;
    result.point = {x, y};
    result.button = button;
    result.down = down;
    result.key = key;
    result.window = reinterpret_cast<HWND>(window);
    return result;
}

std::string tape_of(const std::string& payload) {
    return TapeEncoder::start({"zandrel", "headless", "1"}) + tape_block(payload);
}

struct Read {
    std::string error;
    int code = 0;
};

Read read(const std::string& tape) {
    Read result;
    result.error = tape_check(reinterpret_cast<const uint8_t*>(tape.data()), tape.size(), "zandrel",
                              &result.code);
    return result;
}

TEST(TapeRecords, EveryKindOfEventReadsBackAsWritten) {
    const HostEvent events[] = {
        event(HOST_MOUSE_MOVE, -5, 2000, 0, false, 0, 0),
        event(HOST_MOUSE_BUTTON, 1023, 0, HOST_BUTTON_MIDDLE, true, 0, 0),
        event(HOST_KEY, 0, 0, 0, false, 0xFF, 0),
        event(HOST_CLOSE, 0, 0, 0, false, 0, 0x10003),
        event(HOST_MOVED, -3000, 40, 0, false, 0, UINTPTR_MAX),
        event(HOST_DEACTIVATE, 0, 0, 0, false, 0, 0),
    };
    TapeEncoder encoder;
    encoder.add({TapeKind::Clock, 1'000'000});
    for (const HostEvent& one : events) {
        TapeRecord record;
        record.kind = TapeKind::Event;
        record.event = one;
        encoder.add(record);
    }
    std::string tape = TapeEncoder::start({"zandrel", "sdl", "1"}) + encoder.take_block();
    TapeReader reader;
    ASSERT_TRUE(reader.open(reinterpret_cast<const uint8_t*>(tape.data()), tape.size(), nullptr));
    TapeRecord record;
    ASSERT_TRUE(reader.next(&record));
    for (const HostEvent& one : events) {
        ASSERT_TRUE(reader.next(&record)) << reader.error();
        EXPECT_EQ(record.event.type, one.type);
        EXPECT_EQ(record.event.time_us, one.time_us) << one.type;
        EXPECT_TRUE(record.event.point.x == one.point.x && record.event.point.y == one.point.y)
            << one.type;
        EXPECT_EQ(record.event.button, one.button);
        EXPECT_EQ(record.event.down, one.down);
        EXPECT_EQ(record.event.key, one.key);
        EXPECT_EQ(record.event.window, one.window);
    }
    EXPECT_FALSE(reader.next(&record));
    EXPECT_TRUE(reader.at_end());
}

TEST(TapeRecords, CraftedDamageIsRefused) {
    std::string huge_block = TapeEncoder::start({"zandrel", "headless", "1"}) +
                             std::string("\x01\x00\x01\x00\0\0\0\0", 8);
    std::string long_word = std::string(TAPE_MAGIC, 8) + std::string("\x01\x00", 2) +
                            tape_block(std::string("\x80\x02", 2) + std::string(256, 'a'));
    const char* at_0 = "block 1 holds a malformed record at byte 0";
    struct Row {
        const char* what;
        std::string tape;
        const char* error;
    };
    const Row rows[] = {
        {"a block of 65537 bytes", huge_block, "block 1 is damaged: it says it holds 65537 bytes"},
        {"an empty block", tape_of(""), "block 1 is damaged: it says it holds 0 bytes"},
        {"a header word over 255 bytes", long_word, "has a malformed header"},
        {"kind 7", tape_of("\x07"), at_0},
        {"a number past 64 bits", tape_of(std::string(1, '\0') + std::string(10, '\xff') + "\x01"),
         "block 1 holds a malformed record at byte 1"},
        {"no input, 0 times", tape_of("\x01"), at_0},
        {"event type 11", tape_of(std::string("\x5a\x00", 2)), at_0},
        {"key 256", tape_of(std::string("\x1a\x00\x80\x08", 4)), at_0},
        {"a checkpoint cut short", tape_of("\x0d\x01\x02"), at_0},
    };
    for (const Row& row : rows) {
        Read result = read(row.tape);
        EXPECT_EQ(result.error, row.error) << row.what;
        EXPECT_EQ(result.code, TAPE_EXIT_DAMAGED) << row.what;
    }
}

} // namespace

// The block checksum: the standard check values, and a sum continued piece by
// piece equals the sum taken at once.
TEST(TapeCrc, MatchesKnownValuesAndContinues) {
    const std::string digits = "123456789";
    EXPECT_EQ(tape_crc32(0, digits.data(), digits.size()), 0xCBF43926u);
    EXPECT_EQ(tape_crc32(0, nullptr, 0), 0u);
    EXPECT_EQ(tape_crc32(0, "a", 1), 0xE8B7BE43u);
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(tape_crc32(0, fox.data(), fox.size()), 0x414FA339u);
    EXPECT_EQ(tape_crc32(tape_crc32(0, fox.data(), 13), fox.data() + 13, 30), 0x414FA339u);
    uint32_t parts = tape_crc32(0, digits.data(), 4);
    EXPECT_EQ(tape_crc32(parts, digits.data() + 4, 5), 0xCBF43926u);
}
