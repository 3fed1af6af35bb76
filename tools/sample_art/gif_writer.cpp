#include "gif_writer.h"

#include <gif_lib.h>

#include <memory>

namespace sampleart {
namespace {

constexpr int kMapBits = 6;
constexpr int kMapSize = 1 << kMapBits;
static_assert(kColourCount <= kMapSize);

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Graphic control: transparent index 0, each frame stands alone.
bool PutControl(GifFileType* gif, int delay) {
    const GifByteType control[4] = {0x01, static_cast<GifByteType>(delay & 0xFF),
                                    static_cast<GifByteType>(delay >> 8), kKey};
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK;
}

bool PutLoop(GifFileType* gif, int loops) {
    const GifByteType loop[3] = {1, static_cast<GifByteType>(loops & 0xFF),
                                 static_cast<GifByteType>(loops >> 8)};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

bool WriteGif(const std::string& path, const std::vector<Frame>& frames, std::string& error,
              int loops) {
    if (frames.empty()) {
        error = "no frames";
        return false;
    }
    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(path.c_str(), false, &code));
    if (!gif) {
        error = "cannot create " + path;
        return false;
    }
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(kMapSize, nullptr));
    for (int i = 0; i < kColourCount; ++i) {
        map->Colors[i] = {kPalette[i].r, kPalette[i].g, kPalette[i].b};
    }
    EGifSetGifVersion(gif.get(), true);
    const Canvas& first = frames.front().canvas;
    bool ok = EGifPutScreenDesc(gif.get(), first.width(), first.height(), kMapBits, 0, map.get()) ==
              GIF_OK;
    ok = ok && (frames.size() == 1 || loops == kPlayOnce || PutLoop(gif.get(), loops));
    for (const Frame& frame : frames) {
        ok = ok && PutControl(gif.get(), frame.delay) &&
             EGifPutImageDesc(gif.get(), 0, 0, frame.canvas.width(), frame.canvas.height(), false,
                              nullptr) == GIF_OK;
        std::vector<GifPixelType> row(static_cast<size_t>(frame.canvas.width()));
        for (int y = 0; ok && y < frame.canvas.height(); ++y) {
            const uint8_t* src = frame.canvas.pixels().data() + static_cast<size_t>(y) * row.size();
            row.assign(src, src + row.size());
            ok = EGifPutLine(gif.get(), row.data(), frame.canvas.width()) == GIF_OK;
        }
    }
    if (!ok) {
        error = "cannot write " + path;
    }
    return ok;
}

}  // namespace sampleart
