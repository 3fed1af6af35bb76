// Filling the part pool from the network: 50 avatars whose 200 parts are all
// missing, queued at once and fetched by the download thread from a loopback
// server, until every part is in the pool. Anchor: the same 200 files fetched
// one after another with plain libcurl (one easy handle reused) into files. The
// server keeps connections alive, as the real ones do.
//
// Each iteration also runs the stages of the pool's work one by one on the
// benchmark thread, so that the gap to the anchor can be split into its causes.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "avatar_id/avtr_id.h"
#include "bench_clock.h"
#include "loopback_http/http_server.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "support/gif_builder.h"

namespace {

constexpr int kAvatars = 50;
const char* const kTypes[] = {"lc", "hc", "oc", "h1"};
// Where the files go: the disk, or memory, where creating a file costs little.
const char* const kFolderKinds[] = {"/tmp", "/dev/shm"};

// A 100 x 120 two-frame part with a transparent margin, as parts look.
std::string PartGif(int seed) {
    const int width = 100;
    const int height = 120;
    kvtest::GifBuilder gif(width, height);
    gif.GlobalTable({{0, 0, 255}, {200, 40, 40}, {40, 200, 40}, {40, 40, 200}});
    kvtest::GifBytes indices(width * height);
    for (int frame = 0; frame < 2; ++frame) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = x > 20 && x < 80 && y > 10 && y < 110;
                indices[y * width + x] = inside ? 1 + (x / 7 + y / 5 + seed + frame) % 3 : 0;
            }
        }
        gif.GraphicControl(1, 10, 0).Image(0, 0, width, height, indices, 2);
    }
    gif.Trailer();
    return std::string(gif.Data().begin(), gif.Data().end());
}

std::string PartId(int type, int avatar) {
    char id[16];
    std::snprintf(id, sizeof(id), "%sm%03d", kTypes[type], avatar);
    return id;
}

// The loopback server with the 200 parts and a scratch folder below `base`.
struct Setting {
    explicit Setting(const std::string& base) {
        std::string pattern = base + "/kvavtr_parts_bench_XXXXXX";
        root = mkdtemp(pattern.data()) ? pattern : std::string();
        for (int avatar = 0; avatar < kAvatars; ++avatar) {
            for (int type = 0; type < 4; ++type) {
                const std::string id = PartId(type, avatar);
                const std::string path = std::string("/avgif/") + kTypes[type] + "/" + id + ".gif";
                server.SetFile(path, PartGif(avatar + type));
                paths.push_back(path);
            }
        }
        server.SetKeepAlive(true);
    }
    ~Setting() {
        server.Stop();
        if (!root.empty()) {
            std::filesystem::remove_all(root);
        }
    }
    // A new, empty home folder for the library and the anchor. Old ones stay
    // until the end: on a file system without a journal (ext4 here) every file
    // deleted in the last minutes slows down each new file's creation.
    void NewHome() {
        home = root + "/home" + std::to_string(homes++);
        std::filesystem::create_directories(home);
        std::ofstream(root + "/registry.ini") << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << home
                                              << "\nPartServer=" << server.HostPort() << "\n";
        kvplatform::SetRegistryFile(root + "/registry.ini");
    }
    std::string FlatFile(const std::string& path) const {
        return home + "/" + path.substr(path.rfind('/') + 1);
    }

    std::string root;
    std::string home;
    int homes = 0;
    loopback::HttpServer server;
    std::vector<std::string> paths;
};

