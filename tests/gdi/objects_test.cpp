// DC defaults, compatible formats, the ownership rules of selected objects, and
// handles that are stale, garbage or of the wrong kind.
#include <cstdint>
#include <thread>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

// A new DC: black text, white background, MM_TEXT, a 1 x 1 monochrome bitmap, so a
// bitmap compatible with it is monochrome (grey reads back black).
TEST(DeviceContext, NewMemoryDcDefaultsAndCompatibleFormats) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), 0x000000u);
    EXPECT_EQ(SetBkColor(dc, RGB(4, 5, 6)), 0xFFFFFFu);
    EXPECT_EQ(SetMapMode(dc, 8), MM_TEXT);
    EXPECT_EQ(GetMapMode(dc), 8);
    EXPECT_EQ(SetMapMode(dc, 99), 0);
    const gditest::Pixels one = gditest::Read(dc);
    EXPECT_EQ(one.width * one.height, 1);
    EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 2), nullptr);

    const RECT pixel{0, 0, 1, 1};
    HBRUSH brush = CreateSolidBrush(RGB(0xFF, 0x87, 0x07));
    MemoryDc mono(CreateCompatibleBitmap(dc, 2, 2));
    FillRect(mono, &pixel, brush);
    EXPECT_EQ(gditest::Read(mono).At(0, 0), 0x00FFFFFFu);  // nearer white
    MemoryDc sixteen(gditest::Dib(2, 2, 16, [](int, int) { return 0; }));
    MemoryDc like16(CreateCompatibleBitmap(sixteen, 1, 1));
    FillRect(like16, &pixel, brush);
    EXPECT_EQ(gditest::Read(like16).At(0, 0), gditest::Color555((31 << 10) | (16 << 5)));
    DeleteObject(brush);

    EXPECT_TRUE(DeleteDC(dc));
    int w = 0, h = 0;
    std::vector<COLORREF> pixels;
    EXPECT_FALSE(kvplatform::ReadDcPixels(dc, w, h, pixels));
}

TEST(Ownership, SelectedObjectsCannotBeDeletedOrSelectedTwice) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    const HGDIOBJ initial = SelectObject(a, bitmap);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);  // one DC at a time
    EXPECT_FALSE(DeleteObject(bitmap));           // selected: refused, still usable
    EXPECT_EQ(gditest::Read(a).width, 4);

    EXPECT_EQ(SelectObject(a, initial), bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), initial);  // free again; the initial bitmap is shared
    EXPECT_TRUE(DeleteDC(b));                     // does not delete the bitmap ...
    EXPECT_EQ(SelectObject(a, bitmap), initial);  // ... which is free once more
    SelectObject(a, initial);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));           // stale
    EXPECT_EQ(SelectObject(a, bitmap), nullptr);  // stale

    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const HGDIOBJ stock = SelectObject(a, brush);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(SelectObject(a, stock), brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_FALSE(DeleteDC(a));
}

TEST(Handles, GarbageAndWrongKindsFailCleanly) {
    const RECT r{0, 0, 1, 1};
    for (const uintptr_t value : {uintptr_t{1}, uintptr_t{0xDEADBEEF}}) {
        auto* garbage = reinterpret_cast<HDC>(value);  // never dereferenced (ASan)
        EXPECT_FALSE(DeleteDC(garbage));
        EXPECT_FALSE(DeleteObject(garbage));
        EXPECT_EQ(SelectObject(garbage, garbage), nullptr);
        EXPECT_EQ(SetBkColor(garbage, 0), CLR_INVALID);
        EXPECT_EQ(GetDeviceCaps(garbage, BITSPIXEL), 0);
        EXPECT_FALSE(BitBlt(garbage, 0, 0, 1, 1, garbage, 0, 0, SRCCOPY));
        EXPECT_EQ(FillRect(garbage, &r, reinterpret_cast<HBRUSH>(garbage)), 0);
        EXPECT_EQ(CreateCompatibleDC(garbage), nullptr);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_FALSE(DeleteObject(dc));  // a DC is not a GDI object to delete
    EXPECT_EQ(SelectObject(dc, dc), nullptr);
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(bitmap)), 0);
    EXPECT_EQ(CreateBitmap(1, 1, 1, 8, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1, 1, 2, 1, nullptr), nullptr);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(DibSection, RowsAreDwordAlignedAndBadHeadersRefused) {
    // 3 pixels of 16 bits: 6 bytes, padded to 8; bottom-up puts the top row last.
    const BITMAPINFO info = gditest::DibInfo(3, 2, 16);
    void* bits = nullptr;
    MemoryDc dc(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    static_cast<uint16_t*>(bits)[4 + 2] = 0x7C00;  // top-right
    EXPECT_EQ(gditest::Read(dc).At(2, 0), 0x000000FFu);

    BITMAPINFO bad = gditest::DibInfo(3, 2, 24);
    void* none = &bad;
    EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &none, nullptr, 0), nullptr);
    EXPECT_EQ(none, nullptr);
    bad = gditest::DibInfo(1 << 20, 1 << 20, 32);  // too large to allocate
    EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &none, nullptr, 0), nullptr);
}

TEST(FillRect, ClipsAndIgnoresEmptyRectangles) {
    MemoryDc dc(gditest::Filled(3, 2, 0));
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    const RECT huge{INT32_MIN, INT32_MIN, INT32_MAX, 1};
    const RECT inverted{2, 2, 0, 0};
    EXPECT_NE(FillRect(dc, &huge, white), 0);
    EXPECT_NE(FillRect(dc, &inverted, white), 0);
    DeleteObject(white);
    EXPECT_EQ(gditest::Read(dc).colors,
              (std::vector<COLORREF>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0, 0}));
}

// Threads creating, selecting, drawing and deleting at once share only the
// handle table (run under the thread sanitizer).
TEST(Handles, ConcurrentUseOfTheTable) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i) {
                MemoryDc source(gditest::Dib(8, 8, 16, [t](int x, int) { return x + t; }));
                MemoryDc dest(gditest::Filled(8, 8, 0));
                ASSERT_TRUE(StretchBlt(dest, 0, 0, 8, 8, source, 0, 0, 4, 4, SRCCOPY));
                ASSERT_EQ(gditest::Read(dest).At(7, 7),
                          gditest::Color555(static_cast<uint32_t>(3 + t)));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

TEST(WindowDc, IsACanvasOfTheWindowSize) {
    HWND window =
        CreateWindowExA(0, "AnyClass", "", 0, 0, 0, 5, 3, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);  // window DCs draw on their canvas only
    DeleteObject(bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(7, 8, 9));
    const RECT r{1, 1, 3, 2};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EXPECT_EQ(ReleaseDC(window, dc), 1);

    HDC again = GetDC(window);  // the same canvas through a new DC
    const gditest::Pixels p = gditest::Read(again);
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.height, 3);
    EXPECT_EQ(p.At(2, 1), RGB(7, 8, 9));
    EXPECT_EQ(p.At(3, 1), 0u);
    ReleaseDC(window, again);
    EXPECT_EQ(ReleaseDC(window, again), 0);
    DestroyWindow(window);
    EXPECT_EQ(GetDC(window), nullptr);
}

}  // namespace
