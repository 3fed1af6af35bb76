#include "keyed_copy.h"

#include "avatar_workload.h"
#include "imaging/pixel.h"

namespace kvbench {

__attribute__((optimize("no-tree-vectorize"))) void ScalarKeyedCopy(uint16_t* to,
                                                                    const uint16_t* from) {
    for (int i = 0; i < kPixels; ++i) {
        if (from[i] != kvpixel::kKeyPixel) {
            to[i] = from[i];
        }
    }
}

void VectorKeyedCopy(uint16_t* __restrict to, const uint16_t* __restrict from) {
    for (int i = 0; i < kPixels; ++i) {
        const uint16_t pixel = from[i];
        to[i] = pixel == kvpixel::kKeyPixel ? to[i] : pixel;
    }
}

}  // namespace kvbench
