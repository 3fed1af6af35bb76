// The layered avatar's one way to reach a part: by id, in the pool if there is one.
#pragma once

#include <string>

#include "parts/avtr_part_pool.h"

namespace layered {

inline CAvtrPart* FindPart(std::string& id) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    return pool != nullptr ? pool->Get(id) : nullptr;
}

}  // namespace layered
