// A part pool in a temporary folder fed directly, canvases read back, a clock
// the test drives, and an avatar with its protected members open.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "imaging/pixel.h"
#include "layered/avtr2004.h"
#include "layered/default_avatars.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace layered_test {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// A coordinate sprite is opaque and each pixel encodes its own position,
// (y << 7) | x, plus a tag in bit 14, so a copy shows where every pixel came from.
constexpr uint16_t kSecondTag = 0x4000;

// Drives GetTickCount for the life of the object.
struct FakeClock {
    explicit FakeClock(DWORD start = 1000) : now(start) {
        kvplatform::SetTickSource([this] { return now; });
    }
    FakeClock(const FakeClock&) = delete;
    ~FakeClock() { kvplatform::SetTickSource({}); }
    void Advance(DWORD ms) { now += ms; }
    DWORD now;
};

// A 16-bit pixel as a DC reads it back: each 5-bit channel widened to 8 bits.
inline COLORREF ToColorRef(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return RGB(widen((pixel >> 10) & 31), widen((pixel >> 5) & 31), widen(pixel & 31));
}

inline lsp::SPRITE* SpriteOf(int width, int height, bool keyed,
                             const std::function<uint16_t(int, int)>& pixel) {
    CKvAImage image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(image.GetBits(y));
        for (int x = 0; x < width; ++x) {
            row[x] = pixel(x, y);
        }
    }
    return keyed ? lsp::MakeKeyedSpriteFromImage(image) : lsp::MakeSpriteFromImage(image);
}

// `pixel` inside `rc` (left, top, right, bottom), transparent elsewhere.
inline lsp::SPRITE* KeyedSprite(int width, int height, uint16_t pixel, RECT rc) {
    return SpriteOf(width, height, true, [&](int x, int y) {
        const bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
        return inside ? pixel : kvpixel::kKeyPixel;
    });
}

// A memory DC with a 32-bit bitmap, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill)
        : m_width(width), m_height(height), m_fill(fill), m_hdc(CreateCompatibleDC(nullptr)) {
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_hdc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        const RECT all{0, 0, width, height};
        FillRect(m_hdc, &all, brush);
        DeleteObject(brush);
    }
    Canvas(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(m_hdc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_hdc);
    }

    HDC dc() const { return m_hdc; }
    std::vector<COLORREF> Pixels() const {
        int width = 0, height = 0;
        std::vector<COLORREF> pixels;
        EXPECT_TRUE(kvplatform::ReadDcPixels(m_hdc, width, height, pixels));
        pixels.resize(static_cast<size_t>(m_width) * m_height);
        return pixels;
    }
    COLORREF At(int x, int y) const { return Pixels()[y * m_width + x]; }

    // (x, y, cx, cy) shows the coordinate sprite from (srcX, srcY); the rest the fill.
    ::testing::AssertionResult ShowsCoordinates(int x, int y, int cx, int cy, int srcX, int srcY,
                                                uint16_t tag = 0) const {
        return Shows(RECT{x, y, x + cx, y + cy}, [&](int px, int py) {
            return ToColorRef(
                static_cast<uint16_t>(tag | ((srcY + py - y) << 7) | (srcX + px - x)));
        });
    }
    ::testing::AssertionResult Untouched() const { return ShowsBlock(0, 0, 0, 0, m_fill); }
    ::testing::AssertionResult ShowsBlock(int x, int y, int cx, int cy, COLORREF inside) const {
        return Shows(RECT{x, y, x + cx, y + cy}, [&](int, int) { return inside; });
    }

private:
    ::testing::AssertionResult Shows(RECT in,
                                     const std::function<COLORREF(int, int)>& inside) const {
        const std::vector<COLORREF> pixels = Pixels();
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const bool within = x >= in.left && x < in.right && y >= in.top && y < in.bottom;
                const COLORREF want = within ? inside(x, y) : m_fill;
                if (pixels[y * m_width + x] != want) {
                    return ::testing::AssertionFailure()
                           << "(" << x << "," << y << ") has 0x" << std::hex
                           << pixels[y * m_width + x] << " not 0x" << want;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    int m_width, m_height;
    COLORREF m_fill;
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class TestAvatar : public CAvtr2004 {
public:
    using CAvtr2004::GetDrawRect;
    int SurfaceWidth() const { return m_nLspWidth; }
    int SurfaceHeight() const { return m_nLspHeight; }
    char Sex() const { return m_cSex; }
    bool HasSurface() const { return m_pLsp != nullptr; }
    bool HasBackground() const { return m_pBkgnd != nullptr; }
    // Swaps the surface for one of the same size whose pixel store never came.
    void LoseSurfacePixels() {
        const int pitch = m_pLsp->m_nPitch;
        const int rows = m_pLsp->m_nRows;
        delete m_pLsp;
        m_pLsp = new lsp::CLspDib();
        m_pLsp->Create(pitch, rows);
    }
};

// A pool per test, its cache root and default image folder in a temporary folder.
class PoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1, CAvtrPartPool::CreateInstance());
        CAvtrPartPool::Inst()->SetPrePath((m_folder + "\\cache\\").c_str());
        CAvtrPartPool::Inst()->GetPrePath(true) = m_folder + "\\images\\";
    }
    void TearDown() override {
        DestroyDefaultAvatar();
        CAvtrPartPool::DestroyInstance();
        std::filesystem::remove_all(m_folder);
    }
    // Takes ownership of the sprites; one delay per frame.
    static void AddPart(const std::string& id, const std::vector<lsp::SPRITE*>& frames,
                        const std::vector<unsigned long>& delays) {
        auto* part = new CAvtrPart();
        part->m_vecFrames = frames;
        part->m_vecDelays = delays;
        CAvtrPartPool::Inst()->Add({id, part});
    }
    static void AddCoordinatePart(const std::string& id, int width = 100, int height = 120,
                                  uint16_t tag = 0) {
        AddPart(id,
                {SpriteOf(width, height, false,
                          [&](int x, int y) { return static_cast<uint16_t>(tag | (y << 7) | x); })},
                {0});
    }
    // The default figures: male pictures untagged, female ones tagged.
    static void AddDefaultImages() {
        for (const std::string prefix : {"AWFS_", "ACFS_"}) {
            const int side = prefix == "ACFS_" ? 50 : 100;
            AddCoordinatePart(prefix + "LCM001_HCM001_FNM001A_PNM001", side, side * 6 / 5);
            AddCoordinatePart(prefix + "LCF001_HCF001_FNF001A_PNF001", side, side * 6 / 5,
                              kSecondTag);
        }
    }
    static CAvtrId Id(const char* text, bool com) {
        CAvtrId id;
        id.Set(text, com);
        return id;
    }
    // Creates from an identifier in text, as the layered avatars are named.
    static int Create(CAvtr2004& avatar, std::string id, int bSmall = 0, int bFullHeight = 1,
                      int bBox = 1, unsigned long crBack = 0) {
        return avatar.Create(id.data(), bSmall, bFullHeight, bBox, crBack);
    }
    static int UseCount(const std::string& id) {
        CAvtrPart* part = CAvtrPartPool::Inst()->Get(id);
        return part != nullptr ? part->m_nUseCount : -1000;
    }

    const std::string m_folder = kvtest::MakeTempFolder();
};

}  // namespace layered_test
