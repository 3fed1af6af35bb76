// Filling the part pool from the network: 50 avatars whose 200 parts are all
// missing, queued at once and fetched by the download thread from a loopback
// server, until every part is in the pool. Anchor: the same 200 files fetched
// one after another with plain libcurl (one easy handle reused) into files. The
// server keeps connections alive, as the real ones do.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "avatar_id/avtr_id.h"
#include "loopback_http/http_server.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/gif_builder.h"

namespace {

constexpr int kAvatars = 50;
const char* const kTypes[] = {"lc", "hc", "oc", "h1"};

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

// The loopback server with the 200 parts and a scratch folder, shared by both runs.
struct Setting {
    Setting() {
        char pattern[] = "/tmp/kvavtr_parts_bench_XXXXXX";
        root = mkdtemp(pattern);
        for (int avatar = 0; avatar < kAvatars; ++avatar) {
            for (int type = 0; type < 4; ++type) {
                const std::string id = PartId(type, avatar);
                const std::string path = std::string("/avgif/") + kTypes[type] + "/" + id + ".gif";
                server.SetFile(path, PartGif(avatar + type));
                paths.push_back(path);
            }
        }
        std::ofstream(root + "/registry.ini") << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << root
                                              << "/home\nPartServer=" << server.HostPort() << "\n";
        kvplatform::SetRegistryFile(root + "/registry.ini");
        server.SetKeepAlive(true);
    }
    ~Setting() {
        server.Stop();
        std::filesystem::remove_all(root);
    }
    // A fresh, empty home folder.
    void ResetHome() {
        std::filesystem::remove_all(root + "/home");
        std::filesystem::create_directories(root + "/home");
    }

    std::string root;
    loopback::HttpServer server;
    std::vector<std::string> paths;
};

Setting& TheSetting() {
    static Setting setting;
    return setting;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The anchor: the 200 files one after another through one reused easy handle.
double FetchWithCurl(Setting& setting, CURL* curl) {
    setting.ResetHome();
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : setting.paths) {
        const std::string file = setting.root + "/home/" + path.substr(path.rfind('/') + 1);
        FILE* out = std::fopen(file.c_str(), "wb");
        curl_easy_setopt(curl, CURLOPT_URL, setting.server.Url(path).c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, out);
        curl_easy_perform(curl);
        std::fclose(out);
    }
    return Since(start);
}

// The pool: 50 avatars queued at once, until every part is in the pool.
double FetchWithPool(Setting& setting, std::vector<CAvtrId>& avatars,
                     const std::vector<std::string>& parts) {
    setting.ResetHome();
    CAvtrPartPool::CreateInstance();
    CAvtrPartPool::CreateDLThread();
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    const auto start = std::chrono::steady_clock::now();
    for (CAvtrId& avatar : avatars) {
        pool->RequestLoad(avatar, true);
    }
    for (const std::string& id : parts) {
        std::string key = id;
        while (!pool->Get(key)) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    const double seconds = Since(start);
    CAvtrPartPool::DestroyInstance();
    return seconds;
}

// Both in every iteration, wall time (the work spans threads and the server).
// x_curl_sequential = pool / anchor; target_ms = 1.1 x anchor + one 30 ms poll.
void BM_PartsFetch200(benchmark::State& state) {
    Setting& setting = TheSetting();
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
    double anchor = 0, pool = 0;
    const int connectionsBefore = setting.server.ConnectionCount();
    for (auto _ : state) {
        anchor += FetchWithCurl(setting, curl);
        pool += FetchWithPool(setting, avatars, parts);
    }
    curl_easy_cleanup(curl);
    CAvtrPartPool::m_pInst = borrowed;
    const double n = static_cast<double>(state.iterations());
    state.counters["anchor_ms"] = anchor / n * 1e3;
    state.counters["pool_ms"] = pool / n * 1e3;
    state.counters["x_curl_sequential"] = anchor > 0 ? pool / anchor : 0;
    state.counters["target_ms"] = (1.1 * anchor / n + 0.030) * 1e3;
    // 1 when each run of 200 fetches goes over one kept-alive connection.
    state.counters["connections_per_200"] =
        (setting.server.ConnectionCount() - connectionsBefore) / (2 * n);
}
BENCHMARK(BM_PartsFetch200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
