// kvavtr render: creates a layered avatar, waits for its parts and draws it to PNG.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "command.h"
#include "frame/dll_lifecycle.h"
#include "layered/avtr2004.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "png_out.h"
#include "portal_settings.h"
#include "render_options.h"

namespace kvcli {
namespace {

using Clock = std::chrono::steady_clock;

// Opens the output region's size, which only the avatar computes.
class RenderedAvatar : public CAvtr2004 {
public:
    SIZE OutputSize() {
        RECT dest;
        RECT src;
        GetDrawRect(dest, src);
        return {dest.right, dest.bottom};
    }
};

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Milliseconds after creation at which each part was first seen in the pool; -1 if never.
std::vector<long long> WaitForParts(CAvtrId& id, Clock::time_point start, int waitMs) {
    std::vector<long long> seen(id.IdVec().size(), -1);
    for (;;) {
        size_t missing = 0;
        for (size_t i = 0; i < seen.size(); ++i) {
            if (seen[i] < 0 && CAvtrPartPool::Inst()->Get(id.IdVec()[i]) != nullptr) {
                seen[i] = MsSince(start);
            }
            missing += seen[i] < 0 ? 1 : 0;
        }
        if (missing == 0 || MsSince(start) >= waitMs) {
            return seen;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The files below the part cache root, relative to it.
std::set<std::string> CachedFiles() {
    namespace fs = std::filesystem;
    const fs::path root =
        kvplatform::TranslatePath(CAvtrPartPool::Inst()->GetPrePath(false).c_str());
    std::set<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) {
            files.insert(fs::relative(it->path(), root, error).string());
        }
    }
    return files;
}

void PrintFetched(const std::set<std::string>& before) {
    for (const std::string& file : CachedFiles()) {
        if (before.count(file) == 0) {
            std::printf("fetched %s\n", file.c_str());
        }
    }
}

// Draws every frame into a memory DC of the output size over the canvas colour.
bool DrawFrames(RenderedAvatar& avatar, const RenderOptions& options, Clock::time_point start,
                size_t missingParts, std::string& error) {
    const SIZE size = avatar.OutputSize();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH canvas = CreateSolidBrush(static_cast<COLORREF>(options.canvas));
    const RECT whole = {0, 0, size.cx, size.cy};
    bool ok = true;
    for (int frame = 0; ok && frame < options.frames; ++frame) {
        if (frame > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(options.intervalMs));
        }
        FillRect(dc, &whole, canvas);
        avatar.Draw(dc, 0, 0, options.sex, options.transparent, 0);
        if (frame == 0 && missingParts == 0) {
            std::printf("first complete draw: %lld ms after create\n", MsSince(start));
        } else if (frame == 0) {
            std::printf("first draw, %zu part(s) missing: %lld ms after create\n", missingParts,
                        MsSince(start));
        }
        ok = WriteDcPng(NumberedPngPath(options.out, frame, options.frames), dc, error);
    }
    DeleteObject(canvas);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ok;
}

bool Render(const RenderOptions& options, std::string& error) {
    RenderedAvatar avatar;
    if (!options.backgroundImage.empty() &&
        !avatar.SetBkgndImage(options.backgroundImage.c_str())) {
        error = "cannot load background picture " + options.backgroundImage;
        return false;
    }
    if (options.rect) {
        RECT rect = *options.rect;
        avatar.SetDrawingRect(rect);
    }
    CAvtrId id;
    id.Set(options.id, options.com);
    const std::set<std::string> cachedBefore = CachedFiles();
    const Clock::time_point start = Clock::now();
    const int created = options.block ? avatar.CreateBlock(id, options.small, options.fullHeight,
                                                           options.box, options.background)
                                      : avatar.Create(id, options.small, options.fullHeight,
                                                      options.box, options.background);
    if (created == 0) {
        error = "the identifier names no part";
        return false;
    }
    const std::vector<long long> seen = WaitForParts(avatar.AvatarId(), start, options.waitMs);
    PrintFetched(cachedBefore);
    size_t missing = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        const std::string& part = avatar.AvatarId().IdVec()[i];
        if (seen[i] < 0) {
            ++missing;
            std::printf("part %s: missing after %d ms\n", part.c_str(), options.waitMs);
        } else {
            std::printf("part %s: in the pool after %lld ms\n", part.c_str(), seen[i]);
        }
    }
    return DrawFrames(avatar, options, start, missing, error);
}

int RunRender(const Args& args) {
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(args, options, error)) {
        std::fprintf(stderr, "kvavtr render: %s\n", error.c_str());
        return UsageError("render");
    }
    PortalSettings settings;
    if (!settings.Apply(options.home, options.server, error)) {
        std::fprintf(stderr, "kvavtr render: %s\n", error.c_str());
        return 1;
    }
    InitAvatarDll();
    const bool ok = Render(options, error);
    DestroyAvatarDll();
    if (!ok) {
        std::fprintf(stderr, "kvavtr render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const bool registered = RegisterCommand(
    {"render",
     "[--com] [--block] [--small] [--full-height] [--no-box] [--rect L,T,R,B] [--bg 0xBBGGRR] "
     "[--bkgnd FILE.bmp] [--trans] [--sex F|M] [--home DIR] [--server HOST:PORT] [--wait MS] "
     "[--canvas 0xBBGGRR] [--frames N --interval MS] --out OUT.png ID",
     RunRender});

}  // namespace
}  // namespace kvcli
