// Test hook: what a DC shows, as COLORREF values.
#include "platform/gdi/gdi_objects.h"
#include "platform/testing.h"

namespace kvplatform {

// Monochrome pixels read as black and white, whatever the DC's colours.
bool ReadDcPixels(HDC hdc, int& width, int& height, std::vector<COLORREF>& pixels) {
    const auto view = kvgdi::ViewDc(hdc);
    if (!view) {
        return false;
    }
    const kvgdi::Surface& surface = *view->surface;
    width = surface.width;
    height = surface.height;
    pixels.clear();
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    kvgdi::WithFormat(surface.format, [&](auto format) {
        using F = decltype(format);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = surface.Row(y);
            for (int x = 0; x < width; ++x) {
                pixels.push_back(F::ToColor(F::Get(row, x)));
            }
        }
    });
    return true;
}

}  // namespace kvplatform
