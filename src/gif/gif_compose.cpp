#include "gif/gif_compose.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "gif/gif_index_cursor.h"
#include "gif/gif_paint_row.h"
#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"
#include "imaging/stream_copy.h"
#include "platform/row_bytes.h"

namespace kvgif {
namespace {

// About what a core's own cache holds: a file's frames beyond it are not in the cache
// when their reader comes, so they are written past it.
constexpr int64_t kCachedFrameBytes = int64_t{1} << 20;

size_t StoreBytes(const CKvAImage& image) {
    return static_cast<size_t>(kvrow::RowBytes(image.GetWidth(), 16) * image.GetHeight());
}

bool CreateCanvas(CKvAImage& image, CanvasSize canvas) {
    return image.Create(canvas.width, canvas.height) || image.Create(canvas.width, canvas.height);
}

// The canvas area that PaintIndices covers: columns [left, left + columns) of rows
// [firstRow, firstRow + rows), clipped to the canvas.
struct PaintArea {
    int left;
    int firstRow;
    int columns;
    int rows;
};

PaintArea AreaOf(const CKvAImage& canvas, const DecodedImage& image, int firstRow) {
    const int columns = std::max(0, std::min(image.width, canvas.GetWidth() - image.left));
    const int rows = std::max(0, std::min(image.height, canvas.GetHeight() - firstRow));
    return {image.left, firstRow, columns, rows};
}

// The pixel of every colour index; indices past the file's entries stay black.
Palette PixelsOf(const DecodedImage& image) {
    Palette palette{};
    const int filled = std::clamp(image.colorCount, 0, 256);
    for (int i = 0; i < filled; ++i) {
        const unsigned char* entry = image.colorTable + 4 * i;
        palette[i] = kvpixel::FromRgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

// Paints the image's indices over the area. The transparent index keeps the canvas
// pixel, or writes the key pixel when the canvas has no picture yet.
void PaintIndices(CKvAImage& canvas, const DecodedImage& image, const PaintArea& area,
                  bool keepCanvas) {
    if (area.columns == 0 || area.rows == 0) {
        return;
    }
    Palette palette = PixelsOf(image);
    const bool keeping = image.transparent && keepCanvas;
    if (image.transparent && !keeping) {
        palette[image.transparentIndex] = kvpixel::kKeyPixel;
    }
    const int kept = keeping ? image.transparentIndex : kKeepNone;
    for (int j = 0; j < area.rows; ++j) {
        const int sourceRow = image.passOrder ? ArrivalOfRow(j, image.height) : j;
        const unsigned char* source =
            image.indices + static_cast<ptrdiff_t>(sourceRow) * image.stride;
        PaintRow(source, canvas.Row(area.firstRow + j) + area.left, area.columns, palette, kept);
    }
}

// Keys every canvas pixel outside the area, which PaintIndices is about to cover.
void KeyOutside(CKvAImage& canvas, const PaintArea& area) {
    const LONG width = canvas.GetWidth();
    const LONG height = canvas.GetHeight();
    const LONG top = area.firstRow;
    const LONG bottom = area.firstRow + area.rows;
    const LONG left = area.left;
    const LONG right = area.left + area.columns;
    const RECT bands[] = {{0, 0, width, top},
                          {0, bottom, width, height},
                          {0, top, std::min(left, width), bottom},
                          {right, top, width, bottom}};
    for (const RECT& band : bands) {
        canvas.FillRect(band, kvpixel::kKeyColor, 0);
    }
}

}  // namespace

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

CanvasSize FrameCanvasSize(const std::vector<CKvAImage*>& frames, int imageWidth, int imageHeight) {
    if (frames.empty()) {
        return {(imageWidth + 1) & ~1, imageHeight};
    }
    return {frames.front()->GetWidth(), frames.front()->GetHeight()};
}

void WorkingCanvas::Release() {
    m_image.Destroy();
    m_holds = nullptr;
    m_composedBytes = 0;
}

CKvAImage& WorkingCanvas::PaintTarget(const CKvAImage& base, CKvAImage& frame) {
    const size_t bytes = StoreBytes(frame);
    m_composedBytes += static_cast<int64_t>(bytes);
    if (m_holds == &base) {
        return m_image;
    }
    const bool sized =
        m_image.GetWidth() == frame.GetWidth() && m_image.GetHeight() == frame.GetHeight();
    if (m_composedBytes <= kCachedFrameBytes ||
        (!sized && !m_image.Create(frame.GetWidth(), frame.GetHeight()))) {
        m_holds = nullptr;
        std::memcpy(frame.GetBits(0), base.GetBits(0), bytes);
        return frame;
    }
    std::memcpy(m_image.GetBits(0), base.GetBits(0), bytes);
    m_holds = &base;
    return m_image;
}

void WorkingCanvas::CopyOut(CKvAImage& frame) {
    kvimaging::StreamCopy(frame.GetBits(0), m_image.GetBits(0), StoreBytes(frame));
    m_holds = &frame;
}

CKvAImage* ComposeFrame(CKvAImage* base, const PreviousFrame& previous, CanvasSize canvas,
                        const DecodedImage& image, WorkingCanvas& working) {
    std::unique_ptr<CKvAImage> frame(new (std::nothrow) CKvAImage);
    if (!frame || !CreateCanvas(*frame, canvas)) {
        return nullptr;
    }
    if (base == nullptr) {
        // Without a base the image is placed at row 0, over a canvas of key pixels.
        const PaintArea area = AreaOf(*frame, image, 0);
        KeyOutside(*frame, area);
        PaintIndices(*frame, image, area, false);
        return frame.release();
    }
    // An unkeyed copy of the base (which has the frame's size) painted over, either in
    // place or on the working canvas and then copied.
    frame->SetTransparentColor(0xFFFFFFFF);
    CKvAImage& target = working.PaintTarget(*base, *frame);
    if (previous.disposal == kDisposalFirstFrame) {
        target.FillRect(previous.rect, kvpixel::kKeyColor, 0);
    }
    PaintIndices(target, image, AreaOf(target, image, image.top), true);
    if (&target != frame.get()) {
        working.CopyOut(*frame);
    }
    return frame.release();
}

}  // namespace kvgif
