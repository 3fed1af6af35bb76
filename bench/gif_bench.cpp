// GIF decoding throughput of cKvAniDIBList against giflib (DGifSlurp) and
// stb_image (stbi_load_gif_from_memory) on the same bytes in the same run, and
// against the memory floor of writing its frames. Ours decodes through
// LoadFromMemory (the file bytes in memory, as Load has them after its one read)
// and also composes every frame into a 16-bit image; giflib only decodes the index
// rasters; stb composes 32-bit RGBA frames.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "gif/kv_ani_dib_list.h"
#include "imaging/kv_aimage.h"
#include "imaging/stream_copy.h"
#include "platform/row_bytes.h"
#include "support/giflib_files.h"

namespace {

using kvtest::GifBytes;
using kvtest::GiflibFrame;
using kvtest::Rgb;

std::vector<Rgb> Palette(int colors, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Rgb> palette;
    for (int i = 0; i < colors; ++i) {
        palette.push_back(Rgb{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                              static_cast<uint8_t>(random())});
    }
    return palette;
}

GifBytes WriteWithGiflib(const std::string& name, int width, int height, int colors,
                         const std::vector<GiflibFrame>& frames) {
    const std::string path = "/tmp/kvavtr_gif_bench_" + name + ".gif";
    if (!kvtest::WriteGiflibGif(path, width, height, Palette(colors, 1), frames, 0)) {
        std::abort();
    }
    GifBytes bytes = kvtest::ReadFileBytes(path);
    std::remove(path.c_str());
    return bytes;
}

// A figure on a transparent background: a body, and a limb that moves with the frame.
GiflibFrame PartFrame(int width, int height, int frame, int colors) {
    GiflibFrame part;
    part.width = width;
    part.height = height;
    part.delay = 10;
    part.disposal = 2;
    part.transparentIndex = 0;
    const double angle = frame * 0.3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double bx = x - width / 2.0;
            const double by = y - height / 2.0;
            const double lx = x - (width / 2.0 + width / 4.0 * std::cos(angle));
            const double ly = y - (height / 3.0 + height / 6.0 * std::sin(angle));
            int index = 0;
            if (bx * bx / (width * width / 10.0) + by * by / (height * height / 6.0) < 1) {
                index = 1 + (x / 3 + y / 5) % (colors - 1);  // shaded body
            } else if (lx * lx + ly * ly < width * width / 60.0) {
                index = 1 + (frame + y / 4) % (colors - 1);
            }
            part.indices.push_back(static_cast<uint8_t>(index));
        }
    }
    return part;
}

const GifBytes& NoisyFrame() {
    static const GifBytes bytes = [] {
        GiflibFrame frame;
        frame.width = frame.height = 1000;
        std::mt19937 random(42);
        for (int i = 0; i < 1000 * 1000; ++i) {
            frame.indices.push_back(static_cast<uint8_t>(random()));
        }
        return WriteWithGiflib("noisy", 1000, 1000, 256, {frame});
    }();
    return bytes;
}

const GifBytes& Animation() {
    static const GifBytes bytes = [] {
        std::vector<GiflibFrame> frames;
        for (int i = 0; i < 100; ++i) {
            frames.push_back(PartFrame(100, 120, i, 32));
        }
        return WriteWithGiflib("animation", 100, 120, 32, frames);
    }();
    return bytes;
}

// Part files as the avatars use them: a few frames, 16 to 64 colours, small sizes.
const std::vector<GifBytes>& PartSet() {
    static const std::vector<GifBytes> set = [] {
        struct Shape {
            int width, height, frames, colors;
        };
        const Shape shapes[] = {{100, 120, 1, 16}, {100, 120, 4, 32}, {60, 40, 2, 16},
                                {40, 40, 8, 64},   {100, 60, 3, 32},  {30, 50, 1, 16},
                                {100, 120, 2, 64}, {80, 30, 6, 16}};
        std::vector<GifBytes> made;
        int n = 0;
        for (const Shape& shape : shapes) {
            std::vector<GiflibFrame> frames;
            for (int i = 0; i < shape.frames; ++i) {
                frames.push_back(PartFrame(shape.width, shape.height, i * 3, shape.colors));
            }
            made.push_back(WriteWithGiflib("part" + std::to_string(n++), shape.width, shape.height,
                                           shape.colors, frames));
        }
        return made;
    }();
    return set;
}

// A file that Pillow wrote at build time.
GifBytes PillowFile(const char* name) {
    GifBytes bytes = kvtest::ReadFileBytes(std::string(KVAVTR_BENCH_GIF_DIR) + "/" + name);
    if (bytes.empty()) {
        std::abort();
    }
    return bytes;
}

