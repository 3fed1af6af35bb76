#include "bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "byte_order/little_endian.h"

namespace sampleart {
namespace {

constexpr uint32_t kHeaderBytes = 14 + 40;

}  // namespace

bool WriteBitmap(const std::string& path, const Canvas& picture) {
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width()) + 3) & ~3u;
    const uint32_t tableBytes = kColourCount * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(picture.height());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    byteorder::AppendLe32(out, kHeaderBytes + tableBytes + pixelBytes);
    byteorder::AppendLe32(out, 0);
    byteorder::AppendLe32(out, kHeaderBytes + tableBytes);
    byteorder::AppendLe32(out, 40);
    byteorder::AppendLe32(out, static_cast<uint32_t>(picture.width()));
    byteorder::AppendLe32(out, static_cast<uint32_t>(picture.height()));
    byteorder::AppendLe16(out, 1);
    byteorder::AppendLe16(out, 8);
    byteorder::AppendLe32(out, 0);  // no compression
    byteorder::AppendLe32(out, pixelBytes);
    byteorder::AppendLe32(out, 2835);
    byteorder::AppendLe32(out, 2835);
    byteorder::AppendLe32(out, kColourCount);
    byteorder::AppendLe32(out, 0);
    for (const Rgb& colour : kPalette) {
        out.insert(out.end(), {colour.b, colour.g, colour.r, 0});
    }
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            out.push_back(picture.At(x, y));
        }
        out.resize(out.size() + rowBytes - static_cast<uint32_t>(picture.width()), 0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace sampleart
