// Shared ground for the layered avatar tests: a part pool whose folders lie in a
// temporary folder, parts put into it directly, canvases to draw into and read
// back, and an avatar that opens its protected members to the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/lsp_sprite.h"
#include "layered/avtr2004.h"
#include "platform/win32.h"
#include "support/dc_canvas.h"

namespace layered_test {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 16-bit pixel as a DC reads it back: each 5-bit channel widened to 8 bits.
COLORREF ToColorRef(uint16_t pixel);

// A coordinate sprite is opaque and each pixel encodes its own position,
// (y << 7) | x, plus a tag in bit 14, so a copy shows where every pixel came from.
constexpr uint16_t kSecondTag = 0x4000;
// `pixel` inside `rc` (left, top, right, bottom), transparent elsewhere.
lsp::SPRITE* KeyedSprite(int width, int height, uint16_t pixel, RECT rc);

// A canvas that checks regions of what was drawn.
class Canvas : public kvtest::DcCanvas {
public:
    using DcCanvas::DcCanvas;

    // Every pixel of (x, y, cx, cy) shows the coordinate sprite's pixel
    // (srcX + dx, srcY + dy), and every pixel outside it still shows the fill.
    ::testing::AssertionResult ShowsCoordinates(int x, int y, int cx, int cy, int srcX, int srcY,
                                                uint16_t tag = 0) const;
    // Every pixel of (x, y, cx, cy) is `inside`, every other the fill.
    ::testing::AssertionResult ShowsBlock(int x, int y, int cx, int cy, COLORREF inside) const;

private:
    ::testing::AssertionResult Shows(RECT region,
                                     const std::function<COLORREF(int, int)>& inside) const;
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
    void LoseSurfacePixels();
};

// A part pool for each test, with its cache root and default image folder in a
// fresh temporary folder; the default avatars and the pool go at the end.
class PoolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes ownership of the sprites; one delay per frame.
    void AddPart(const std::string& id, const std::vector<lsp::SPRITE*>& frames,
                 const std::vector<unsigned long>& delays);
    void AddCoordinatePart(const std::string& id, int width = 100, int height = 120,
                           uint16_t tag = 0);
    // The default figures: male pictures untagged, female ones tagged.
    void AddDefaultImages();
    int UseCount(const std::string& id);

    std::string m_folder;
};

}  // namespace layered_test
