// Where decoded colour indices go: the output cursor over an image's index rows,
// in plain or four-pass interlaced order.
#pragma once

namespace kvgif {

struct IndexCursor {
    unsigned char* indices = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    int column = 0;
    int row = 0;
    int pass = 1;
    int interlaceRow = 0;
    // Start of the current row, null while the cursor is outside the rows.
    unsigned char* rowStart = nullptr;

    // Cursor at column 0 of row 0, pass 1; with no indices every index is dropped.
    void Start(unsigned char* rows, int rowStride, int imageWidth, int imageHeight,
               bool isInterlaced);
};

// Moves to the next row when the current one is full, then stores or drops.
void PutIndexSlow(IndexCursor& cursor, unsigned char index);

inline void PutIndex(IndexCursor& cursor, unsigned char index) {
    if (cursor.rowStart != nullptr && cursor.column < cursor.width) {
        cursor.rowStart[cursor.column++] = index;
        return;
    }
    PutIndexSlow(cursor, index);
}

}  // namespace kvgif
