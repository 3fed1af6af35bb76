// Loads builder bytes through a real file and reads back frame pixels.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/gif_error.h"
#include "gif/kv_ani_dib_list.h"
#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"
#include "support/gif_builder.h"

namespace giftest {

using kvtest::GifBuilder;
using kvtest::GifBytes;
using kvtest::Rgb;

constexpr uint16_t kKey = kvpixel::kKeyPixel;
constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kWhite{255, 255, 255}, kGrey{0x80, 0x40, 0x20};
constexpr uint16_t kRedPixel = 0x7C00, kGreenPixel = 0x03E0, kWhitePixel = 0x7FFF,
                   kGreyPixel = kvpixel::FromRgb(0x80, 0x40, 0x20);
const std::vector<Rgb> kColors{kRed, kGreen, kWhite, kGrey};
constexpr uint16_t kPixels[4] = {kRedPixel, kGreenPixel, kWhitePixel, kGreyPixel};

inline std::string TempPath(const std::string& name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string test = std::string(info->test_suite_name()) + "_" + info->name();
    std::replace(test.begin(), test.end(), '/', '_');
    return testing::TempDir() + "kvgif_" + test + "_" + name;
}

inline int LoadBytes(cKvAniDIBList& decoder, const GifBytes& bytes) {
    const std::string path = TempPath("input.gif");
    GifBuilder(0, 0).Truncate(0).Raw(bytes).WriteFile(path);
    return decoder.Load(path.c_str());
}

inline std::vector<CKvAImage*> Frames(cKvAniDIBList& decoder,
                                      std::vector<unsigned long>* delays = nullptr) {
    std::vector<CKvAImage*> frames;
    std::vector<unsigned long> ignored;
    decoder.exportImageList(frames, delays ? *delays : ignored);
    return frames;
}

// Frame count after loading (-1 when Load fails) and the last error.
inline std::pair<int, kvgif::GifError> LoadResult(const GifBytes& bytes) {
    cKvAniDIBList decoder;
    const int loaded = LoadBytes(decoder, bytes);
    return {loaded == 1 ? static_cast<int>(Frames(decoder).size()) : -1, decoder.LastError()};
}

inline int FrameCount(const GifBytes& bytes) {
    return LoadResult(bytes).first;
}

inline std::vector<uint16_t> Row(CKvAImage& image, int y) {
    const auto* row = reinterpret_cast<const uint16_t*>(image.GetBits(y));
    return std::vector<uint16_t>(row, row + image.GetWidth());
}

}  // namespace giftest
