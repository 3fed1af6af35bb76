// Writes the GIF fuzzer's seed corpus into the folder given: small files that
// reach every block type, disposal method, code size and interlacing.
#include <cstdio>
#include <string>
#include <vector>

#include "support/gif_builder.h"

namespace {

using kvtest::GifBuilder;
using kvtest::Rgb;

std::vector<uint8_t> Pattern(int width, int height, int colors) {
    std::vector<uint8_t> indices;
    for (int i = 0; i < width * height; ++i) {
        indices.push_back(static_cast<uint8_t>((i * 7 + i / width) % colors));
    }
    return indices;
}

std::vector<Rgb> Palette(int colors) {
    std::vector<Rgb> palette;
    for (int i = 0; i < colors; ++i) {
        palette.push_back(Rgb{static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 91),
                              static_cast<uint8_t>(255 - i)});
    }
    return palette;
}

std::vector<GifBuilder> Seeds() {
    std::vector<GifBuilder> seeds;
    for (int codeSize : {2, 3, 5, 8}) {
        const int colors = 1 << codeSize;
        GifBuilder gif(9, 7, codeSize == 3 ? "GIF87a" : "GIF89a");
        gif.GlobalTable(Palette(colors)).Image(0, 0, 9, 7, Pattern(9, 7, colors), codeSize);
        seeds.push_back(gif.Trailer());
    }
    GifBuilder animation(8, 6);
    animation.GlobalTable(Palette(4)).Loop(0).Comment("seed");
    for (int disposal = 0; disposal < 4; ++disposal) {
        animation.GraphicControl(disposal, 5 + disposal, disposal == 2 ? 3 : -1);
        animation.Image(disposal, disposal / 2, 5, 4, Pattern(5, 4, 4), 2, disposal == 1,
                        disposal == 3 ? Palette(8) : std::vector<Rgb>{});
    }
    animation.Application("XMP DataXMP", {{1, 2, 3}, {4}}).PlainText("text").Trailer();
    seeds.push_back(animation);
    GifBuilder interlaced(13, 11);
    interlaced.GlobalTable(Palette(16)).Image(0, 0, 13, 11, Pattern(13, 11, 16), 4, true);
    seeds.push_back(interlaced.Trailer());
    GifBuilder raw(4, 1);
    raw.GlobalTable(Palette(4)).Descriptor(0, 0, 4, 1);
    raw.ImageData(2,
                  kvtest::CodeWriter().Put(4, 3).Put(1, 3).Put(6, 3).Put(7, 3).Put(5, 4).Finish());
    seeds.push_back(raw.Trailer());
    GifBuilder cut(10, 10);
    cut.GlobalTable(Palette(4)).Image(0, 0, 10, 10, Pattern(10, 10, 4), 2, false);
    seeds.push_back(cut.Truncate(cut.Data().size() - 5));
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gif_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::vector<GifBuilder> seeds = Seeds();
    for (size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(i) + ".gif";
        if (!seeds[i].WriteFile(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
