// DC defaults, compatible formats, ownership of selected objects, bad handles, threads.
#include <cstdint>
#include <thread>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

void Fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// A new DC holds a 1 x 1 monochrome bitmap; compatible bitmaps take the DC's format.
TEST(DeviceContext, DefaultsCompatibleFormatAndFillClipping) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), 0x000000u);
    EXPECT_EQ(SetBkColor(dc, RGB(4, 5, 6)), 0xFFFFFFu);
    EXPECT_EQ(SetMapMode(dc, 8), MM_TEXT);
    EXPECT_EQ(SetMapMode(dc, 99), 0);
    EXPECT_EQ(gditest::Read(dc).colors.size(), 1u);
    EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 2), nullptr);
    MemoryDc mono(CreateCompatibleBitmap(dc, 3, 2)), sixteen(gditest::Filled(1, 1, 0, 16));
    MemoryDc like16(CreateCompatibleBitmap(sixteen, 1, 1)), colour(gditest::Filled(1, 1, 0x0787FF));
    ASSERT_TRUE(BitBlt(like16, 0, 0, 1, 1, colour, 0, 0, SRCCOPY));  // narrowed to the top 5 bits
    EXPECT_EQ(gditest::Read(like16).At(0, 0), gditest::Color555((31 << 10) | (16 << 5)));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    Fill(mono, RECT{INT32_MIN, INT32_MIN, INT32_MAX, 1}, RGB(0xFF, 0x87, 0x07));  // nearer white
    Fill(mono, RECT{2, 2, 0, 0}, 0xFFFFFF);
    EXPECT_EQ(gditest::Read(mono).colors,
              (std::vector<COLORREF>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0, 0}));
}

TEST(Ownership, SelectedObjectsCannotBeDeletedOrSelectedTwice) {
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    const HGDIOBJ initial = SelectObject(a, bitmap);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);  // one DC at a time
    EXPECT_FALSE(DeleteObject(bitmap));           // selected: refused, still usable
    EXPECT_EQ(gditest::Read(a).width, 4);
    EXPECT_EQ(SelectObject(a, initial), bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), initial);  // the initial bitmap is shared
    EXPECT_TRUE(DeleteDC(b));                     // leaves the bitmap, free once more
    EXPECT_EQ(SelectObject(a, bitmap), initial);
    SelectObject(a, initial);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(SelectObject(a, bitmap), nullptr);
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
        EXPECT_FALSE(DeleteDC(garbage) || DeleteObject(garbage));
        EXPECT_EQ(SelectObject(garbage, garbage), nullptr);
        EXPECT_EQ(SetBkColor(garbage, 0), CLR_INVALID);
        EXPECT_EQ(GetDeviceCaps(garbage, BITSPIXEL), 0);
        EXPECT_FALSE(BitBlt(garbage, 0, 0, 1, 1, garbage, 0, 0, SRCCOPY));
        EXPECT_EQ(FillRect(garbage, &r, reinterpret_cast<HBRUSH>(garbage)), 0);
        EXPECT_EQ(CreateCompatibleDC(garbage), nullptr);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_FALSE(DeleteObject(dc));  // a DC is not a GDI object
    EXPECT_EQ(SelectObject(dc, dc), nullptr);
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(bitmap)), 0);
    EXPECT_EQ(CreateBitmap(1, 1, 1, 8, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1, 1, 2, 1, nullptr), nullptr);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Handles of deleted objects stay unknown when a new object takes their place.
TEST(Handles, StaleHandlesStayUnknownAfterReuse) {
    const HDC oldDc = CreateCompatibleDC(nullptr);
    const HBITMAP oldBitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    ASSERT_TRUE(DeleteDC(oldDc) && DeleteObject(oldBitmap));
    MemoryDc fresh(CreateBitmap(2, 2, 1, 32, nullptr));
    const HBITMAP newBitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_NE(static_cast<HDC>(fresh), oldDc);
    EXPECT_NE(newBitmap, oldBitmap);
    EXPECT_FALSE(DeleteDC(oldDc) || DeleteObject(oldBitmap));
    EXPECT_EQ(SetBkColor(oldDc, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(fresh, oldBitmap), nullptr);
    EXPECT_EQ(GetDeviceCaps(fresh, BITSPIXEL), 32);
    EXPECT_TRUE(DeleteObject(newBitmap));
}

// 3 pixels of 16 bits: 6 bytes padded to 8; bottom-up puts the top row last.
TEST(DibSection, RowsAreDwordAlignedAndBadHeadersRefused) {
    BITMAPINFO info = gditest::DibInfo(3, 2, 16);
    void* bits = nullptr;
    MemoryDc dc(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    static_cast<uint16_t*>(bits)[4 + 2] = 0x7C00;
    EXPECT_EQ(gditest::Read(dc).At(2, 0), 0x000000FFu);
    for (const BITMAPINFO& bad :
         {gditest::DibInfo(3, 2, 24), gditest::DibInfo(1 << 20, 1 << 20, 32)}) {
        EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
}

// Threads share only the handle table (run under the thread sanitizer).
TEST(Handles, ConcurrentUseOfTheTable) {
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i) {
                MemoryDc source(gditest::Dib(8, 8, 16, [t](int x, int) { return x + t; }));
                MemoryDc dest(gditest::Filled(8, 8, 0));
                ASSERT_TRUE(StretchBlt(dest, 0, 0, 8, 8, source, 0, 0, 4, 4, SRCCOPY));
                ASSERT_EQ(gditest::Read(dest).At(7, 7), gditest::Color555(3u + t));
            }
        });
    }
}

TEST(WindowDc, IsACanvasOfTheWindowSize) {
    HWND window =
        CreateWindowExA(0, "AnyClass", "", 0, 0, 0, 5, 3, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);  // window DCs draw on their canvas only
    DeleteObject(bitmap);
    Fill(dc, RECT{1, 1, 3, 2}, RGB(7, 8, 9));
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    HDC again = GetDC(window);
    const gditest::Pixels p = gditest::Read(again);
    EXPECT_EQ(std::pair(p.width, p.height), std::pair(5, 3));
    EXPECT_EQ(p.At(2, 1), RGB(7, 8, 9));
    EXPECT_EQ(p.At(3, 1), 0u);
    ReleaseDC(window, again);
    EXPECT_EQ(ReleaseDC(window, again), 0);
    DestroyWindow(window);
    EXPECT_EQ(GetDC(window), nullptr);
}

}  // namespace
