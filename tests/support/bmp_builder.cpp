#include "support/bmp_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "byte_order/little_endian.h"

namespace kvtest {
BmpBuilder::BmpBuilder(int32_t width, int32_t height, uint16_t bits)
    : m_width(width),
      m_height(height),
      m_bits(bits),
      m_headerWidth(width),
      m_headerHeight(height),
      m_pixels(static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0))) {
}

BmpBuilder& BmpBuilder::Palette(std::vector<uint32_t> colours) {
    m_palette = std::move(colours);
    return *this;
}

BmpBuilder& BmpBuilder::UsedColours(uint32_t count) {
    m_usedColours = count;
    return *this;
}

BmpBuilder& BmpBuilder::Pixel(int x, int row, uint32_t value) {
    m_pixels.at(static_cast<size_t>(row) * static_cast<size_t>(m_width) + static_cast<size_t>(x)) =
        value;
    return *this;
}

BmpBuilder& BmpBuilder::HeaderSize(int32_t width, int32_t height) {
    m_headerWidth = width;
    m_headerHeight = height;
    return *this;
}

BmpBuilder& BmpBuilder::Magic(char first, char second) {
    m_magic[0] = first;
    m_magic[1] = second;
    return *this;
}

std::vector<uint8_t> BmpBuilder::Bytes() const {
    const size_t rowBytes = (static_cast<size_t>(std::max(m_width, 0)) * m_bits + 31) / 32 * 4;
    const size_t rows = static_cast<size_t>(std::max(m_height, 0));
    const uint32_t pixelOffset = static_cast<uint32_t>(54 + 4 * m_palette.size());
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>(m_magic[0]));
    out.push_back(static_cast<uint8_t>(m_magic[1]));
    byteorder::AppendLe32(out, static_cast<uint32_t>(pixelOffset + rowBytes * rows));
    byteorder::AppendLe32(out, 0);
    byteorder::AppendLe32(out, pixelOffset);
    byteorder::AppendLe32(out, 40);
    byteorder::AppendLe32(out, static_cast<uint32_t>(m_headerWidth));
    byteorder::AppendLe32(out, static_cast<uint32_t>(m_headerHeight));
    byteorder::AppendLe16(out, 1);
    byteorder::AppendLe16(out, m_bits);
    byteorder::AppendLe32(out, 0);  // uncompressed
    byteorder::AppendLe32(out, static_cast<uint32_t>(rowBytes * rows));
    byteorder::AppendLe32(out, 2835);
    byteorder::AppendLe32(out, 2835);
    byteorder::AppendLe32(out, m_usedColours);
    byteorder::AppendLe32(out, 0);
    for (uint32_t colour : m_palette) {
        byteorder::AppendLe32(out, colour);  // blue, green, red, reserved
    }
    for (size_t fileRow = 0; fileRow < rows; ++fileRow) {
        std::vector<uint8_t> row(rowBytes, 0);
        const uint32_t* pixels = &m_pixels[(rows - 1 - fileRow) * static_cast<size_t>(m_width)];
        // A bit count of 0 has no pixel bytes to write.
        for (size_t x = 0; m_bits != 0 && x < static_cast<size_t>(m_width); ++x) {
            const uint32_t value = pixels[x];
            if (m_bits < 8) {
                const size_t bit = x * m_bits;
                row[bit / 8] |= static_cast<uint8_t>(value << (8 - m_bits - bit % 8));
            } else {
                for (size_t b = 0; b < m_bits / 8u; ++b) {
                    row[x * (m_bits / 8u) + b] = static_cast<uint8_t>(value >> (8 * b));
                }
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::string MakeTempFolder() {
    static std::atomic<int> serial{0};
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "kvavtr_" + std::to_string(getpid()) + "_" + std::to_string(serial++);
    if (test != nullptr) {
        name += std::string("_") + test->name();
    }
    std::replace(name.begin(), name.end(), '/', '_');
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

}  // namespace kvtest
