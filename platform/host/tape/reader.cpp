// Reading a tape with care: every length is checked against the bytes there
// are before it is used, every block against its checksum, and every number
// against what its field can hold. A tape that fails says so in one line.
#include "platform/host/tape/crc32.h"
#include "platform/host/tape/tape.h"
#include "platform/host/tape/varint.h"

#include <string.h>

namespace {

uint32_t get_u32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

// Event types as the seam numbers them, first to last.
bool known_event(uint64_t type) {
    return type >= HOST_MOUSE_MOVE && type <= HOST_RESTORE;
}

bool has_point(HostEventType type) {
    return type == HOST_MOUSE_MOVE || type == HOST_MOUSE_BUTTON || type == HOST_MOVED;
}

bool has_window(HostEventType type) {
    return type != HOST_MOUSE_MOVE && type != HOST_MOUSE_BUTTON && type != HOST_KEY &&
           type != HOST_DEACTIVATE;
}

// Screen coordinates are LONGs; anything wider is damage.
bool fits_long(int64_t value) {
    return value >= INT32_MIN && value <= INT32_MAX;
}

// The header's words: a length of at most 255, then the bytes.
bool get_text(const uint8_t* bytes, size_t size, size_t* offset, std::string* text) {
    uint64_t length = 0;
    if (!varint_get(bytes, size, offset, &length) || length > 255 || length > size - *offset)
        return false;
    text->assign(reinterpret_cast<const char*>(bytes + *offset), size_t(length));
    *offset += size_t(length);
    return true;
}

// What the messages show of a header word: printable ASCII only.
std::string shown(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text)
        out += (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') ? char(c) : '?';
    return out + "\"";
}

} // namespace

bool TapeReader::fail(int code, const std::string& why) {
    if (error_.empty()) {
        error_ = why;
        code_ = code;
    }
    return false;
}

bool TapeReader::open(const uint8_t* bytes, size_t size, const char* program) {
    *this = TapeReader();
    bytes_ = bytes;
    size_ = size;
    if (size == 0)
        return fail(TAPE_EXIT_FOREIGN, "is empty: not a tape");
    if (size < sizeof TAPE_MAGIC || memcmp(bytes, TAPE_MAGIC, sizeof TAPE_MAGIC) != 0)
        return fail(TAPE_EXIT_FOREIGN, "is not a tape (it does not start as one)");
    if (size < sizeof TAPE_MAGIC + 2)
        return fail(TAPE_EXIT_DAMAGED, "is cut short in its header");
    uint16_t version = uint16_t(bytes[8] | bytes[9] << 8);
    if (version != TAPE_VERSION)
        return fail(TAPE_EXIT_FOREIGN, "is a tape of format version " + std::to_string(version) +
                                           "; this program reads version " +
                                           std::to_string(TAPE_VERSION));
    offset_ = sizeof TAPE_MAGIC + 2;
    in_header_ = true;
    if (!read_block())
        return fail(TAPE_EXIT_DAMAGED, "is cut short in its header");
    in_header_ = false;
    block_number_ = 0;
    size_t at = 0;
    if (!get_text(block_, block_size_, &at, &header_.program) ||
        !get_text(block_, block_size_, &at, &header_.host) ||
        !get_text(block_, block_size_, &at, &header_.build) || at != block_size_)
        return fail(TAPE_EXIT_DAMAGED, "has a malformed header");
    if (program && header_.program != program)
        return fail(TAPE_EXIT_FOREIGN,
                    "is a tape of " + shown(header_.program) + ", not of " + shown(program));
    block_offset_ = block_size_;
    return true;
}

namespace {

// "block 3 is damaged: why", or "has a damaged header: why".
std::string damaged(const std::string& where, const std::string& why) {
    return (where == "its header" ? "has a damaged header: " : where + " is damaged: ") + why;
}

} // namespace

bool TapeReader::read_block() {
    if (offset_ == size_) {
        at_end_ = true;
        return false;
    }
    // The header is block 0 to the reader, and "its header" to people.
    std::string where = in_header_ ? "its header" : "block " + std::to_string(block_number_ + 1);
    if (size_ - offset_ < 8)
        return fail(TAPE_EXIT_DAMAGED, "is cut short in " + where);
    uint32_t length = get_u32(bytes_ + offset_);
    uint32_t check = get_u32(bytes_ + offset_ + 4);
    if (length == 0 || length > TAPE_MAX_BLOCK)
        return fail(TAPE_EXIT_DAMAGED,
                    damaged(where, "it says it holds " + std::to_string(length) + " bytes"));
    if (length > size_ - offset_ - 8)
        return fail(TAPE_EXIT_DAMAGED, "is cut short in " + where);
    block_ = bytes_ + offset_ + 8;
    if (tape_crc32(0, block_, length) != check)
        return fail(TAPE_EXIT_DAMAGED, damaged(where, "its checksum does not match"));
    block_size_ = length;
    block_offset_ = 0;
    offset_ += 8 + size_t(length);
    ++block_number_;
    return true;
}

