// The one size rule for pixel stores: bitmap images, GIF frames and GDI surfaces.
// It bounds bytes, not sides, so a long strip of tiles is as good as a square of
// the same size, and a lying header cannot make anyone reserve gigabytes.
#pragma once

#include <cstdint>

namespace kvplatform {

constexpr int64_t kMaxSurfaceBytes = int64_t{256} << 20;

// rows of rowBytes each fit the limit; false for empty or negative sizes.
constexpr bool SurfaceFits(int64_t rowBytes, int64_t rows) {
    return rowBytes > 0 && rows > 0 && rowBytes <= kMaxSurfaceBytes / rows;
}

}  // namespace kvplatform
