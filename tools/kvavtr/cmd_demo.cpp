// kvavtr demo: every kind of avatar, working together the way a host uses them.
// It builds a portal from the sample art, serves the art from a loopback server,
// starts the library, paints all avatars into one window for a few seconds and
// writes demo.png, demo.gif and index.html.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "command.h"
#include "demo_cell.h"
#include "demo_portal.h"
#include "demo_scene.h"
#include "frame/dll_lifecycle.h"
#include "platform/testing.h"

namespace kvcli {
namespace {

namespace fs = std::filesystem;

constexpr double kMaxSeconds = 600;
// The com avatar that arrives slowly, so that its stand-in shows first.
const char* const kSlowPath = "/IMG_AVTR/AWFS_SAMPLE_GIRL.GIF";

struct DemoOptions {
    std::string out = "demo-out";
    double seconds = 3;
};

bool ParseDemoOptions(const Args& args, DemoOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (i + 1 == args.size()) {
            return false;
        }
        if (args[i] == "--out") {
            options.out = args[++i];
        } else if (args[i] == "--seconds") {
            char* end = nullptr;
            options.seconds = std::strtod(args[++i].c_str(), &end);
            if (*end != '\0' || !(options.seconds > 0 && options.seconds <= kMaxSeconds)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return !options.out.empty();
}

// A trickle slow enough that the slow com avatar lands about halfway through.
void SlowDown(loopback::HttpServer& server, const fs::path& dir, double seconds) {
    std::error_code code;
    const auto bytes = fs::file_size(dir / ("server" + std::string(kSlowPath)), code);
    const double ms = code || bytes == 0 ? 1 : seconds * 500 / static_cast<double>(bytes);
    server.SetTrickleInterval(std::chrono::milliseconds(std::max(1, static_cast<int>(ms))));
    server.SetFault(kSlowPath, loopback::HttpFault::kTrickle);
}

std::vector<DemoCell> MakeCells(const fs::path& dir) {
    std::vector<DemoCell> cells = LayeredCells((dir / "images" / "stage.bmp").string());
    for (auto make : {LegacyCells, AnonymousCells, AnimatedCells}) {
        std::vector<DemoCell> more = make();
        cells.insert(cells.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    }
    return cells;
}

void PrintSummary(const std::vector<DemoCell>& cells, const SceneResult& result) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!result.cellDrawn[i]) {
            std::printf("missing: %s %s (%s)\n", cells[i].section.c_str(), cells[i].id.c_str(),
                        cells[i].options.c_str());
        }
    }
    std::printf("avatars drawn: %d of %zu\n", result.drawn, cells.size());
    std::printf("avatars ready: %d of %zu\n", result.ready, cells.size());
    std::printf("downloads: %d of %d\n", result.downloadsDone, result.downloadsRequested);
    std::printf("frames: %d\n", result.frames);
    std::printf("messages: %d loaded, %d frame steps\n", result.loadMessages, result.frameMessages);
    std::printf("draw time per avatar: mean %.3f ms, worst %.3f ms\n", result.meanDrawMs,
                result.worstDrawMs);
}

// The library's debugger output goes to a file of the portal for the run.
class LibraryLog {
public:
    explicit LibraryLog(const fs::path& path) : m_file(std::fopen(path.c_str(), "w")) {
        if (m_file != nullptr) {
            kvplatform::SetDebugOutputSink([this](const char* text) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                std::fputs(text, m_file);
            });
        }
    }
    ~LibraryLog() {
        kvplatform::SetDebugOutputSink({});
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    LibraryLog(const LibraryLog&) = delete;
    LibraryLog& operator=(const LibraryLog&) = delete;

private:
    std::FILE* m_file;
    std::mutex m_mutex;
};

int Fail(const std::string& error) {
    std::fprintf(stderr, "kvavtr demo: %s\n", error.c_str());
    return 1;
}

int RunDemo(const Args& args) {
    DemoOptions options;
    if (!ParseDemoOptions(args, options)) {
        return UsageError("demo");
    }
    std::error_code code;
    const fs::path dir = fs::absolute(options.out, code).lexically_normal();
    std::string error;
    if (code || !BuildPortal(dir, error)) {
        return Fail(code ? "cannot use " + options.out : error);
    }
    std::unique_ptr<loopback::HttpServer> server;
    try {
        server = std::make_unique<loopback::HttpServer>();
    } catch (const std::runtime_error& e) {
        return Fail(std::string("cannot start the loopback server: ") + e.what());
    }
    if (!ServePortal(*server, dir, error) || !UsePortalRegistry(dir, server->HostPort(), error)) {
        return Fail(error);
    }
    SlowDown(*server, dir, options.seconds);
    // The library finds the installation's files below the current folder.
    if (chdir(dir.c_str()) != 0) {
        return Fail("cannot enter " + dir.string());
    }
    std::printf("portal in %s, sample art served at http://%s\n", dir.c_str(),
                server->HostPort().c_str());
    LibraryLog log(dir / "library.log");
    InitAvatarDll();
    SceneResult result;
    bool ok;
    {
        std::vector<DemoCell> cells = MakeCells(dir);
        ok = RunScene(cells, options.seconds, dir.string(), result, error);
        if (ok) {
            PrintSummary(cells, result);
            ok = result.drawn == static_cast<int>(cells.size()) &&
                 result.ready == static_cast<int>(cells.size());
        }
    }
    DestroyAvatarDll();
    server->Stop();
    if (!error.empty()) {
        return Fail(error);
    }
    std::printf("open %s/index.html (or demo.png, demo.gif)\n", dir.c_str());
    return ok ? 0 : 1;
}

const bool registered = RegisterCommand({"demo", "[--out DIR] [--seconds S]", RunDemo});

}  // namespace
}  // namespace kvcli
