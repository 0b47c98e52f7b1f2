#include <windows.h>

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
