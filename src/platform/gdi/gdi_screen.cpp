#include "platform/gdi/gdi_screen.h"

#include <atomic>
#include <mutex>

#include "platform/testing.h"

namespace kvgdi {

namespace {

std::atomic<int> g_depth{32};
std::mutex g_canvasMutex;
std::shared_ptr<Surface> g_canvas;

}  // namespace

int ScreenDepth() {
    return g_depth.load();
}

PixelFormat ScreenFormat() {
    return ScreenDepth() == 16 ? PixelFormat::Rgb555 : PixelFormat::Xrgb8888;
}

std::shared_ptr<Surface> ScreenCanvas() {
    std::lock_guard lock(g_canvasMutex);
    if (!g_canvas || g_canvas->format != ScreenFormat()) {
        g_canvas = CreateSurface(kScreenWidth, kScreenHeight, ScreenFormat());
    }
    return g_canvas;
}

}  // namespace kvgdi

namespace kvplatform {

// The depths the surfaces support, and 8, a palette display whose pictures are kept
// in 32 bits; anything else leaves the depth as it is.
void SetScreenDepth(int bitsPerPixel) {
    if (bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 32) {
        kvgdi::g_depth.store(bitsPerPixel);
    }
}

}  // namespace kvplatform
