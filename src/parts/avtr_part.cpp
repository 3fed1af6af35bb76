#include "parts/avtr_part.h"

CAvtrPart::~CAvtrPart() {
    for (lsp::SPRITE* sprite : m_vecFrames) {
        lsp::FreeSprite(sprite);
    }
}
