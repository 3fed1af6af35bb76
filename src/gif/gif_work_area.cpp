#include "gif/gif_work_area.h"

#include <cstdlib>

namespace kvgif {
namespace {

constexpr size_t kColorTableBytes = kColorTableEntries * kColorEntryBytes;
constexpr size_t kStringTableBytes = kStringTableSize * sizeof(StringEntry);

}  // namespace

void WorkArea::FreeBlock::operator()(unsigned char* block) const {
    std::free(block);
}

bool WorkArea::Allocate(int width, int height) {
    Release();
    m_stride = (width + 3) & ~3;
    // The caller has bounded width and height, so the size cannot overflow.
    const size_t bytes = kColorTableBytes + kStringTableBytes +
                         static_cast<size_t>(m_stride) * static_cast<size_t>(height);
    // calloc: large areas come as untouched zero pages.
    m_block.reset(static_cast<unsigned char*>(std::calloc(bytes, 1)));
    return m_block != nullptr;
}

StringEntry* WorkArea::StringTable() const {
    return reinterpret_cast<StringEntry*>(m_block.get() + kColorTableBytes);
}

unsigned char* WorkArea::Indices() const {
    return m_block.get() + kColorTableBytes + kStringTableBytes;
}

void WorkArea::SetColors(const unsigned char* rgb, int count) {
    unsigned char* entry = ColorTable();
    for (int i = 0; i < count && i < kColorTableEntries; ++i, rgb += 3, entry += 4) {
        entry[0] = rgb[2];
        entry[1] = rgb[1];
        entry[2] = rgb[0];
    }
}

}  // namespace kvgif
