// Pixel formats of GDI surfaces: one set of primitives per format, each reading and
// writing raw pixel values and converting them to and from COLORREF. Blits are
// templates over these, so the per-pixel work inlines into the row loops.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

namespace kvgdi {

enum class PixelFormat { Mono1, Rgb555, Rgb888, Xrgb8888 };

inline int BitsPerPixel(PixelFormat format) {
    switch (format) {
        case PixelFormat::Mono1:
            return 1;
        case PixelFormat::Rgb555:
            return 16;
        case PixelFormat::Rgb888:
            return 24;
        case PixelFormat::Xrgb8888:
            return 32;
    }
    return 0;
}

inline uint32_t Expand5(uint32_t v) {
    return (v << 3) | (v >> 2);
}

// Bit 7 of the first byte is the leftmost pixel; 1 is white, 0 black.
struct Mono1 {
    static constexpr PixelFormat kFormat = PixelFormat::Mono1;
    static constexpr uint32_t kMask = 1;
    static uint32_t Get(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1u; }
    static void Put(uint8_t* row, int x, uint32_t v) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((v & 1u) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
    }
    static COLORREF ToColor(uint32_t v) { return v ? 0x00FFFFFFu : 0; }
    // The nearer of black and white, ties to black.
    static uint32_t FromColor(COLORREF c) {
        const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        const uint32_t toBlack = r * r + g * g + b * b;
        const uint32_t toWhite =
            (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
        return toWhite < toBlack ? 1u : 0u;
    }
};

// 0RRRRRGGGGGBBBBB, little-endian words.
struct Rgb555 {
    static constexpr PixelFormat kFormat = PixelFormat::Rgb555;
    static constexpr uint32_t kMask = 0x7FFF;
    static uint32_t Get(const uint8_t* row, int x) {
        return row[2 * x] | (static_cast<uint32_t>(row[2 * x + 1]) << 8);
    }
    static void Put(uint8_t* row, int x, uint32_t v) {
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
    }
    static COLORREF ToColor(uint32_t v) {
        return Expand5((v >> 10) & 31) | (Expand5((v >> 5) & 31) << 8) | (Expand5(v & 31) << 16);
    }
    static uint32_t FromColor(COLORREF c) {
        return (((c & 0xFF) >> 3) << 10) | ((((c >> 8) & 0xFF) >> 3) << 5) |
               (((c >> 16) & 0xFF) >> 3);
    }
};

// Bytes blue, green, red; only ever a source (caller's bits in StretchDIBits).
struct Rgb888 {
    static constexpr PixelFormat kFormat = PixelFormat::Rgb888;
    static constexpr uint32_t kMask = 0xFFFFFF;
    static uint32_t Get(const uint8_t* row, int x) {
        const uint8_t* p = row + 3 * x;
        return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
    static void Put(uint8_t* row, int x, uint32_t v) {
        uint8_t* p = row + 3 * x;
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
    static COLORREF ToColor(uint32_t v) {
        return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
    }
    static uint32_t FromColor(COLORREF c) { return ToColor(c); }
};

// Bytes blue, green, red, unused: the word 0x00RRGGBB. The unused byte takes part
// in raster operations but never in colour comparisons.
struct Xrgb8888 {
    static constexpr PixelFormat kFormat = PixelFormat::Xrgb8888;
    static constexpr uint32_t kMask = 0xFFFFFFFF;
    static uint32_t Get(const uint8_t* row, int x) {
        const uint8_t* p = row + 4 * x;
        return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
               (static_cast<uint32_t>(p[3]) << 24);
    }
    static void Put(uint8_t* row, int x, uint32_t v) {
        uint8_t* p = row + 4 * x;
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
        p[3] = static_cast<uint8_t>(v >> 24);
    }
    static COLORREF ToColor(uint32_t v) {
        return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
    }
    static uint32_t FromColor(COLORREF c) { return ToColor(c); }
};

// Calls fn with a value of the primitive struct of the format.
template <typename Fn>
decltype(auto) WithFormat(PixelFormat format, Fn&& fn) {
    switch (format) {
        case PixelFormat::Mono1:
            return fn(Mono1{});
        case PixelFormat::Rgb555:
            return fn(Rgb555{});
        case PixelFormat::Rgb888:
            return fn(Rgb888{});
        case PixelFormat::Xrgb8888:
            break;
    }
    return fn(Xrgb8888{});
}

}  // namespace kvgdi
