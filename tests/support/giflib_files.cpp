#include "support/giflib_files.h"

#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace kvtest {
namespace {

struct MemoryReader {
    const GifBytes* bytes;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int size) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n =
        std::min<size_t>(static_cast<size_t>(size), reader->bytes->size() - reader->pos);
    std::memcpy(out, reader->bytes->data() + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct SlurpedGif {
    GifFileType* gif = nullptr;
    MemoryReader reader;
    bool ok = false;

    explicit SlurpedGif(const GifBytes& bytes) : reader{&bytes, 0} {
        int error = 0;
        gif = DGifOpen(&reader, ReadFromMemory, &error);
        ok = gif != nullptr && DGifSlurp(gif) == GIF_OK;
    }
    ~SlurpedGif() {
        if (gif != nullptr) {
            DGifCloseFile(gif, nullptr);
        }
    }
};

ColorMapObject* MakePalette(const std::vector<Rgb>& palette) {
    const int entries = 2 << TableSizeField(palette.size());
    std::vector<GifColorType> colors(entries, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size() && i < colors.size(); ++i) {
        colors[i] = GifColorType{palette[i].r, palette[i].g, palette[i].b};
    }
    return GifMakeMapObject(entries, colors.data());
}

}  // namespace

bool WriteGiflibGif(const std::string& path, int screenWidth, int screenHeight,
                    const std::vector<Rgb>& palette, const std::vector<GiflibFrame>& frames,
                    int loop) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(MakePalette(palette),
                                                                   GifFreeMapObject);
    bool ok = EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map.get()) == GIF_OK;
    if (ok && loop >= 0) {
        GifByteType loopBlock[3] = {1, static_cast<GifByteType>(loop & 0xFF),
                                    static_cast<GifByteType>((loop >> 8) & 0xFF)};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
             EGifPutExtensionBlock(gif, 3, loopBlock) == GIF_OK &&
             EGifPutExtensionTrailer(gif) == GIF_OK;
    }
    for (const GiflibFrame& frame : frames) {
        GraphicsControlBlock control{frame.disposal, false, frame.delay, frame.transparentIndex};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
             EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height,
                              frame.interlaced, nullptr) == GIF_OK;
        // Lines go in file order: the four interlace passes when interlaced.
        GifBytes rows = frame.interlaced ? InterlaceRows(frame.indices, frame.width, frame.height)
                                         : frame.indices;
        for (int y = 0; ok && y < frame.height; ++y) {
            ok = EGifPutLine(gif, rows.data() + static_cast<size_t>(y) * frame.width,
                             frame.width) == GIF_OK;
        }
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

bool GiflibFirstImage(const GifBytes& bytes, GiflibImage& image) {
    SlurpedGif slurped(bytes);
    if (!slurped.ok || slurped.gif->ImageCount < 1) {
        return false;
    }
    const SavedImage& saved = slurped.gif->SavedImages[0];
    const ColorMapObject* map =
        saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : slurped.gif->SColorMap;
    image.width = saved.ImageDesc.Width;
    image.height = saved.ImageDesc.Height;
    image.pixels.clear();
    const size_t pixels = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < pixels; ++i) {
        const int index = saved.RasterBits[i];
        const GifColorType c =
            map != nullptr && index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
        image.pixels.push_back(Rgb{c.Red, c.Green, c.Blue});
    }
    return true;
}

int GiflibSlurpCount(const GifBytes& bytes) {
    SlurpedGif slurped(bytes);
    return slurped.ok ? slurped.gif->ImageCount : -1;
}

GifBytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return GifBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kvtest
