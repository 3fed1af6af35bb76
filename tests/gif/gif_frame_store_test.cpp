// Long animations: frames composed on pooled stores, and past the cache on the
// working canvas, against a plain model of the disposal rules.
#include <random>
#include <thread>

#include "gif_test_util.h"

namespace giftest {
namespace {

constexpr int kWidth = 256, kHeight = 128;  // 64 KiB frames: the later ones are streamed
using Picture = std::vector<uint16_t>;

struct Step {
    int disposal, left, top, width, height, transparent;
    GifBytes indices;
};

// Disposal 1 mostly, so long chains of frames build on the one before.
std::vector<Step> RandomSteps(unsigned seed) {
    constexpr int kDisposals[] = {1, 1, 1, 2, 3, 0};
    std::mt19937 random(seed);
    const auto next = [&random](unsigned n) { return static_cast<int>(random() % n); };
    std::vector<Step> steps{{1, 0, 0, kWidth, kHeight, -1, {}}};
    for (int i = 0; i < 100; ++i) {  // braced lists evaluate left to right
        steps.push_back({kDisposals[next(6)],
                         next(kWidth),
                         next(kHeight),
                         1 + next(70),
                         1 + next(50),
                         next(3) == 0 ? 3 : -1,
                         {}});
    }
    for (Step& step : steps) {
        for (int i = 0; i < step.width * step.height; ++i) {
            step.indices.push_back(static_cast<uint8_t>(next(4)));
        }
    }
    return steps;
}

void Paint(Picture& picture, const Step& s, int top, bool image) {
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width && s.left + x < kWidth && top + y < kHeight; ++x) {
            const int index = s.indices[y * s.width + x];
            if (!image || index != s.transparent) {
                picture[(top + y) * kWidth + s.left + x] = image ? kPixels[index] : kKey;
            }
        }
    }
}

std::vector<Picture> Model(const std::vector<Step>& steps) {
    std::vector<Picture> frames;
    for (size_t i = 0; i < steps.size(); ++i) {
        const int disposal = i > 0 ? steps[i - 1].disposal : 0;
        const Picture* base = disposal == 1             ? &frames.back()
                              : disposal == 2           ? &frames.front()
                              : disposal == 3 && i >= 2 ? &frames[i - 2]
                                                        : nullptr;
        Picture picture = base != nullptr ? *base : Picture(kWidth * kHeight, kKey);
        if (base != nullptr && disposal == 2) {
            Paint(picture, steps[i - 1], steps[i - 1].top, false);
        }
        Paint(picture, steps[i], base != nullptr ? steps[i].top : 0, true);
        frames.push_back(std::move(picture));
    }
    return frames;
}

// Frames that differ from the model, by index. Rows have no padding at this width.
std::vector<size_t> WrongFrames(const GifBytes& bytes, const std::vector<Picture>& model) {
    cKvAniDIBList decoder;
    decoder.LoadFromMemory(bytes.data(), bytes.size());
    const std::vector<CKvAImage*> frames = Frames(decoder);
    std::vector<size_t> wrong;
    for (size_t f = 0; f < model.size(); ++f) {
        if (f >= frames.size() ||
            !std::equal(model[f].begin(), model[f].end(), frames[f]->Row(0))) {
            wrong.push_back(f);
        }
    }
    return wrong;
}

// Two threads decode each file twice: later loads get the stores of earlier ones
// back, full of their pictures, and the threads share the pool.
TEST(GifFrameStore, LongAnimationsMatchTheModelOnReusedStoresAndOnThreads) {
    for (unsigned seed : {1u, 2u}) {
        const std::vector<Step> steps = RandomSteps(seed);
        GifBuilder gif(kWidth, kHeight);
        gif.GlobalTable(kColors);
        for (const Step& s : steps) {
            gif.GraphicControl(s.disposal, 5, s.transparent);
            gif.Image(s.left, s.top, s.width, s.height, s.indices, 2);
        }
        const GifBytes& bytes = gif.Trailer().Data();
        const std::vector<Picture> model = Model(steps);
        const auto decodeTwice = [&](std::vector<size_t>& wrong) {
            wrong = WrongFrames(bytes, model);
            wrong = wrong.empty() ? WrongFrames(bytes, model) : wrong;
        };
        std::vector<size_t> mine, theirs;
        std::thread other(decodeTwice, std::ref(theirs));
        decodeTwice(mine);
        other.join();
        EXPECT_EQ(mine, std::vector<size_t>{}) << seed;
        EXPECT_EQ(theirs, std::vector<size_t>{}) << seed;
    }
}

}  // namespace
}  // namespace giftest
