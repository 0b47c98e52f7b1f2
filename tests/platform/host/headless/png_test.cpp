// PNG files and the golden-image checks built on them.
#include <gtest/gtest.h>

#include "platform/host/headless/png_file.h"
#include "platform/host/headless/png_stored.h"
#include "tests/support/image_compare.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

// A picture like a game screen: a blue field, yellow bars, a white circle and
// two lines of black specks standing in for text.
std::vector<uint32_t> game_screen(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0x000080);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint32_t& p = pixels[size_t(y) * size_t(width) + size_t(x)];
            if ((y * 20 / height) % 4 == 1 && x > width / 10 && x < width * 9 / 10)
                p = 0xFFFF00;
            int32_t dx = x - width / 2, dy = y - height / 2, r = height / 5;
            if (dx * dx + dy * dy < r * r)
                p = 0xFFFFFF;
        }
    uint32_t seed = 12345;
    for (int32_t line : {height / 40, height * 9 / 10})
        for (int32_t y = line; y < line + height / 48; ++y)
            for (int32_t x = width / 50; x < width * 19 / 20; ++x) {
                seed = seed * 1103515245u + 12345u;
                if ((seed >> 16) % 3 == 0)
                    pixels[size_t(y) * size_t(width) + size_t(x)] = 0;
            }
    return pixels;
}

std::vector<uint8_t> noise(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = uint8_t(seed >> 24);
    }
    return bytes;
}

std::string data_path(const char* name) {
    return std::string(ZANDREL_PNG_TEST_DATA) + "/" + name;
}

// The output folder of one test, emptied first.
fs::path scratch_dir() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::temp_directory_path() /
                   (std::string("zandrel_png_") + info->test_suite_name() + "_" + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

uint32_t read_be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Byte offsets of each chunk's length field, in file order.
std::vector<size_t> chunk_offsets(const std::vector<uint8_t>& png) {
    std::vector<size_t> offsets;
    for (size_t pos = 8; pos + 12 <= png.size(); pos += 12 + read_be32(&png[pos]))
        offsets.push_back(pos);
    return offsets;
}

// Recomputes the CRC of the chunk at offset, after a test has changed it.
void fix_crc(std::vector<uint8_t>* png, size_t offset) {
    uint32_t length = read_be32(&(*png)[offset]);
    uint32_t crc = uint32_t(crc32(0, &(*png)[offset + 4], uInt(length + 4)));
    for (int i = 0; i < 4; ++i)
        (*png)[offset + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
}

// The image data of a file, inflated: one filter byte, then the row's bytes.
std::vector<uint8_t> image_data(const std::vector<uint8_t>& png, size_t raw_size) {
    std::vector<uint8_t> compressed;
    for (size_t offset : chunk_offsets(png))
        if (memcmp(&png[offset + 4], "IDAT", 4) == 0)
            compressed.insert(compressed.end(), &png[offset + 8],
                              &png[offset + 8] + read_be32(&png[offset]));
    std::vector<uint8_t> raw(raw_size);
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), uLong(compressed.size())), Z_OK);
    EXPECT_EQ(size, raw.size());
    return raw;
}

// ---------------------------------------------------------------------------

TEST(PngEncode, RoundTripsRowsOfAWiderBuffer) {
    // Gradients and noise side by side, in a buffer wider than the picture.
    const int32_t width = 37, height = 23, stride = 45;
    std::vector<uint32_t> pixels(size_t(stride) * height, 0xDEADBE);
    std::vector<uint8_t> random = noise(size_t(width) * height, 3);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels[size_t(y) * stride + size_t(x)] =
                x < 20 ? uint32_t(x * 12) << 16 | uint32_t(y * 11) << 8 | uint32_t(x + y)
                       : random[size_t(y) * width + size_t(x)] * 0x010203u & 0xFFFFFF;
    Image expected = image_from_pixels(pixels.data(), width, height, stride);
    std::vector<uint8_t> png = png_encode(pixels.data(), width, height, stride);
    std::vector<uint8_t> raw = image_data(png, size_t(width * 3 + 1) * height);
    std::vector<int> used(5, 0);
    for (int32_t y = 0; y < height; ++y)
        ++used.at(raw[size_t(y) * (width * 3 + 1)]);
    EXPECT_LT(*std::max_element(used.begin(), used.end()), height) << "filters chosen per row";
    Image image;
    std::string error;
    ASSERT_TRUE(png_decode(png.data(), png.size(), &image, &error)) << error;
    EXPECT_TRUE(compare_images(expected, image).equal) << compare_images(expected, image).report;
}