bool TapeReader::next(TapeRecord* record) {
    if (!error_.empty() || at_end_)
        return false;
    if (block_offset_ == block_size_ && !read_block())
        return false;
    size_t start = block_offset_;
    if (decode(record))
        return true;
    return fail(TAPE_EXIT_DAMAGED, "block " + std::to_string(block_number_) +
                                       " holds a malformed record at byte " +
                                       std::to_string(start));
}

namespace {

// The fields after an event's head, as encode.cpp writes them.
struct EventFields {
    const uint8_t* bytes;
    size_t size;
    size_t* offset;

    bool number(uint64_t* value) { return varint_get(bytes, size, offset, value); }
    bool signed_number(int64_t* value) { return varint_get_signed(bytes, size, offset, value); }

    bool point(POINT* last) {
        int64_t dx = 0, dy = 0;
        if (!signed_number(&dx) || !signed_number(&dy) || !fits_long(dx) || !fits_long(dy) ||
            !fits_long(last->x + dx) || !fits_long(last->y + dy))
            return false;
        *last = {LONG(last->x + dx), LONG(last->y + dy)};
        return true;
    }

    bool rect(RECT* rect) {
        int64_t sides[4];
        for (int64_t& side : sides)
            if (!signed_number(&side) || !fits_long(side))
                return false;
        *rect = {LONG(sides[0]), LONG(sides[1]), LONG(sides[2]), LONG(sides[3])};
        return true;
    }
};

bool decode_event(EventFields fields, uint64_t type, uint64_t clock_us, POINT* point,
                  HostEvent* event) {
    if (!known_event(type))
        return false;
    *event = HostEvent{};
    event->type = HostEventType(type);
    int64_t offset_us = 0;
    if (!fields.signed_number(&offset_us))
        return false;
    event->time_us = clock_us + uint64_t(offset_us);
    if (has_point(event->type)) {
        if (!fields.point(point))
            return false;
        event->point = *point;
    }
    uint64_t value = 0;
    if (event->type == HOST_MOUSE_BUTTON) {
        if (!fields.number(&value) || value > 5)
            return false;
        event->button = int(value >> 1);
        event->down = value & 1;
    }
    if (event->type == HOST_KEY) {
        if (!fields.number(&value) || value > (0xFFull << 2 | 3))
            return false;
        event->key = UINT(value >> 2);
        event->made_up = value & 2;
        event->down = value & 1;
    }
    if (has_window(event->type)) {
        if (!fields.number(&value) || value > UINTPTR_MAX)
            return false;
        event->window = reinterpret_cast<HWND>(uintptr_t(value));
    }
    return true;
}

} // namespace

bool TapeReader::decode(TapeRecord* record) {
    EventFields fields{block_, block_size_, &block_offset_};
    uint64_t head = 0;
    if (!fields.number(&head) || (head & 7) >= TAPE_KIND_COUNT)
        return false;
    *record = TapeRecord();
    record->kind = TapeKind(head & 7);
    uint64_t value = head >> 3;
    switch (record->kind) {
    case TapeKind::Clock:
        if (value > UINT64_MAX - clock_us_)
            return false;
        clock_us_ += value;
        record->value = clock_us_;
        return true;
    case TapeKind::Polls:
        record->value = value;
        return value > 0;
    case TapeKind::Event:
        return decode_event(fields, value, clock_us_, &point_, &record->event);
    case TapeKind::Screen:
        if (value > 1 || (value == 1 && !(fields.rect(&screen_) && fields.rect(&work_area_))))
            return false;
        record->screen = screen_;
        record->work_area = work_area_;
        return true;
    case TapeKind::TaskBar:
        record->flag = value == 1;
        return value <= 1;
    case TapeKind::Checkpoint:
        if (block_size_ - block_offset_ < 4)
            return false;
        record->value = value;
        record->digest = get_u32(block_ + block_offset_);
        block_offset_ += 4;
        return true;
    case TapeKind::End:
        record->value = value;
        return value <= UINT32_MAX;
    }
    return false;
}

std::string tape_check(const uint8_t* bytes, size_t size, const char* program, int* code) {
    TapeReader reader;
    TapeRecord record;
    if (reader.open(bytes, size, program))
        while (reader.next(&record)) {
        }
    *code = reader.code();
    return reader.error();
}
