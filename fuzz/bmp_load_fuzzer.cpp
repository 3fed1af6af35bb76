// libFuzzer target: any bytes as a bitmap file, converted the way CKvAImage::Create
// converts a file it has read whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/kv_aimage.h"

namespace {

// The conversion is protected: the file loader is its only caller.
class BitmapImage : public CKvAImage {
public:
    bool Convert(const unsigned char* data, size_t size) { return __CreateFromBitmap(data, size); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The loader's own test before it converts.
    if (size < 55 || data[0] != 'B' || data[1] != 'M') {
        return 0;
    }
    BitmapImage image;
    if (!image.Convert(data, size)) {
        return 0;
    }
    // Every row of a converted image lies in its one store, back to back.
    const int rowBytes = (image.GetWidth() * 16 + 31) / 32 * 4;
    for (int y = 1; y < image.GetHeight(); ++y) {
        if (image.GetBits(y) != image.GetBits(0) + static_cast<ptrdiff_t>(y) * rowBytes) {
            std::abort();
        }
    }
    volatile unsigned sum = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        const unsigned char* row = image.GetBits(y);
        sum = sum + row[0] + row[rowBytes - 1];
    }
    return 0;
}
