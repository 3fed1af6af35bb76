// Message-only windows: a table of windows, each with its own message queue and a
// canvas for its DC. One mutex guards windows and queues; one condition variable
// wakes GetMessageA waiters whenever a message arrives or a window goes away.
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_screen.h"
#include "platform/kernel/win32_kernel.h"
#include "platform/window/win32_window.h"

namespace {

constexpr uintptr_t kWindowTag = 0x9;
constexpr int kTagBits = 4;
// Canvases are capped so a caller's window size cannot demand unbounded memory.
constexpr int kMaxCanvasSide = 4096;

struct QueuedMessage {
    uint64_t sequence;  // orders messages across the windows of one thread
    MSG msg;
};

struct Window {
    std::thread::id owner;
    std::deque<QueuedMessage> queue;
    std::shared_ptr<kvgdi::Surface> canvas;
};

struct WindowTable {
    std::mutex mutex;
    std::condition_variable changed;
    std::unordered_map<uintptr_t, Window> windows;
    uintptr_t nextId = 0x1000;
    uint64_t nextSequence = 0;
};

WindowTable& Windows() {
    static auto* table = new WindowTable;  // outlives static destructors of other files
    return *table;
}

uintptr_t Key(HWND hwnd) {
    return reinterpret_cast<uintptr_t>(hwnd);
}

bool Matches(const MSG& msg, UINT filterMin, UINT filterMax) {
    if ((filterMin == 0 && filterMax == 0) || msg.message == WM_QUIT) {
        return true;  // WM_QUIT is returned whatever the filter, as on Windows
    }
    return msg.message >= filterMin && msg.message <= filterMax;
}

enum class Take { Found, Empty, NoSuchWindow };

// The oldest matching message of the window, or of every window of the calling
// thread when hwnd is null. Requires the table mutex.
Take TakeMessage(WindowTable& table, HWND hwnd, UINT filterMin, UINT filterMax, bool remove,
                 MSG& out) {
    std::deque<QueuedMessage>* bestQueue = nullptr;
    std::deque<QueuedMessage>::iterator best;
    auto consider = [&](std::deque<QueuedMessage>& queue) {
        auto it = std::find_if(queue.begin(), queue.end(), [&](const QueuedMessage& queued) {
            return Matches(queued.msg, filterMin, filterMax);
        });
        if (it != queue.end() && (bestQueue == nullptr || it->sequence < best->sequence)) {
            bestQueue = &queue;
            best = it;
        }
    };
    if (hwnd != nullptr) {
        auto it = table.windows.find(Key(hwnd));
        if (it == table.windows.end()) {
            return Take::NoSuchWindow;
        }
        consider(it->second.queue);
    } else {
        const std::thread::id self = std::this_thread::get_id();
        for (auto& [key, window] : table.windows) {
            if (window.owner == self) {
                consider(window.queue);
            }
        }
    }
    if (bestQueue == nullptr) {
        return Take::Empty;
    }
    out = best->msg;
    if (remove) {
        bestQueue->erase(best);
    }
    return Take::Found;
}

}  // namespace

// Every window is message-only whatever the parent; its canvas is nWidth x nHeight,
// at least 1 x 1, at the screen depth.
HWND CreateWindowExA(DWORD /*dwExStyle*/, LPCSTR /*lpClassName*/, LPCSTR /*lpWindowName*/,
                     DWORD /*dwStyle*/, int /*X*/, int /*Y*/, int nWidth, int nHeight,
                     HWND /*hWndParent*/, HMENU /*hMenu*/, HINSTANCE /*hInstance*/,
                     LPVOID /*lpParam*/) {
    Window window;
    window.owner = std::this_thread::get_id();
    window.canvas =
        kvgdi::CreateSurface(std::clamp(nWidth, 1, kMaxCanvasSide),
                             std::clamp(nHeight, 1, kMaxCanvasSide), kvgdi::ScreenFormat());
    if (!window.canvas) {
        return nullptr;
    }
    WindowTable& table = Windows();
    std::lock_guard lock(table.mutex);
    const uintptr_t key = (table.nextId++ << kTagBits) | kWindowTag;
    table.windows.emplace(key, std::move(window));
    return reinterpret_cast<HWND>(key);
}

BOOL DestroyWindow(HWND hWnd) {
    WindowTable& table = Windows();
    std::lock_guard lock(table.mutex);
    if (table.windows.erase(Key(hWnd)) == 0) {
        return FALSE;
    }
    table.changed.notify_all();  // waiters on this window must return
    return TRUE;
}

BOOL IsWindow(HWND hWnd) {
    WindowTable& table = Windows();
    std::lock_guard lock(table.mutex);
    return table.windows.count(Key(hWnd)) != 0 ? TRUE : FALSE;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const DWORD now = GetTickCount();
    WindowTable& table = Windows();
    std::lock_guard lock(table.mutex);
    auto it = table.windows.find(Key(hWnd));
    if (it == table.windows.end()) {
        return FALSE;
    }
    it->second.queue.push_back({table.nextSequence++, MSG{hWnd, Msg, wParam, lParam, now, {0, 0}}});
    table.changed.notify_all();
    return TRUE;
}

// 0 for WM_QUIT, -1 when the window does not exist or is destroyed while waiting.
BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr) {
        return -1;
    }
    WindowTable& table = Windows();
    std::unique_lock lock(table.mutex);
    for (;;) {
        switch (TakeMessage(table, hWnd, wMsgFilterMin, wMsgFilterMax, true, *lpMsg)) {
            case Take::Found:
                return lpMsg->message == WM_QUIT ? 0 : 1;
            case Take::NoSuchWindow:
                return -1;
            case Take::Empty:
                table.changed.wait(lock);
                break;
        }
    }
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr) {
        return FALSE;
    }
    WindowTable& table = Windows();
    std::lock_guard lock(table.mutex);
    const bool remove = (wRemoveMsg & PM_REMOVE) != 0;
    return TakeMessage(table, hWnd, wMsgFilterMin, wMsgFilterMax, remove, *lpMsg) == Take::Found
               ? TRUE
               : FALSE;
}

// A new DC on the window's canvas, or on the screen for a null window.
HDC GetDC(HWND hWnd) {
    if (hWnd == nullptr) {
        return kvgdi::CreateCanvasDc(kvgdi::DcKind::Screen, kvgdi::ScreenCanvas());
    }
    std::shared_ptr<kvgdi::Surface> canvas;
    {
        WindowTable& table = Windows();
        std::lock_guard lock(table.mutex);
        auto it = table.windows.find(Key(hWnd));
        if (it == table.windows.end()) {
            return nullptr;
        }
        canvas = it->second.canvas;
    }
    return kvgdi::CreateCanvasDc(kvgdi::DcKind::Window, std::move(canvas));
}

int ReleaseDC(HWND /*hWnd*/, HDC hDC) {
    return kvgdi::ReleaseCanvasDc(hDC) ? 1 : 0;
}
