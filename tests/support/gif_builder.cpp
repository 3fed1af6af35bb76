#include "support/gif_builder.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "byte_order/little_endian.h"

namespace kvtest {

CodeWriter& CodeWriter::Put(unsigned code, int bits) {
    m_bits |= (code & ((1u << bits) - 1u)) << m_count;
    m_count += bits;
    while (m_count >= 8) {
        m_bytes.push_back(static_cast<uint8_t>(m_bits));
        m_bits >>= 8;
        m_count -= 8;
    }
    return *this;
}

GifBytes CodeWriter::Finish() const {
    GifBytes bytes = m_bytes;
    if (m_count > 0) {
        bytes.push_back(static_cast<uint8_t>(m_bits));
    }
    return bytes;
}

GifBytes LzwEncode(const GifBytes& indices, int minimumCodeSize, const LzwOptions& options) {
    const unsigned clear = 1u << minimumCodeSize;
    const unsigned end = clear + 1;
    const unsigned mask = clear - 1;
    CodeWriter writer;
    std::unordered_map<uint32_t, unsigned> table;
    unsigned next = clear + 2;
    // The decoder makes its entry for a code one code later than the encoder and
    // none for the first code after a clear; code widths follow the decoder's table.
    unsigned decoderNext = clear + 2;
    int size = minimumCodeSize + 1;
    bool firstAfterClear = true;
    auto emit = [&](unsigned code) {
        writer.Put(code, size);
        if (!firstAfterClear && decoderNext < 4096 && ++decoderNext >= (1u << size) && size < 12) {
            ++size;
        }
        firstAfterClear = false;
    };
    auto emitClear = [&] {
        writer.Put(clear, size);
        table.clear();
        next = decoderNext = clear + 2;
        size = minimumCodeSize + 1;
        firstAfterClear = true;
    };
    emitClear();
    if (!indices.empty()) {
        unsigned current = indices[0] & mask;
        for (size_t i = 1; i < indices.size(); ++i) {
            const unsigned k = indices[i] & mask;
            const uint32_t key = (current << 8) | k;
            const auto found = table.find(key);
            if (found != table.end()) {
                current = found->second;
                continue;
            }
            emit(current);
            if (next < 4096) {
                table.emplace(key, next++);
            } else if (options.clearWhenFull) {
                emitClear();
            }
            current = k;
        }
        emit(current);
    }
    writer.Put(end, size);
    return writer.Finish();
}

GifBytes InterlaceRows(const GifBytes& indices, int width, int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    GifBytes out;
    out.reserve(indices.size());
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < height; row += kStep[pass]) {
            const auto start = indices.begin() + static_cast<ptrdiff_t>(row) * width;
            out.insert(out.end(), start, start + width);
        }
    }
    return out;
}

int TableSizeField(size_t count) {
    int field = 0;
    while ((2u << field) < count && field < 7) {
        ++field;
    }
    return field;
}

GifBuilder::GifBuilder(int screenWidth, int screenHeight, const char* signature) {
    m_bytes.assign(signature, signature + std::strlen(signature));
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(screenWidth));
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(screenHeight));
    m_bytes.push_back(0);  // packed: no global table until GlobalTable
    m_bytes.push_back(0);  // background index
    m_bytes.push_back(0);  // aspect
}

void GifBuilder::PutTable(const std::vector<Rgb>& colors, int entries) {
    for (int i = 0; i < entries; ++i) {
        const Rgb c = i < static_cast<int>(colors.size()) ? colors[i] : Rgb{0, 0, 0};
        m_bytes.insert(m_bytes.end(), {c.r, c.g, c.b});
    }
}

GifBuilder& GifBuilder::GlobalTable(const std::vector<Rgb>& colors) {
    const int field = TableSizeField(colors.size());
    m_bytes[10] = static_cast<uint8_t>(0x80 | (field << 4) | field);
    PutTable(colors, 2 << field);
    return *this;
}

