// tape-dump FILE: prints a tape's header and records, one a line, for a
// developer looking into a tape. Exit codes as a replay's: 0, or the
// tape's error code with its line.
#include "platform/host/tape/describe.h"
#include "platform/host/tape/record.h"

#include <stdio.h>

namespace {

void print(const TapeRecord& record) {
    switch (record.kind) {
    case TapeKind::Clock:
        printf("clock %llu us (tick %s)\n", (unsigned long long)record.value,
               tape_tick_text(record.value).c_str());
        break;
    case TapeKind::Polls:
        printf("no input, %llu times\n", (unsigned long long)record.value);
        break;
    case TapeKind::Checkpoint:
        printf("checkpoint: %llu windows, digest %08x\n", (unsigned long long)record.value,
               record.digest);
        break;
    case TapeKind::Screen:
        printf("screen %ld %ld %ld %ld, work area %ld %ld %ld %ld\n", long(record.screen.left),
               long(record.screen.top), long(record.screen.right), long(record.screen.bottom),
               long(record.work_area.left), long(record.work_area.top),
               long(record.work_area.right), long(record.work_area.bottom));
        break;
    case TapeKind::TaskBar:
        printf("task bar %s\n", record.flag ? "shown" : "not shown");
        break;
    default:
        printf("%s\n", tape_describe(record).c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: tape-dump FILE\n");
        return TAPE_EXIT_BAD_SETTING;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!tape_read_file(argv[1], &bytes, &error))
        tape_fail(TAPE_EXIT_BAD_SETTING, error);
    TapeReader reader;
    TapeRecord record;
    if (reader.open(bytes.data(), bytes.size(), nullptr)) {
        const TapeHeader& header = reader.header();
        printf("program %s, host %s, build %s\n", tape_quote(header.program).c_str(),
               tape_quote(header.host).c_str(), tape_quote(header.build).c_str());
        while (reader.next(&record))
            print(record);
    }
    if (!reader.error().empty())
        tape_fail(reader.code(), tape_quote(argv[1]) + " " + reader.error());
    return 0;
}
