// Layered avatars for the compositor benchmark: ten 100 x 120 layers each, shaped
// like the parts of a figure (hair, head, face, body, arms, legs, shoes, clothes,
// hat) with transparent surroundings and holes, as decoded GIF frames look.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/lsp.h"

namespace kvbench {

constexpr int kWidth = 100;
constexpr int kHeight = 120;
constexpr int kLayers = 10;
constexpr int kPixels = kWidth * kHeight;

struct Avatar {
    // Whole 16-bit frames, the key 0x001F where the layer is transparent.
    std::vector<std::vector<uint16_t>> frames;
    // The same frames as run-length sprites.
    std::vector<lsp::SPRITE*> sprites;
};

// Avatar `seed`: the same figure with its parts moved, resized and recoloured.
Avatar MakeAvatar(uint32_t seed);
void FreeAvatar(Avatar& avatar);

}  // namespace kvbench
