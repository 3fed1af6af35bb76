#include "bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace sampleart {
namespace {

constexpr uint32_t kHeaderBytes = 14 + 40;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

bool WriteBitmap(const std::string& path, const Canvas& picture) {
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width()) + 3) & ~3u;
    const uint32_t tableBytes = kColourCount * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(picture.height());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaderBytes + tableBytes + pixelBytes);
    Put32(out, 0);
    Put32(out, kHeaderBytes + tableBytes);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(picture.width()));
    Put32(out, static_cast<uint32_t>(picture.height()));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // no compression
    Put32(out, pixelBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, kColourCount);
    Put32(out, 0);
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
