// The blit engine's fast paths: whole-row functions for blits that read a source row
// left to right unscaled, looked up by {source format, destination format,
// operation}. Each gives exactly what the engine's per-pixel path gives (GenericRow
// below); `to` and `from` never overlap, since the engine snapshots a source that
// shares the destination's memory.
#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/gdi_format.h"
#include "platform/win32_types.h"

namespace kvgdi {

enum class RowOperation {
    Copy,   // SRCCOPY
    Keyed,  // TransparentBlt: source pixels whose colour is the key leave the destination
};

// `count` pixels from the span's first source pixel to its first destination pixel.
using RowFunction = void (*)(uint8_t* to, const uint8_t* from, int count, COLORREF key);

struct RowPath {
    const char* name;
    PixelFormat source;
    PixelFormat dest;
    RowOperation operation;
    RowFunction function;
};

// Every fast path, for the engine and for the test that checks each against the
// per-pixel path.
std::span<const RowPath> RowPaths();

// Null when the blit has to go pixel by pixel.
RowFunction FindRowPath(PixelFormat source, PixelFormat dest, RowOperation operation);

// No 5-5-5 pixel has bit 15 set once masked, so nothing matches this.
inline constexpr uint32_t kNoKeyPixel555 = 0x8000;

// The 5-5-5 pixel that the per-pixel path would find equal to the key, or
// kNoKeyPixel555. That path widens each pixel to 0x00RRGGBB and compares it with the
// key's low 24 bits; widening is one-to-one and Expand5(v) >> 3 == v, so the key
// narrowed channel by channel is the only candidate, and it matches exactly when it
// widens back to the key.
inline uint32_t KeyPixel555(COLORREF key) {
    const uint32_t candidate = Rgb555::FromColor(key);
    return Rgb555::ToColor(candidate) == (key & 0xFFFFFFu) ? candidate : kNoKeyPixel555;
}

// The engine's per-pixel conversion and write over one row: the reference for the
// fast paths. Monochrome rows are not handled.
void GenericRow(PixelFormat source, PixelFormat dest, RowOperation operation, uint8_t* to,
                const uint8_t* from, int count, COLORREF key);

}  // namespace kvgdi
