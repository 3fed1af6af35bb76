// Writes bitmap files byte for byte, including ones that lie about themselves:
// any bit count, any colour-table length, any used-colours field, header sizes that
// disagree with the rows, truncation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

class BmpBuilder {
public:
    // Rows are laid out for width x height at `bits` per pixel (bottom-up, padded to
    // 4 bytes); pixels start at 0.
    BmpBuilder(int32_t width, int32_t height, uint16_t bits);

    // Colour-table entries as 0x00RRGGBB, written at byte 54 in this number.
    BmpBuilder& Palette(std::vector<uint32_t> colours);
    // The used-colours field at byte 46 (0 unless set).
    BmpBuilder& UsedColours(uint32_t count);
    // A colour index, or 0x00RRGGBB for 24 bits, or the raw value for 16 and 32 bits.
    // Row 0 is the top row of the picture.
    BmpBuilder& Pixel(int x, int row, uint32_t value);
    // Header fields that need not match the rows written.
    BmpBuilder& HeaderSize(int32_t width, int32_t height);
    BmpBuilder& Magic(char first, char second);

    std::vector<uint8_t> Bytes() const;

private:
    int32_t m_width;
    int32_t m_height;
    uint16_t m_bits;
    int32_t m_headerWidth;
    int32_t m_headerHeight;
    uint32_t m_usedColours = 0;
    char m_magic[2] = {'B', 'M'};
    std::vector<uint32_t> m_palette;
    std::vector<uint32_t> m_pixels;
};

// Writes bytes to path; false when the file cannot be written.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh folder below the system's temporary folder, named after the running test.
std::string MakeTempFolder();

}  // namespace kvtest