Setting& TheSetting(int kind) {
    static std::unique_ptr<Setting> settings[std::size(kFolderKinds)];
    if (!settings[kind]) {
        settings[kind] = std::make_unique<Setting>(kFolderKinds[kind]);
    }
    return *settings[kind];
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

using Clock = std::chrono::steady_clock;

// Wall and thread CPU seconds of one stage.
struct Span {
    double wall = 0;
    double cpu = 0;
};

class StageClock {
public:
    Span Stop() const {
        return {std::chrono::duration<double>(Clock::now() - m_wall).count(),
                kvbench::ThreadSeconds() - m_cpu};
    }
    double Wall() const { return Stop().wall; }

private:
    Clock::time_point m_wall = Clock::now();
    double m_cpu = kvbench::ThreadSeconds();
};

// The anchor: the 200 files one after another through one reused easy handle.
Span FetchWithCurl(Setting& setting, CURL* curl) {
    setting.NewHome();
    const StageClock clock;
    for (const std::string& path : setting.paths) {
        FILE* out = std::fopen(setting.FlatFile(path).c_str(), "wb");
        curl_easy_setopt(curl, CURLOPT_URL, setting.server.Url(path).c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, out);
        curl_easy_perform(curl);
        std::fclose(out);
    }
    return clock.Stop();
}

// Stage 1: the platform's URLDownloadToFileA into the anchor's files, nothing more.
Span FetchWithUrlDownload(Setting& setting) {
    setting.NewHome();
    const StageClock clock;
    for (const std::string& path : setting.paths) {
        URLDownloadToFileA(nullptr, setting.server.Url(path).c_str(),
                           setting.FlatFile(path).c_str(), 0, nullptr);
    }
    return clock.Stop();
}

// Stage 2: the whole download step per part (cache folders, temporary file,
// signature check, rename, decode, insert), on this thread: no queue, no poll.
Span FetchBlocking(Setting& setting, std::vector<CAvtrId>& avatars) {
    setting.NewHome();
    CAvtrPartPool::CreateInstance();
    CAvtrPartPool::CreateDLThread();
    const StageClock clock;
    for (CAvtrId& avatar : avatars) {
        CAvtrPartPool::Inst()->RequestLoad(avatar, false);
    }
    const Span span = clock.Stop();
    CAvtrPartPool::DestroyInstance();
    return span;
}

// Stage 3: decoding and storing the 200 files that are now on disk.
Span DecodeFromDisk(std::vector<CAvtrId>& avatars) {
    CAvtrPartPool::CreateInstance();
    const StageClock clock;
    for (CAvtrId& avatar : avatars) {
        CAvtrPartPool::Inst()->FileLoad(avatar);
    }
    const Span span = clock.Stop();
    CAvtrPartPool::DestroyInstance();
    return span;
}

struct PoolRun {
    double wall = 0;
    double queueing = 0;
    double firstPart = 0;
};

// The pool: 50 avatars queued at once, until every part is in the pool. The
// parts arrive in queue order, so waiting for each in turn waits for the last.
PoolRun FetchWithPool(Setting& setting, std::vector<CAvtrId>& avatars,
                      const std::vector<std::string>& parts) {
    setting.NewHome();
    CAvtrPartPool::CreateInstance();
    CAvtrPartPool::CreateDLThread();
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    PoolRun run;
    const StageClock clock;
    for (CAvtrId& avatar : avatars) {
        pool->RequestLoad(avatar, true);
    }
    run.queueing = clock.Wall();
    for (const std::string& id : parts) {
        std::string key = id;
        while (!pool->Get(key)) {
            std::this_thread::sleep_for(std::chrono::microseconds(1000));
        }
        if (run.firstPart == 0) {
            run.firstPart = clock.Wall();
        }
    }
    run.wall = clock.Wall();
    CAvtrPartPool::DestroyInstance();
    return run;
}

// Medians, since single iterations on a shared machine stall now and then.
double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

struct Iteration {
    Span anchor, download, step, decode;
    PoolRun pool;
    int poolConnections = 0;
};

template <typename Field>
double MedianOf(const std::vector<Iteration>& runs, Field field) {
    std::vector<double> values;
    for (const Iteration& run : runs) {
        values.push_back(field(run));
    }
    return Median(values);
}

// Everything in every iteration, wall time (the work spans threads and the server);
// each figure is the median over the iterations.
// x_curl_sequential = pool / anchor; target_ms = 1.1 x anchor + one 30 ms poll.
void BM_PartsFetch200(benchmark::State& state) {
    Setting& setting = TheSetting(static_cast<int>(state.range(0)));
    if (setting.root.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    std::vector<CAvtrId> avatars(kAvatars);
    std::vector<std::string> parts;
    for (int avatar = 0; avatar < kAvatars; ++avatar) {
        std::string text;
        for (int type = 0; type < 4; ++type) {
            parts.push_back(PartId(type, avatar));
            text += (type ? "_" : "") + parts.back();
        }
        avatars[avatar].Set(text, false);
    }
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    // The drawing benchmarks keep a pool of their own alive; this one needs fresh ones.
    CAvtrPartPool* const borrowed = std::exchange(CAvtrPartPool::m_pInst, nullptr);
    std::vector<Iteration> runs;
    for (auto _ : state) {
        Iteration run;
        run.anchor = FetchWithCurl(setting, curl);
        run.download = FetchWithUrlDownload(setting);
        run.step = FetchBlocking(setting, avatars);
        const int connectionsBefore = setting.server.ConnectionCount();
        run.pool = FetchWithPool(setting, avatars, parts);
        run.poolConnections = setting.server.ConnectionCount() - connectionsBefore;
        run.decode = DecodeFromDisk(avatars);
        runs.push_back(run);
    }
    curl_easy_cleanup(curl);
    CAvtrPartPool::m_pInst = borrowed;
    const auto ms = [&](auto field) { return MedianOf(runs, field) * 1e3; };
    const double anchorMs = ms([](const Iteration& run) { return run.anchor.wall; });
    state.counters["anchor_ms"] = anchorMs;
    state.counters["pool_ms"] = ms([](const Iteration& run) { return run.pool.wall; });
    state.counters["x_curl_sequential"] =
        MedianOf(runs, [](const Iteration& run) { return run.pool.wall / run.anchor.wall; });
    state.counters["target_ms"] = 1.1 * anchorMs + 30;
    // The stages: URLDownloadToFileA alone, the download step on the caller's
    // thread, decoding alone (wall and this thread's CPU time); the pool's first
    // part comes after its first poll.
    state.counters["url_download_ms"] = ms([](const Iteration& run) { return run.download.wall; });
    state.counters["step_ms"] = ms([](const Iteration& run) { return run.step.wall; });
    state.counters["decode_ms"] = ms([](const Iteration& run) { return run.decode.wall; });
    state.counters["anchor_cpu_ms"] = ms([](const Iteration& run) { return run.anchor.cpu; });
    state.counters["url_download_cpu_ms"] =
        ms([](const Iteration& run) { return run.download.cpu; });
    state.counters["step_cpu_ms"] = ms([](const Iteration& run) { return run.step.cpu; });
    state.counters["decode_cpu_ms"] = ms([](const Iteration& run) { return run.decode.cpu; });
    state.counters["first_part_ms"] = ms([](const Iteration& run) { return run.pool.firstPart; });
    // Below 30 ms every request is queued before the first poll: one batch.
    double maxQueueing = 0;
    double connections = 0;
    for (const Iteration& run : runs) {
        maxQueueing = std::max(maxQueueing, run.pool.queueing);
        connections += run.poolConnections;
    }
    state.counters["max_queueing_ms"] = maxQueueing * 1e3;
    // 1 when the pool's 200 fetches go over one kept-alive connection.
    state.counters["pool_connections"] = runs.empty() ? 0 : connections / runs.size();
}
BENCHMARK(BM_PartsFetch200)
    ->ArgName("memory")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