TEST(PngEncode, WritesAPlainRgbHeader) {
    std::vector<uint32_t> pixels(300 * 2, 0x123456);
    std::vector<uint8_t> png = png_encode(pixels.data(), 300, 2, 300);
    ASSERT_GE(png.size(), 33u);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(memcmp(png.data(), signature, 8), 0);
    EXPECT_EQ(memcmp(&png[12], "IHDR", 4), 0);
    EXPECT_EQ(read_be32(&png[16]), 300u);
    EXPECT_EQ(read_be32(&png[20]), 2u);
    EXPECT_EQ(png[24], 8); // bits per sample
    EXPECT_EQ(png[25], 2); // RGB
    EXPECT_EQ(png[28], 0); // not interlaced
    EXPECT_EQ(memcmp(&png[png.size() - 8], "IEND", 4), 0);
}

TEST(PngEncode, GameScreenIsSmallAndAlwaysTheSame) {
    std::vector<uint32_t> screen = game_screen(1024, 768);
    std::vector<uint8_t> first = png_encode(screen.data(), 1024, 768, 1024);
    std::vector<uint8_t> second = png_encode(screen.data(), 1024, 768, 1024);
    EXPECT_EQ(first, second);
    // Flat colours compress to under one per cent of the raw 2.3 MB.
    EXPECT_LT(first.size(), 24000u);
    Image image;
    std::string error;
    ASSERT_TRUE(png_decode(first.data(), first.size(), &image, &error)) << error;
    EXPECT_TRUE(image.pixels == screen);
}

