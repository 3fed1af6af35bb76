// The per-image work area: colour table, index rows and LZW string table in one
// zeroed allocation, so indices that the data never reaches are index 0.
#pragma once

#include <cstddef>
#include <memory>

#include "gif/gif_lzw.h"

namespace kvgif {

constexpr int kColorTableEntries = 256;
constexpr size_t kColorEntryBytes = 4;  // blue, green, red, 0

class WorkArea {
public:
    // Replaces any earlier area; false when the allocation fails.
    bool Allocate(int width, int height);
    void Release() { m_block.reset(); }

    unsigned char* ColorTable() const { return m_block.get(); }
    StringEntry* StringTable() const;
    unsigned char* Indices() const;
    // Bytes per index row: the width rounded up to a multiple of 4.
    int Stride() const { return m_stride; }

    // Fills the colour table from count 3-byte (red, green, blue) entries; the
    // remaining entries stay black.
    void SetColors(const unsigned char* rgb, int count);

private:
    struct FreeBlock {
        void operator()(unsigned char* block) const;
    };
    std::unique_ptr<unsigned char, FreeBlock> m_block;
    int m_stride = 0;
};

}  // namespace kvgif
