#include "part_gif.h"

#include <gif_lib.h>

#include <stdexcept>
#include <vector>

namespace parts_test {
namespace {

int AppendToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

void Check(int result) {
    if (result != GIF_OK) {
        throw std::runtime_error("giflib failed");
    }
}

}  // namespace

std::string MakePartGif(int width, int height, int frames, int delay) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToString, &error);
    if (!gif) {
        throw std::runtime_error("EGifOpen failed");
    }
    const GifColorType colours[4] = {{0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}};
    ColorMapObject* palette = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    Check(EGifPutScreenDesc(gif, width, height, 2, 0, palette));
    std::vector<GifPixelType> row(width);
    for (int frame = 0; frame < frames; ++frame) {
        GraphicsControlBlock control{};
        control.DelayTime = delay;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof(extension), extension));
        Check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr));
        for (int y = 0; y < height; ++y) {
            // The left column keeps the key colour so that sprites have runs to skip.
            for (int x = 0; x < width; ++x) {
                row[x] = static_cast<GifPixelType>(x == 0 ? 0 : 1 + frame % 3);
            }
            Check(EGifPutLine(gif, row.data(), width));
        }
    }
    GifFreeMapObject(palette);
    Check(EGifCloseFile(gif, &error));
    return bytes;
}

}  // namespace parts_test
