#include <gtest/gtest.h>

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

TEST_F(BitmapLoadTest, TwentyFourBitPixelsKeepTheTopFiveBitsOfEachChannel) {
    BmpBuilder bmp(2, 2, 24);
    bmp.Pixel(0, 0, 0x563412).Pixel(1, 0, 0x0000FF).Pixel(0, 1, 0xFFFFFF);
    ASSERT_TRUE(Load(bmp.Bytes()));
    EXPECT_EQ(PixelAt(m_image, 0, 0), 0x28C2);
    EXPECT_EQ(PixelAt(m_image, 1, 0), 0x001F);  // rows in the file run bottom-up
    EXPECT_EQ(PixelAt(m_image, 0, 1), 0x7FFF);
    EXPECT_EQ(PixelAt(m_image, 1, 1), 0x0000);
    EXPECT_TRUE(m_image.HasTransparentColor());
    ASSERT_TRUE(m_image.Create((m_folder + "/picture.bmp").c_str(), 0x00FF0000));
    EXPECT_EQ(m_image.GetTransparentColor(), 0x00FF0000ul);
}

TEST_F(BitmapLoadTest, OneBitRowsConvertExactlyTheirWidth) {
    BmpBuilder bmp(10, 2, 1);
    bmp.Palette({0x000000, 0xFFFFFF});
    for (int x = 0; x < 10; x += 3) {
        bmp.Pixel(x, 0, 1);
    }
    bmp.Pixel(9, 1, 1);
    std::vector<uint8_t> bytes = bmp.Bytes();
    bytes[62 + 1] |= 0x3F;  // the ignored bits after pixel 9 of the bottom row
    ASSERT_TRUE(Load(bytes));
    ASSERT_EQ(m_image.GetWidth(), 10);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(PixelAt(m_image, x, 0), x % 3 == 0 ? 0x7FFF : 0) << x;
        EXPECT_EQ(PixelAt(m_image, x, 1), x == 9 ? 0x7FFF : 0) << x;
    }
}

TEST_F(BitmapLoadTest, FourBitPixelsTakeTheHighNibbleFirst) {
    std::vector<uint32_t> palette(16);
    for (uint32_t i = 0; i < 16; ++i) {
        palette[i] = i * 0x080808;
    }
    BmpBuilder bmp(3, 1, 4);
    bmp.Palette(palette).Pixel(0, 0, 1).Pixel(1, 0, 15).Pixel(2, 0, 7);
    ASSERT_TRUE(Load(bmp.Bytes()));
    EXPECT_EQ(PixelAt(m_image, 0, 0), 0x0421);
    EXPECT_EQ(PixelAt(m_image, 1, 0), 15 * 0x0421);
    EXPECT_EQ(PixelAt(m_image, 2, 0), 7 * 0x0421);
}

TEST_F(BitmapLoadTest, EightBitColourTableLengthComesFromTheUsedColoursField) {
    std::vector<uint32_t> full(256, 0x0000FF);
    full[200] = 0xFF0000;
    BmpBuilder whole(1, 1, 8);
    whole.Palette(full).Pixel(0, 0, 200);
    ASSERT_TRUE(Load(whole.Bytes()));
    EXPECT_EQ(PixelAt(m_image, 0, 0), 0x7C00);

    // With 16 colours the pixels start 64 bytes after byte 54.
    std::vector<uint32_t> sixteen(16, 0x00FF00);
    BmpBuilder small(2, 1, 8);
    small.Palette(sixteen).UsedColours(16).Pixel(0, 0, 3).Pixel(1, 0, 200);
    const std::vector<uint8_t> bytes = small.Bytes();
    ASSERT_EQ(bytes.size(), 54u + 64 + 4);
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(PixelAt(m_image, 0, 0), 0x03E0);
    // An index past the stored table reads black, not the bytes that follow it.
    EXPECT_EQ(PixelAt(m_image, 1, 0), 0x0000);
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
