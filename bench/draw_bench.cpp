// CAvtr2004::Draw into a 32-bit memory DC: ten animated 100 x 120 parts from the part
// pool (the figure layers of avatar_workload.h, three frames each, delays 10, 3, 20),
// composed and copied whole (no figure box), opaque or with pure blue transparent.
// "one" draws one avatar again and again; "1000" draws 1000 distinct avatars in turn
// (one iteration = all 1000, each with its own surface).
//
// Every figure is paired: each iteration times the stage and then its anchor on the
// same thread, so both see the same load. Draw's anchor is, per avatar, a background
// copy and the branchless keyed copy of the same ten whole 16-bit frames, which the
// compiler vectorises (-O3); x_keyed_copy = anchor time / draw time. The stages of a
// draw (span splicing; Update, spans into the pixel store; the GDI blit alone) are
// paired with memcpy of the bytes the stage writes, 1000 distinct sources and
// destinations as the stage has them: x_memcpy = memcpy time / stage time, 1 being
// the memory-bandwidth floor. BM_PartBytes reports the bytes of a part's sprites
// against its raw 16-bit frames.
#include <benchmark/benchmark.h>

#include <algorithm>
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
#include "parts/avtr_part.h"
#include "parts/avtr_part_pool.h"
#include "platform/row_bytes.h"

namespace {

using kvbench::kLayers;
using kvbench::kPixels;
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

// The keyed-copy anchor for avatar n.
void KeyedCopyAvatar(Workload& w, int n, uint16_t* surface, const uint16_t* background) {
    std::memcpy(surface, background, kPixels * 2);
    for (int layer = 0; layer < kLayers; ++layer) {
        VectorKeyedCopy(surface, w.wholeFrames[layer][w.variants[n][layer]][0].data());
    }
    benchmark::DoNotOptimize(surface);
}

struct Anchor {
    std::vector<uint16_t> background =
        std::vector<uint16_t>(kPixels, kvpixel::FromColorRef(kBackColor));
    std::vector<std::vector<uint16_t>> surfaces =
        std::vector<std::vector<uint16_t>>(kAvatars, std::vector<uint16_t>(kPixels));

    void All(Workload& w) {
        for (int n = 0; n < kAvatars; ++n) {
            KeyedCopyAvatar(w, n, surfaces[n].data(), background.data());
        }
        benchmark::ClobberMemory();
    }
};

// memcpy of `bytes` per avatar, from 1000 distinct sources to 1000 distinct
// destinations (or to one, as the blit's single DC).
class MemcpyFloor {
public:
    MemcpyFloor(size_t bytes, bool oneDestination)
        : m_bytes(bytes),
          m_sources(kAvatars, std::vector<unsigned char>(bytes, 0x5A)),
          m_destinations(oneDestination ? 1 : kAvatars, std::vector<unsigned char>(bytes)) {}

