// CAvtr2004::Draw into a 32-bit memory DC: ten animated 100 x 120 parts from the part
// pool (the figure layers of avatar_workload.h, three frames each, delays 10, 3, 20),
// composed and copied whole (no figure box), opaque or with pure blue transparent.
// "one" draws one avatar again and again; "1000" draws 1000 distinct avatars in turn
// (one iteration = all 1000, each with its own surface). Anchor: per avatar, a
// background copy and the branchless keyed copy of the same ten whole 16-bit frames,
// which the compiler vectorises (-O3). Counter x_keyed_copy = anchor time / draw time,
// so below 1 means slower than the anchor. The breakdown splits a draw into span
// splicing (ClearSpans, PutSprite), Update (spans into the pixel store) and the copy
// out (BltLsp or TransBltLsp: Update, then the GDI blit).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "avatar_workload.h"
#include "bench_clock.h"
#include "imaging/lsp.h"
#include "imaging/pixel.h"
#include "keyed_copy.h"
#include "layered/avtr2004.h"
#include "parts/avtr_part_pool.h"

namespace {

using kvbench::kLayers;
using kvbench::kPixels;
using kvbench::TimeLoop;
using kvbench::VectorKeyedCopy;

constexpr int kAvatars = 1000;
constexpr int kVariants = 20;
constexpr int kFrames = 3;
constexpr unsigned long kBackColor = 0x00D0B090;
// Ten single-layer type codes, in drawing order.
constexpr std::array<const char*, kLayers> kTypes = {"lc", "hc", "oc", "fn", "fa",
                                                     "fb", "h1", "j1", "j2", "m1"};

class BenchAvatar : public CAvtr2004 {
public:
    using CAvtr2004::GetLsp;
};

// Parts in the pool, 1000 created avatars, a canvas, and the whole frames of each
// part for the anchor. Built once; the pool lives until the process ends.
struct Workload {
    // wholeFrames[layer][variant][frame]
    std::vector<std::vector<std::vector<std::vector<uint16_t>>>> wholeFrames;
    std::vector<std::unique_ptr<BenchAvatar>> avatars;
    // variants[avatar][layer]
    std::vector<std::array<int, kLayers>> variants;
    HDC dc = nullptr;

    Workload() {
        CAvtrPartPool::CreateInstance();
        wholeFrames.assign(kLayers, std::vector<std::vector<std::vector<uint16_t>>>(
                                        kVariants, std::vector<std::vector<uint16_t>>(kFrames)));
        std::vector<std::vector<CAvtrPart*>> parts(kLayers, std::vector<CAvtrPart*>(kVariants));
        for (auto& layer : parts) {
            for (CAvtrPart*& part : layer) {
                part = new CAvtrPart();
                part->m_vecDelays = {10, 3, 20};
            }
        }
        for (int frame = 0; frame < kFrames; ++frame) {
            for (int variant = 0; variant < kVariants; ++variant) {
                kvbench::Avatar source = kvbench::MakeAvatar(1 + variant + kVariants * frame);
                for (int layer = 0; layer < kLayers; ++layer) {
                    parts[layer][variant]->m_vecFrames.push_back(source.sprites[layer]);
                    wholeFrames[layer][variant][frame] = std::move(source.frames[layer]);
                }
                source.sprites.clear();  // the parts own them now
            }
        }
        for (int layer = 0; layer < kLayers; ++layer) {
            for (int variant = 0; variant < kVariants; ++variant) {
                CAvtrPartPool::Inst()->Add({PartId(layer, variant), parts[layer][variant]});
            }
        }
        for (int n = 0; n < kAvatars; ++n) {
            std::array<int, kLayers> chosen{};
            std::string id;
            for (int layer = 0; layer < kLayers; ++layer) {
                // The first three layers count n in base 20, so every avatar differs.
                int digit = n;
                for (int d = 0; d < layer && d < 3; ++d) {
                    digit /= kVariants;
                }
                chosen[layer] = layer < 3 ? digit % kVariants : (n * 7 + layer * 3) % kVariants;
                if (layer > 0) {
                    id.push_back('_');
                }
                id.append(PartId(layer, chosen[layer]));
            }
            variants.push_back(chosen);
            avatars.push_back(std::make_unique<BenchAvatar>());
            avatars.back()->Create(id.data(), 0, 1, 0, kBackColor);
        }
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        SelectObject(dc, CreateCompatibleBitmap(screen, kvbench::kWidth, kvbench::kHeight));
        ReleaseDC(nullptr, screen);
    }

