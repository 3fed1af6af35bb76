#include "gif/gif_index_cursor.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "platform/row_bytes.h"

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

// A row with no stored column is outside too: a zero-width image has rows that hold
// nothing.
void PointAtRow(IndexCursor& cursor) {
    const bool inside =
        cursor.indices != nullptr && cursor.keptColumns > 0 && cursor.row < cursor.keptRows;
    cursor.rowStart =
        inside ? cursor.indices + static_cast<ptrdiff_t>(cursor.row) * cursor.stride : nullptr;
}

bool WholeInOneRun(int imageWidth, int imageHeight, int storedColumns, int storedRows) {
    return storedColumns == imageWidth && storedRows == imageHeight &&
           int64_t{imageWidth} * imageHeight <= INT_MAX;
}

}  // namespace

int ArrivalOfRow(int row, int height) {
    int before = 0;
    for (int pass = 1; pass <= 4; ++pass) {
        const int offset = row - kPassStart[pass];
        if (offset >= 0 && offset % kPassStep[pass] == 0) {
            return before + offset / kPassStep[pass];
        }
        before += std::max(0, (height - kPassStart[pass] + kPassStep[pass] - 1) / kPassStep[pass]);
    }
    return row;
}

int IndexCursor::RowStride(int imageWidth, int imageHeight, int storedColumns, int storedRows) {
    return WholeInOneRun(imageWidth, imageHeight, storedColumns, storedRows)
               ? storedColumns
               : static_cast<int>(kvrow::RowBytes(storedColumns, 8));
}

void IndexCursor::Start(unsigned char* rows, int rowStride, int imageWidth, int imageHeight,
                        int storedColumns, int storedRows, bool isInterlaced) {
    *this = IndexCursor{};
    if (rowStride == imageWidth &&
        WholeInOneRun(imageWidth, imageHeight, storedColumns, storedRows)) {
        // One row of all the indices in the order they come: strings run on
        // across the image's rows, and interlaced rows are placed when painted.
        oneRun = true;
        passOrder = isInterlaced;
        isInterlaced = false;
        imageWidth *= imageHeight;
        storedColumns = imageWidth;
        imageHeight = storedRows = imageWidth > 0 ? 1 : 0;
        rowStride = imageWidth;
    }
    indices = rows;
    stride = rowStride;
    width = imageWidth;
    height = imageHeight;
    keptColumns = storedColumns;
    keptRows = storedRows;
    interlaced = isInterlaced;
    PointAtRow(*this);
}

void IndexCursor::Put(unsigned char index) {
    if (column >= width) {
        column = 0;
        AdvanceRow(*this);
        PointAtRow(*this);
    }
    if (rowStart != nullptr && column < keptColumns) {
        rowStart[column] = index;
    }
    ++column;
}

unsigned char* IndexCursor::Next() const {
    return rowStart != nullptr && column < keptColumns ? rowStart + column : nullptr;
}

unsigned char* IndexCursor::RunEnd() const {
    return rowStart != nullptr && column < keptColumns ? rowStart + keptColumns : nullptr;
}

}  // namespace kvgif
