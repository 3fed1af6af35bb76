#include "support/png_read.h"

#include <png.h>

namespace kvtest {

uint32_t PngPicture::At(unsigned x, unsigned y) const {
    const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

PngPicture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    PngPicture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        picture.rgba.clear();
        return picture;
    }
    picture.width = image.width;
    picture.height = image.height;
    return picture;
}

}  // namespace kvtest
