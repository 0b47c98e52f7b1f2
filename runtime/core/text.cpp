#include "runtime/core/text.h"

#include "runtime/core/heap.h"

#include <string.h>
#include <windows.h>

int32_t decimalPlaces = DECIMAL_PLACES_AT_LOAD;

char* concatStringArray(const char* const* parts, int32_t count) {
    size_t length = 0;
    for (int32_t i = 0; i < count; ++i)
        length += strlen(parts[i]);
    if (length >= UINT32_MAX - HEAP_BLOCK_SLACK)
        return nullptr;
    char* joined = (char*)heapAllocate((uint32_t)length + 1);
    if (joined == nullptr)
        return nullptr;
    char* end = joined;
    for (int32_t i = 0; i < count; ++i) {
        size_t part = strlen(parts[i]);
        memcpy(end, parts[i], part + 1);
        end += part;
    }
    return joined;
}

char* duplicateString(const char* text) {
    return concatStringArray(&text, 1);
}

char* upperCaseCopy(const char* text) {
    char* copy = duplicateString(text);
    if (copy != nullptr)
        CharUpperA(copy);
    return copy;
}
