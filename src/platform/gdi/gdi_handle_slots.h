// Storage for one kind of GDI object, reached by handles that encode their slot: a
// look-up is an index and a generation check instead of a hash-table walk. A freed
// slot's generation moves on, so its old handles stay unknown when the slot is
// reused; the kind's tag in the low bits keeps handles of other kinds and made-up
// values out. Not thread-safe: the owning table's mutex guards it.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace kvgdi {

template <typename Object>
class HandleSlots {
public:
    static constexpr int kTagBits = 4;
    static constexpr int kSlotBits = 24;
    static_assert(sizeof(uintptr_t) == 8, "handles carry slot and generation side by side");

    explicit HandleSlots(uintptr_t tag) : m_tag(tag) {}

    // 0 when every slot is taken.
    uintptr_t Add(Object object) {
        uint32_t slot;
        if (!m_free.empty()) {
            slot = m_free.back();
            m_free.pop_back();
        } else if (m_slots.size() > kSlotMask) {
            return 0;
        } else {
            slot = static_cast<uint32_t>(m_slots.size());
            m_slots.emplace_back();
        }
        Slot& entry = m_slots[slot];
        entry.object = std::move(object);
        entry.live = true;
        return ((entry.generation << kSlotBits | slot) << kTagBits) | m_tag;
    }

    Object* Find(uintptr_t handle) {
        if ((handle & kTagMask) != m_tag) {
            return nullptr;
        }
        const uintptr_t slot = (handle >> kTagBits) & kSlotMask;
        if (slot >= m_slots.size()) {
            return nullptr;
        }
        Slot& entry = m_slots[slot];
        const bool current = entry.live && entry.generation == handle >> (kTagBits + kSlotBits);
        return current ? &entry.object : nullptr;
    }

    // Requires a handle that Find knows.
    void Remove(uintptr_t handle) {
        const auto slot = static_cast<uint32_t>((handle >> kTagBits) & kSlotMask);
        Slot& entry = m_slots[slot];
        entry.object = Object{};
        entry.live = false;
        // A slot whose generations are spent is retired rather than reuse a handle.
        if (++entry.generation <= kMaxGeneration) {
            m_free.push_back(slot);
        }
    }

private:
    static constexpr uintptr_t kTagMask = (uintptr_t{1} << kTagBits) - 1;
    static constexpr uintptr_t kSlotMask = (uintptr_t{1} << kSlotBits) - 1;
    static constexpr uintptr_t kMaxGeneration = ~uintptr_t{0} >> (kTagBits + kSlotBits);

    struct Slot {
        Object object{};
        // Starts at 1 so that no handle is a small number.
        uintptr_t generation = 1;
        bool live = false;
    };

    // A deque keeps found objects in place while others are added.
    std::deque<Slot> m_slots;
    std::vector<uint32_t> m_free;
    uintptr_t m_tag;
};

}  // namespace kvgdi
