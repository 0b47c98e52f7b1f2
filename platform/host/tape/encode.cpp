// Writing records: each is a varint whose low three bits say its kind and
// whose other bits hold its main number, then the numbers that kind has.
// Times, points and rectangles are written as differences from the record
// before, so that the common records take a byte or two.
#include "platform/host/tape/crc32.h"
#include "platform/host/tape/tape.h"
#include "platform/host/tape/varint.h"

namespace {

void put_head(std::string* out, TapeKind kind, uint64_t value) {
    varint_put(out, (value << 3) | uint64_t(kind));
}

void put_point(std::string* out, POINT* last, POINT point) {
    varint_put_signed(out, int64_t(point.x) - last->x);
    varint_put_signed(out, int64_t(point.y) - last->y);
    *last = point;
}

void put_rect(std::string* out, const RECT& rect) {
    for (LONG side : {rect.left, rect.top, rect.right, rect.bottom})
        varint_put_signed(out, side);
}

bool same_rect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool has_point(HostEventType type) {
    return type == HOST_MOUSE_MOVE || type == HOST_MOUSE_BUTTON || type == HOST_MOVED;
}

bool has_window(HostEventType type) {
    return type != HOST_MOUSE_MOVE && type != HOST_MOUSE_BUTTON && type != HOST_KEY &&
           type != HOST_DEACTIVATE;
}

void put_event(std::string* out, const HostEvent& event, uint64_t clock_us, POINT* point) {
    put_head(out, TapeKind::Event, uint64_t(event.type));
    varint_put_signed(out, int64_t(event.time_us - clock_us));
    if (has_point(event.type))
        put_point(out, point, event.point);
    if (event.type == HOST_MOUSE_BUTTON)
        varint_put(out, uint64_t(event.button) << 1 | uint64_t(event.down));
    if (event.type == HOST_KEY)
        varint_put(out,
                   uint64_t(event.key) << 2 | uint64_t(event.made_up) << 1 | uint64_t(event.down));
    if (has_window(event.type))
        varint_put(out, uint64_t(uintptr_t(event.window)));
}

void put_u32(std::string* out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out->push_back(char(value >> shift & 0xFF));
}

void put_text(std::string* out, const std::string& text) {
    std::string kept = text.substr(0, 255);
    varint_put(out, kept.size());
    out->append(kept);
}

} // namespace

std::string tape_block(const std::string& payload) {
    std::string block;
    put_u32(&block, uint32_t(payload.size()));
    put_u32(&block, tape_crc32(0, payload.data(), payload.size()));
    block += payload;
    return block;
}

std::string TapeEncoder::start(const TapeHeader& header) {
    std::string out(TAPE_MAGIC, sizeof TAPE_MAGIC);
    out.push_back(char(TAPE_VERSION & 0xFF));
    out.push_back(char(TAPE_VERSION >> 8));
    std::string words;
    put_text(&words, header.program);
    put_text(&words, header.host);
    put_text(&words, header.build);
    return out + tape_block(words);
}

void TapeEncoder::add(const TapeRecord& record) {
    std::string* out = &records_;
    switch (record.kind) {
    case TapeKind::Clock:
        put_head(out, record.kind, record.value - clock_us_);
        clock_us_ = record.value;
        break;
    case TapeKind::Event:
        put_event(out, record.event, clock_us_, &point_);
        break;
    case TapeKind::Screen: {
        bool same = same_rect(record.screen, screen_) && same_rect(record.work_area, work_area_);
        put_head(out, record.kind, same ? 0 : 1);
        if (!same) {
            put_rect(out, record.screen);
            put_rect(out, record.work_area);
            screen_ = record.screen;
            work_area_ = record.work_area;
        }
        break;
    }
    case TapeKind::TaskBar:
        put_head(out, record.kind, record.flag ? 1 : 0);
        break;
    case TapeKind::Checkpoint:
        put_head(out, record.kind, record.value);
        put_u32(out, record.digest);
        break;
    case TapeKind::Polls:
    case TapeKind::End:
        put_head(out, record.kind, record.value);
        break;
    }
}

std::string TapeEncoder::take_block() {
    if (records_.empty())
        return "";
    std::string block = tape_block(records_);
    records_.clear();
    return block;
}
