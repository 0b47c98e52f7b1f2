// Formatting print items into printBuffer, and sending the line on.
#include "runtime/graphics/text_output.h"

#include "runtime/core/text.h"
#include "runtime/graphics/draw_target.h"

#include <windows.h>

#include <math.h>
#include <stdarg.h>
#include <stdio.h>

WindowRecord* printTarget = nullptr;
char printBuffer[PRINT_BUFFER_SIZE];

namespace {

// Appends to printBuffer from `length` on, always leaving room for the
// terminating zero; what does not fit is cut.
struct BufferWriter {
    uint32_t length = 0;

    char* end() { return printBuffer + length; }
    uint32_t room() const { return PRINT_BUFFER_SIZE - length; }

    // Takes the count a formatter reports, which may exceed what it wrote.
    void advance(int reported) {
        if (reported <= 0)
            return;
        uint32_t written = (uint32_t)reported;
        length += written < room() ? written : room() - 1;
    }

    void format(const char* format, ...) {
        va_list values;
        va_start(values, format);
        advance(vsnprintf(end(), room(), format, values));
        va_end(values);
    }

    // A blank before a number that is not negative, then the fixed-point
    // text with the runtime's number of decimals.
    void fixed(double value) {
        if (!signbit(value))
            format(" ");
        length += formatFixed(value, decimalPlaces, end(), room());
    }
};

void append_item(BufferWriter* out, int32_t code, va_list* values) {
    switch (code) {
    case PRINT_TEXT: {
        const char* text = va_arg(*values, const char*);
        out->format("%s", text != nullptr ? text : "");
        break;
    }
    case PRINT_CHAR:
        out->format("%c", (unsigned char)va_arg(*values, int));
        break;
    case PRINT_INT32:
        out->format("%d ", va_arg(*values, int));
        break;
    case PRINT_FLOAT:
    case PRINT_DOUBLE:
        out->fixed(va_arg(*values, double));
        break;
    case PRINT_UINT16:
        out->format("%hu ", (unsigned short)va_arg(*values, unsigned int));
        break;
    case PRINT_INT64:
        out->length +=
            formatInt64((uint64_t)va_arg(*values, int64_t), true, out->end(), out->room());
        break;
    case PRINT_UINT64:
        out->length += formatInt64(va_arg(*values, uint64_t), false, out->end(), out->room());
        break;
    case PRINT_UINT32:
        out->format("%u ", va_arg(*values, unsigned int));
        break;
    case PRINT_TARGET:
        // Only the first item selects the target; elsewhere it is skipped.
        (void)va_arg(*values, WindowRecord*);
        break;
    default:
        (void)va_arg(*values, int);
        break;
    }
}

// The length left after dropping a final line feed and the carriage return
// before it; a lone final carriage return stays.
uint32_t without_line_end(uint32_t length) {
    if (length > 0 && printBuffer[length - 1] == '\n') {
        --length;
        if (length > 0 && printBuffer[length - 1] == '\r')
            --length;
    }
    return length;
}

void draw_line(WindowRecord* record, uint32_t length) {
    length = without_line_end(length);
    if (length == 0 || record->hwnd == nullptr)
        return;
    HDC dc = acquireDrawTarget(record);
    // The context draws at its current position (TA_UPDATECP); an erase
    // context, which has its own alignment, gets the position as arguments.
    TextOutA(dc, record->curPos.x, record->curPos.y, printBuffer, (int)length);
    releaseDrawTarget(record, dc, 1);
}

} // namespace

uint32_t formatInt64(uint64_t value, bool isSigned, char* out, uint32_t capacity) {
    char text[24];
    uint32_t length = 0;
    if (isSigned && (int64_t)value < 0) {
        text[length++] = '-';
        value = 0 - value;
    }
    // Long division by 10 in 32-bit halves, high half first.
    char digits[20];
    int count = 0;
    uint32_t high = (uint32_t)(value >> 32), low = (uint32_t)value;
    do {
        uint32_t high_remainder = high % 10;
        high /= 10;
        uint64_t rest = ((uint64_t)high_remainder << 32) | low;
        low = (uint32_t)(rest / 10);
        digits[count++] = (char)('0' + rest % 10);
    } while (high != 0 || low != 0);
    while (count > 0)
        text[length++] = digits[--count];
    text[length++] = ' ';
    if (capacity == 0)
        return 0;
    uint32_t written = length < capacity ? length : capacity - 1;
    for (uint32_t i = 0; i < written; ++i)
        out[i] = text[i];
    out[written] = '\0';
    return written;
}

void printItems(int32_t count, ...) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    BufferWriter out;
    printBuffer[0] = '\0';
    va_list values;
    va_start(values, count);
    for (int32_t i = 0; i < count; ++i) {
        int32_t code = va_arg(values, int32_t);
        if (code == PRINT_TARGET && i == 0)
            printTarget = va_arg(values, WindowRecord*);
        else
            append_item(&out, code, &values);
    }
    va_end(values);
    if (printTarget == nullptr) {
        DWORD written = 0;
        WriteFile(output, printBuffer, out.length, &written, nullptr);
        return;
    }
    draw_line(printTarget, out.length);
}
