#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "imaging/kv_aimage.h"
#include "support/bmp_builder.h"

namespace {

using kvtest::BmpBuilder;

class BitmapLoadTest : public testing::Test {
protected:
    bool Load(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(kvtest::WriteBytes(m_path, bytes));
        return m_image.Create(m_path.c_str());
    }

    std::string m_folder = kvtest::MakeTempFolder();
    std::string m_path = m_folder + "/picture.bmp";
    CKvAImage m_image;
};

// Each depth into 5-5-5, top row first: (x, row, pixel) checks per file; no truncation loads.
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
    EXPECT_EQ(sixteen.Bytes().size(), 54u + 64 + 4);
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
        EXPECT_TRUE(m_image.HasTransparentColor());
        for (const auto [x, row, pixel] : c.pixels) {
            EXPECT_EQ(m_image.Row(row)[x], pixel) << &c - cases << ": " << x << "," << row;
        }
        for (size_t length = 0; length < c.file.size(); ++length) {
            EXPECT_FALSE(Load(std::vector<uint8_t>(c.file.begin(), c.file.begin() + length)))
                << &c - cases << ": every truncation is refused, " << length;
        }
    }
    ASSERT_TRUE(kvtest::WriteBytes(m_path, cases[0].file));
    ASSERT_TRUE(m_image.Create(m_path.c_str(), 0x00FF0000));
    EXPECT_EQ(m_image.GetTransparentColor(), 0x00FF0000ul);
}

TEST_F(BitmapLoadTest, MalformedFilesAreRefused) {
    const std::vector<uint32_t> palette(256);
    std::vector<uint8_t> header54 = BmpBuilder(1, 1, 24).Bytes();
    header54.resize(54);
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {"0 bits", BmpBuilder(4, 4, 0).Palette(palette).Bytes()},
        {"2 bits", BmpBuilder(4, 4, 2).Palette(palette).Bytes()},
        {"16 bits", BmpBuilder(4, 4, 16).Palette(palette).Bytes()},
        {"32 bits", BmpBuilder(4, 4, 32).Palette(palette).Bytes()},
        {"MB", BmpBuilder(4, 4, 24).Magic('M', 'B').Bytes()},
        {"54 bytes", header54},
        {"top-down", BmpBuilder(2, 2, 24).HeaderSize(2, -2).Bytes()},
        {"zero height", BmpBuilder(2, 2, 24).HeaderSize(2, 0).Bytes()},
        {"zero width", BmpBuilder(2, 2, 24).HeaderSize(0, 2).Bytes()},
        {"negative width", BmpBuilder(2, 2, 24).HeaderSize(-8, 2).Bytes()},
        {"huge width", BmpBuilder(2, 2, 24).HeaderSize(0x7FFFFFFF, 1).Bytes()},
        {"huge height", BmpBuilder(2, 2, 8).HeaderSize(1, 0x7FFFFFFF).Bytes()},
        {"huge store", BmpBuilder(2, 2, 1).HeaderSize(16384, 16384).Bytes()},
        {"taller than stored", BmpBuilder(2, 2, 24).HeaderSize(2, 3).Bytes()},
        {"wider than stored", BmpBuilder(2, 2, 24).HeaderSize(5, 2).Bytes()},
        {"lying used colours", BmpBuilder(2, 2, 8).UsedColours(0xFFFFFFFF).Bytes()},
        {"table past the end", BmpBuilder(2, 2, 8).UsedColours(300).Bytes()},
        {"missing table", BmpBuilder(4, 4, 4).Bytes()},
    };
    for (const auto& [name, bytes] : files) {
        EXPECT_FALSE(Load(bytes)) << name;
    }
}

// Missing and unreadable paths fail; names are found as Windows spells them.
TEST_F(BitmapLoadTest, PathsAreRefusedOrFoundInAnyCase) {
    EXPECT_FALSE(m_image.Create(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(m_image.Create((m_folder + "/missing.bmp").c_str()));
    EXPECT_FALSE(m_image.Create(m_folder.c_str()));
    EXPECT_EQ(m_image.GetWidth(), 0);
    ASSERT_TRUE(kvtest::WriteBytes(m_folder + "/Sheet.BMP", BmpBuilder(1, 1, 24).Bytes()));
    EXPECT_TRUE(m_image.Create((m_folder + "\\sheet.bmp").c_str()));
}

}  // namespace
