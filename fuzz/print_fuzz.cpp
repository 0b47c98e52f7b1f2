// The print statement: printItems with random lists of items, type codes
// (known and unknown), values and text lengths up to past the end of
// printBuffer, now and then into a window. printBuffer must hold exactly the
// items' texts, formatted as each code says and cut at the buffer's end.
#include "fuzz/exact_decimal.h"
#include "runtime/core/heap.h"
#include "runtime/core/text.h"
#include "runtime/graphics/text_output.h"
#include "runtime/window/window.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <fcntl.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <bit>
#include <string>

namespace {

constexpr int MAX_ITEMS = 4;

// How an item's value is passed: the type the code's va_arg reads.
enum Kind { TEXT, RECORD, INT, REAL, SIGNED64, UNSIGNED64 };

struct Item {
    int32_t code;
    Kind kind;
    std::string text;     // TEXT
    bool nullText;        // TEXT: a null pointer instead of the text
    WindowRecord* record; // RECORD
    int64_t integer;      // INT, SIGNED64, UNSIGNED64
    double real;          // REAL
};

WindowRecord g_window;

int32_t ignoreEvents() {
    return 0;
}

Kind kindOf(int32_t code) {
    switch (code) {
    case PRINT_TEXT:
        return TEXT;
    case PRINT_TARGET:
        return RECORD;
    case PRINT_FLOAT:
    case PRINT_DOUBLE:
        return REAL;
    case PRINT_INT64:
        return SIGNED64;
    case PRINT_UINT64:
        return UNSIGNED64;
    default:
        return INT;
    }
}

const int32_t CODES[] = {PRINT_TEXT,   PRINT_CHAR,   PRINT_INT32, PRINT_FLOAT,  PRINT_TARGET,
                         PRINT_UINT16, PRINT_DOUBLE, PRINT_INT64, PRINT_UINT64, PRINT_UINT32};

// Text from the input, or a long run of one character that may fill the
// buffer on its own. The items are C strings: a text ends at a zero byte.
std::string randomText(FuzzedDataProvider& input) {
    if (input.ConsumeIntegralInRange<int32_t>(0, 3) == 0)
        return std::string((size_t)input.ConsumeIntegralInRange<int32_t>(0, 40000),
                           (char)input.ConsumeIntegralInRange<int32_t>(1, 255));
    return input.ConsumeRandomLengthString(64).c_str();
}

Item randomItem(FuzzedDataProvider& input) {
    Item item{};
    item.code = input.ConsumeIntegralInRange<int32_t>(0, 11) == 0
                    ? input.ConsumeIntegral<int32_t>()
                    : CODES[input.ConsumeIntegralInRange<int32_t>(0, 9)];
    item.kind = kindOf(item.code);
    if (item.kind == TEXT) {
        item.nullText = input.ConsumeIntegralInRange<int32_t>(0, 15) == 0;
        item.text = randomText(input);
    }
    item.record = input.ConsumeIntegralInRange<int32_t>(0, 7) == 0 ? &g_window : nullptr;
    item.integer = input.ConsumeIntegral<int64_t>();
    item.real = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
    return item;
}

// Calls printItems with the items' values passed as their codes read them.
template <typename... Args> void callPrint(const Item* items, int count, int index, Args... args) {
    if constexpr (sizeof...(Args) >= 2 * MAX_ITEMS) {
        printItems(count, args...);
    } else {
        if (index == count) {
            printItems(count, args...);
            return;
        }
        const Item& item = items[index];
        int32_t code = item.code;
        switch (item.kind) {
        case TEXT:
            return callPrint(items, count, index + 1, args..., code,
                             item.nullText ? (const char*)nullptr : item.text.c_str());
        case RECORD:
            return callPrint(items, count, index + 1, args..., code, item.record);
        case INT:
            return callPrint(items, count, index + 1, args..., code, (int)item.integer);
        case REAL:
            return callPrint(items, count, index + 1, args..., code, item.real);
        case SIGNED64:
            return callPrint(items, count, index + 1, args..., code, item.integer);
        case UNSIGNED64:
            return callPrint(items, count, index + 1, args..., code, (uint64_t)item.integer);
        }
    }
}

std::string expectedText(const Item& item) {
    switch (item.code) {
    case PRINT_TEXT:
        return item.nullText ? "" : item.text;
    case PRINT_CHAR:
        return std::string(1, (char)(uint8_t)item.integer);
    case PRINT_INT32:
        return std::to_string((int)item.integer) + " ";
    case PRINT_FLOAT:
    case PRINT_DOUBLE:
        return (signbit(item.real) ? "" : " ") + referenceFixed(item.real, decimalPlaces);
    case PRINT_UINT16:
        return std::to_string((uint16_t)item.integer) + " ";
    case PRINT_INT64:
        return std::to_string(item.integer) + " ";
    case PRINT_UINT64:
        return std::to_string((uint64_t)item.integer) + " ";
    case PRINT_UINT32:
        return std::to_string((uint32_t)item.integer) + " ";
    default:
        return "";
    }
}

void checkBuffer(const Item* items, int count) {
    std::string expected;
    for (int i = 0; i < count; ++i)
        expected += expectedText(items[i]);
    if (expected.size() > PRINT_BUFFER_SIZE - 1)
        expected.resize(PRINT_BUFFER_SIZE - 1);
    if (memcmp(printBuffer, expected.data(), expected.size()) != 0 ||
        printBuffer[expected.size()] != '\0') {
        fprintf(stderr, "print fuzz: printBuffer holds \"%.200s\", expected \"%.200s\" (%zu)\n",
                printBuffer, expected.c_str(), expected.size());
        for (int i = 0; i < count; ++i)
            fprintf(stderr, "  item %d: code %d\n", i, items[i].code);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Prints without a target window go to standard output: keep them off
    // the fuzzer's terminal.
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
    createPrivateHeap();
    openWindow(&g_window, 0, 0, 320, 200, 0, nullptr, "print", ignoreEvents);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    decimalPlaces = input.ConsumeIntegralInRange<int32_t>(0, 10);
    for (int call = 0; call < 4 && input.remaining_bytes() > 0; ++call) {
        Item items[MAX_ITEMS];
        int count = input.ConsumeIntegralInRange<int32_t>(0, MAX_ITEMS);
        for (int i = 0; i < count; ++i)
            items[i] = randomItem(input);
        callPrint(items, count, 0);
        checkBuffer(items, count);
    }
    printTarget = nullptr;
    return 0;
}