GifBuilder& GifBuilder::GraphicControl(int disposal, int delay, int transparentIndex) {
    const int packed = (disposal << 2) | (transparentIndex >= 0 ? 1 : 0);
    m_bytes.insert(m_bytes.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(packed)});
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(delay));
    m_bytes.push_back(static_cast<uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Application(const std::string& identifier,
                                    const std::vector<GifBytes>& subBlocks) {
    m_bytes.insert(m_bytes.end(), {0x21, 0xFF, 11});
    for (size_t i = 0; i < 11; ++i) {
        m_bytes.push_back(i < identifier.size() ? static_cast<uint8_t>(identifier[i]) : ' ');
    }
    for (const GifBytes& block : subBlocks) {
        m_bytes.push_back(static_cast<uint8_t>(block.size()));
        m_bytes.insert(m_bytes.end(), block.begin(), block.end());
    }
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Loop(int count) {
    return Application("NETSCAPE2.0", {{1, static_cast<uint8_t>(count & 0xFF),
                                        static_cast<uint8_t>((count >> 8) & 0xFF)}});
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
    m_bytes.insert(m_bytes.end(), {0x21, 0xFE});
    for (size_t at = 0; at < text.size(); at += 255) {
        const size_t n = std::min<size_t>(255, text.size() - at);
        m_bytes.push_back(static_cast<uint8_t>(n));
        m_bytes.insert(m_bytes.end(), text.begin() + at, text.begin() + at + n);
    }
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::PlainText(const std::string& text) {
    m_bytes.insert(m_bytes.end(), {0x21, 0x01, 12});
    m_bytes.insert(m_bytes.end(), 12, 0);
    m_bytes.push_back(static_cast<uint8_t>(text.size()));
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Descriptor(int left, int top, int width, int height, bool interlaced,
                                   const std::vector<Rgb>& localTable) {
    m_bytes.push_back(0x2C);
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(left));
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(top));
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(width));
    byteorder::AppendLe16(m_bytes, static_cast<uint32_t>(height));
    int packed = interlaced ? 0x40 : 0;
    if (!localTable.empty()) {
        packed |= 0x80 | TableSizeField(localTable.size());
    }
    m_bytes.push_back(static_cast<uint8_t>(packed));
    if (!localTable.empty()) {
        PutTable(localTable, 2 << TableSizeField(localTable.size()));
    }
    return *this;
}

GifBuilder& GifBuilder::ImageData(int minimumCodeSize, const GifBytes& data, size_t subBlockSize,
                                  bool terminate) {
    m_bytes.push_back(static_cast<uint8_t>(minimumCodeSize));
    for (size_t at = 0; at < data.size(); at += subBlockSize) {
        const size_t n = std::min(subBlockSize, data.size() - at);
        m_bytes.push_back(static_cast<uint8_t>(n));
        m_bytes.insert(m_bytes.end(), data.begin() + at, data.begin() + at + n);
    }
    if (terminate) {
        m_bytes.push_back(0);
    }
    return *this;
}

GifBuilder& GifBuilder::Image(int left, int top, int width, int height, const GifBytes& indices,
                              int minimumCodeSize, bool interlaced,
                              const std::vector<Rgb>& localTable) {
    Descriptor(left, top, width, height, interlaced, localTable);
    const GifBytes ordered = interlaced ? InterlaceRows(indices, width, height) : indices;
    return ImageData(minimumCodeSize, LzwEncode(ordered, minimumCodeSize));
}

GifBuilder& GifBuilder::Raw(const GifBytes& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

GifBuilder& GifBuilder::Trailer() {
    m_bytes.push_back(0x3B);
    return *this;
}

GifBuilder& GifBuilder::Truncate(size_t size) {
    if (size < m_bytes.size()) {
        m_bytes.resize(size);
    }
    return *this;
}

bool GifBuilder::WriteFile(const std::string& path) const {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    return file && std::fwrite(m_bytes.data(), 1, m_bytes.size(), file.get()) == m_bytes.size();
}

}  // namespace kvtest
