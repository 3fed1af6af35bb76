#include "png_out.h"

#include <png.h>

#include <cstdio>
#include <memory>

#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"
#include "platform/testing.h"

namespace kvcli {
namespace {

uint8_t Expand5(unsigned v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string& error) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4) {
        error = "nothing to write";
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgba.data() + static_cast<size_t>(y) * width * 4);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WriteImagePng(const std::string& path, CKvAImage& image, std::string& error) {
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(image.GetBits(y));
        for (int x = 0; x < width; ++x, out += 4) {
            const uint16_t p = row[x];
            if (p == kvpixel::kKeyPixel) {
                out[0] = 0, out[1] = 0, out[2] = 255, out[3] = 0;
                continue;
            }
            out[0] = Expand5((p >> 10) & 31);
            out[1] = Expand5((p >> 5) & 31);
            out[2] = Expand5(p & 31);
            out[3] = 255;
        }
    }
    return WritePng(path, width, height, rgba, error);
}

bool WriteDcPng(const std::string& path, HDC hdc, std::string& error) {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    if (!kvplatform::ReadDcPixels(hdc, width, height, pixels)) {
        error = "device context cannot be read";
        return false;
    }
    std::vector<uint8_t> rgba(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgba[i * 4 + 0] = GetRValue(pixels[i]);
        rgba[i * 4 + 1] = GetGValue(pixels[i]);
        rgba[i * 4 + 2] = GetBValue(pixels[i]);
        rgba[i * 4 + 3] = 255;
    }
    return WritePng(path, width, height, rgba, error);
}

std::string NumberedPngPath(const std::string& out, int index, int count) {
    if (count == 1) {
        return out;
    }
    const std::string base = out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0
                                 ? out.substr(0, out.size() - 4)
                                 : out;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%03d.png", index);
    return base + suffix;
}

}  // namespace kvcli
