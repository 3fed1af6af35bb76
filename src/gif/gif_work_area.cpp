#include "gif/gif_work_area.h"

#include <cstring>

#include "imaging/block_pool.h"

namespace kvgif {
namespace {

constexpr size_t kColorTableBytes = kColorTableEntries * kColorEntryBytes;
constexpr size_t kStringTableBytes = kStringTableSlots * sizeof(StringEntry);

}  // namespace

bool WorkArea::Allocate(int stride, int rows) {
    // The caller has bounded stride and rows, so the size cannot overflow.
    const size_t bytes = kColorTableBytes + kStringTableBytes +
                         static_cast<size_t>(stride) * static_cast<size_t>(rows);
    if (bytes > m_capacity) {
        Release();
        m_block = static_cast<unsigned char*>(kvimaging::TakeBlock(bytes));
        if (m_block == nullptr) {
            return false;
        }
        m_capacity = bytes;
    }
    std::memset(m_block, 0, bytes);
    return true;
}

void WorkArea::Release() {
    kvimaging::ReturnBlock(m_block, m_capacity);
    m_block = nullptr;
    m_capacity = 0;
}

StringEntry* WorkArea::StringTable() const {
    return reinterpret_cast<StringEntry*>(m_block + kColorTableBytes);
}

unsigned char* WorkArea::Indices() const {
    return m_block + kColorTableBytes + kStringTableBytes;
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
