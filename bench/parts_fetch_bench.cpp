// Filling the part pool from the network: 50 avatars whose 200 parts are all
// missing, queued at once and fetched by the download thread from a loopback
// server, until every part is in the pool. Anchor: the same 200 files fetched
// one after another with plain libcurl (one easy handle reused) into files.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
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

double g_anchorSeconds = 0;

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

void BM_PartsAnchor_CurlSequential200(benchmark::State& state) {
    Setting& setting = TheSetting();
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    double total = 0;
    for (auto _ : state) {
        setting.ResetHome();
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& path : setting.paths) {
            const std::string file = setting.root + "/home/" + path.substr(path.rfind('/') + 1);
            FILE* out = std::fopen(file.c_str(), "wb");
            curl_easy_setopt(curl, CURLOPT_URL, setting.server.Url(path).c_str());
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, out);
            if (curl_easy_perform(curl) != CURLE_OK) {
                state.SkipWithError("curl fetch failed");
            }
            std::fclose(out);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    curl_easy_cleanup(curl);
    g_anchorSeconds = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PartsAnchor_CurlSequential200)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PartsPool_Fetch50Avatars(benchmark::State& state) {
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
        if (avatars[avatar].IdVec().size() != 4) {
            state.SkipWithError("unexpected part list");
            return;
        }
    }
    double total = 0;
    for (auto _ : state) {
        setting.ResetHome();
        CAvtrPartPool::CreateInstance();
        CAvtrPartPool::CreateDLThread();
        CAvtrPartPool* pool = CAvtrPartPool::Inst();
        const auto start = std::chrono::steady_clock::now();
        for (CAvtrId& avatar : avatars) {
            pool->RequestLoad(avatar, true);
        }
        for (const std::string& id : parts) {
            while (!pool->Get(id)) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        CAvtrPartPool::DestroyInstance();
    }
    const double mean = total / static_cast<double>(state.iterations());
    if (g_anchorSeconds > 0) {
        state.counters["x_curl_sequential"] = mean / g_anchorSeconds;
    }
}
BENCHMARK(BM_PartsPool_Fetch50Avatars)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
