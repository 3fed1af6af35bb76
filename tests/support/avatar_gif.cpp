#include "support/avatar_gif.h"

namespace kvtest {

GifBytes AvatarGif(int frames, int loop) {
    constexpr int kDelays[] = {10, 20, 4};
    constexpr int kTransparent = 0;
    GifBuilder gif(kAvatarGifWidth, kAvatarGifHeight);
    gif.GlobalTable({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}});
    if (loop >= 0) {
        gif.Loop(loop);
    }
    for (int k = 0; k < frames; ++k) {
        GifBytes indices(kAvatarGifWidth * kAvatarGifHeight, kTransparent);
        for (int y = kAvatarGifSquareTop; y < kAvatarGifSquareTop + 3; ++y) {
            for (int x = 3 * k; x < 3 * k + 3; ++x) {
                indices[static_cast<size_t>(y * kAvatarGifWidth + x)] = static_cast<uint8_t>(k + 1);
            }
        }
        gif.GraphicControl(2, kDelays[k], kTransparent);
        gif.Image(0, 0, kAvatarGifWidth, kAvatarGifHeight, indices, 2);
    }
    return gif.Trailer().Data();
}

}  // namespace kvtest
