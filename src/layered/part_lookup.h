// The layered avatar's one way to reach a part: by id, in the pool if there is one.
#pragma once

#include <string>

#include "parts/avtr_part_pool.h"

namespace layered {

inline CAvtrPart* FindPart(std::string& id) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    return pool != nullptr ? pool->Get(id) : nullptr;
}

// Holds the pool's lock, when there is a pool, while the parts found are drawn from:
// spans point into their frames until the blit, and a trim on another thread must
// not free them before. The lock is re-entrant, so each FindPart inside costs little.
class PartsHeld {
public:
    PartsHeld() : m_pool(CAvtrPartPool::Inst()) {
        if (m_pool != nullptr) {
            m_pool->Lock();
        }
    }
    ~PartsHeld() {
        if (m_pool != nullptr) {
            m_pool->Unlock();
        }
    }
    PartsHeld(const PartsHeld&) = delete;
    PartsHeld& operator=(const PartsHeld&) = delete;

private:
    CAvtrPartPool* m_pool;
};

}  // namespace layered
