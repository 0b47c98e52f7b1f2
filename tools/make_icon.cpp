// Writes the program's icon as a file:
//   make_icon FILE.ico        the Windows build's resource; check it in after
//                             changing resources/icon.cpp
//   make_icon FILE.png SIZE   a SIZE by SIZE picture for the desktop, each
//                             icon pixel a square block (SIZE a multiple of 16)
#include "platform/host/headless/png_file.h"
#include "resources/icon.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>

namespace {

int write_ico(const char* path) {
    std::vector<uint8_t> bytes = programIconFile();
    FILE* file = fopen(path, "wb");
    if (file == nullptr) {
        perror(path);
        return 1;
    }
    size_t written = fwrite(bytes.data(), 1, bytes.size(), file);
    if (fclose(file) != 0 || written != bytes.size()) {
        perror(path);
        return 1;
    }
    return 0;
}

// Nearest-neighbour scaling by a whole factor keeps the pixels sharp.
int write_png(const char* path, int32_t size) {
    uint32_t icon[PROGRAM_ICON_SIZE * PROGRAM_ICON_SIZE];
    programIconPixels(icon);
    int32_t factor = size / PROGRAM_ICON_SIZE;
    std::vector<uint32_t> pixels(size_t(size) * size_t(size));
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            uint32_t pixel = icon[(y / factor) * PROGRAM_ICON_SIZE + x / factor];
            pixels[size_t(y) * size_t(size) + size_t(x)] = pixel & 0x00FFFFFFu;
        }
    }
    std::string error;
    if (!png_write_file(path, pixels.data(), size, size, size, &error)) {
        fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// A size from 16 to 1024 that the icon's 16 pixels divide; 0 otherwise.
int32_t parse_size(const char* text) {
    char* end = nullptr;
    long size = strtol(text, &end, 10);
    if (end == text || *end != '\0' || size < PROGRAM_ICON_SIZE || size > 1024 ||
        size % PROGRAM_ICON_SIZE != 0)
        return 0;
    return (int32_t)size;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2)
        return write_ico(argv[1]);
    if (argc == 3) {
        int32_t size = parse_size(argv[2]);
        if (size == 0) {
            fprintf(stderr, "make_icon: the size \"%s\" is not a multiple of 16 from 16 to 1024\n",
                    argv[2]);
            return 2;
        }
        return write_png(argv[1], size);
    }
    fprintf(stderr, "usage: make_icon FILE.ico\n       make_icon FILE.png SIZE\n");
    return 2;
}
