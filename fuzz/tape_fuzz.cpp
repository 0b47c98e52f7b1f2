// The tape reader. Whatever the bytes, reading either refuses them with one
// line and a tape's exit code, or gives records that, written again by the
// encoder and read back, are the same records: nothing the reader accepts
// is read into something the writer would not have written.
#include "fuzz/plain_line.h"
#include "platform/host/tape/tape.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what) {
    fprintf(stderr, "tape fuzz: %s\n", what.c_str());
    abort();
}

bool same_event(const HostEvent& a, const HostEvent& b) {
    return a.type == b.type && a.time_us == b.time_us && a.point.x == b.point.x &&
           a.point.y == b.point.y && a.button == b.button && a.down == b.down && a.key == b.key &&
           a.made_up == b.made_up && a.window == b.window;
}

bool same_rect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool same_record(const TapeRecord& a, const TapeRecord& b) {
    if (a.kind != b.kind || a.value != b.value || a.flag != b.flag || a.digest != b.digest)
        return false;
    if (a.kind == TapeKind::Event)
        return same_event(a.event, b.event);
    return a.kind != TapeKind::Screen ||
           (same_rect(a.screen, b.screen) && same_rect(a.work_area, b.work_area));
}

void check_refusal(const TapeReader& reader) {
    if (reader.error().empty() || !isPlainLine(reader.error()))
        fail("a refusal must be one line of plain text: \"" + reader.error() + "\"");
    if (reader.code() != TAPE_EXIT_FOREIGN && reader.code() != TAPE_EXIT_DAMAGED)
        fail("a refusal has a tape's exit code, not " + std::to_string(reader.code()));
}

// Writes the records again and reads them back.
void check_round_trip(const TapeHeader& header, const std::vector<TapeRecord>& records) {
    std::string bytes = TapeEncoder::start(header);
    TapeEncoder encoder;
    for (const TapeRecord& record : records)
        encoder.add(record);
    bytes += encoder.take_block();
    TapeReader again;
    if (!again.open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr))
        fail("a header read from a tape cannot be read once written again: " + again.error());
    TapeRecord record;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!again.next(&record))
            fail("record " + std::to_string(i) + " is lost when written again: " + again.error());
        if (!same_record(record, records[i]))
            fail("record " + std::to_string(i) + " changes when written again");
    }
    if (again.next(&record) || !again.at_end())
        fail("records written again read back with more after them");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TapeReader reader;
    std::vector<TapeRecord> records;
    TapeRecord record;
    if (reader.open(data, size, nullptr)) {
        // Only the records of one block fit a block when written again.
        while (reader.next(&record) && records.size() < 1000)
            records.push_back(record);
    }
    if (!reader.error().empty()) {
        check_refusal(reader);
        return 0;
    }
    if (!reader.at_end() && records.size() < 1000)
        fail("reading stopped with neither an error nor the end");
    if (records.size() < 1000)
        check_round_trip(reader.header(), records);
    return 0;
}
