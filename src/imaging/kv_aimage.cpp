// The surface half of CKvAImage: sizing, copies and fills. Bitmap files are read
// in kv_aimage_bitmap.cpp.
#include "imaging/kv_aimage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "imaging/block_pool.h"
#include "imaging/pixel.h"
#include "platform/row_bytes.h"
#include "platform/surface_limits.h"

namespace {

constexpr unsigned long kNoColor = 0xFFFFFFFFul;

// The row table and the store share one pooled block: the table first, the store
// after it from a cache-line boundary, so that a write past the store's end meets
// the allocator's guard rather than the table.
constexpr size_t kStoreAlignment = 64;

size_t TableBytes(int height) {
    const size_t bytes = static_cast<size_t>(height) * sizeof(unsigned char*);
    return (bytes + kStoreAlignment - 1) / kStoreAlignment * kStoreAlignment;
}

}  // namespace

bool AImageFits(int width, int height) {
    // Each row costs its pixels and its entry in the row table.
    const int64_t rowCost =
        kvrow::RowBytes(std::max(width, 1), 16) + int64_t{sizeof(unsigned char*)};
    return kvplatform::SurfaceFits(rowCost, std::max(height, 1));
}

CKvAImage::CKvAImage()
    : m_vHeads(nullptr),
      m_width(0),
      m_height(0),
      m_hasTransparent(true),
      m_transparentColor(kNoColor),
      m_tileNum(0),
      m_bits(nullptr) {}

CKvAImage::~CKvAImage() {
    CKvAImage::Destroy();
}

void CKvAImage::Destroy() {
    kvimaging::ReturnBlock(m_vHeads, BlockBytes());
    m_bits = nullptr;
    m_vHeads = nullptr;
    m_width = 0;
    m_height = 0;
    m_hasTransparent = true;
    m_transparentColor = kNoColor;
}

bool CKvAImage::Create(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    Destroy();
    if (!AImageFits(width, height)) {
        return false;
    }
    m_width = width;
    m_height = height;
    // Pooled: the block of an image just destroyed, its pages already in place.
    auto* const block = static_cast<unsigned char*>(kvimaging::TakeBlock(BlockBytes()));
    if (block == nullptr) {
        Destroy();
        return false;
    }
    m_vHeads = reinterpret_cast<unsigned char**>(block);
    m_bits = block + TableBytes(height);
    const size_t rowBytes = static_cast<size_t>(kvrow::RowBytes(width, 16));
    for (int row = 0; row < height; ++row) {
        m_vHeads[row] = m_bits + static_cast<size_t>(row) * rowBytes;
    }
    return true;
}

size_t CKvAImage::BlockBytes() const {
    return TableBytes(m_height) +
           static_cast<size_t>(kvrow::RowBytes(m_width, 16)) * static_cast<size_t>(m_height);
}

bool CKvAImage::Create(int width, int height, unsigned long transparentColor) {
    if (!Create(width, height)) {
        return false;
    }
    SetTransparentColor(transparentColor);
    return true;
}

bool CKvAImage::Create(const char* path, unsigned long transparentColor) {
    if (!Create(path)) {
        return false;
    }
    SetTransparentColor(transparentColor);
    return true;
}

void CKvAImage::SetTransparentColor(unsigned long color) {
    m_transparentColor = color;
    m_hasTransparent = color != kNoColor;
}

void CKvAImage::Draw(int x, int y, CKvAImage& src, int alpha) {
    DrawUnSafe(x, y, src, 0, 0, src.m_width, src.m_height, alpha);
}

void CKvAImage::DrawTile(int x, int y, CKvAImage& src, int tile, int alpha) {
    const int tiles = src.m_tileNum;
    if (tiles <= 0 || tile >= tiles || tile < 0) {
        return;
    }
    if (alpha < 0 || alpha > 255) {
        alpha = 255;
    }
    if (tiles == 1) {
        Draw(x, y, src, alpha);
        return;
    }
    const int tileWidth = src.m_width / tiles;
    DrawUnSafe(x, y, src, tileWidth * tile, 0, tileWidth, src.m_height, alpha);
}

// The caller is meant to keep x, y, srcX and srcY at 0 or above; a negative one is
// clipped here as well, so that no call reaches outside either store.
void CKvAImage::DrawUnSafe(int x, int y, CKvAImage& src, int srcX, int srcY, int width, int height,
                           int /*alpha*/) {
    int64_t dx = x, dy = y, sx = srcX, sy = srcY, w = width, h = height;
    const int64_t leftCut = std::max({int64_t{0}, -dx, -sx});
    const int64_t topCut = std::max({int64_t{0}, -dy, -sy});
    dx += leftCut, sx += leftCut, w -= leftCut;
    dy += topCut, sy += topCut, h -= topCut;
    h = std::min({h, src.m_height - sy, m_height - dy});
    w = std::min({w, src.m_width - sx, m_width - dx});
    if (w <= 0 || h <= 0) {
        return;
    }
    const int count = static_cast<int>(w);
    for (int row = 0; row < static_cast<int>(h); ++row) {
        const uint16_t* from = src.Row(static_cast<int>(sy) + row) + sx;
        uint16_t* to = Row(static_cast<int>(dy) + row) + dx;
        if (!m_hasTransparent) {
            std::memcpy(to, from, static_cast<size_t>(count) * 2);
            continue;
        }
        // Written without a branch so that the compiler can vectorise it.
        for (int i = 0; i < count; ++i) {
            const uint16_t pixel = from[i];
            to[i] = pixel == kvpixel::kKeyPixel ? to[i] : pixel;
        }
    }
}

void CKvAImage::FillRect(const RECT& rect, unsigned long color, int /*alpha*/) {
    const int left = std::max<int>(rect.left, 0);
    const int top = std::max<int>(rect.top, 0);
    const int right = std::min<int>(rect.right, m_width);
    const int bottom = std::min<int>(rect.bottom, m_height);
    if (right <= left || bottom <= top) {
        return;
    }
    const uint16_t pixel = kvpixel::FromColorRef(color);
    for (int row = top; row < bottom; ++row) {
        std::fill(Row(row) + left, Row(row) + right, pixel);
    }
}

void CKvAImage::FillRect(unsigned long color, int alpha) {
    RECT whole{0, 0, m_width, m_height};
    FillRect(whole, color, alpha);
}
