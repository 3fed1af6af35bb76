// Reading and writing single pixels of a CKvAImage in tests.
#pragma once

#include <cstdint>
#include <cstring>

#include "imaging/kv_aimage.h"

namespace kvtest {

inline uint16_t PixelAt(const CKvAImage& image, int x, int row) {
    uint16_t pixel;
    std::memcpy(&pixel, image.GetBits(row) + 2 * x, 2);
    return pixel;
}

inline void SetPixel(CKvAImage& image, int x, int row, uint16_t pixel) {
    std::memcpy(image.GetBits(row) + 2 * x, &pixel, 2);
}

// Every pixel (padding included) set to one value.
inline void Paint(CKvAImage& image, uint16_t pixel) {
    for (int row = 0; row < image.GetHeight(); ++row) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            SetPixel(image, x, row, pixel);
        }
    }
}

}  // namespace kvtest
