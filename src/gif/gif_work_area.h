// The per-image work area: colour table, LZW string table and index rows in one
// block. The block is kept from image to image and cleared for each, so indices
// that the data never reaches are index 0 and unmade strings read as zeros.
#pragma once

#include <cstddef>
#include <memory>

#include "gif/gif_lzw.h"

namespace kvgif {

constexpr int kColorTableEntries = 256;
constexpr size_t kColorEntryBytes = 4;  // blue, green, red, 0

class WorkArea {
public:
    // A cleared area for rows of the given stride; false when the allocation fails.
    bool Allocate(int stride, int rows);
    void Release();

    unsigned char* ColorTable() const { return m_block.get(); }
    StringEntry* StringTable() const;
    unsigned char* Indices() const;

    // Fills the colour table from count 3-byte (red, green, blue) entries; the
    // remaining entries stay black.
    void SetColors(const unsigned char* rgb, int count);

private:
    struct FreeBlock {
        void operator()(unsigned char* block) const;
    };
    std::unique_ptr<unsigned char, FreeBlock> m_block;
    size_t m_capacity = 0;
};

}  // namespace kvgif
