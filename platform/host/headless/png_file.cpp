// PNG encoding and decoding over libpng.
//
// libpng reports a failure by calling an error function that must not return.
// Ours records the sentence and jumps back to the setjmp of the step that
// called libpng. The jump only crosses libpng's C frames and our callbacks,
// which hold no objects with destructors; every buffer is owned by a caller
// of a step, outside the jump, and the steps change no local after setjmp.
// Nothing is printed: warnings are kept and added to the error they explain.
#include "platform/host/headless/png_file.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <new>

namespace {

// The writer's settings. Fixed, so that a capture's bytes depend on its
// pixels only: zlib's usual level (a full screen in about 60 ms; level 9
// saves a fifth of the bytes for six times the time), and libpng's per-row
// choice among all five filters.
constexpr int COMPRESSION_LEVEL = 6;
constexpr int FILTERS = PNG_ALL_FILTERS;

// What libpng said. The jump buffer is valid while a step runs.
struct Problem {
    jmp_buf jump;
    char error[200] = "";
    char warning[200] = ""; // the first warning, often the detail of the error
};

[[noreturn]] void on_error(png_structp png, png_const_charp message) {
    Problem* problem = static_cast<Problem*>(png_get_error_ptr(png));
    snprintf(problem->error, sizeof problem->error, "%s", message ? message : "unknown error");
    longjmp(problem->jump, 1);
}

void on_warning(png_structp png, png_const_charp message) {
    Problem* problem = static_cast<Problem*>(png_get_error_ptr(png));
    if (!problem->warning[0])
        snprintf(problem->warning, sizeof problem->warning, "%s", message ? message : "");
}

bool fail(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

std::string problem_text(const Problem& problem) {
    std::string text = std::string("invalid PNG: ") + problem.error;
    if (problem.warning[0] && strcmp(problem.warning, problem.error) != 0)
        text += std::string(" (") + problem.warning + ")";
    return text;
}

// ---------------------------------------------------------------------------
// Writing

// Where encoded bytes go. The vector is the caller's.
struct Output {
    std::vector<uint8_t>* bytes;
};

void write_output(png_structp png, png_bytep data, size_t size) {
    Output* out = static_cast<Output*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        out->bytes->insert(out->bytes->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored)
        png_error(png, "out of memory for the encoded picture");
}

void flush_output(png_structp) {}

// The picture to write; row is scratch space for one row of RGB bytes.
struct Source {
    const uint32_t* pixels;
    int32_t width, height, stride;
    uint8_t* row;
};

void fill_row(const Source& source, int32_t y) {
    const uint32_t* from = source.pixels + size_t(y) * size_t(source.stride);
    for (int32_t x = 0; x < source.width; ++x) {
        source.row[3 * x] = uint8_t(from[x] >> 16);
        source.row[3 * x + 1] = uint8_t(from[x] >> 8);
        source.row[3 * x + 2] = uint8_t(from[x]);
    }
}

// One step under the jump point: header, rows and end of the file.
bool write_png(png_structp png, png_infop info, Problem* problem, Output* out,
               const Source* source) {
    if (setjmp(problem->jump))
        return false;
    png_set_write_fn(png, out, write_output, flush_output);
    png_set_IHDR(png, info, png_uint_32(source->width), png_uint_32(source->height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, COMPRESSION_LEVEL);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, FILTERS);
    png_write_info(png, info);
    for (int32_t y = 0; y < source->height; ++y) {
        fill_row(*source, y);
        png_write_row(png, source->row);
    }
    png_write_end(png, info);
    return true;
}

// ---------------------------------------------------------------------------
// Reading

// The file being read, from memory.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t used;
};

void read_input(png_structp png, png_bytep to, size_t size) {
    Input* in = static_cast<Input*>(png_get_io_ptr(png));
    if (size > in->size - in->used)
        png_error(png, "truncated file: it ends before the picture does");
    memcpy(to, in->data + in->used, size);
    in->used += size;
}

// How the rows read: 8-bit RGB, or one palette index a byte. Palettes are
// looked up here rather than by libpng, which shows an index past the end of
// the palette as black instead of refusing the file.
struct Layout {
    int32_t width = 0, height = 0;
    size_t row_bytes = 0;
    png_colorp palette = nullptr; // null for RGB rows
    int colours = 0;              // entries in palette
};

// Asks libpng for 8-bit RGB whatever the file holds, or for indices when it
// has a palette: grey expanded, 16-bit samples cut to their high byte, alpha
// and transparency dropped.
void ask_for_rows(png_structp png, png_infop info, Layout* layout) {
    bool indexed = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
    if (indexed) {
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_strip_alpha(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != (indexed ? 1 : 3) || png_get_bit_depth(png, info) != 8)
        png_error(png, "cannot convert the picture to 8-bit RGB");
    if (indexed)
        png_get_PLTE(png, info, &layout->palette, &layout->colours);
    layout->row_bytes = png_get_rowbytes(png, info);
}

void check_size(png_structp png, png_infop info, Layout* layout) {
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    if (uint64_t(width) * height > PNG_MAX_PIXELS) {
        char text[100];
        snprintf(text, sizeof text, "picture too large (%u by %u pixels)", unsigned(width),
                 unsigned(height));
        png_error(png, text);
    }
    layout->width = int32_t(width);
    layout->height = int32_t(height);
}

// The first step: signature and chunks up to the pixels, and the size.
bool read_header(png_structp png, png_infop info, Problem* problem, Input* in, Layout* layout) {
    if (setjmp(problem->jump))
        return false;
    png_set_read_fn(png, in, read_input);
    // Damage in the compressed data must not pass as a picture.
    png_set_benign_errors(png, 0);
    // Sizes are limited by pixel count below, with a clearer sentence.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    check_size(png, info, layout);
    ask_for_rows(png, info, layout);
    return true;
}

// The second step: every row into the caller's buffer, then the rest of the
// file, whose chunks are checked too.
bool read_rows(png_structp png, Problem* problem, png_bytepp rows) {
    if (setjmp(problem->jump))
        return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool unpack_rgb(const std::vector<uint8_t>& rgb, Image* image) {
    for (size_t i = 0; i < image->pixels.size(); ++i)
        image->pixels[i] =
            uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return true;
}

bool unpack_indices(const std::vector<uint8_t>& indices, const Layout& layout, Image* image,
                    Problem* problem) {
    for (size_t i = 0; i < image->pixels.size(); ++i) {
        if (indices[i] >= layout.colours) {
            snprintf(problem->error, sizeof problem->error,
                     "palette index %d out of range: the palette has %d colours", indices[i],
                     layout.colours);
            return false;
        }
        const png_color& c = layout.palette[indices[i]];
        image->pixels[i] = uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
    }
    return true;
}

bool decode_rows(png_structp png, png_infop info, Problem* problem, Input* in, Image* image) {
    Layout layout;
    if (!read_header(png, info, problem, in, &layout))
        return false;
    std::vector<uint8_t> bytes(layout.row_bytes * size_t(layout.height));
    std::vector<png_bytep> rows(static_cast<size_t>(layout.height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = bytes.data() + y * layout.row_bytes;
    if (!read_rows(png, problem, rows.data()))
        return false;
    image->width = layout.width;
    image->height = layout.height;
    image->pixels.resize(size_t(layout.width) * size_t(layout.height));
    return layout.palette ? unpack_indices(bytes, layout, image, problem)
                          : unpack_rgb(bytes, image);
}

bool read_whole_file(FILE* file, std::vector<uint8_t>* bytes) {
    uint8_t buffer[65536];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes->insert(bytes->end(), buffer, buffer + n);
    return ferror(file) == 0;
}

} // namespace

std::vector<uint8_t> png_encode(const uint32_t* pixels, int32_t width, int32_t height,
                                int32_t stride) {
    if (!png_can_encode(pixels, width, height, stride))
        return {};
    Problem problem;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &problem, on_error, on_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> row(size_t(width) * 3);
    Output out{&bytes};
    Source source{pixels, width, height, stride, row.data()};
    bool written = info && write_png(png, info, &problem, &out, &source);
    png_destroy_write_struct(&png, &info);
    if (!written)
        bytes.clear();
    return bytes;
}

bool png_decode(const uint8_t* data, size_t size, Image* image, std::string* error) {
    *image = Image();
    Problem problem;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &problem, on_error, on_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return fail(error, "cannot start the PNG reader: out of memory");
    }
    Input in{data, data ? size : 0, 0};
    bool decoded = decode_rows(png, info, &problem, &in, image);
    png_destroy_read_struct(&png, &info, nullptr);
    if (decoded)
        return true;
    *image = Image();
    return fail(error, problem_text(problem));
}

bool png_read_file(const char* path, Image* image, std::string* error) {
    *image = Image();
    FILE* file = fopen(path, "rb");
    if (!file)
        return fail(error, std::string("cannot open ") + path);
    std::vector<uint8_t> bytes;
    bool read = read_whole_file(file, &bytes);
    fclose(file);
    if (!read)
        return fail(error, std::string("cannot read ") + path);
    std::string problem;
    if (!png_decode(bytes.data(), bytes.size(), image, &problem))
        return fail(error, std::string(path) + ": " + problem);
    return true;
}
