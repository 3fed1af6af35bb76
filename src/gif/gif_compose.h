// Composition of a decoded image onto a full frame: canvas size, the base that the
// previous frame's disposal method selects, and the colour lookup.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/kv_aimage.h"
#include "platform/win32.h"

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

// Once a file's frames outgrow the cache, frames on a base are painted on this
// canvas, which holds the picture of the frame composed last, and copied out to
// their own stores past the cache: each frame's bytes go to memory once, and the
// next base is read from the cache.
class WorkingCanvas {
public:
    // Forgets the picture; the next frame starts from its base.
    void Release();

private:
    friend CKvAImage* ComposeFrame(CKvAImage* base, const PreviousFrame& previous,
                                   CanvasSize canvas, const DecodedImage& image,
                                   WorkingCanvas& working);
    // Where the frame is painted: the frame holding a copy of the base, or this
    // canvas holding the base's picture.
    CKvAImage& PaintTarget(const CKvAImage& base, CKvAImage& frame);
    // Copies the picture painted here into the frame.
    void CopyOut(CKvAImage& frame);

    CKvAImage m_image;
    const CKvAImage* m_holds = nullptr;  // the frame whose picture m_image holds
    int64_t m_composedBytes = 0;
};

// A new frame image on the base, or null when it cannot be allocated (tried
// twice). With a base the image is placed at its top row, without one at row 0.
CKvAImage* ComposeFrame(CKvAImage* base, const PreviousFrame& previous, CanvasSize canvas,
                        const DecodedImage& image, WorkingCanvas& working);

}  // namespace kvgif
