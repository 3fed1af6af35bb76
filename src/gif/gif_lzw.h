// LZW decompression of one GIF image's data into its index rows.
#pragma once

#include <cstdint>

#include "gif/gif_index_cursor.h"
#include "gif/gif_stream.h"

namespace kvgif {

constexpr int kStringTableSize = 4096;

// One string: its last index, the code of the string without it, and a link to
// the next entry of the string being emitted, so strings come out front to back
// without a stack. Eight bytes, so that an entry's address is a scaled index: the
// string walks are chains of dependent loads.
struct alignas(8) StringEntry {
    uint16_t prefix;
    uint16_t link;
    uint8_t last;
};

enum class LzwStatus {
    kEndCode,      // the end code was read
    kDataEnded,    // the data ran out first; the indices so far stand
    kCorruptCode,  // a code that no string can be made of
};

const char* LzwStatusMessage(LzwStatus status);

// Decodes codes from the reader's data until the end code. The reader must have
// been started with minimumCodeSize + 1 bits; minimumCodeSize is at most
// kMaxMinimumCodeSize. table holds kStringTableSize entries.
LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, DataCursor& data, CodeReader& reader,
                    IndexCursor& output);

}  // namespace kvgif
