// A small animated GIF with known pictures, for the player, avatar and command
// tests: a 9 x 6 screen (odd, so the player rounds it to 10), a transparent
// background, and in frame k a 3 x 3 square of colour k with its left edge at 3k.
#pragma once

#include <cstdint>

#include "support/gif_builder.h"

namespace kvtest {

// Colours of the squares as 16-bit 5-5-5 pixels, frame by frame.
constexpr uint16_t kAvatarGifSquare[] = {0x7C00, 0x03E0, 0x7FE0};  // red, green, yellow
constexpr int kAvatarGifWidth = 9;
constexpr int kAvatarGifHeight = 6;
constexpr int kAvatarGifSquareTop = 2;

// frames 1 to 3; delays {10, 20, 4} hundredths; loop < 0 writes no loop extension.
GifBytes AvatarGif(int frames, int loop = 0);

}  // namespace kvtest
