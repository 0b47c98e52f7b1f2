#include "platform/kernel/codepage.h"

#include <iterator>

namespace {

// Upper case of one character of code page 1252, Windows' "ANSI" page for
// western languages. Letters without an upper case in the page (sharp s,
// micro sign) stay as they are; so does the division sign at 0xF7.
BYTE upper_1252(BYTE c) {
    if (c >= 'a' && c <= 'z')
        return (BYTE)(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return (BYTE)(c - 0x20);
    switch (c) {
    case 0x9A: // s caron
        return 0x8A;
    case 0x9C: // oe ligature
        return 0x8C;
    case 0x9E: // z caron
        return 0x8E;
    case 0xFF: // y diaeresis
        return 0x9F;
    }
    return c;
}

} // namespace

// As on Windows, an argument whose value fits in 16 bits is not a pointer but
// one character in its low byte, and the result is that character's upper case.
LPSTR WINAPI CharUpperA(LPSTR text) {
    ULONG_PTR value = (ULONG_PTR)text;
    if (value >> 16 == 0)
        return (LPSTR)(ULONG_PTR)upper_1252((BYTE)value);
    for (BYTE* c = (BYTE*)text; *c != 0; ++c)
        *c = upper_1252(*c);
    return text;
}

namespace {

// Code points of bytes 0x80 to 0x9F, where 1252 departs from Latin-1.
const char16_t HIGH_1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t wide_of(BYTE c) {
    return c >= 0x80 && c < 0xA0 ? HIGH_1252[c - 0x80] : (char16_t)c;
}

char ansi_of(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return (char)c;
    for (size_t i = 0; i < std::size(HIGH_1252); ++i) {
        if (HIGH_1252[i] == c)
            return (char)(0x80 + i);
    }
    return '?';
}

} // namespace

std::u16string layer_ansi_to_wide(LPCSTR text) {
    std::u16string wide;
    for (const BYTE* c = (const BYTE*)text; *c != 0; ++c)
        wide.push_back(wide_of(*c));
    return wide;
}

std::string layer_wide_to_ansi(const WCHAR* text) {
    std::string ansi;
    for (const WCHAR* c = text; *c != 0; ++c)
        ansi.push_back(ansi_of((char16_t)*c));
    return ansi;
}
