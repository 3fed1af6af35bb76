// kvavtr animated: creates an animated avatar on a message-only window, waits for
// its notification, and draws it (and, with --frames, the frames that follow) to PNG.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "animated/ani_avatar_load.h"
#include "animated/kv_ani_avatar.h"
#include "command.h"
#include "option_values.h"
#include "platform/testing.h"
#include "png_out.h"
#include "portal_settings.h"

namespace kvcli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kLoaderGraceMs = 3000;

struct AnimatedOptions {
    std::string id;
    int a2 = 0;  // --ac
    int a5 = 0;  // --full
    int a6 = 0;  // --action
    int a7 = 0;  // --aw
    std::string home;
    std::string server;
    int waitMs = 5000;
    int frames = 1;
    unsigned long canvas = 0x00FFFFFF;
    std::string out;
};

bool ParseAnimatedOptions(const Args& args, AnimatedOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        int* flag = arg == "--ac"       ? &o.a2
                    : arg == "--full"   ? &o.a5
                    : arg == "--action" ? &o.a6
                    : arg == "--aw"     ? &o.a7
                                        : nullptr;
        if (flag != nullptr) {
            *flag = 1;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!o.id.empty()) {
                error = "more than one ID";
                return false;
            }
            o.id = arg;
            continue;
        }
        const std::string value = i + 1 < args.size() ? args[++i] : "";
        const bool ok = arg == "--home"     ? (o.home = value, !value.empty())
                        : arg == "--server" ? (o.server = value, !value.empty())
                        : arg == "--out"    ? (o.out = value, !value.empty())
                        : arg == "--wait"   ? ParseInt(value, 0, 3600000, o.waitMs)
                        : arg == "--frames" ? ParseInt(value, 1, 10000, o.frames)
                        : arg == "--canvas" ? ParseColour(value, o.canvas)
                                            : (error = "unknown option " + arg, false);
        if (!ok) {
            if (error.empty()) {
                error = "bad or missing value for " + arg;
            }
            return false;
        }
    }
    error = o.id.empty() ? "missing ID" : o.out.empty() ? "missing --out OUT.png" : "";
    return error.empty();
}

// Opens the loaded size, which only the avatar holds.
class SizedAvatar : public CKvAniAvatar {
public:
    SIZE LoadedSize() const { return {m_nWidth, m_nHeight}; }
};

// Waits for the next 1060 message, printing every message taken; false when the
// deadline passes first.
bool NextMessage(HWND window, Clock::time_point deadline, MSG& msg) {
    while (Clock::now() < deadline) {
        if (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
            std::printf("message %u wParam %lu lParam %ld\n", msg.message,
                        static_cast<unsigned long>(msg.wParam), static_cast<long>(msg.lParam));
            if (msg.message == kAniAvatarMessage) {
                return true;
            }
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// Fills a memory DC of the avatar's size with the canvas colour, draws the avatar
// at (0, 0) and writes the DC.
bool DrawToPng(SizedAvatar& avatar, unsigned long canvas, const std::string& path,
               std::string& error) {
    const SIZE size = avatar.LoadedSize();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(canvas));
    const RECT whole = {0, 0, size.cx, size.cy};
    FillRect(dc, &whole, brush);
    DeleteObject(brush);
    avatar.Draw(dc, 0, 0, 0);
    const bool written = WriteDcPng(path, dc, error);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return written;
}

bool Play(SizedAvatar& avatar, HWND window, const AnimatedOptions& options, std::string& error) {
    avatar.SetHWND(window);
    if (avatar.Create(options.id.c_str(), options.a2, 0, 0, options.a5, options.a6, options.a7) ==
        0) {
        error = "identifier refused: " + options.id;
        return false;
    }
    const auto wait = std::chrono::milliseconds(options.waitMs);
    MSG msg;
    do {
        if (!NextMessage(window, Clock::now() + wait, msg)) {
            error = "no avatar after " + std::to_string(options.waitMs) + " ms";
            return false;
        }
    } while (msg.wParam == kAniAvatarFrame);
    if (msg.wParam != kAniAvatarLoaded) {
        error = "the avatar file failed to load";
        return false;
    }
    const bool animated = avatar.IsAniAvatar() != 0;
    for (int frame = 0; frame < options.frames; ++frame) {
        // The first draw starts the animation, which first announces the frame just
        // drawn; each later message announces a new one.
        const int messages = frame == 0 || !animated ? 0 : frame == 1 ? 2 : 1;
        for (int i = 0; i < messages; ++i) {
            if (!NextMessage(window, Clock::now() + wait, msg)) {
                error = "no frame message after " + std::to_string(options.waitMs) + " ms";
                return false;
            }
        }
        if (!DrawToPng(avatar, options.canvas, NumberedPngPath(options.out, frame, options.frames),
                       error)) {
            return false;
        }
    }
    return true;
}

int RunAnimated(const Args& args) {
    // The library's log lines go to stdout, so stderr carries only the outcome.
    kvplatform::SetDebugOutputSink([](const char* text) { std::fputs(text, stdout); });
    AnimatedOptions options;
    std::string error;
    if (!ParseAnimatedOptions(args, options, error)) {
        std::fprintf(stderr, "kvavtr animated: %s\n", error.c_str());
        return kUsageError;
    }
    PortalSettings settings;
    if (!settings.Apply(options.home, options.server, error)) {
        std::fprintf(stderr, "kvavtr animated: %s\n", error.c_str());
        return 1;
    }
    HWND window =
        CreateWindowExA(0, "", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool played = false;
    {
        SizedAvatar avatar;
        played = Play(avatar, window, options, error);
    }
    DestroyWindow(window);
    // A loader still fetching ends within its time-outs; let it before exiting.
    WaitForAvatarLoaders(kLoaderGraceMs);
    if (!played) {
        std::fprintf(stderr, "kvavtr animated: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const bool registered = RegisterCommand(
    {"animated",
     "[--ac] [--full] [--action] [--aw] [--home DIR] [--server HOST:PORT] [--wait MS] "
     "[--frames N] [--canvas 0xBBGGRR] --out OUT.png ID",
     RunAnimated});

}  // namespace
}  // namespace kvcli
