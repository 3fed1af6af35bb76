// Reading and writing single pixels of a CKvAImage in tests.
#pragma once

#include <cstdint>

#include "imaging/kv_aimage.h"

namespace kvtest {

inline uint16_t PixelAt(const CKvAImage& image, int x, int row) {
    return image.Row(row)[x];
}

inline void SetPixel(CKvAImage& image, int x, int row, uint16_t pixel) {
    image.Row(row)[x] = pixel;
}

// Every pixel set to one value.
inline void Paint(CKvAImage& image, uint16_t pixel) {
    for (int row = 0; row < image.GetHeight(); ++row) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            SetPixel(image, x, row, pixel);
        }
    }
}

}  // namespace kvtest
