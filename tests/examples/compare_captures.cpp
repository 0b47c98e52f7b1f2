// Compares a script's captures with their goldens, pixel for pixel:
//   compare_captures GOLDEN_DIR CAPTURE_DIR NAME.png...
// A capture that differs is written beside the captures as NAME.actual.png
// with NAME.diff.png; ZANDREL_UPDATE_GOLDENS=1 rewrites the goldens instead.
#include "tests/support/image_compare.h"

#include <stdio.h>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: compare_captures GOLDEN_DIR CAPTURE_DIR NAME.png...\n");
        return 2;
    }
    GoldenSettings settings = golden_settings_from_environment();
    settings.output_dir = argv[2];
    int failed = 0;
    for (int i = 3; i < argc; ++i) {
        Image actual;
        std::string capture = std::string(argv[2]) + "/" + argv[i], error;
        if (!png_read_file(capture.c_str(), &actual, &error)) {
            fprintf(stderr, "%s: %s\n", argv[i], error.c_str());
            ++failed;
            continue;
        }
        ::testing::AssertionResult result =
            check_golden(std::string(argv[1]) + "/" + argv[i], actual, settings);
        if (!result) {
            fprintf(stderr, "%s: %s\n", argv[i], result.message());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
