#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "image_test_util.h"
#include "imaging/kv_aimage.h"
#include "support/bmp_builder.h"

namespace {

using kvtest::BmpBuilder;
using kvtest::PixelAt;

class BitmapLoadTest : public testing::Test {
protected:
    // Writes the bytes to a file and loads it.
    bool Load(const std::vector<uint8_t>& bytes) {
        const std::string path = m_folder + "/picture.bmp";
        EXPECT_TRUE(kvtest::WriteBytes(path, bytes));
        return m_image.Create(path.c_str());
    }

    std::string m_folder = kvtest::MakeTempFolder();
    CKvAImage m_image;
};

// Each depth's pixels into 5-5-5, top row first: (x, row, pixel) checks per file.
TEST_F(BitmapLoadTest, EveryDepthConvertsToFiveFiveFive) {
    std::vector<uint32_t> grey(16), full(256, 0x0000FF);
    for (uint32_t i = 0; i < 16; ++i) {
        grey[i] = i * 0x080808;
    }
    full[200] = 0xFF0000;
    BmpBuilder one(10, 2, 1);
    one.Palette({0x000000, 0xFFFFFF}).Pixel(0, 0, 1).Pixel(3, 0, 1).Pixel(9, 0, 1).Pixel(9, 1, 1);
    std::vector<uint8_t> oneBytes = one.Bytes();
    oneBytes[62 + 1] |= 0x3F;  // the ignored bits after pixel 9 of the bottom row
    // With 16 colours the pixels start 64 bytes after byte 54; index 200 is past them.
    const BmpBuilder sixteen =
        BmpBuilder(2, 1, 8).Palette(std::vector<uint32_t>(16, 0x00FF00)).UsedColours(16);
    const struct {
        std::vector<uint8_t> file;
        std::vector<std::array<int, 3>> pixels;
    } cases[] = {
        {BmpBuilder(2, 2, 24).Pixel(0, 0, 0x563412).Pixel(1, 0, 0xFF).Pixel(0, 1, 0xFFFFFF).Bytes(),
         {{0, 0, 0x28C2}, {1, 0, 0x001F}, {0, 1, 0x7FFF}, {1, 1, 0}}},
        {oneBytes,
         {{0, 0, 0x7FFF}, {1, 0, 0}, {3, 0, 0x7FFF}, {9, 0, 0x7FFF}, {8, 1, 0}, {9, 1, 0x7FFF}}},
        {BmpBuilder(3, 1, 4).Palette(grey).Pixel(0, 0, 1).Pixel(1, 0, 15).Pixel(2, 0, 7).Bytes(),
         {{0, 0, 0x0421}, {1, 0, 15 * 0x0421}, {2, 0, 7 * 0x0421}}},
        {BmpBuilder(1, 1, 8).Palette(full).Pixel(0, 0, 200).Bytes(), {{0, 0, 0x7C00}}},
        {BmpBuilder(sixteen).Pixel(0, 0, 3).Pixel(1, 0, 200).Bytes(), {{0, 0, 0x03E0}, {1, 0, 0}}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(c.file)) << &c - cases;
        for (const auto [x, row, pixel] : c.pixels) {
            EXPECT_EQ(PixelAt(m_image, x, row), pixel) << &c - cases << ": " << x << "," << row;
        }
    }
    EXPECT_EQ(sixteen.Bytes().size(), 54u + 64 + 4);
    EXPECT_TRUE(m_image.HasTransparentColor());
    ASSERT_TRUE(m_image.Create((m_folder + "/picture.bmp").c_str(), 0x00FF0000));
    EXPECT_EQ(m_image.GetTransparentColor(), 0x00FF0000ul);
}

TEST_F(BitmapLoadTest, EveryTruncationIsRefused) {
    std::vector<uint32_t> palette(16, 0x123456);
    const std::vector<std::vector<uint8_t>> files = {
        BmpBuilder(5, 3, 1).Palette({0, 0xFFFFFF}).Bytes(),
        BmpBuilder(5, 3, 4).Palette(palette).Bytes(),
        BmpBuilder(5, 3, 8).Palette(palette).UsedColours(16).Bytes(),
        BmpBuilder(5, 3, 24).Bytes(),
    };
    for (const std::vector<uint8_t>& file : files) {
        ASSERT_TRUE(Load(file));
        for (size_t length = 0; length < file.size(); ++length) {
            EXPECT_FALSE(Load(std::vector<uint8_t>(file.begin(), file.begin() + length)))
                << "length " << length << " of " << file.size();
        }
    }
}

struct BadFile {
    const char* name;
    std::vector<uint8_t> bytes;
};

std::vector<BadFile> BadFiles() {
    std::vector<BadFile> files;
    for (uint16_t bits : {0, 2, 16, 32}) {
        files.push_back(
            {"bit count", BmpBuilder(4, 4, bits).Palette(std::vector<uint32_t>(256)).Bytes()});
    }
    files.push_back({"MB", BmpBuilder(4, 4, 24).Magic('M', 'B').Bytes()});
    std::vector<uint8_t> header54 = BmpBuilder(1, 1, 24).Bytes();
    header54.resize(54);
    files.push_back({"54 bytes", header54});
    files.push_back({"top-down", BmpBuilder(2, 2, 24).HeaderSize(2, -2).Bytes()});
    files.push_back({"zero height", BmpBuilder(2, 2, 24).HeaderSize(2, 0).Bytes()});
    files.push_back({"zero width", BmpBuilder(2, 2, 24).HeaderSize(0, 2).Bytes()});
    files.push_back({"negative width", BmpBuilder(2, 2, 24).HeaderSize(-8, 2).Bytes()});
    files.push_back({"huge width", BmpBuilder(2, 2, 24).HeaderSize(0x7FFFFFFF, 1).Bytes()});
    files.push_back({"huge height", BmpBuilder(2, 2, 8).HeaderSize(1, 0x7FFFFFFF).Bytes()});
    files.push_back({"huge store", BmpBuilder(2, 2, 1).HeaderSize(16384, 16384).Bytes()});
    files.push_back({"taller than stored", BmpBuilder(2, 2, 24).HeaderSize(2, 3).Bytes()});
    files.push_back({"wider than stored", BmpBuilder(2, 2, 24).HeaderSize(5, 2).Bytes()});
    files.push_back({"lying used colours", BmpBuilder(2, 2, 8).UsedColours(0xFFFFFFFF).Bytes()});
    files.push_back({"table past the end", BmpBuilder(2, 2, 8).UsedColours(300).Bytes()});
    files.push_back({"missing table", BmpBuilder(4, 4, 4).Bytes()});
    return files;
}

TEST_F(BitmapLoadTest, MalformedFilesAreRefused) {
    for (const BadFile& file : BadFiles()) {
        EXPECT_FALSE(Load(file.bytes)) << file.name;
    }
}

TEST_F(BitmapLoadTest, UnreadablePathsAreRefused) {
    EXPECT_FALSE(m_image.Create(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(m_image.Create((m_folder + "/missing.bmp").c_str()));
    EXPECT_FALSE(m_image.Create(m_folder.c_str()));
    EXPECT_EQ(m_image.GetWidth(), 0);
}

TEST_F(BitmapLoadTest, PathsFollowTheWindowsSpelling) {
    BmpBuilder bmp(1, 1, 24);
    ASSERT_TRUE(kvtest::WriteBytes(m_folder + "/Sheet.BMP", bmp.Bytes()));
    EXPECT_TRUE(m_image.Create((m_folder + "\\sheet.bmp").c_str()));
}

}  // namespace
