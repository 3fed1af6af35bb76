// LZW decompression of one GIF image's data into its index rows.
#pragma once

#include <cstdint>

#include "gif/gif_code_bytes.h"
#include "gif/gif_index_cursor.h"

namespace kvgif {

// Codes 0 to 4095, and one slot past them that a full table writes its unused
// entry to, so adding an entry needs no test.
constexpr int kStringTableSize = 4096;
constexpr int kStringTableSlots = kStringTableSize + 1;

// One string: its last index, its first index, its length (0 for a string whose
// prefix chain is broken) and the code of the string without its last index.
// Strings are written back to front from their last index, so the first index and
// the length save a walk. Eight bytes: an entry's address is a scaled index.
struct alignas(8) StringEntry {
    uint16_t prefix;
    uint16_t length;
    uint8_t last;
    uint8_t first;
};

enum class LzwStatus {
    kEndCode,      // the end code was read
    kDataEnded,    // the data ran out first; the indices so far stand
    kCorruptCode,  // a code that no string can be made of
};

// Decodes the image data at the cursor's position until the end code, and moves
// the cursor past the codes read. minimumCodeSize is at most 11. table holds
// kStringTableSlots entries, zeroed before the image; codes is the gathering buffer.
LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, CodeBytes& codes, DataCursor& data,
                    IndexCursor& output);

}  // namespace kvgif
