// Messages written on standard error must be one line of plain text
// whatever input they quote: no line breaks, no terminal control sequences.
#pragma once

#include <string>

inline bool isPlainLine(const std::string& text) {
    for (char c : text)
        if ((unsigned char)c < 0x20 || (unsigned char)c == 0x7F)
            return false;
    return true;
}
