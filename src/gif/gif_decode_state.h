// The per-file decode state of cKvAniDIBList, private to the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/gif_code_bytes.h"
#include "gif/gif_compose.h"
#include "gif/gif_error.h"
#include "gif/gif_index_cursor.h"
#include "gif/gif_stream.h"
#include "gif/gif_work_area.h"
#include "imaging/block_pool.h"

namespace kvgif {

struct GraphicControl {
    int disposal = kDisposalNone;
    bool transparent = false;
    unsigned char transparentIndex = 0;
};

struct ImageDescriptor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    unsigned char packed = 0;
};

// The file's bytes: the file reader's array (pooledBytes 0), or a pooled block
// that LoadFromMemory copied them into.
struct ReleaseFileBytes {
    size_t pooledBytes = 0;
    void operator()(unsigned char* bytes) const {
        if (pooledBytes == 0) {
            delete[] bytes;
        } else {
            kvimaging::ReturnBlock(bytes, pooledBytes);
        }
    }
};
using FileBytes = std::unique_ptr<unsigned char[], ReleaseFileBytes>;

struct DecodeState {
    // File data: the global colour table (red, green, blue per entry) and the data
    // block after it, with the read position.
    std::vector<unsigned char> globalTable;
    int globalCount = 0;
    FileBytes fileData;
    DataCursor data;

    GraphicControl graphicControl;
    PreviousFrame previous;

    // The image being decoded.
    ImageDescriptor image;
    int imageColors = 0;  // colour table entries of the image
    CodeReader reader;
    CodeBytes codes;
    IndexCursor cursor;
    WorkArea work;
    WorkingCanvas working;

    int64_t framePixels = 0;
    GifError lastError = GifError::kNone;
};

}  // namespace kvgif
