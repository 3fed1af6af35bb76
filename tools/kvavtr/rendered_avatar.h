// A layered avatar that tells the size of the region it paints, which only the
// avatar computes (from its modes and drawing rectangle).
#pragma once

#include "layered/avtr2004.h"

namespace kvcli {

class RenderedAvatar : public CAvtr2004 {
public:
    SIZE OutputSize() {
        RECT dest;
        RECT src;
        GetDrawRect(dest, src);
        return {dest.right, dest.bottom};
    }
};

}  // namespace kvcli
