// Message-only windows: queues, filters, cross-thread posting.
#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "platform/win32.h"

namespace {

HWND NewWindow() {
    return CreateWindowExA(0, "AnyClass", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}

TEST(MessageQueue, PeekFiltersByWindowAndRange) {
    HWND a = NewWindow();
    HWND b = NewWindow();
    ASSERT_TRUE(PostMessageA(a, WM_USER + 1, 10, 20) && PostMessageA(b, WM_USER + 2, 0, 0) &&
                PostMessageA(a, WM_USER + 3, 0, 0));
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, a, WM_USER + 3, WM_USER + 9, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3u);
    EXPECT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE) && msg.hwnd == b);
    EXPECT_FALSE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    // Null window: all of this thread's windows, oldest first.
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(std::tuple(msg.message, msg.wParam, msg.lParam), std::tuple(WM_USER + 1u, 10u, 20));
    EXPECT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE) && msg.message == WM_USER + 3u);
    EXPECT_TRUE(DestroyWindow(a));
    EXPECT_FALSE(IsWindow(a) || PostMessageA(a, WM_USER, 0, 0) ||
                 PeekMessageA(&msg, a, 0, 0, PM_REMOVE) || DestroyWindow(a));
    DestroyWindow(b);
}

// Posted from another thread in order; WM_QUIT ends the loop with 0, and a window
// destroyed while waited on ends it with -1.
TEST(MessageQueue, GetWaitsForAnotherThread) {
    HWND window = NewWindow();
    std::thread poster([window] {
        for (int i = 0; i < 100; ++i) {
            PostMessageA(window, WM_USER, static_cast<WPARAM>(i), 0);
        }
        PostMessageA(window, WM_QUIT, 0, 0);
    });
    MSG msg{};
    WPARAM received = 0;
    BOOL result;
    while ((result = GetMessageA(&msg, window, 0, 0)) > 0) {
        EXPECT_EQ(msg.wParam, received++);
    }
    poster.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(received, 100u);
    std::thread destroyer([window] { DestroyWindow(window); });
    EXPECT_EQ(GetMessageA(&msg, window, WM_USER, WM_USER), -1);
    destroyer.join();
}

}  // namespace
