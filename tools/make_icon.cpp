// Writes the program's icon as an .ico file, for the Windows build's
// resources:  make_icon resources/zandrel.ico
// The picture itself is resources/icon.cpp; run this after changing it and
// check the new file in.
#include "resources/icon.h"

#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_icon FILE.ico\n");
        return 2;
    }
    std::vector<uint8_t> bytes = programIconFile();
    FILE* file = fopen(argv[1], "wb");
    if (file == nullptr) {
        perror(argv[1]);
        return 1;
    }
    size_t written = fwrite(bytes.data(), 1, bytes.size(), file);
    if (fclose(file) != 0 || written != bytes.size()) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
