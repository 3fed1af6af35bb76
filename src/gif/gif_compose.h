// Composition of a decoded image onto a full frame: canvas size, the base that the
// previous frame's disposal method selects, and the colour lookup.
#pragma once

#include <vector>

#include "platform/win32.h"

class CKvAImage;

namespace kvgif {

// Disposal methods of the graphic control extension.
enum Disposal {
    kDisposalNone = 0,
    kDisposalKeep = 1,
    kDisposalFirstFrame = 2,  // restores the first frame, not the background
    kDisposalPrevious = 3,
};

struct PreviousFrame {
    int disposal = kDisposalNone;
    RECT rect = {0, 0, 0, 0};
};

// A decoded image: its index rows, its placement and its colours.
struct DecodedImage {
    const unsigned char* indices;
    int stride;
    int left;
    int top;
    int width;
    int height;
    const unsigned char* colorTable;  // 256 entries of blue, green, red, 0
    int colorCount;                   // entries filled from the file; the rest are black
    bool transparent;
    unsigned char transparentIndex;
    bool passOrder;  // rows in interlace pass order, placed when painted
};

struct CanvasSize {
    int width;
    int height;
};

// The first frame's canvas is its image, widened to an even width; every later
// frame takes the first frame's size.
CanvasSize FrameCanvasSize(const std::vector<CKvAImage*>& frames, int imageWidth, int imageHeight);

// The frame the previous frame's disposal method starts the next one from; null
// for none.
CKvAImage* ChooseBase(const std::vector<CKvAImage*>& frames, int disposal);

// A new frame image on the base, or null when it cannot be allocated (tried
// twice). With a base the image is placed at its top row, without one at row 0.
CKvAImage* ComposeFrame(CKvAImage* base, const PreviousFrame& previous, CanvasSize canvas,
                        const DecodedImage& image);

}  // namespace kvgif
