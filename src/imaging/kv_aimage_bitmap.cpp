// The bitmap-file half of CKvAImage: uncompressed bottom-up bitmaps of 1, 4, 8 and
// 24 bits per pixel become 16-bit 5-5-5 surfaces.
//
// Layout read: the 14-byte file header, then a 40-byte info header (width at byte
// 18, height at 22, bit count at 28, used colours at 46), the colour table at byte
// 54, the pixel rows right after it. The header-size, compression and pixel-offset
// fields are not consulted. Every size test is done in 64 bits so that no lying
// field can make a short file pass.
#include <cstdint>
#include <memory>
#include <new>

#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"
#include "platform/row_bytes.h"
#include "platform/whole_file.h"

namespace {

constexpr size_t kInfoEnd = 54;
constexpr size_t kMinFileBytes = 55;
// A file larger than the biggest bitmap we would accept is not read at all.
constexpr size_t kMaxFileBytes = size_t{256} << 20;

int32_t ReadInt32(const unsigned char* at) {
    return static_cast<int32_t>(uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 |
                                uint32_t{at[3]} << 24);
}

int BitCount(const unsigned char* data) {
    return data[28] | data[29] << 8;
}
int Width(const unsigned char* data) {
    return ReadInt32(data + 18);
}
int Height(const unsigned char* data) {
    return ReadInt32(data + 22);
}

}  // namespace

bool CKvAImage::Create(const char* path) {
    if (path == nullptr) {
        return false;
    }
    Destroy();
    const kvplatform::WholeFile file(path, FILE_SHARE_READ | FILE_SHARE_WRITE, kMaxFileBytes);
    const unsigned char* data = file.Bytes();
    if (!file.Read() || file.Size() < kMinFileBytes || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    return __CreateFromBitmap(data, static_cast<unsigned long>(file.Size()));
}

bool CKvAImage::__CreateFromBitmap(const unsigned char* data, unsigned long size) {
    // Top-down (height 0 or below) and empty bitmaps are refused: they have no
    // bottom-up rows to convert.
    if (Width(data) < 1 || Height(data) < 1 || !Create(Width(data), Height(data))) {
        return false;
    }
    switch (BitCount(data)) {
        case 1:
        case 4:
        case 8:
            return __CreateFromBitmapWithColorTable(data, size);
        case 24:
            return __CreateFromBitmapWithoutColorTable(data, size);
        default:
            return false;
    }
}

bool CKvAImage::__CreateFromBitmapWithColorTable(const unsigned char* data, unsigned long size) {
    const int bits = BitCount(data);
    int64_t colours = 0;
    switch (bits) {
        case 1:
            colours = 2;
            break;
        case 4:
            colours = 16;
            break;
        case 8:
            colours = static_cast<uint32_t>(ReadInt32(data + 46));
            colours = colours == 0 ? 256 : colours;
            break;
        default:
            return false;
    }
    const int width = m_width;
    const int height = m_height;
    const int64_t rowBytes = kvrow::RowBytes(width, bits);
    const int64_t pixelStart = static_cast<int64_t>(kInfoEnd) + 4 * colours;
    if (height * rowBytes + pixelStart > static_cast<int64_t>(size)) {
        return false;
    }
    // An index past the stored table reads black instead of whatever follows it.
    uint16_t palette[256] = {};
    for (int i = 0; i < 256 && i < colours; ++i) {
        const unsigned char* entry = data + kInfoEnd + 4 * i;
        palette[i] = kvpixel::FromRgb(entry[2], entry[1], entry[0]);
    }
    const unsigned mask = (1u << bits) - 1;
    for (int row = 0; row < height; ++row) {
        const unsigned char* from = data + pixelStart + (height - 1 - row) * rowBytes;
        uint16_t* to = Row(row);
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            // Pixels are packed most significant first within each byte.
            const unsigned index = (from[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
            to[x] = palette[index];
        }
    }
    return true;
}

bool CKvAImage::__CreateFromBitmapWithoutColorTable(const unsigned char* data, unsigned long size) {
    if (BitCount(data) != 24) {
        return false;
    }
    const int width = m_width;
    const int height = m_height;
    const int64_t rowBytes = kvrow::RowBytes(width, 24);
    if (height * rowBytes + static_cast<int64_t>(kInfoEnd) > static_cast<int64_t>(size)) {
        return false;
    }
    for (int row = 0; row < height; ++row) {
        const unsigned char* from = data + kInfoEnd + (height - 1 - row) * rowBytes;
        uint16_t* to = Row(row);
        for (int x = 0; x < width; ++x, from += 3) {
            to[x] = kvpixel::FromRgb(from[2], from[1], from[0]);
        }
    }
    return true;
}
