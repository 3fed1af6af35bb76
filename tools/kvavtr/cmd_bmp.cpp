// kvavtr bmp FILE OUT.png: loads a bitmap file as the library does and writes it as PNG.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "command.h"
#include "imaging/kv_aimage.h"
#include "png_out.h"

namespace {

constexpr const char* kName = "bmp";

int32_t Int32At(const std::vector<unsigned char>& bytes, size_t at) {
    return static_cast<int32_t>(uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 |
                                uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 3]} << 24);
}

// Why the library refused the file, as far as its header tells.
std::string LoadFailureReason(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "cannot open " + path;
    }
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 55) {
        return path + " is too short for a bitmap (" + std::to_string(bytes.size()) +
               " bytes, at least 55 needed)";
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        return path + " is not a bitmap file (no \"BM\" at its start)";
    }
    const int32_t width = Int32At(bytes, 18);
    const int32_t height = Int32At(bytes, 22);
    if (width < 1 || height < 1) {
        return path + " has an unsupported size " + std::to_string(width) + " x " +
               std::to_string(height) + " (top-down or empty)";
    }
    const int bits = bytes[28] | bytes[29] << 8;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        return path + " has an unsupported bit count " + std::to_string(bits) +
               " (1, 4, 8 or 24 only)";
    }
    if (width > 16384 || height > 16384) {
        return path + " is too large (" + std::to_string(width) + " x " + std::to_string(height) +
               ")";
    }
    return path + " is truncated: its colour table or pixel rows do not fit in the file";
}

int Run(const kvcli::Args& args) {
    if (args.size() != 2 || (args[0].size() > 1 && args[0][0] == '-')) {
        return kvcli::UsageError(kName);
    }
    CKvAImage image;
    if (!image.Create(args[0].c_str())) {
        std::fprintf(stderr, "kvavtr bmp: %s\n", LoadFailureReason(args[0]).c_str());
        return 1;
    }
    std::string error;
    if (!kvcli::WriteImagePng(args[1], image, error)) {
        std::fprintf(stderr, "kvavtr bmp: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const bool registered = kvcli::RegisterCommand({kName, "FILE OUT.png", Run});

}  // namespace