    void All() {
        for (int n = 0; n < kAvatars; ++n) {
            std::memcpy(m_destinations[n % m_destinations.size()].data(), m_sources[n].data(),
                        m_bytes);
        }
        benchmark::ClobberMemory();
    }

private:
    size_t m_bytes;
    std::vector<std::vector<unsigned char>> m_sources;
    std::vector<std::vector<unsigned char>> m_destinations;
};

void Report(benchmark::State& state, const kvbench::PairedSeconds& seconds, int avatarsPerIteration,
            const char* ratio) {
    state.counters["ms_per_1000"] = seconds.measured / avatarsPerIteration * kAvatars * 1e3;
    state.counters["anchor_ms"] = seconds.anchor * 1e3;
    state.counters[ratio] = seconds.measured > 0 ? seconds.anchor / seconds.measured : 0;
}

void BM_DrawOne(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    CAvtr2004& avatar = *w.avatars[0];
    Anchor anchor;
    Report(state,
           kvbench::TimePaired(
               state, [&] { avatar.Draw(w.dc, 0, 0, 'M', trans, 0); },
               [&] { KeyedCopyAvatar(w, 0, anchor.surfaces[0].data(), anchor.background.data()); }),
           1, "x_keyed_copy");
}

void BM_Draw1000(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    Anchor anchor;
    Report(state,
           kvbench::TimePaired(
               state,
               [&] {
                   for (auto& avatar : w.avatars) {
                       avatar->Draw(w.dc, 0, 0, 'M', trans, 0);
                   }
               },
               [&] { anchor.All(w); }),
           kAvatars, "x_keyed_copy");
}

void SpliceAll(Workload& w) {
    for (auto& avatar : w.avatars) {
        lsp::CLspDib* surface = &avatar->GetLsp();
        lsp::ClearSpans(surface);
        for (std::string& id : avatar->AvatarId().IdVec()) {
            lsp::PutSprite(surface, 0, 0, CAvtrPartPool::Inst()->Get(id)->m_vecFrames[0]);
        }
    }
}

// Span nodes handed out since the last ClearSpans.
size_t NodesTaken(const lsp::CLsp& surface) {
    size_t nodes = static_cast<size_t>(surface.m_pSpanPool->count);
    for (const lsp::SPANBLOCK* block = surface.m_pSpanPool->first;
         block != surface.m_pSpanPool->current; block = block->next) {
        nodes += lsp::kSpansPerBlock;
    }
    return nodes;
}

void BM_Splice1000(benchmark::State& state) {
    Workload& w = Load();
    SpliceAll(w);
    size_t nodes = 0;
    for (auto& avatar : w.avatars) {
        nodes += NodesTaken(avatar->GetLsp());
    }
    MemcpyFloor floor(nodes / kAvatars * sizeof(lsp::SPAN), false);
    Report(state,
           kvbench::TimePaired(
               state, [&] { SpliceAll(w); }, [&] { floor.All(); }),
           kAvatars, "x_memcpy");
    state.counters["spans_per_avatar"] = static_cast<double>(nodes) / kAvatars;
}

// The spans left by the splice benchmark, copied into each surface's pixel store.
void BM_Update1000(benchmark::State& state) {
    Workload& w = Load();
    SpliceAll(w);
    MemcpyFloor floor(kPixels * 2, false);
    Report(state,
           kvbench::TimePaired(
               state,
               [&] {
                   for (auto& avatar : w.avatars) {
                       avatar->GetLsp().Update();
                   }
               },
               [&] { floor.All(); }),
           kAvatars, "x_memcpy");
}

// The GDI blit alone, from each avatar's up-to-date DIB section into the 32-bit DC.
void BM_Blit1000(benchmark::State& state) {
    Workload& w = Load();
    const bool trans = state.range(0) != 0;
    SpliceAll(w);
    std::vector<HDC> sources;
    for (auto& avatar : w.avatars) {
        avatar->GetLsp().Update();
        sources.push_back(CreateCompatibleDC(w.dc));
        SelectObject(sources.back(), avatar->GetLsp().m_hBitmap);
    }
    MemcpyFloor floor(kPixels * 4, true);
    Report(state,
           kvbench::TimePaired(
               state,
               [&] {
                   for (HDC source : sources) {
                       if (trans) {
                           TransparentBlt(w.dc, 0, 0, kvbench::kWidth, kvbench::kHeight, source, 0,
                                          0, kvbench::kWidth, kvbench::kHeight, kvpixel::kKeyColor);
                       } else {
                           BitBlt(w.dc, 0, 0, kvbench::kWidth, kvbench::kHeight, source, 0, 0,
                                  SRCCOPY);
                       }
                   }
               },
               [&] { floor.All(); }),
           kAvatars, "x_memcpy");
    for (HDC source : sources) {
        DeleteDC(source);
    }
}

// Bytes a part's sprites take (header, row table and runs, as MakeKeyedSpriteFromImage
// lays them out) against its raw 16-bit frames, over the 200 parts of the workload.
size_t SpriteBytes(const lsp::SPRITE* sprite) {
    size_t words = 0;
    for (int row = 0; row < sprite->height; ++row) {
        const uint16_t* pair = sprite->rows[row];
        for (int x = 0; x < sprite->width; x += pair[0] + pair[1], pair += 2 + pair[1]) {
            words += 2 + pair[1];
            if (pair[1] == 0) {
                break;
            }
        }
    }
    return sizeof(lsp::SPRITE) + sizeof(uint16_t*) * static_cast<size_t>(sprite->height) +
           2 * words;
}

void BM_PartBytes(benchmark::State& state) {
    Load();
    double sprites = 0, raw = 0, parts = 0, worst = 0;
    for (auto _ : state) {
        sprites = raw = parts = worst = 0;
        for (int layer = 0; layer < kLayers; ++layer) {
            for (int variant = 0; variant < kVariants; ++variant) {
                std::string id = Workload::PartId(layer, variant);
                const CAvtrPart* part = CAvtrPartPool::Inst()->Get(id);
                double bytes = 0, frames = 0;
                for (const lsp::SPRITE* sprite : part->m_vecFrames) {
                    bytes += static_cast<double>(SpriteBytes(sprite));
                    frames +=
                        static_cast<double>(kvrow::RowBytes(sprite->width, 16) * sprite->height);
                }
                sprites += bytes;
                raw += frames;
                worst = std::max(worst, bytes / frames);
                ++parts;
            }
        }
    }
    state.counters["sprite_bytes_per_part"] = sprites / parts;
    state.counters["raw_frame_bytes_per_part"] = raw / parts;
    state.counters["x_raw"] = sprites / raw;
    state.counters["worst_part_x_raw"] = worst;
}

BENCHMARK(BM_DrawOne)->ArgName("trans")->Arg(0)->Arg(1);
BENCHMARK(BM_Draw1000)->ArgName("trans")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Splice1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Blit1000)->ArgName("trans")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartBytes)->Iterations(1);

}  // namespace