    static std::string PartId(int layer, int variant) {
        char id[16];
        std::snprintf(id, sizeof(id), "%sm%03d", kTypes[layer], variant);
        return id;
    }
};

// Never destroyed: at exit the platform layer's tables may already be gone.
Workload& Load() {
    static Workload* workload = new Workload();
    return *workload;
}

double g_anchorPerAvatar = 0;

void BM_KeyedCopyAnchor(benchmark::State& state) {
    Workload& w = Load();
    const std::vector<uint16_t> background(kPixels, kvpixel::FromColorRef(kBackColor));
    std::vector<std::vector<uint16_t>> surfaces(kAvatars, std::vector<uint16_t>(kPixels));
    const double seconds = TimeLoop(state, [&] {
        for (int n = 0; n < kAvatars; ++n) {
            uint16_t* surface = surfaces[n].data();
            std::memcpy(surface, background.data(), kPixels * 2);
            for (int layer = 0; layer < kLayers; ++layer) {
                VectorKeyedCopy(surface, w.wholeFrames[layer][w.variants[n][layer]][0].data());
            }
            benchmark::DoNotOptimize(surface);
        }
        benchmark::ClobberMemory();
    });
    g_anchorPerAvatar = seconds / kAvatars;
    state.counters["ms_per_1000"] = seconds * 1e3;
}

void Report(benchmark::State& state, double seconds, int avatarsPerIteration) {
    state.counters["ms_per_1000"] = seconds / avatarsPerIteration * kAvatars * 1e3;
    state.counters["x_keyed_copy"] = g_anchorPerAvatar * avatarsPerIteration / seconds;
}

void BM_DrawOne(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    CAvtr2004& avatar = *w.avatars[0];
    Report(state, TimeLoop(state, [&] { avatar.Draw(w.dc, 0, 0, 'M', trans, 0); }), 1);
}

void BM_Draw1000(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    Report(state,
           TimeLoop(state,
                    [&] {
                        for (auto& avatar : w.avatars) {
                            avatar->Draw(w.dc, 0, 0, 'M', trans, 0);
                        }
                    }),
           kAvatars);
}

void BM_Splice1000(benchmark::State& state) {
    Workload& w = Load();
    Report(state,
           TimeLoop(state,
                    [&] {
                        for (auto& avatar : w.avatars) {
                            lsp::CLspDib* surface = &avatar->GetLsp();
                            lsp::ClearSpans(surface);
                            for (std::string& id : avatar->AvatarId().IdVec()) {
                                lsp::PutSprite(surface, 0, 0,
                                               CAvtrPartPool::Inst()->Get(id)->m_vecFrames[0]);
                            }
                        }
                    }),
           kAvatars);
}

// The spans left by the splice benchmark, copied into each surface's pixel store.
void BM_Update1000(benchmark::State& state) {
    Workload& w = Load();
    Report(state,
           TimeLoop(state,
                    [&] {
                        for (auto& avatar : w.avatars) {
                            avatar->GetLsp().Update();
                        }
                    }),
           kAvatars);
}

void BM_CopyOut1000(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    Report(state,
           TimeLoop(state,
                    [&] {
                        for (auto& avatar : w.avatars) {
                            lsp::CLspDib* surface = &avatar->GetLsp();
                            if (trans) {
                                lsp::TransBltLsp(w.dc, 0, 0, 0, 0, 100, 120, surface);
                            } else {
                                lsp::BltLsp(w.dc, 0, 0, 0, 0, 100, 120, surface);
                            }
                        }
                    }),
           kAvatars);
}

// The anchor first: the others read its time.
BENCHMARK(BM_KeyedCopyAnchor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawOne)->ArgName("trans")->Arg(0)->Arg(1);
BENCHMARK(BM_Draw1000)->ArgName("trans")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Splice1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOut1000)->ArgName("trans")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
