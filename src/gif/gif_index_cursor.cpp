#include "gif/gif_index_cursor.h"

#include <cstddef>

namespace kvgif {
namespace {

// Interlace passes 1 to 4: first row and row step.
constexpr int kPassStart[5] = {0, 0, 4, 2, 1};
constexpr int kPassStep[5] = {0, 8, 8, 4, 2};

void AdvanceRow(IndexCursor& cursor) {
    // Rows stop growing once past the image, so a long stream cannot overflow them.
    if (!cursor.interlaced) {
        if (cursor.row < cursor.height) {
            ++cursor.row;
        }
        return;
    }
    if (cursor.interlaceRow < cursor.height) {
        cursor.interlaceRow += kPassStep[cursor.pass];
    }
    // Passes with no row inside the image are skipped; at most three steps.
    while (cursor.interlaceRow >= cursor.height && cursor.pass < 4) {
        ++cursor.pass;
        cursor.interlaceRow = kPassStart[cursor.pass];
    }
    cursor.row = cursor.interlaceRow;
}

// A row of a zero-width image holds no index: the cursor is outside the rows
// there, or the fast path would take column 1 of an empty row as inside it.
void PointAtRow(IndexCursor& cursor) {
    const bool inside = cursor.indices != nullptr && cursor.width > 0 && cursor.row < cursor.height;
    cursor.rowStart =
        inside ? cursor.indices + static_cast<ptrdiff_t>(cursor.row) * cursor.stride : nullptr;
}

}  // namespace

void IndexCursor::Start(unsigned char* rows, int rowStride, int imageWidth, int imageHeight,
                        bool isInterlaced) {
    *this = IndexCursor{};
    indices = rows;
    stride = rowStride;
    width = imageWidth;
    height = imageHeight;
    interlaced = isInterlaced;
    PointAtRow(*this);
}

void PutIndexSlow(IndexCursor& cursor, unsigned char index) {
    if (cursor.column >= cursor.width) {
        cursor.column = 0;
        AdvanceRow(cursor);
        PointAtRow(cursor);
    }
    if (cursor.rowStart != nullptr && cursor.column < cursor.width) {
        cursor.rowStart[cursor.column] = index;
    }
    ++cursor.column;
}

}  // namespace kvgif
