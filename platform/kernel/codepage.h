// Conversions between code page 1252, the layer's "ANSI" page, and UTF-16,
// for the wide entry points that hand a program text given in ANSI.
#pragma once

#include <windows.h>

#include <string>

// Each byte becomes one code unit; the five bytes 1252 leaves undefined keep
// their own values, as Windows maps them.
std::u16string layer_ansi_to_wide(LPCSTR text);

// Each code unit becomes one byte; a character the page lacks becomes '?'.
std::string layer_wide_to_ansi(const WCHAR* text);
