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

// The engine's per-pixel conversion and write over one row: the reference for the
// fast paths. Monochrome rows are not handled.
void GenericRow(PixelFormat source, PixelFormat dest, RowOperation operation, uint8_t* to,
                const uint8_t* from, int count, COLORREF key);

}  // namespace kvgdi
