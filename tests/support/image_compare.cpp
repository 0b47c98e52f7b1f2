// Picture comparison and golden checks. Reports are written for someone
// reading a failed CI log: what differs, where, and where to look at it.
#include "tests/support/image_compare.h"

#include <algorithm>
#include <filesystem>
#include <stdio.h>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t DIFFERENCE_COLOUR = 0xFF0000;

std::string hex_colour(uint32_t pixel) {
    char text[8];
    snprintf(text, sizeof text, "#%06X", unsigned(pixel & 0xFFFFFF));
    return text;
}

std::string size_text(const Image& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height);
}

std::string difference_line(int32_t x, int32_t y, uint32_t expected, uint32_t actual) {
    return "  (" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
           hex_colour(expected) + ", actual " + hex_colour(actual) + "\n";
}

void include_point(ImageComparison* c, int32_t x, int32_t y) {
    if (c->differing == 0) {
        c->left = c->right = x;
        c->top = c->bottom = y;
        return;
    }
    c->left = std::min(c->left, x);
    c->right = std::max(c->right, x);
    c->top = std::min(c->top, y);
    c->bottom = std::max(c->bottom, y);
}

void compare_pixels(const Image& expected, const Image& actual, int max_listed,
                    ImageComparison* c) {
    std::string listed;
    for (int32_t y = 0; y < expected.height; ++y)
        for (int32_t x = 0; x < expected.width; ++x) {
            uint32_t e = expected.at(x, y) & 0xFFFFFF, a = actual.at(x, y) & 0xFFFFFF;
            if (e == a)
                continue;
            include_point(c, x, y);
            if (c->differing++ < max_listed)
                listed += difference_line(x, y, e, a);
        }
    if (c->differing == 0)
        return;
    c->report = std::to_string(c->differing) + " of " +
                std::to_string(int64_t(expected.width) * expected.height) +
                " pixels differ, within x " + std::to_string(c->left) + ".." +
                std::to_string(c->right) + ", y " + std::to_string(c->top) + ".." +
                std::to_string(c->bottom) + "; the first " +
                std::to_string(std::min<int64_t>(c->differing, max_listed)) + ":\n" + listed;
}

// Halves each channel's brightness and greys it a little, so that red marks
// stand out whatever the picture's colours.
uint32_t dimmed(uint32_t pixel) {
    uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    uint32_t grey = (r + g + b) / 3;
    auto mix = [grey](uint32_t c) { return (c + grey) / 4; };
    return mix(r) << 16 | mix(g) << 8 | mix(b);
}

bool inside(const Image& image, int32_t x, int32_t y) {
    return x < image.width && y < image.height;
}

std::string golden_name(const std::string& golden_path) {
    std::string name = fs::path(golden_path).filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        name.resize(name.size() - 4);
    return name;
}

std::string output_path(const GoldenSettings& settings, const std::string& file) {
    fs::path dir = settings.output_dir.empty() ? fs::current_path() : fs::path(settings.output_dir);
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    return fs::absolute(dir / file, ignored).string();
}

bool write_image(const std::string& path, const Image& image, std::string* error) {
    return png_write_file(path.c_str(), image.pixels.data(), image.width, image.height, image.width,
                          error);
}

::testing::AssertionResult update_golden(const std::string& golden_path, const Image& actual) {
    std::error_code ignored;
    fs::path parent = fs::path(golden_path).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, ignored);
    std::string error;
    if (!write_image(golden_path, actual, &error))
        return ::testing::AssertionFailure() << "could not update golden: " << error;
    printf("updated golden %s\n", golden_path.c_str());
    return ::testing::AssertionSuccess();
}

// Writes the actual and difference pictures and says where they went.
std::string write_evidence(const std::string& golden_path, const Image& expected,
                           const Image& actual, const GoldenSettings& settings) {
    std::string name = golden_name(golden_path);
    std::string actual_path = output_path(settings, name + ".actual.png");
    std::string text, error;
    if (write_image(actual_path, actual, &error))
        text += "wrote " + actual_path + "\n";
    else
        text += "could not write the actual picture: " + error + "\n";
    if (expected.pixels.empty())
        return text;
    std::string diff_path = output_path(settings, name + ".diff.png");
    if (write_image(diff_path, difference_image(expected, actual), &error))
        text += "wrote " + diff_path + "\n";
    else
        text += "could not write the difference picture: " + error + "\n";
    return text;
}

} // namespace

ImageComparison compare_images(const Image& expected, const Image& actual, int max_listed) {
    ImageComparison c;
    c.same_size = expected.width == actual.width && expected.height == actual.height;
    if (!c.same_size) {
        c.report =
            "sizes differ: expected " + size_text(expected) + ", actual " + size_text(actual);
        return c;
    }
    compare_pixels(expected, actual, max_listed, &c);
    c.equal = c.differing == 0;
    return c;
}

Image difference_image(const Image& expected, const Image& actual) {
    Image diff;
    diff.width = std::max(expected.width, actual.width);
    diff.height = std::max(expected.height, actual.height);
    diff.pixels.resize(size_t(diff.width) * size_t(diff.height));
    for (int32_t y = 0; y < diff.height; ++y)
        for (int32_t x = 0; x < diff.width; ++x) {
            bool in_both = inside(expected, x, y) && inside(actual, x, y);
            bool same = in_both && ((expected.at(x, y) ^ actual.at(x, y)) & 0xFFFFFF) == 0;
            diff.pixels[size_t(y) * size_t(diff.width) + size_t(x)] =
                same ? dimmed(expected.at(x, y)) : DIFFERENCE_COLOUR;
        }
    return diff;
}

Image image_from_pixels(const uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = pixels + size_t(y) * size_t(stride);
        image.pixels.insert(image.pixels.end(), row, row + width);
    }
    return image;
}

GoldenSettings golden_settings_from_environment() {
    GoldenSettings settings;
    if (const char* dir = getenv("ZANDREL_TEST_OUTPUT"))
        settings.output_dir = dir;
    const char* update = getenv("ZANDREL_UPDATE_GOLDENS");
    settings.update = update && std::string(update) == "1";
    return settings;
}

::testing::AssertionResult check_golden(const std::string& golden_path, const Image& actual,
                                        const GoldenSettings& settings) {
    if (settings.update)
        return update_golden(golden_path, actual);
    std::error_code ignored;
    if (!fs::exists(golden_path, ignored))
        return ::testing::AssertionFailure()
               << "golden " << golden_path << " does not exist; run the test with "
               << "ZANDREL_UPDATE_GOLDENS=1 to create it from the picture drawn\n"
               << write_evidence(golden_path, Image(), actual, settings);
    Image expected;
    std::string error;
    if (!png_read_file(golden_path.c_str(), &expected, &error))
        return ::testing::AssertionFailure() << "cannot read golden: " << error;
    ImageComparison comparison = compare_images(expected, actual);
    if (comparison.equal)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "picture differs from golden " << golden_path << ": " << comparison.report
           << write_evidence(golden_path, expected, actual, settings)
           << "if the new picture is right, run the test with ZANDREL_UPDATE_GOLDENS=1";
}

::testing::AssertionResult matches_golden(const char* golden_path, const uint32_t* pixels,
                                          int32_t width, int32_t height, int32_t stride) {
    fs::path path(golden_path);
#ifdef ZANDREL_SOURCE_DIR
    if (path.is_relative())
        path = fs::path(ZANDREL_SOURCE_DIR) / path;
#endif
    return check_golden(path.string(), image_from_pixels(pixels, width, height, stride),
                        golden_settings_from_environment());
}
