// PNG output of the kvavtr program: RGBA, 8 bits a channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

class CKvAImage;

namespace kvcli {

// rgba holds width * height * 4 bytes, rows top first. False with a reason in error.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string& error);

// A 16-bit picture: the key 0x001F becomes (0, 0, 255, 0), every other pixel
// expands each 5-bit channel as (v << 3) | (v >> 2) with alpha 255.
bool WriteImagePng(const std::string& path, CKvAImage& image, std::string& error);

// OUT.png itself for a single picture, else OUT-000.png, OUT-001.png and so on.
std::string NumberedPngPath(const std::string& out, int index, int count);

// What a device context shows, alpha 255.
bool WriteDcPng(const std::string& path, HDC hdc, std::string& error);

}  // namespace kvcli
