// One decoded layer of a layered avatar: a run-length sprite per GIF frame.
#pragma once

#include <vector>

#include "imaging/lsp_sprite.h"

class CAvtrPart {
public:
    CAvtrPart() = default;
    // Releases every sprite record.
    ~CAvtrPart();

    // The pool owns its parts; a copy would free the sprites twice.
    CAvtrPart(const CAvtrPart&) = delete;
    CAvtrPart& operator=(const CAvtrPart&) = delete;

    std::vector<lsp::SPRITE*> m_vecFrames;
    // Hundredths of a second, as the GIF file gives them; one per frame.
    std::vector<unsigned long> m_vecDelays;
    // Live layered avatars using the part; only they change it.
    int m_nUseCount = 0;
};
