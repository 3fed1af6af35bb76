// lsp::SPRITE, the run-length picture in which every layered part frame lives.
//
// One allocation holds, in order:
//   int32 width, int32 height, a pointer to the row table (which follows at once),
//   the row table (one uint16_t* per row, top row first),
//   the run lists, row after row.
// A row is a sequence of pairs (skip, count) of 16-bit values: skip transparent
// pixels, then count opaque pixels, which follow the pair. A row's pairs cover
// exactly its width; a pair with count 0 can only be the last (trailing
// transparent pixels); an all-transparent row is the single pair (width, 0); a
// row of width 0 has no pair.
#pragma once

#include <cstdint>

class CKvAImage;

namespace lsp {

struct SPRITE {
    int32_t width;
    int32_t height;
    uint16_t** rows;
};

// Every pixel opaque, the key colour included. Owned by the caller (FreeSprite).
SPRITE* MakeSpriteFromImage(CKvAImage& image);

// Pixels equal to the key 0x001F are transparent: the form of decoded GIF frames.
SPRITE* MakeKeyedSpriteFromImage(CKvAImage& image);

// Releases a sprite made by either builder; null is ignored.
void FreeSprite(SPRITE* sprite);

}  // namespace lsp
