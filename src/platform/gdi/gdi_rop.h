// Ternary raster operations evaluated from their truth table: bits 16..23 of the
// code hold the result for each combination of pattern, source and destination,
// at index (P << 2) | (S << 1) | D. No code is special-cased.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

namespace kvgdi {

inline uint8_t RopTable(DWORD rop) {
    return static_cast<uint8_t>(rop >> 16);
}

// Whether the result depends on the source (otherwise no source DC is needed).
inline bool RopUsesSource(DWORD rop) {
    const uint8_t t = RopTable(rop);
    return ((t >> 2) & 0x33) != (t & 0x33);
}

// Whether the result depends on the destination (otherwise it need not be read).
inline bool RopUsesDestination(DWORD rop) {
    const uint8_t t = RopTable(rop);
    return ((t >> 1) & 0x55) != (t & 0x55);
}

// A raster operation with its pattern fixed for one blit: for each (S, D) pair the
// bits where the result is 1, so evaluation is four masked terms per pixel.
class BoundRop {
public:
    BoundRop(DWORD rop, uint32_t pattern) {
        const uint8_t t = RopTable(rop);
        for (int sd = 0; sd < 4; ++sd) {
            const uint32_t withP = ((t >> (4 | sd)) & 1u) ? pattern : 0u;
            const uint32_t withoutP = ((t >> sd) & 1u) ? ~pattern : 0u;
            m_mask[sd] = withP | withoutP;
        }
    }

    uint32_t operator()(uint32_t s, uint32_t d) const {
        return (~s & ~d & m_mask[0]) | (~s & d & m_mask[1]) | (s & ~d & m_mask[2]) |
               (s & d & m_mask[3]);
    }

private:
    uint32_t m_mask[4];
};

}  // namespace kvgdi
