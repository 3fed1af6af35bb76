// Writes GIF byte streams exactly as a test asks: header, colour tables,
// extensions, image descriptors, image data cut into sub-blocks, raw LZW codes of
// chosen widths, truncation. LzwEncode is a plain GIF LZW encoder for
// convenience.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

using GifBytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
};

// Packs codes least significant bit first, each with the width the test gives.
class CodeWriter {
public:
    CodeWriter& Put(unsigned code, int bits);
    // The packed bytes, the last partial byte padded with zero bits.
    GifBytes Finish() const;

private:
    GifBytes m_bytes;
    uint32_t m_bits = 0;
    int m_count = 0;
};

struct LzwOptions {
    // Emit a clear code when the table is full; otherwise keep coding with a full
    // table.
    bool clearWhenFull = true;
};

// GIF LZW: clear code first, end code last, code widths grown as a decoder expects.
GifBytes LzwEncode(const GifBytes& indices, int minimumCodeSize, const LzwOptions& options = {});

// Reorders display-order rows into the four-pass interlaced order.
GifBytes InterlaceRows(const GifBytes& indices, int width, int height);

class GifBuilder {
public:
    explicit GifBuilder(int screenWidth, int screenHeight, const char* signature = "GIF89a");

    // A global table; padded with black to a power of two of at least 2 entries.
    GifBuilder& GlobalTable(const std::vector<Rgb>& colors);
    // transparentIndex < 0: no transparency.
    GifBuilder& GraphicControl(int disposal, int delay, int transparentIndex = -1);
    GifBuilder& Application(const std::string& identifier, const std::vector<GifBytes>& subBlocks);
    GifBuilder& Loop(int count);  // the usual 3-byte loop sub-block
    GifBuilder& Comment(const std::string& text);
    GifBuilder& PlainText(const std::string& text);
    // localTable empty: none.
    GifBuilder& Descriptor(int left, int top, int width, int height, bool interlaced = false,
                           const std::vector<Rgb>& localTable = {});
    // Minimum code size byte, then data in sub-blocks of at most subBlockSize bytes,
    // then the terminator unless terminate is false.
    GifBuilder& ImageData(int minimumCodeSize, const GifBytes& data, size_t subBlockSize = 255,
                          bool terminate = true);
    // Descriptor plus encoded data; indices in display order.
    GifBuilder& Image(int left, int top, int width, int height, const GifBytes& indices,
                      int minimumCodeSize = 8, bool interlaced = false,
                      const std::vector<Rgb>& localTable = {});
    GifBuilder& Raw(const GifBytes& bytes);
    GifBuilder& Trailer();
    // Drops everything after the first size bytes.
    GifBuilder& Truncate(size_t size);

    const GifBytes& Data() const { return m_bytes; }
    bool WriteFile(const std::string& path) const;

private:
    void PutTable(const std::vector<Rgb>& colors, int entries);

    GifBytes m_bytes;
};

// Smallest table size field (entries = 2 << field) that holds count colours.
int TableSizeField(size_t count);

}  // namespace kvtest
