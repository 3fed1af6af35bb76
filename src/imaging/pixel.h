// The 16-bit 5-5-5 pixel form shared by every picture of the library.
#pragma once

#include <cstdint>

namespace kvpixel {

// Pure blue: the one transparent colour, as a pixel and as a colour value.
constexpr uint16_t kKeyPixel = 0x001F;
constexpr unsigned long kKeyColor = 0x00FF0000;

// An 8-bit channel keeps its top five bits.
constexpr uint16_t FromRgb(unsigned red, unsigned green, unsigned blue) {
    return static_cast<uint16_t>(((red & 0xF8u) << 7) | ((green & 0xF8u) << 2) |
                                 ((blue & 0xF8u) >> 3));
}

// A COLORREF is 0x00BBGGRR.
constexpr uint16_t FromColorRef(unsigned long color) {
    return FromRgb(color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu);
}

}  // namespace kvpixel
