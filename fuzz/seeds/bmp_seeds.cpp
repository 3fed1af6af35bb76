// Writes the bitmap fuzzer's seed corpus into the folder given: every bit count the
// loader converts, odd widths, used-colours fields and headers that lie.
#include <cstdio>
#include <string>

#include "support/bmp_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bmp_seeds FOLDER\n");
        return 2;
    }
    using kvtest::BmpBuilder;
    int n = 0;
    const auto write = [&](const BmpBuilder& bmp) {
        return kvtest::WriteBytes(std::string(argv[1]) + "/seed" + std::to_string(n++) + ".bmp",
                                  bmp.Bytes());
    };
    bool ok = true;
    for (int bits : {1, 4, 8, 24}) {
        for (int width : {1, 3, 10, 33}) {
            BmpBuilder bmp(width, 5, static_cast<uint16_t>(bits));
            if (bits != 24) {
                bmp.Palette({0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
            }
            for (int x = 0; x < width; ++x) {
                bmp.Pixel(x, x % 5, bits == 24 ? 0x123456u * static_cast<uint32_t>(x) : x % 2);
            }
            ok = write(bmp) && ok;
        }
    }
    ok = write(BmpBuilder(4, 4, 8).Palette({0xFFFFFF, 0x808080}).UsedColours(2)) && ok;
    ok = write(BmpBuilder(4, 4, 8).UsedColours(1000)) && ok;
    ok = write(BmpBuilder(4, 4, 24).HeaderSize(4, -4)) && ok;
    ok = write(BmpBuilder(4, 4, 24).HeaderSize(20000, 1)) && ok;
    ok = write(BmpBuilder(4, 4, 16)) && ok;
    return ok ? 0 : 1;
}
