// The per-image work area: colour table, LZW string table and index rows in one
// block. The block is kept from image to image and cleared for each, so indices
// that the data never reaches are index 0 and unmade strings read as zeros.
#pragma once

#include <cstddef>

#include "gif/gif_lzw.h"

namespace kvgif {

constexpr int kColorTableEntries = 256;
constexpr size_t kColorEntryBytes = 4;  // blue, green, red, 0

class WorkArea {
public:
    WorkArea() = default;
    WorkArea(const WorkArea&) = delete;
    WorkArea& operator=(const WorkArea&) = delete;
    ~WorkArea() { Release(); }

    // A cleared area for rows of the given stride; false when the allocation fails.
    bool Allocate(int stride, int rows);
    void Release();

    unsigned char* ColorTable() const { return m_block; }
    StringEntry* StringTable() const;
    unsigned char* Indices() const;

    // Fills the colour table from count 3-byte (red, green, blue) entries; the
    // remaining entries stay black.
    void SetColors(const unsigned char* rgb, int count);

private:
    // From the block pool: the pages of the last file's area are written again.
    unsigned char* m_block = nullptr;
    size_t m_capacity = 0;
};

}  // namespace kvgif
