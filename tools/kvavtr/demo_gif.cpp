#include "demo_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace kvcli {
namespace {

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapDeleter>;

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
};

// The rectangle where the frames differ; the whole frame when there is no previous one.
Box Changed(const std::vector<uint32_t>& now, const std::vector<uint32_t>& before, int width,
            int height) {
    if (before.empty()) {
        return {0, 0, width, height};
    }
    Box box{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (now[i] != before[i]) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    // An unchanged frame still needs one pixel to carry its delay.
    return box.right == 0 ? Box{0, 0, 1, 1} : box;
}

// The box's pixels as indices into a new colour map.
ColourMap Index(const std::vector<uint32_t>& pixels, int width, const Box& box,
                std::vector<GifPixelType>& indices) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    indices.resize(static_cast<size_t>(w) * h);
    std::unordered_map<uint32_t, int> table;
    std::vector<GifByteType> r, g, b;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y + box.top) * width + x + box.left];
            r.push_back(static_cast<GifByteType>(p >> 16));
            g.push_back(static_cast<GifByteType>(p >> 8));
            b.push_back(static_cast<GifByteType>(p));
            if (table.size() <= 256) {
                table.emplace(p, static_cast<int>(table.size()));
            }
        }
    }
    ColourMap map(GifMakeMapObject(256, nullptr));
    if (!map) {
        return map;
    }
    if (table.size() <= 256) {
        for (const auto& [colour, index] : table) {
            map->Colors[index] = {static_cast<GifByteType>(colour >> 16),
                                  static_cast<GifByteType>(colour >> 8),
                                  static_cast<GifByteType>(colour)};
        }
        for (size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<GifPixelType>(
                table[(uint32_t{r[i]} << 16) | (uint32_t{g[i]} << 8) | b[i]]);
        }
        return map;
    }
    int size = 256;
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &size, r.data(),
                          g.data(), b.data(), indices.data(), map->Colors) != GIF_OK) {
        map.reset();
    }
    return map;
}

}  // namespace

DemoGif::~DemoGif() {
    std::string ignored;
    Close(ignored);
}

bool DemoGif::Open(const std::string& path, int width, int height, std::string& error) {
    int code = 0;
    m_gif = EGifOpenFileName(path.c_str(), false, &code);
    if (m_gif == nullptr) {
        error = "cannot create " + path + ": " + GifErrorString(code);
        return false;
    }
    m_width = width;
    m_height = height;
    EGifSetGifVersion(m_gif, true);
    const GifByteType loop[3] = {1, 0, 0};
    if (EGifPutScreenDesc(m_gif, width, height, 8, 0, nullptr) != GIF_OK ||
        EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") != GIF_OK ||
        EGifPutExtensionBlock(m_gif, 3, loop) != GIF_OK ||
        EGifPutExtensionTrailer(m_gif) != GIF_OK) {
        error = "cannot write the head of " + path;
        return false;
    }
    return true;
}

bool DemoGif::AddFrame(const std::vector<uint32_t>& pixels, int delayCs, std::string& error) {
    const Box box = Changed(pixels, m_previous, m_width, m_height);
    std::vector<GifPixelType> indices;
    ColourMap map = Index(pixels, m_width, box, indices);
    // Disposal "leave in place", so the next frame only paints its changes.
    const GifByteType control[4] = {0x04, static_cast<GifByteType>(delayCs & 0xFF),
                                    static_cast<GifByteType>(delayCs >> 8), 0};
    const int w = box.right - box.left;
    bool ok = map && m_gif != nullptr &&
              EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK &&
              EGifPutImageDesc(m_gif, box.left, box.top, w, box.bottom - box.top, false,
                               map.get()) == GIF_OK;
    for (int y = 0; ok && y < box.bottom - box.top; ++y) {
        ok = EGifPutLine(m_gif, indices.data() + static_cast<size_t>(y) * w, w) == GIF_OK;
    }
    if (!ok) {
        error = "cannot write animation frame " + std::to_string(m_frames);
        return false;
    }
    m_previous = pixels;
    ++m_frames;
    return true;
}

bool DemoGif::Close(std::string& error) {
    if (m_gif == nullptr) {
        return true;
    }
    int code = 0;
    const bool ok = EGifCloseFile(m_gif, &code) == GIF_OK;
    m_gif = nullptr;
    if (!ok) {
        error = std::string("cannot finish the animation: ") + GifErrorString(code);
    }
    return ok;
}

}  // namespace kvcli
