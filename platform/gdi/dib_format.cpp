// Reading and writing pixels in a program's own layout.
#include "platform/gdi/dib_format.h"

#include <string.h>

namespace {

// The twenty colours every palette of the system starts and ends with, as
// 0x00RRGGBB: ten dark and pale ones, then ten bright ones.
constexpr uint32_t SYSTEM_COLORS[20] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                        0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
                                        0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                        0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// The sixteen colours of a 4-bit layout the system fills in.
constexpr uint32_t SIXTEEN_COLORS[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void report_unsupported_layout() {
    static bool reported = false;
    if (!reported) {
        reported = true;
        OutputDebugStringA("gdi: device-independent pixels only as uncompressed 1, 4, 8, 16, 24 "
                           "or 32 bits\n");
    }
}

// The system's own table: black and white; sixteen colours; or the twenty
// system colours at both ends with levels of red, green and blue between.
void default_table(DibFormat* format) {
    format->colors = 1u << format->depth;
    if (format->depth == 1) {
        format->table[0] = 0x000000;
        format->table[1] = 0xFFFFFF;
    } else if (format->depth == 4) {
        memcpy(format->table, SIXTEEN_COLORS, sizeof SIXTEEN_COLORS);
    } else {
        for (uint32_t i = 0; i < 256; ++i)
            format->table[i] = (i & 0x07) << 21 | (i & 0x38) << 10 | (i & 0xC0);
        memcpy(format->table, SYSTEM_COLORS, 10 * sizeof(uint32_t));
        memcpy(format->table + 246, SYSTEM_COLORS + 10, 10 * sizeof(uint32_t));
    }
}

// With DIB_PAL_COLORS a table entry is an index into the context's palette.
// The layer's contexts all hold the default one, the twenty system colours,
// which larger indices wrap round.
uint32_t palette_color(uint32_t index) {
    return SYSTEM_COLORS[index % 20];
}

void program_table(const BITMAPINFO& info, UINT usage, DibFormat* format) {
    uint32_t most = 1u << format->depth;
    DWORD used = info.bmiHeader.biClrUsed;
    format->colors = used != 0 && used < most ? used : most;
    const BYTE* entries = (const BYTE*)&info + info.bmiHeader.biSize;
    for (uint32_t i = 0; i < format->colors; ++i) {
        if (usage == DIB_PAL_COLORS) {
            WORD index;
            memcpy(&index, entries + 2 * i, sizeof index);
            format->table[i] = palette_color(index);
            continue;
        }
        RGBQUAD q;
        memcpy(&q, entries + 4 * i, sizeof q);
        format->table[i] = (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue;
    }
}

// Masks follow the 40 bytes of a BITMAPINFOHEADER, inside a larger header
// or as the first three entries of the colour table.
bool read_masks(const BITMAPINFO& info, bool own, DibFormat* format) {
    bool plain = info.bmiHeader.biCompression == BI_RGB || own;
    if (plain && format->depth == 16) {
        format->masks[0] = 0x7C00, format->masks[1] = 0x03E0, format->masks[2] = 0x001F;
        if (own && info.bmiHeader.biCompression == BI_BITFIELDS)
            format->masks[0] = 0xF800, format->masks[1] = 0x07E0;
        return true;
    }
    if (plain) {
        format->masks[0] = 0xFF0000, format->masks[1] = 0x00FF00, format->masks[2] = 0x0000FF;
        return true;
    }
    memcpy(format->masks, (const BYTE*)&info + sizeof(BITMAPINFOHEADER), sizeof format->masks);
    return format->masks[0] != 0 && format->masks[1] != 0 && format->masks[2] != 0;
}

bool supported(const BITMAPINFOHEADER& header) {
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        return header.biCompression == BI_RGB;
    case 16:
    case 32:
        return header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
    }
    return false;
}

int shift_of(uint32_t mask) {
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int bits_of(uint32_t mask) {
    int bits = 0;
    for (; mask != 0; mask &= mask - 1)
        ++bits;
    return bits;
}

// A channel of `bits` bits as 8: its bits repeated into the low ones, so
// that the largest value becomes 255.
uint32_t widen(uint32_t value, int bits) {
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xFF;
    uint32_t wide = 0;
    for (int shift = 8 - bits; shift > -bits; shift -= bits)
        wide |= shift >= 0 ? value << shift : value >> -shift;
    return wide & 0xFF;
}

uint32_t from_masks(const DibFormat& format, uint32_t value) {
    uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        uint32_t mask = format.masks[c];
        int shift = shift_of(mask);
        pixel = pixel << 8 | widen((value & mask) >> shift, bits_of(mask));
    }
    return pixel;
}

uint32_t to_masks(const DibFormat& format, uint32_t pixel) {
    uint32_t value = 0;
    for (int c = 0; c < 3; ++c) {
        uint32_t mask = format.masks[c];
        uint32_t channel = (pixel >> (16 - 8 * c)) & 0xFF;
        int bits = bits_of(mask);
        channel = bits <= 8 ? channel >> (8 - bits) : channel << (bits - 8);
        value |= (channel << shift_of(mask)) & mask;
    }
    return value;
}

uint32_t nearest_index(const DibFormat& format, uint32_t pixel) {
    uint32_t best = 0;
    int64_t best_distance = INT64_MAX;
    for (uint32_t i = 0; i < format.colors; ++i) {
        int64_t distance = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            int64_t d = (int64_t)((pixel >> shift) & 0xFF) - ((format.table[i] >> shift) & 0xFF);
            distance += d * d;
        }
        if (distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return best;
}

bool plain_32(const DibFormat& format) {
    return format.masks[0] == 0xFF0000 && format.masks[1] == 0xFF00 && format.masks[2] == 0xFF;
}

} // namespace

size_t dib_stride(int32_t width, uint16_t depth) {
    return ((size_t)width * depth + 31) / 32 * 4;
}

bool dib_format_of(const BITMAPINFO& info, UINT usage, bool fill_table, DibFormat* format) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    // The colour table follows the header, so a header larger than the
    // largest the system defines (124 bytes) is refused rather than trusted.
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > 124 || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biHeight == INT32_MIN || header.biPlanes != 1)
        return false;
    if (!supported(header) || usage > DIB_PAL_COLORS) {
        report_unsupported_layout();
        return false;
    }
    format->width = header.biWidth;
    format->top_down = header.biHeight < 0;
    format->height = format->top_down ? -header.biHeight : header.biHeight;
    format->depth = header.biBitCount;
    format->stride = dib_stride(format->width, format->depth);
    format->colors = 0;
    format->palette_indices = usage == DIB_PAL_COLORS;
    if (format->depth <= 8 && fill_table && format->palette_indices) {
        format->colors = 1u << format->depth;
        for (uint32_t i = 0; i < format->colors; ++i)
            format->table[i] = palette_color(i);
    } else if (format->depth <= 8) {
        if (fill_table)
            default_table(format);
        else
            program_table(info, usage, format);
    }
    if (format->depth <= 8)
        return true;
    return format->depth == 24 || read_masks(info, fill_table, format);
}

