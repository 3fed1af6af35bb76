// libFuzzer target: any bytes as a GIF file, decoded and exported as sprites.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gif/kv_ani_dib_list.h"
#include "imaging/kv_aimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cKvAniDIBList decoder;
    decoder.LoadFromMemory(data, size);
    std::vector<CKvAImage*> frames;
    std::vector<unsigned long> delays;
    decoder.exportImageList(frames, delays);
    // Every frame has the first frame's size and one delay.
    if (frames.size() != delays.size()) {
        std::abort();
    }
    for (CKvAImage* frame : frames) {
        if (frame->GetWidth() != frames[0]->GetWidth() ||
            frame->GetHeight() != frames[0]->GetHeight()) {
            std::abort();
        }
    }
    std::vector<lsp::SPRITE*> sprites;
    decoder.exportImageList(sprites, delays);
    for (lsp::SPRITE* sprite : sprites) {
        lsp::FreeSprite(sprite);
    }
    return 0;
}