enum Input {
    kNoisy,            // 1000 x 1000 noise, 256 colours, written by giflib
    kAnimation,        // 100 frames of 100 x 120
    kParts,            // small part files
    kNoiseInterlaced,  // the noise as Pillow writes it by default
    kNoisePlain,
    kPhotograph,  // 1165 x 859, dithered to 256 colours
    kManyFrames,  // 380 frames of 472 x 298, each a small changed rectangle
    kInputCount,
};

const std::vector<GifBytes>& Files(int which) {
    static const std::vector<std::vector<GifBytes>> files{
        {NoisyFrame()},
        {Animation()},
        PartSet(),
        {PillowFile("noise_interlaced.gif")},
        {PillowFile("noise_plain.gif")},
        {PillowFile("photograph.gif")},
        {PillowFile("many_frames.gif")},
    };
    return files[static_cast<size_t>(which)];
}

const char* InputName(int which) {
    static const char* const names[] = {
        "noisy",      "animation",  "parts", "pillow_noise_interlaced", "pillow_noise_plain",
        "photograph", "many_frames"};
    return names[which];
}

void DecodeWithGiflib(const GifBytes& file) {
    if (kvtest::GiflibSlurpCount(file) < 1) {
        std::abort();
    }
}

void DecodeWithStb(const GifBytes& file) {
    int* delays = nullptr;
    int width = 0, height = 0, frames = 0, channels = 0;
    stbi_uc* pixels = stbi_load_gif_from_memory(file.data(), static_cast<int>(file.size()), &delays,
                                                &width, &height, &frames, &channels, 4);
    if (pixels == nullptr) {
        std::abort();
    }
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
    std::free(delays);
}

// The memory floor of composing: every frame's bytes written once, streamed from one
// cached canvas into stores whose pages are already in place.
class FrameWriteFloor {
public:
    explicit FrameWriteFloor(const std::vector<GifBytes>& files) {
        size_t largest = 0;
        for (const GifBytes& file : files) {
            cKvAniDIBList decoder;
            std::vector<CKvAImage*> frames;
            std::vector<unsigned long> delays;
            decoder.LoadFromMemory(file.data(), file.size());
            decoder.exportImageList(frames, delays);
            for (const CKvAImage* frame : frames) {
                const auto bytes = static_cast<size_t>(kvrow::RowBytes(frame->GetWidth(), 16) *
                                                       frame->GetHeight());
                m_stores.emplace_back(bytes, 1);
                largest = std::max(largest, bytes);
            }
        }
        m_canvas.assign(largest, 2);
    }

    void Write() {
        for (std::vector<unsigned char>& store : m_stores) {
            kvimaging::StreamCopy(store.data(), m_canvas.data(), store.size());
        }
        benchmark::ClobberMemory();
    }

private:
    std::vector<std::vector<unsigned char>> m_stores;
    std::vector<unsigned char> m_canvas;
};

void DecodeWithKvAniDIBList(const GifBytes& file) {
    cKvAniDIBList decoder;
    if (decoder.LoadFromMemory(file.data(), file.size()) != 1) {
        std::abort();
    }
}

// The three decoders and the floor take turns within each iteration, so that load
// from other work on a shared machine falls on all of them alike and the ratios hold.
void BM_GifDecode(benchmark::State& state) {
    const std::vector<GifBytes>& files = Files(static_cast<int>(state.range(0)));
    state.SetLabel(InputName(static_cast<int>(state.range(0))));
    FrameWriteFloor floor(files);
    void (*const decoders[])(const GifBytes&) = {DecodeWithGiflib, DecodeWithStb,
                                                 DecodeWithKvAniDIBList};
    double seconds[4] = {};
    for (auto _ : state) {
        for (int d = 0; d < 3; ++d) {
            const double start = kvbench::ThreadSeconds();
            for (const GifBytes& file : files) {
                decoders[d](file);
            }
            seconds[d] += kvbench::ThreadSeconds() - start;
        }
        const double start = kvbench::ThreadSeconds();
        floor.Write();
        seconds[3] += kvbench::ThreadSeconds() - start;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["giflib_ms"] = seconds[0] / iterations * 1e3;
    state.counters["stb_ms"] = seconds[1] / iterations * 1e3;
    state.counters["ours_ms"] = seconds[2] / iterations * 1e3;
    state.counters["floor_ms"] = seconds[3] / iterations * 1e3;
    state.counters["x_giflib"] = seconds[0] / seconds[2];
    state.counters["x_stb"] = seconds[1] / seconds[2];
    state.counters["x_floor"] = seconds[3] / seconds[2];
}

BENCHMARK(BM_GifDecode)->DenseRange(0, kInputCount - 1);

}  // namespace
