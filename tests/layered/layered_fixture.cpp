#include "layered_fixture.h"

#include <filesystem>

#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "imaging/pixel.h"
#include "layered/default_avatars.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"  // MakeTempFolder

namespace layered_test {
namespace {

lsp::SPRITE* SpriteOf(int width, int height, bool keyed,
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

}  // namespace

COLORREF ToColorRef(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return RGB(widen((pixel >> 10) & 31), widen((pixel >> 5) & 31), widen(pixel & 31));
}

lsp::SPRITE* KeyedSprite(int width, int height, uint16_t pixel, RECT rc) {
    return SpriteOf(width, height, true, [&](int x, int y) {
        const bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
        return inside ? pixel : kvpixel::kKeyPixel;
    });
}

::testing::AssertionResult Canvas::Shows(RECT region,
                                         const std::function<COLORREF(int, int)>& inside) const {
    const std::vector<COLORREF> pixels = Pixels();
    for (int y = 0; y < Height(); ++y) {
        for (int x = 0; x < Width(); ++x) {
            const bool in =
                x >= region.left && x < region.right && y >= region.top && y < region.bottom;
            const COLORREF want = in ? inside(x, y) : Fill();
            if (pixels[y * Width() + x] != want) {
                return ::testing::AssertionFailure()
                       << "(" << x << "," << y << ") has 0x" << std::hex << pixels[y * Width() + x]
                       << " not 0x" << want;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Canvas::ShowsCoordinates(int x, int y, int cx, int cy, int srcX,
                                                    int srcY, uint16_t tag) const {
    return Shows(RECT{x, y, x + cx, y + cy}, [&](int px, int py) {
        return ToColorRef(static_cast<uint16_t>(tag | ((srcY + py - y) << 7) | (srcX + px - x)));
    });
}

::testing::AssertionResult Canvas::ShowsBlock(int x, int y, int cx, int cy, COLORREF inside) const {
    return Shows(RECT{x, y, x + cx, y + cy}, [&](int, int) { return inside; });
}

void TestAvatar::LoseSurfacePixels() {
    const int pitch = m_pLsp->m_nPitch;
    const int rows = m_pLsp->m_nRows;
    delete m_pLsp;
    m_pLsp = new lsp::CLspDib();
    m_pLsp->Create(pitch, rows);
}

void PoolTest::SetUp() {
    m_folder = kvtest::MakeTempFolder();
    ASSERT_EQ(1, CAvtrPartPool::CreateInstance());
    CAvtrPartPool::Inst()->SetPrePath((m_folder + "\\cache\\").c_str());
    CAvtrPartPool::Inst()->GetPrePath(true) = m_folder + "\\images\\";
}

void PoolTest::TearDown() {
    DestroyDefaultAvatar();
    CAvtrPartPool::DestroyInstance();
    std::filesystem::remove_all(m_folder);
}

void PoolTest::AddPart(const std::string& id, const std::vector<lsp::SPRITE*>& frames,
                       const std::vector<unsigned long>& delays) {
    auto* part = new CAvtrPart();
    part->m_vecFrames = frames;
    part->m_vecDelays = delays;
    CAvtrPartPool::Inst()->Add({id, part});
}

void PoolTest::AddCoordinatePart(const std::string& id, int width, int height, uint16_t tag) {
    AddPart(id,
            {SpriteOf(width, height, false,
                      [&](int x, int y) { return static_cast<uint16_t>(tag | (y << 7) | x); })},
            {0});
}

void PoolTest::AddDefaultImages() {
    for (const std::string prefix : {"AWFS_", "ACFS_"}) {
        const int side = prefix == "ACFS_" ? 50 : 100;
        AddCoordinatePart(prefix + "LCM001_HCM001_FNM001A_PNM001", side, side * 6 / 5);
        AddCoordinatePart(prefix + "LCF001_HCF001_FNF001A_PNF001", side, side * 6 / 5, kSecondTag);
    }
}

int PoolTest::UseCount(const std::string& id) {
    CAvtrPart* part = CAvtrPartPool::Inst()->Get(id);
    return part != nullptr ? part->m_nUseCount : -1000;
}

}  // namespace layered_test
