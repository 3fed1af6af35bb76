#include "demo_scene.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <thread>

#include "animated/kv_ani_avatar.h"
#include "demo_gif.h"
#include "demo_layout.h"
#include "demo_page.h"
#include "platform/testing.h"
#include "png_out.h"

namespace kvcli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrameMs = 100;
// How long the demo waits beyond its animation for avatars that are still missing.
constexpr int kGraceMs = 10000;
// A cell shows its avatar when at least this many of its pixels differ from the panel.
constexpr int kMinChangedPixels = 20;

double MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The backdrop in a memory DC of its own, painted once.
class Backdrop {
public:
    Backdrop(const std::vector<DemoCell>& cells, SIZE size) : m_size(size) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (m_bitmap != nullptr && bits != nullptr) {
            m_old = SelectObject(m_dc, m_bitmap);
            PaintBackdrop({static_cast<uint32_t*>(bits), size.cx, size.cy}, cells);
        }
    }
    ~Backdrop() {
        if (m_old != nullptr) {
            SelectObject(m_dc, m_old);
        }
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    bool ok() const { return m_old != nullptr; }
    void CopyTo(HDC hdc) const { BitBlt(hdc, 0, 0, m_size.cx, m_size.cy, m_dc, 0, 0, SRCCOPY); }

private:
    SIZE m_size;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The DC's pixels as 0x00RRGGBB.
std::vector<uint32_t> Capture(HDC hdc) {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    kvplatform::ReadDcPixels(hdc, width, height, pixels);
    std::vector<uint32_t> rgb(pixels.size());
    std::transform(pixels.begin(), pixels.end(), rgb.begin(),
                   [](COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); });
    return rgb;
}

bool ShowsSomething(const DemoCell& cell, const std::vector<uint32_t>& frame,
                    const std::vector<uint32_t>& backdrop, SIZE size) {
    int changed = 0;
    for (int y = cell.at.y; y < std::min<int>(cell.at.y + cell.size.cy, size.cy); ++y) {
        for (int x = cell.at.x; x < std::min<int>(cell.at.x + cell.size.cx, size.cx); ++x) {
            const size_t i = static_cast<size_t>(y) * size.cx + x;
            changed += frame[i] != backdrop[i] ? 1 : 0;
        }
    }
    return changed >= kMinChangedPixels;
}

bool WritePicture(const std::string& path, const std::vector<uint32_t>& frame, SIZE size,
                  std::string& error) {
    std::vector<uint8_t> rgba;
    rgba.reserve(frame.size() * 4);
    for (uint32_t p : frame) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                 static_cast<uint8_t>(p), 255});
    }
    return WritePng(path, size.cx, size.cy, rgba, error);
}

class Scene {
public:
    Scene(std::vector<DemoCell>& cells, SceneResult& result) : m_cells(cells), m_result(result) {
        std::set<std::string> files;
        for (const DemoCell& cell : cells) {
            files.insert(cell.downloads.begin(), cell.downloads.end());
        }
        m_result.downloadsRequested = static_cast<int>(files.size());
    }

    // Takes the library's messages off the window's queue.
    void Pump(HWND window) {
        MSG msg;
        while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
            if (msg.message != kAniAvatarMessage) {
                continue;
            }
            if (msg.wParam == kAniAvatarLoaded) {
                ++m_result.loadMessages;
                m_announced.insert(msg.lParam);
            } else if (msg.wParam == kAniAvatarFrame) {
                ++m_result.frameMessages;
            }
        }
    }

    void Draw(HDC hdc) {
        for (DemoCell& cell : m_cells) {
            if (cell.announcedBy != 0 && m_announced.count(cell.announcedBy) == 0) {
                continue;
            }
            const Clock::time_point start = Clock::now();
            cell.draw(hdc, cell.at.x, cell.at.y);
            const double ms = MsBetween(start, Clock::now());
            m_drawMs += ms;
            ++m_draws;
            m_result.worstDrawMs = std::max(m_result.worstDrawMs, ms);
        }
        m_result.meanDrawMs = m_draws == 0 ? 0 : m_drawMs / m_draws;
    }

    // Prints a progress line when the counts changed; true when everything is there.
    bool Progress() {
        std::set<std::string> done;
        int ready = 0;
        for (DemoCell& cell : m_cells) {
            if (cell.ready()) {
                ++ready;
                done.insert(cell.downloads.begin(), cell.downloads.end());
            }
        }
        m_result.ready = ready;
        m_result.downloadsDone = static_cast<int>(done.size());
        if (ready != m_lastReady || m_result.downloadsDone != m_lastDone) {
            std::printf("downloads %d of %d done, avatars ready %d of %zu\n",
                        m_result.downloadsDone, m_result.downloadsRequested, ready, m_cells.size());
            std::fflush(stdout);
            m_lastReady = ready;
            m_lastDone = m_result.downloadsDone;
        }
        return ready == static_cast<int>(m_cells.size());
    }

private:
    std::vector<DemoCell>& m_cells;
    SceneResult& m_result;
    std::set<LPARAM> m_announced;
    double m_drawMs = 0;
    long m_draws = 0;
    int m_lastReady = -1;
    int m_lastDone = -1;
};

}  // namespace

bool RunScene(std::vector<DemoCell>& cells, double seconds, const std::string& dir,
              SceneResult& result, std::string& error) {
    const SIZE size = LayOut(cells);
    HWND window = CreateWindowExA(0, "kvavtr-demo", "kvavtr demo", 0, 0, 0, size.cx, size.cy,
                                  HWND_MESSAGE, nullptr, nullptr, nullptr);
    Backdrop backdrop(cells, size);
    if (window == nullptr || !backdrop.ok()) {
        error = "cannot make the demo's window";
        DestroyWindow(window);
        return false;
    }
    for (DemoCell& cell : cells) {
        if (!cell.start(window)) {
            std::printf("could not create %s %s\n", cell.section.c_str(), cell.id.c_str());
        }
    }
    HDC hdc = GetDC(window);
    backdrop.CopyTo(hdc);
    const std::vector<uint32_t> empty = Capture(hdc);
    DemoGif gif;
    bool ok = gif.Open(dir + "/demo.gif", size.cx, size.cy, error);
    Scene scene(cells, result);
    const Clock::time_point start = Clock::now();
    std::vector<uint32_t> frame;
    for (Clock::time_point next = start; ok; next += std::chrono::milliseconds(kFrameMs)) {
        std::this_thread::sleep_until(next);
        scene.Pump(window);
        backdrop.CopyTo(hdc);
        scene.Draw(hdc);
        frame = Capture(hdc);
        ok = gif.AddFrame(frame, kFrameMs / 10, error);
        const bool all = scene.Progress();
        const double elapsed = MsBetween(start, Clock::now());
        if (elapsed >= seconds * 1000 && (all || elapsed >= seconds * 1000 + kGraceMs)) {
            break;
        }
    }
    result.frames = gif.frames();
    ok = ok && gif.Close(error) && WritePicture(dir + "/demo.png", frame, size, error) &&
         WriteDemoPage(dir + "/index.html", cells, size, error);
    for (const DemoCell& cell : cells) {
        const bool shows = ok && ShowsSomething(cell, frame, empty, size);
        result.cellDrawn.push_back(shows);
        result.drawn += shows ? 1 : 0;
    }
    ReleaseDC(window, hdc);
    DestroyWindow(window);
    return ok;
}

}  // namespace kvcli
