#include "gif/gif_compose.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"

namespace kvgif {
namespace {

CKvAImage* ChooseBase(const std::vector<CKvAImage*>& frames, int disposal) {
    if (frames.empty()) {
        return nullptr;
    }
    switch (disposal) {
        case kDisposalKeep:
            return frames.back();
        case kDisposalFirstFrame:
            return frames.front();
        case kDisposalPrevious:
            return frames.size() >= 2 ? frames[frames.size() - 2] : nullptr;
        default:
            return nullptr;
    }
}

bool CreateCanvas(CKvAImage& image, CanvasSize canvas) {
    return image.Create(canvas.width, canvas.height) || image.Create(canvas.width, canvas.height);
}

// Paints the image's indices; row j goes to canvas row firstRow + j. The
// transparent index leaves the canvas as it is.
void PaintIndices(CKvAImage& canvas, const DecodedImage& image, int firstRow) {
    const int columns = std::min(image.width, canvas.GetWidth() - image.left);
    const int rows = std::min(image.height, canvas.GetHeight() - firstRow);
    if (columns <= 0 || rows <= 0) {
        return;
    }
    // A pixel becomes (pixel & keep[index]) | colors[index]: the transparent index
    // keeps the canvas pixel without a branch.
    uint16_t colors[256];
    uint16_t keep[256];
    for (int i = 0; i < 256; ++i) {
        const unsigned char* entry = image.colorTable + 4 * i;
        const bool transparent = image.transparent && i == image.transparentIndex;
        colors[i] = transparent ? 0 : kvpixel::FromRgb(entry[2], entry[1], entry[0]);
        keep[i] = transparent ? 0xFFFF : 0;
    }
    for (int j = 0; j < rows; ++j) {
        const unsigned char* source = image.indices + static_cast<ptrdiff_t>(j) * image.stride;
        auto* target = reinterpret_cast<uint16_t*>(canvas.GetBits(firstRow + j)) + image.left;
        for (int i = 0; i < columns; ++i) {
            target[i] = static_cast<uint16_t>((target[i] & keep[source[i]]) | colors[source[i]]);
        }
    }
}

}  // namespace

CanvasSize FrameCanvasSize(const std::vector<CKvAImage*>& frames, int imageWidth, int imageHeight) {
    if (frames.empty()) {
        return {(imageWidth + 1) & ~1, imageHeight};
    }
    return {frames.front()->GetWidth(), frames.front()->GetHeight()};
}

CKvAImage* ComposeFrame(const std::vector<CKvAImage*>& frames, const PreviousFrame& previous,
                        CanvasSize canvas, const DecodedImage& image) {
    CKvAImage* base = ChooseBase(frames, previous.disposal);
    std::unique_ptr<CKvAImage> frame(new (std::nothrow) CKvAImage);
    if (!frame || !CreateCanvas(*frame, canvas)) {
        return nullptr;
    }
    if (base != nullptr) {
        frame->SetTransparentColor(0xFFFFFFFF);  // an unkeyed copy of the base
        frame->Draw(0, 0, *base, 0);
        if (previous.disposal == kDisposalFirstFrame) {
            frame->FillRect(previous.rect, kvpixel::kKeyColor, 0);
        }
    } else {
        frame->FillRect(kvpixel::kKeyColor, 0);
    }
    // Only a frame drawn over a base is placed at the image's top.
    PaintIndices(*frame, image, base != nullptr ? image.top : 0);
    return frame.release();
}

}  // namespace kvgif
