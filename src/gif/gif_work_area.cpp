#include "gif/gif_work_area.h"

#include <cstdlib>
#include <cstring>

namespace kvgif {
namespace {

constexpr size_t kColorTableBytes = kColorTableEntries * kColorEntryBytes;
constexpr size_t kStringTableBytes = kStringTableSlots * sizeof(StringEntry);

}  // namespace

void WorkArea::FreeBlock::operator()(unsigned char* block) const {
    std::free(block);
}

bool WorkArea::Allocate(int stride, int rows) {
    // The caller has bounded stride and rows, so the size cannot overflow.
    const size_t bytes = kColorTableBytes + kStringTableBytes +
                         static_cast<size_t>(stride) * static_cast<size_t>(rows);
    if (bytes <= m_capacity) {
        std::memset(m_block.get(), 0, bytes);
        return true;
    }
    Release();
    // calloc: large areas come as untouched zero pages.
    m_block.reset(static_cast<unsigned char*>(std::calloc(bytes, 1)));
    m_capacity = m_block != nullptr ? bytes : 0;
    return m_block != nullptr;
}

void WorkArea::Release() {
    m_block.reset();
    m_capacity = 0;
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