TEST(PngEncode, RefusesPicturesItCannotWrite) {
    uint32_t pixel = 0;
    EXPECT_TRUE(png_encode(&pixel, 0, 1, 1).empty());
    EXPECT_TRUE(png_encode(&pixel, 1, -1, 1).empty());
    EXPECT_TRUE(png_encode(&pixel, 2, 1, 1).empty()) << "stride shorter than a row";
    EXPECT_TRUE(png_encode(nullptr, 1, 1, 1).empty());
    std::string error;
    fs::path path = scratch_dir() / "nowhere" / "picture.png";
    EXPECT_FALSE(png_write_file(path.string().c_str(), &pixel, 1, 1, 1, &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_FALSE(png_write_file(path.string().c_str(), &pixel, 0, 1, 1, &error));
}

// The writer of builds without libpng, read back by libpng: one stored
// block, rows spanning several (the game's window), rows of a wider buffer.
TEST(PngEncodeStored, LibpngReadsBackEveryPixel) {
    const struct {
        int32_t width, height, stride;
    } rows[] = {{1, 1, 1}, {37, 23, 45}, {640, 368, 640}};
    for (const auto& row : rows) {
        std::vector<uint32_t> pixels = game_screen(row.stride, row.height);
        std::vector<uint8_t> random = noise(pixels.size(), uint32_t(row.width));
        for (size_t i = 0; i < pixels.size(); i += 7)
            pixels[i] = random[i] * 0x010307u & 0xFFFFFF;
        std::vector<uint8_t> png =
            png_encode_stored(pixels.data(), row.width, row.height, row.stride);
        Image image;
        std::string error;
        ASSERT_TRUE(png_decode(png.data(), png.size(), &image, &error)) << row.width << error;
        Image expected = image_from_pixels(pixels.data(), row.width, row.height, row.stride);
        EXPECT_TRUE(compare_images(expected, image).equal) << row.width;
    }
}

TEST(PngFiles, WriteThenReadBack) {
    std::vector<uint32_t> screen = game_screen(160, 120);
    std::string path = (scratch_dir() / "screen.png").string();
    std::string error;
    ASSERT_TRUE(png_write_file(path.c_str(), screen.data(), 160, 120, 160, &error)) << error;
    Image image;
    ASSERT_TRUE(png_read_file(path.c_str(), &image, &error)) << error;
    EXPECT_EQ(image.width, 160);
    EXPECT_EQ(image.height, 120);
    EXPECT_TRUE(image.pixels == screen);
    EXPECT_FALSE(png_read_file((path + ".missing").c_str(), &image, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    // A folder opens on some systems but cannot be read or written as a file.
    std::string folder = path + ".d";
    fs::create_directories(folder);
    EXPECT_FALSE(png_read_file(folder.c_str(), &image, &error));
    EXPECT_NE(error.find(folder), std::string::npos) << error;
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(png_write_file(folder.c_str(), screen.data(), 160, 120, 160, &error));
    EXPECT_NE(error.find("cannot create " + folder), std::string::npos) << error;
}

// ---------------------------------------------------------------------------

TEST(PngDecode, ReadsFilesFromAnotherWriter) {
    // Made by other programs from these formulas. The RGB and RGBA files use
    // dynamic Huffman blocks, the others fixed ones; every_filter.png has row
    // y filtered with type y % 5, on values that make the predictors tie;
    // interlaced.png is 8-bit RGB in seven passes of uneven sizes.
    struct Case {
        const char* file;
        int32_t width, height;
        std::function<uint32_t(uint32_t, uint32_t)> pixel;
    };
    const Case cases[] = {
        {"pillow_rgb.png", 64, 48,
         [](uint32_t x, uint32_t y) {
             return (x * 4 & 255) << 16 | (y * 5 & 255) << 8 | (x * y & 255);
         }},
        {"pillow_rgba.png", 40, 30,
         [](uint32_t x, uint32_t y) {
             return (x * 6 & 255) << 16 | (y * 8 & 255) << 8 | ((x + y) * 3 & 255);
         }},
        {"pillow_palette.png", 40, 30,
         [](uint32_t x, uint32_t y) {
             uint32_t i = (x / 5 + y / 5 * 3) % 16;
             return (i * 16) << 16 | (255 - i * 16) << 8 | (i * 40 & 255);
         }},
        {"pillow_grey.png", 33, 17,
         [](uint32_t x, uint32_t y) { return ((x * 7 + y * 3) & 255) * 0x010101u; }},
        {"pillow_grey16.png", 20, 10,
         [](uint32_t x, uint32_t y) { return (((x * 3000 + y * 450) & 0xFFFF) >> 8) * 0x010101u; }},
        {"every_filter.png", 48, 40,
         [](uint32_t x, uint32_t y) {
             uint32_t pixel = 0;
             for (uint32_t channel = 0; channel < 3; ++channel) {
                 uint32_t h = (x * 73856093u) ^ (y * 19349663u) ^ (channel * 83492791u);
                 pixel = pixel << 8 | (h >> 7) % 5 * 61;
             }
             return pixel;
         }},
        {"pillow_bilevel.png", 21, 9,
         [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0 ? 0xFFFFFFu : 0u; }},
        {"interlaced.png", 13, 11,
         [](uint32_t x, uint32_t y) {
             return (x * 19 & 255) << 16 | (y * 23 & 255) << 8 | ((x ^ y) * 7 & 255);
         }},
    };
    for (const Case& c : cases) {
        Image image;
        std::string error;
        ASSERT_TRUE(png_read_file(data_path(c.file).c_str(), &image, &error)) << error;
        ASSERT_EQ(image.width, c.width) << c.file;
        ASSERT_EQ(image.height, c.height) << c.file;
        Image expected = image;
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < c.width; ++x)
                expected.pixels[size_t(y) * size_t(c.width) + size_t(x)] = c.pixel(x, y);
        ImageComparison comparison = compare_images(expected, image);
        EXPECT_TRUE(comparison.equal) << c.file << ": " << comparison.report;
    }
}

// A small valid file for the damage tests.
std::vector<uint8_t> small_png() {
    std::vector<uint32_t> pixels = game_screen(24, 16);
    return png_encode(pixels.data(), 24, 16, 24);
}

// A refusal is one line that says the file is no valid PNG; what libpng
// adds to it is libpng's. A picture past the pixel limit is refused with the
// size it claims.
TEST(PngDecode, RefusesMalformedFilesInOneLine) {
    const std::vector<uint8_t> good = small_png();
    const struct {
        const char* name;
        size_t offset;
        uint8_t value;
        const char* start;
    } cases[] = {
        {"signature", 1, 'p', "invalid PNG: "},
        {"huge", 16, 0x40, "invalid PNG: picture too large (1073741848 by 16 pixels)"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> png = good;
        png[c.offset] = c.value;
        fix_crc(&png, 8);
        Image image;
        std::string error;
        EXPECT_FALSE(png_decode(png.data(), png.size(), &image, &error)) << c.name;
        EXPECT_EQ(error.rfind(c.start, 0), 0u) << c.name << ": " << error;
        EXPECT_GT(error.size(), strlen("invalid PNG: ")) << c.name;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.name << ": " << error;
        EXPECT_TRUE(image.pixels.empty()) << c.name;
    }
}

TEST(PngDecode, RefusesEveryTruncation) {
    const std::vector<uint8_t> good = small_png();
    for (size_t size = 0; size < good.size(); ++size) {
        Image image;
        std::string error;
        EXPECT_FALSE(png_decode(good.data(), size, &image, &error)) << size;
        EXPECT_FALSE(error.empty()) << size;
    }
}

TEST(PngDecode, PaletteMustCoverEveryIndex) {
    std::vector<uint8_t> png;
    ASSERT_TRUE([&] {
        FILE* file = fopen(data_path("pillow_palette.png").c_str(), "rb");
        if (!file)
            return false;
        for (int c; (c = fgetc(file)) != EOF;)
            png.push_back(uint8_t(c));
        fclose(file);
        return true;
    }());
    // Shorten PLTE to 15 entries: the picture uses 16.
    size_t plte = 0;
    for (size_t offset : chunk_offsets(png))
        if (memcmp(&png[offset + 4], "PLTE", 4) == 0)
            plte = offset;
    ASSERT_NE(plte, 0u);
    uint32_t length = read_be32(&png[plte]);
    ASSERT_GT(length, 45u);
    png.erase(png.begin() + ptrdiff_t(plte + 8 + 45), png.begin() + ptrdiff_t(plte + 8 + length));
    png[plte] = png[plte + 1] = png[plte + 2] = 0;
    png[plte + 3] = 45;
    fix_crc(&png, plte);
    Image image;
    std::string error;
    EXPECT_FALSE(png_decode(png.data(), png.size(), &image, &error));
    EXPECT_NE(error.find("palette index 15 out of range: the palette has 15 colours"),
              std::string::npos)
        << error;
}

TEST(PngDecode, DamagedImageDataFailsCleanly) {
    // Each damaged copy has a correct CRC, so the damage reaches the
    // inflater. It must report it, never read outside its input, and succeed
    // only where the flip hit bits that mean nothing, such as the padding
    // after the last block.
    const std::vector<uint8_t> good = small_png();
    Image original;
    std::string problem;
    ASSERT_TRUE(png_decode(good.data(), good.size(), &original, &problem)) << problem;
    size_t idat = chunk_offsets(good)[1];
    uint32_t length = read_be32(&good[idat]);
    std::vector<uint8_t> flips = noise(400, 17);
    int refused = 0;
    for (size_t i = 0; i + 1 < flips.size(); i += 2) {
        std::vector<uint8_t> png = good;
        png[idat + 8 + flips[i] % length] ^= uint8_t(1u << (flips[i + 1] % 8));
        fix_crc(&png, idat);
        Image image;
        std::string error;
        if (png_decode(png.data(), png.size(), &image, &error))
            EXPECT_TRUE(image.pixels == original.pixels) << i;
        else
            ++refused;
    }
    EXPECT_GE(refused, 190);
}

// ---------------------------------------------------------------------------

Image solid(int32_t width, int32_t height, uint32_t colour) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t(width) * size_t(height), colour);
    return image;
}

TEST(ImageCompare, EqualPicturesAndSizeMismatch) {
    ImageComparison same = compare_images(solid(4, 3, 0x102030), solid(4, 3, 0x102030));
    EXPECT_TRUE(same.equal);
    EXPECT_TRUE(same.report.empty());
    ImageComparison sizes = compare_images(solid(4, 3, 0), solid(3, 4, 0));
    EXPECT_FALSE(sizes.equal);
    EXPECT_EQ(sizes.report, "sizes differ: expected 4x3, actual 3x4");
}

TEST(ImageCompare, ReportsCountBoundsAndFirstTenDifferences) {
    Image expected = solid(20, 10, 0x0000FF);
    Image actual = expected;
    for (int32_t x = 2; x < 14; ++x)
        actual.pixels[size_t(3) * 20 + size_t(x)] = 0xFFFF00;
    actual.pixels[size_t(8) * 20 + 5] = 0xABCDEF;
    ImageComparison c = compare_images(expected, actual);
    EXPECT_FALSE(c.equal);
    EXPECT_EQ(c.differing, 13);
    EXPECT_EQ(c.left, 2);
    EXPECT_EQ(c.top, 3);
    EXPECT_EQ(c.right, 13);
    EXPECT_EQ(c.bottom, 8);
    EXPECT_NE(c.report.find("13 of 200 pixels differ, within x 2..13, y 3..8"), std::string::npos)
        << c.report;
    EXPECT_NE(c.report.find("(2, 3): expected #0000FF, actual #FFFF00"), std::string::npos);
    EXPECT_NE(c.report.find("(11, 3)"), std::string::npos) << "the tenth is listed";
    EXPECT_EQ(c.report.find("(12, 3)"), std::string::npos) << "the eleventh is not";
    EXPECT_EQ(c.report.find("(5, 8)"), std::string::npos);
}

TEST(ImageCompare, DifferenceImageMarksChangedAndMissingPixels) {
    Image expected = solid(3, 2, 0xFFFFFF);
    Image actual = solid(4, 2, 0xFFFFFF);
    actual.pixels[1] = 0;
    Image diff = difference_image(expected, actual);
    ASSERT_EQ(diff.width, 4);
    ASSERT_EQ(diff.height, 2);
    EXPECT_EQ(diff.at(1, 0), 0xFF0000u);
    EXPECT_EQ(diff.at(3, 1), 0xFF0000u) << "only in actual";
    EXPECT_NE(diff.at(0, 0), 0xFF0000u);
    EXPECT_LT(diff.at(0, 0) & 0xFF, 0xFFu) << "unchanged pixels are dimmed";
}

TEST(GoldenCheck, MissingGoldenFailsAndNamesTheSwitch) {
    fs::path dir = scratch_dir();
    GoldenSettings settings{(dir / "out").string(), false};
    Image picture = solid(5, 5, 0x00FF00);
    ::testing::AssertionResult result =
        check_golden((dir / "absent.png").string(), picture, settings);
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("ZANDREL_UPDATE_GOLDENS=1"), std::string::npos)
        << result.message();
    EXPECT_TRUE(fs::exists(dir / "out" / "absent.actual.png"));
}

TEST(GoldenCheck, UpdateWritesTheGoldenThenItMatches) {
    fs::path dir = scratch_dir();
    std::string golden = (dir / "goldens" / "scene.png").string();
    Image picture = image_from_pixels(game_screen(64, 48).data(), 64, 48, 64);
    EXPECT_TRUE(check_golden(golden, picture, GoldenSettings{dir.string(), true}));
    EXPECT_TRUE(check_golden(golden, picture, GoldenSettings{dir.string(), false}));
    EXPECT_FALSE(fs::exists(dir / "scene.actual.png"));
}

TEST(GoldenCheck, MismatchWritesActualAndDiffPictures) {
    fs::path dir = scratch_dir();
    std::string golden = (dir / "scene.png").string();
    Image picture = solid(8, 8, 0x000080);
    ASSERT_TRUE(check_golden(golden, picture, GoldenSettings{dir.string(), true}));
    Image changed = picture;
    changed.pixels[8 * 2 + 3] = 0xFFFFFF;
    ::testing::AssertionResult result =
        check_golden(golden, changed, GoldenSettings{(dir / "out").string(), false});
    ASSERT_FALSE(result);
    std::string message = result.message();
    EXPECT_NE(message.find("(3, 2): expected #000080, actual #FFFFFF"), std::string::npos)
        << message;
    EXPECT_NE(message.find("scene.diff.png"), std::string::npos) << message;
    Image actual, diff;
    std::string error;
    ASSERT_TRUE(png_read_file((dir / "out" / "scene.actual.png").string().c_str(), &actual, &error))
        << error;
    EXPECT_TRUE(compare_images(changed, actual).equal);
    ASSERT_TRUE(png_read_file((dir / "out" / "scene.diff.png").string().c_str(), &diff, &error))
        << error;
    EXPECT_EQ(diff.at(3, 2), 0xFF0000u);
    EXPECT_NE(diff.at(0, 0), 0xFF0000u);
}

TEST(GoldenCheck, SceneMatchesItsCheckedInGolden) {
    std::vector<uint32_t> screen = game_screen(160, 120);
    EXPECT_TRUE(matches_golden("tests/platform/host/headless/data/scene.png", screen.data(), 160,
                               120, 160));
}

} // namespace
