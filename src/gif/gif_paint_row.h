// One row of colour indices painted as 16-bit pixels through a 256-entry palette:
// a vectorised loop where the CPU has one, the portable loop elsewhere.
#pragma once

#include <array>
#include <cstdint>

namespace kvgif {

using Palette = std::array<uint16_t, 256>;

// Index value that no row holds: nothing is kept.
constexpr int kKeepNone = -1;

// target[i] = palette[source[i]], except where source[i] == kept (0 to 255), which
// leaves target[i] as it is.
void PaintRow(const unsigned char* source, uint16_t* target, int count, const Palette& palette,
              int kept);

// The two loops PaintRow chooses from, for the tests that compare them.
void PaintRowPortable(const unsigned char* source, uint16_t* target, int count,
                      const Palette& palette, int kept);
// False where the CPU has no wide loop; PaintRowWide must not be called then.
bool WidePaintAvailable();
void PaintRowWide(const unsigned char* source, uint16_t* target, int count, const Palette& palette,
                  int kept);

}  // namespace kvgif
