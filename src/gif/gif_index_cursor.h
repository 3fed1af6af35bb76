// Where decoded colour indices go: the output cursor over an image's index rows,
// in plain or four-pass interlaced order. Only the part of the image that lands on
// the frame's canvas is stored; the rest is dropped as it comes.
#pragma once

namespace kvgif {

// Where row comes in the four passes of an interlaced image of the given height
// (0 to height - 1).
int ArrivalOfRow(int row, int height);

struct IndexCursor {
    unsigned char* indices = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    int keptColumns = 0;  // stored columns of each row, at most width
    int keptRows = 0;     // stored rows, at most height
    bool interlaced = false;
    int column = 0;
    int row = 0;
    int pass = 1;
    int interlaceRow = 0;
    // Start of the current row, null while the cursor is outside the stored rows.
    unsigned char* rowStart = nullptr;
    // The whole image is stored as one run of indices (a stride of RowStride), in
    // the order they come: for an interlaced image, rows in pass order.
    bool oneRun = false;
    bool passOrder = false;

    // The row stride for an image's stored part: rows follow on without a gap when
    // the whole image is stored, so its indices are one run.
    static int RowStride(int imageWidth, int imageHeight, int storedColumns, int storedRows);
    // Cursor at column 0 of row 0, pass 1; with no indices every index is dropped.
    void Start(unsigned char* rows, int rowStride, int imageWidth, int imageHeight,
               int storedColumns, int storedRows, bool isInterlaced);
    // Stores or drops one index, moving to the next row when the current one is full.
    void Put(unsigned char index);
    // Where the next index goes and the end of its stored run in the row; both
    // null when it is dropped.
    unsigned char* Next() const;
    unsigned char* RunEnd() const;
    // After indices were written from Next() up to at.
    void WroteUpTo(const unsigned char* at) { column = static_cast<int>(at - rowStart); }
};

}  // namespace kvgif
