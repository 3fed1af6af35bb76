// The layered avatar's composition: ClearSpans, ten 100 x 120 layers put as sprites,
// Update. Anchors, composing the same ten layers as whole 16-bit frames onto a
// background copy: (a) a per-pixel keyed copy with a branch, kept scalar; (b) a
// branchless keyed copy that the compiler vectorises; (c) one memcpy of the
// 24,000-byte surface, the floor. "Hot" composes one avatar again and again; "cold"
// walks 1000 distinct avatars in turn so that their layers come from memory.
// The sprite benchmarks report, as counters, how many times faster they are than
// each anchor measured earlier in the same run (x_scalar, x_vector, x_memcpy).
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>

#include "avatar_workload.h"
#include "bench_clock.h"
#include "imaging/lsp.h"
#include "imaging/pixel.h"
#include "keyed_copy.h"

namespace {

using kvbench::Avatar;
using kvbench::kPixels;
using kvbench::ScalarKeyedCopy;
using kvbench::TimeLoop;
using kvbench::VectorKeyedCopy;

constexpr int kColdAvatars = 1000;
constexpr uint16_t kBackground = 0x2D6B;

const std::vector<Avatar>& Avatars() {
    static const std::vector<Avatar> avatars = [] {
        std::vector<Avatar> made;
        for (int i = 0; i < kColdAvatars; ++i) {
            made.push_back(kvbench::MakeAvatar(static_cast<uint32_t>(i + 1)));
        }
        return made;
    }();
    return avatars;
}

// Seconds per iteration of each finished benchmark, by anchor name.
std::map<std::string, double>& AnchorTimes() {
    static std::map<std::string, double> times;
    return times;
}

// Which avatar iteration n composes.
int Pick(bool cold, int64_t n) {
    return cold ? static_cast<int>(n % kColdAvatars) : 0;
}

template <void (*Copy)(uint16_t*, const uint16_t*)>
void ComposeFrames(benchmark::State& state, const char* anchor, bool cold) {
    const std::vector<Avatar>& avatars = Avatars();
    const std::vector<uint16_t> background(kPixels, kBackground);
    std::vector<uint16_t> surface(kPixels);
    int64_t n = 0;
    AnchorTimes()[anchor] = TimeLoop(state, [&] {
        const Avatar& avatar = avatars[Pick(cold, n++)];
        std::memcpy(surface.data(), background.data(), kPixels * 2);
        for (const std::vector<uint16_t>& frame : avatar.frames) {
            Copy(surface.data(), frame.data());
        }
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    });
}

void BM_ScalarKeyed(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    ComposeFrames<ScalarKeyedCopy>(state, cold ? "scalar_cold" : "scalar_hot", cold);
}

void BM_VectorKeyed(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    ComposeFrames<VectorKeyedCopy>(state, cold ? "vector_cold" : "vector_hot", cold);
}

void BM_MemcpyFloor(benchmark::State& state) {
    const std::vector<uint16_t> from(kPixels, kBackground);
    std::vector<uint16_t> to(kPixels);
    AnchorTimes()["memcpy"] = TimeLoop(state, [&] {
        std::memcpy(to.data(), from.data(), kPixels * 2);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    });
}

void BM_LspSprites(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    const std::vector<Avatar>& avatars = Avatars();
    lsp::CLspDib surface;
    surface.CreateDib(kvbench::kWidth, kvbench::kHeight, kBackground, 2);
    int64_t n = 0;
    const double seconds = TimeLoop(state, [&] {
        const Avatar& avatar = avatars[Pick(cold, n++)];
        lsp::ClearSpans(&surface);
        for (const lsp::SPRITE* sprite : avatar.sprites) {
            lsp::PutSprite(&surface, 0, 0, sprite);
        }
        surface.Update();
        benchmark::DoNotOptimize(surface.m_pBits);
        benchmark::ClobberMemory();
    });
    const std::string temperature = cold ? "_cold" : "_hot";
    std::map<std::string, double>& anchors = AnchorTimes();
    state.counters["x_scalar"] = anchors["scalar" + temperature] / seconds;
    state.counters["x_vector"] = anchors["vector" + temperature] / seconds;
    state.counters["x_memcpy"] = anchors["memcpy"] / seconds;
}

// Anchors first: the sprite benchmarks read their times.
BENCHMARK(BM_ScalarKeyed)->ArgName("cold")->Arg(0)->Arg(1);
BENCHMARK(BM_VectorKeyed)->ArgName("cold")->Arg(0)->Arg(1);
BENCHMARK(BM_MemcpyFloor);
BENCHMARK(BM_LspSprites)->ArgName("cold")->Arg(0)->Arg(1);

}  // namespace
