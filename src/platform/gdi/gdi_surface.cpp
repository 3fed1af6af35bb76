#include "platform/gdi/gdi_surface.h"

#include <new>

#include "platform/row_bytes.h"
#include "platform/surface_limits.h"

namespace kvgdi {

size_t RowBytes(int width, int bitsPerPixel, size_t alignment) {
    if (width <= 0) {
        return 0;
    }
    return static_cast<size_t>(
        kvrow::RowBytes(width, bitsPerPixel, static_cast<int64_t>(alignment)));
}

namespace {

// Rows of `rowBytes`, `height` of them, within the memory limit: the total byte count.
size_t CheckedTotal(size_t rowBytes, int height) {
    if (!kvplatform::SurfaceFits(static_cast<int64_t>(rowBytes), height)) {
        return 0;
    }
    return rowBytes * static_cast<size_t>(height);
}

void PlaceRows(Surface& surface, uint8_t* base, size_t rowBytes, bool bottomUp) {
    const ptrdiff_t pitch = static_cast<ptrdiff_t>(rowBytes);
    surface.pitch = bottomUp ? -pitch : pitch;
    surface.top = bottomUp ? base + (surface.height - 1) * pitch : base;
}

}  // namespace

std::shared_ptr<Surface> CreateSurface(int width, int height, PixelFormat format, bool bottomUp) {
    const size_t rowBytes = RowBytes(width, BitsPerPixel(format), 4);
    const size_t total = CheckedTotal(rowBytes, height);
    if (total == 0) {
        return nullptr;
    }
    auto surface = std::make_shared<Surface>();
    surface->storage.reset(new (std::nothrow) uint8_t[total]());
    if (!surface->storage) {
        return nullptr;
    }
    surface->width = width;
    surface->height = height;
    surface->format = format;
    PlaceRows(*surface, surface->storage.get(), rowBytes, bottomUp);
    return surface;
}

std::shared_ptr<Surface> ViewSurface(const void* bits, int width, int height, PixelFormat format,
                                     bool bottomUp) {
    const size_t rowBytes = RowBytes(width, BitsPerPixel(format), 4);
    if (bits == nullptr || CheckedTotal(rowBytes, height) == 0) {
        return nullptr;
    }
    auto surface = std::make_shared<Surface>();
    surface->width = width;
    surface->height = height;
    surface->format = format;
    // Views are only ever read; the cast lets them share the Surface type.
    PlaceRows(*surface, static_cast<uint8_t*>(const_cast<void*>(bits)), rowBytes, bottomUp);
    return surface;
}

}  // namespace kvgdi
