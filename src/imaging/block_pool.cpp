#include "imaging/block_pool.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace kvimaging {
namespace {

constexpr size_t kPageBytes = 4096;
constexpr int kClassSlots = 32;

// A waiting block holds the link to the next one of its class in its first bytes.
struct IdleBlock {
    IdleBlock* next;
};

// Under AddressSanitizer a waiting block, and the slack of a taken one, read as
// unallocated, so a store used after its image let go of it is still reported.
void MarkUsable(void* at, size_t bytes, bool usable) {
#if defined(__SANITIZE_ADDRESS__)
    if (usable) {
        ASAN_UNPOISON_MEMORY_REGION(at, bytes);
    } else {
        ASAN_POISON_MEMORY_REGION(at, bytes);
    }
#else
    (void)at, (void)bytes, (void)usable;
#endif
}

// Pages, and above 32 KiB an eighth of the size's power of two: sizes that differ a
// little share a class, and a block wastes at most an eighth of itself.
size_t ClassBytes(size_t bytes) {
    const size_t step = std::max(kPageBytes, std::bit_floor(bytes) / 8);
    return (bytes + step - 1) / step * step;
}

bool Pooled(size_t bytes) {
    return bytes >= kMinPooledBytes && bytes <= kMaxPooledBytes;
}

void FreeChain(IdleBlock* block) {
    while (block != nullptr) {
        IdleBlock* const next = block->next;
        std::free(block);
        block = next;
    }
}

struct SizeClass {
    size_t bytes = 0;
    IdleBlock* head = nullptr;
    uint64_t lastUse = 0;
};

class Pool {
public:
    Pool() = default;
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    // A waiting block of the class, or null.
    void* Take(size_t classBytes) {
        std::lock_guard lock(m_mutex);
        SizeClass* const sizeClass = Find(classBytes);
        if (sizeClass == nullptr || sizeClass->head == nullptr) {
            return nullptr;
        }
        sizeClass->lastUse = ++m_clock;
        m_idleBytes -= classBytes;
        return Pop(*sizeClass);
    }

    // Keeps the block; gives back the blocks that no longer fit, for the caller to
    // free once the lock is released.
    IdleBlock* Give(void* block, size_t classBytes) {
        auto* const idle = static_cast<IdleBlock*>(block);
        idle->next = nullptr;
        std::lock_guard lock(m_mutex);
        IdleBlock* evicted = nullptr;
        SizeClass& sizeClass = SlotFor(classBytes, evicted);
        sizeClass.lastUse = ++m_clock;
        idle->next = sizeClass.head;
        sizeClass.head = idle;
        m_idleBytes += classBytes;
        while (m_idleBytes > kIdleBytesCap) {
            SizeClass& oldest = Oldest(sizeClass);
            Evict(oldest, evicted);
        }
        return evicted;
    }

    // Every waiting block, taken out of the pool.
    IdleBlock* TakeAll() {
        std::lock_guard lock(m_mutex);
        IdleBlock* all = nullptr;
        for (SizeClass& sizeClass : m_classes) {
            while (sizeClass.head != nullptr) {
                Evict(sizeClass, all);
            }
        }
        return all;
    }

    size_t IdleBytes() {
        std::lock_guard lock(m_mutex);
        return m_idleBytes;
    }

private:
    static IdleBlock* Pop(SizeClass& sizeClass) {
        IdleBlock* const block = sizeClass.head;
        sizeClass.head = block->next;
        return block;
    }

    // Moves one block of the class onto the chain.
    void Evict(SizeClass& sizeClass, IdleBlock*& chain) {
        m_idleBytes -= sizeClass.bytes;
        IdleBlock* const block = Pop(sizeClass);
        block->next = chain;
        chain = block;
    }

    SizeClass* Find(size_t classBytes) {
        for (SizeClass& sizeClass : m_classes) {
            if (sizeClass.bytes == classBytes) {
                return &sizeClass;
            }
        }
        return nullptr;
    }

    // The class's slot; a new class takes an empty slot, or empties the slot of the
    // class used longest ago onto the chain.
    SizeClass& SlotFor(size_t classBytes, IdleBlock*& chain) {
        if (SizeClass* const found = Find(classBytes)) {
            return *found;
        }
        SizeClass* slot = &m_classes[0];
        for (SizeClass& sizeClass : m_classes) {
            if (sizeClass.head == nullptr) {
                slot = &sizeClass;
                break;
            }
            if (sizeClass.lastUse < slot->lastUse) {
                slot = &sizeClass;
            }
        }
        while (slot->head != nullptr) {
            Evict(*slot, chain);
        }
        slot->bytes = classBytes;
        return *slot;
    }

    // The non-empty class used longest ago, other than `keep` while another has
    // blocks; `keep` itself is never empty here.
    SizeClass& Oldest(SizeClass& keep) {
        SizeClass* oldest = &keep;
        for (SizeClass& sizeClass : m_classes) {
            if (sizeClass.head != nullptr && &sizeClass != &keep &&
                (oldest == &keep || sizeClass.lastUse < oldest->lastUse)) {
                oldest = &sizeClass;
            }
        }
        return *oldest;
    }

    std::mutex m_mutex;
    SizeClass m_classes[kClassSlots];
    size_t m_idleBytes = 0;
    uint64_t m_clock = 0;
};

// Never destroyed: images held by statics may give their stores back during exit.
// What waits at exit stays reachable from here.
Pool& ThePool() {
    static auto* pool = new Pool;
    return *pool;
}

}  // namespace

void* TakeBlock(size_t bytes) {
    if (!Pooled(bytes)) {
        return std::malloc(bytes);
    }
    const size_t classBytes = ClassBytes(bytes);
    void* block = ThePool().Take(classBytes);
    if (block == nullptr) {
        block = std::malloc(classBytes);
        if (block == nullptr) {
            return nullptr;
        }
    }
    MarkUsable(block, bytes, true);
    MarkUsable(static_cast<unsigned char*>(block) + bytes, classBytes - bytes, false);
    return block;
}

void ReturnBlock(void* block, size_t bytes) {
    if (block == nullptr) {
        return;
    }
    if (!Pooled(bytes)) {
        std::free(block);
        return;
    }
    const size_t classBytes = ClassBytes(bytes);
    MarkUsable(block, sizeof(IdleBlock), true);
    MarkUsable(static_cast<unsigned char*>(block) + sizeof(IdleBlock),
               classBytes - sizeof(IdleBlock), false);
    FreeChain(ThePool().Give(block, classBytes));
}

void FreeIdleBlocks() {
    FreeChain(ThePool().TakeAll());
}

size_t IdleBlockBytes() {
    return ThePool().IdleBytes();
}

}  // namespace kvimaging
