// Exact comparison of pictures, and golden-image checks for GoogleTest.
//
// A golden is a PNG kept in the repository. When a picture no longer matches,
// the check writes what was drawn and a picture of the differences next to the
// test, so that a person can look before accepting the change with
// ZANDREL_UPDATE_GOLDENS=1.
#pragma once

#include <gtest/gtest.h>

#include "platform/host/headless/png_file.h"

#include <stdint.h>
#include <string>

// What comparing two pictures found.
struct ImageComparison {
    bool equal = false;
    bool same_size = false;
    int64_t differing = 0; // pixels that differ; valid when same_size
    // The smallest rectangle holding every difference, right and bottom
    // included; valid when differing > 0.
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string report; // for people; empty when equal
};

// Pictures are equal when their sizes and every pixel agree. The report lists
// the first max_listed differences in reading order.
ImageComparison compare_images(const Image& expected, const Image& actual, int max_listed = 10);

// Where the pictures differ, red, over a dimmed copy of expected. When the
// sizes differ it covers both, and a pixel that only one of them has counts
// as a difference.
Image difference_image(const Image& expected, const Image& actual);

// Copies pixels with any stride into a picture with none.
Image image_from_pixels(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride);

// Where a failed check writes its pictures, and whether it rewrites goldens.
struct GoldenSettings {
    std::string output_dir; // empty for the current directory
    bool update = false;    // write the golden instead of comparing
};

// ZANDREL_TEST_OUTPUT names the output folder; ZANDREL_UPDATE_GOLDENS=1
// switches to updating.
GoldenSettings golden_settings_from_environment();

// Compares with the PNG at golden_path (taken as given). On a mismatch writes
// <name>.actual.png and <name>.diff.png into the output folder, where <name>
// is the golden's file name without ".png".
::testing::AssertionResult check_golden(const std::string& golden_path, const Image& actual,
                                        const GoldenSettings& settings);

// The check that tests use: a relative golden_path is taken from the top of
// the repository ("tests/platform/host/headless/data/scene.png"), settings come from the
// environment.
::testing::AssertionResult matches_golden(const char* golden_path, const uint32_t* pixels,
                                          int32_t width, int32_t height, int32_t stride);