void dib_write_table(const DibFormat& format, BITMAPINFO* info) {
    BYTE* after = (BYTE*)info + info->bmiHeader.biSize;
    if (format.depth <= 8 && format.palette_indices) {
        for (uint32_t i = 0; i < format.colors; ++i) {
            WORD index = (WORD)i;
            memcpy(after + 2 * i, &index, sizeof index);
        }
    } else if (format.depth <= 8) {
        for (uint32_t i = 0; i < format.colors; ++i) {
            uint32_t c = format.table[i];
            RGBQUAD q = {(BYTE)c, (BYTE)(c >> 8), (BYTE)(c >> 16), 0};
            memcpy(after + 4 * i, &q, sizeof q);
        }
    } else if (info->bmiHeader.biCompression == BI_BITFIELDS) {
        memcpy((BYTE*)info + sizeof(BITMAPINFOHEADER), format.masks, sizeof format.masks);
    }
}

uint32_t dib_read(const DibFormat& format, const BYTE* row, int32_t x) {
    switch (format.depth) {
    case 1:
    case 4:
    case 8: {
        size_t bit = (size_t)x * format.depth;
        uint32_t index =
            (row[bit / 8] >> (8 - format.depth - bit % 8)) & ((1u << format.depth) - 1);
        return index < format.colors ? format.table[index] : 0;
    }
    case 16:
        return from_masks(format, (uint32_t)row[2 * x] | (uint32_t)row[2 * x + 1] << 8);
    case 24:
        return (uint32_t)row[3 * x] | (uint32_t)row[3 * x + 1] << 8 |
               (uint32_t)row[3 * x + 2] << 16;
    }
    uint32_t pixel;
    memcpy(&pixel, row + 4 * (size_t)x, sizeof pixel);
    return plain_32(format) ? pixel : from_masks(format, pixel);
}

void dib_write(const DibFormat& format, BYTE* row, int32_t x, uint32_t pixel) {
    switch (format.depth) {
    case 1:
    case 4:
    case 8: {
        size_t bit = (size_t)x * format.depth;
        int shift = 8 - format.depth - (int)(bit % 8);
        BYTE mask = (BYTE)(((1u << format.depth) - 1) << shift);
        BYTE index = (BYTE)(nearest_index(format, pixel & 0xFFFFFF) << shift);
        row[bit / 8] = (BYTE)((row[bit / 8] & ~mask) | index);
        return;
    }
    case 16: {
        uint32_t value = to_masks(format, pixel);
        row[2 * x] = (BYTE)value;
        row[2 * x + 1] = (BYTE)(value >> 8);
        return;
    }
    case 24:
        row[3 * x] = (BYTE)pixel;
        row[3 * x + 1] = (BYTE)(pixel >> 8);
        row[3 * x + 2] = (BYTE)(pixel >> 16);
        return;
    }
    uint32_t value = plain_32(format) ? pixel : to_masks(format, pixel);
    memcpy(row + 4 * (size_t)x, &value, sizeof value);
}
