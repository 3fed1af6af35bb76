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
    std::vector<Step> steps{{1, 0, 0, kWidth, kHeight, -1, {}}};
    for (int i = 0; i < 100; ++i) {
        const int width = 1 + random() % 70, height = 1 + random() % 50;
        steps.push_back({kDisposals[random() % 6],
                         static_cast<int>(random() % kWidth),
                         static_cast<int>(random() % kHeight),
                         width,
                         height,
                         random() % 3 == 0 ? 3 : -1,
                         {}});
    }
    for (Step& step : steps) {
        for (int i = 0; i < step.width * step.height; ++i) {
            step.indices.push_back(static_cast<uint8_t>(random() % 4));
        }
    }
    return steps;
}

GifBytes Encode(const std::vector<Step>& steps) {
    GifBuilder gif(kWidth, kHeight);
    gif.GlobalTable(kColors);
    for (const Step& s : steps) {
        gif.GraphicControl(s.disposal, 5, s.transparent)
            .Image(s.left, s.top, s.width, s.height, s.indices, 2);
    }
    return gif.Trailer().Data();
}

std::vector<Picture> Model(const std::vector<Step>& steps) {
    std::vector<Picture> frames;
    const Step* last = nullptr;
    for (const Step& s : steps) {
        const Picture* base = nullptr;
        if (last != nullptr && last->disposal == 1) {
            base = &frames.back();
        } else if (last != nullptr && last->disposal == 2) {
            base = &frames.front();
        } else if (last != nullptr && last->disposal == 3 && frames.size() >= 2) {
            base = &frames[frames.size() - 2];
        }
        Picture picture = base != nullptr ? *base : Picture(kWidth * kHeight, kKey);
        for (int y = 0; base != nullptr && last->disposal == 2 && y < last->height; ++y) {
            for (int x = 0; x < last->width; ++x) {
                if (last->left + x < kWidth && last->top + y < kHeight) {
                    picture[(last->top + y) * kWidth + last->left + x] = kKey;
                }
            }
        }
        const int top = base != nullptr ? s.top : 0;
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const int index = s.indices[y * s.width + x];
                if (s.left + x < kWidth && top + y < kHeight && index != s.transparent) {
                    picture[(top + y) * kWidth + s.left + x] = kPixels[index];
                }
            }
        }
        frames.push_back(std::move(picture));
        last = &s;
    }
    return frames;
}

// Frames that differ from the model, by index.
std::vector<size_t> WrongFrames(const GifBytes& bytes, const std::vector<Picture>& model) {
    cKvAniDIBList decoder;
    if (decoder.LoadFromMemory(bytes.data(), bytes.size()) != 1) {
        return {SIZE_MAX};
    }
    const auto frames = Frames(decoder);
    std::vector<size_t> wrong;
    for (size_t f = 0; f < model.size(); ++f) {
        Picture picture;
        for (int y = 0; f < frames.size() && y < frames[f]->GetHeight(); ++y) {
            const Picture row = Row(*frames[f], y);
            picture.insert(picture.end(), row.begin(), row.end());
        }
        if (picture != model[f]) {
            wrong.push_back(f);
        }
    }
    return wrong;
}

// The second file gets the first one's stores back, full of its pictures.
TEST(GifFrameStore, LongAnimationsMatchTheModelOnFreshAndReusedStores) {
    for (unsigned seed : {1u, 2u}) {
        const std::vector<Step> steps = RandomSteps(seed);
        EXPECT_EQ(WrongFrames(Encode(steps), Model(steps)), std::vector<size_t>{}) << seed;
    }
}

TEST(GifFrameStore, DecodersOnSeveralThreadsShareThePool) {
    const std::vector<Step> steps = RandomSteps(3);
    const GifBytes bytes = Encode(steps);
    const std::vector<Picture> model = Model(steps);
    std::vector<std::vector<size_t>> wrong(3);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int load = 0; load < 2 && wrong[t].empty(); ++load) {
                wrong[t] = WrongFrames(bytes, model);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<std::vector<size_t>>(3));
}

}  // namespace
}  // namespace giftest
