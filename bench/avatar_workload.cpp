#include "avatar_workload.h"

#include <cmath>
#include <functional>
#include <random>

#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"

namespace kvbench {
namespace {

using Shape = std::function<bool(int x, int y)>;

bool InEllipse(int x, int y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool InRect(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

// The ten layers, back to front; j shifts and resizes parts per avatar.
std::vector<Shape> Layers(std::mt19937& random) {
    auto j = [&random](int spread) {
        return static_cast<int>(random() % (2 * spread + 1)) - spread;
    };
    const int hx = 50 + j(3), hy = 34 + j(2), hr = 19 + j(2), bw = 20 + j(3), arm = j(4);
    const int stripe = 3 + static_cast<int>(random() % 3);
    return {
        // hair behind the head
        [=](int x, int y) { return InEllipse(x, y, hx, hy - 4, hr + 8, hr + 6) && y < hy + 14; },
        // torso
        [=](int x, int y) { return InRect(x, y, 50 - bw, 52, 50 + bw, 94); },
        // legs, with the gap between them
        [=](int x, int y) {
            return InRect(x, y, 50 - bw + 4, 90, 48, 113) || InRect(x, y, 52, 90, 50 + bw - 4, 113);
        },
        // shoes
        [=](int x, int y) {
            return InEllipse(x, y, 41, 114, 9, 5) || InEllipse(x, y, 59, 114, 9, 5);
        },
        // arms hanging at the sides
        [=](int x, int y) {
            const int reach = (y - 54) / 6 + arm;
            return y >= 54 && y < 92 &&
                   (InRect(x, y, 50 - bw - 9 - reach, 54, 50 - bw - reach, 92) ||
                    InRect(x, y, 50 + bw + reach, 54, 50 + bw + 9 + reach, 92));
        },
        // head
        [=](int x, int y) { return InEllipse(x, y, hx, hy, hr, hr + 3); },
        // eyes and mouth: small scattered runs
        [=](int x, int y) {
            return InEllipse(x, y, hx - 7, hy - 2, 3, 2) || InEllipse(x, y, hx + 7, hy - 2, 3, 2) ||
                   InRect(x, y, hx - 5, hy + 10, hx + 5, hy + 12);
        },
        // shirt with a neck opening and striped see-through trim
        [=](int x, int y) {
            return InRect(x, y, 50 - bw - 2, 50, 50 + bw + 2, 80) &&
                   !InEllipse(x, y, 50, 50, 7, 6) && !(y > 74 && (x / stripe) % 2 == 0);
        },
        // fringe with a jagged lower edge
        [=](int x, int y) {
            return InEllipse(x, y, hx, hy - 10, hr + 3, 14) && y < hy - 8 + (x * 7 % 5);
        },
        // hat: brim and crown with a pattern of holes
        [=](int x, int y) {
            return InEllipse(x, y, hx, hy - 18, hr + 12, 4) ||
                   (InRect(x, y, hx - 13, hy - 38, hx + 13, hy - 18) && (x + y) % 7 != 0);
        },
    };
}

}  // namespace

Avatar MakeAvatar(uint32_t seed) {
    std::mt19937 random(seed);
    Avatar avatar;
    for (const Shape& inside : Layers(random)) {
        // Red is never 0, so no pixel equals the key.
        const uint16_t base = static_cast<uint16_t>((random() & 0x7BDE) | 0x0400);
        std::vector<uint16_t> frame(kPixels);
        CKvAImage image;
        image.Create(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                // Shading keeps the pixel away from the key colour.
                const uint16_t pixel = inside(x, y)
                                           ? static_cast<uint16_t>(base + ((x + y) & 1) * 0x0421)
                                           : kvpixel::kKeyPixel;
                frame[y * kWidth + x] = pixel;
                reinterpret_cast<uint16_t*>(image.GetBits(y))[x] = pixel;
            }
        }
        avatar.frames.push_back(std::move(frame));
        avatar.sprites.push_back(lsp::MakeKeyedSpriteFromImage(image));
    }
    return avatar;
}

void FreeAvatar(Avatar& avatar) {
    for (lsp::SPRITE* sprite : avatar.sprites) {
        lsp::FreeSprite(sprite);
    }
    avatar.sprites.clear();
}

}  // namespace kvbench
