#include "layered_fixture.h"

#include <filesystem>
#include <sstream>

#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "imaging/pixel.h"
#include "layered/default_avatars.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace layered_test {
namespace {

uint16_t* ImageRow(CKvAImage& image, int row) {
    return reinterpret_cast<uint16_t*>(image.GetBits(row));
}

}  // namespace

COLORREF ToColorRef(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return RGB(widen((pixel >> 10) & 31), widen((pixel >> 5) & 31), widen(pixel & 31));
}

lsp::SPRITE* CoordinateSprite(int width, int height, uint16_t tag) {
    CKvAImage image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ImageRow(image, y)[x] = static_cast<uint16_t>(tag | (y << 7) | x);
        }
    }
    return lsp::MakeSpriteFromImage(image);
}

lsp::SPRITE* KeyedSprite(int width, int height, uint16_t pixel, RECT rc) {
    CKvAImage image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
            ImageRow(image, y)[x] = inside ? pixel : kvpixel::kKeyPixel;
        }
    }
    return lsp::MakeKeyedSpriteFromImage(image);
}

Canvas::Canvas(int width, int height, COLORREF fill)
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

Canvas::~Canvas() {
    SelectObject(m_hdc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_hdc);
}

std::vector<COLORREF> Canvas::Pixels() const {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    EXPECT_TRUE(kvplatform::ReadDcPixels(m_hdc, width, height, pixels));
    EXPECT_EQ(m_width, width);
    EXPECT_EQ(m_height, height);
    pixels.resize(static_cast<size_t>(m_width) * m_height);
    return pixels;
}

COLORREF Canvas::At(int x, int y) const {
    return Pixels()[y * m_width + x];
}

namespace {

// Checks every pixel of a canvas: `inside` decides the wanted colour of pixels in
// the region, the fill stands everywhere else. Reports the first few mismatches.
::testing::AssertionResult CheckPixels(const std::vector<COLORREF>& pixels, int width, int height,
                                       COLORREF fill, RECT region,
                                       const std::function<COLORREF(int, int)>& inside) {
    std::ostringstream faults;
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool in =
                x >= region.left && x < region.right && y >= region.top && y < region.bottom;
            const COLORREF want = in ? inside(x, y) : fill;
            const COLORREF got = pixels[y * width + x];
            if (got != want && count++ < 5) {
                faults << " (" << x << "," << y << ") has 0x" << std::hex << got << " not 0x"
                       << want << std::dec << ";";
            }
        }
    }
    if (count == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << count << " pixels differ:" << faults.str();
}

}  // namespace

::testing::AssertionResult Canvas::ShowsCoordinates(int x, int y, int cx, int cy, int srcX,
                                                    int srcY, uint16_t tag) const {
    return CheckPixels(Pixels(), m_width, m_height, m_fill, RECT{x, y, x + cx, y + cy},
                       [&](int px, int py) {
                           const int sx = srcX + px - x;
                           const int sy = srcY + py - y;
                           return ToColorRef(static_cast<uint16_t>(tag | (sy << 7) | sx));
                       });
}

::testing::AssertionResult Canvas::ShowsBlock(int x, int y, int cx, int cy, COLORREF inside) const {
    return CheckPixels(Pixels(), m_width, m_height, m_fill, RECT{x, y, x + cx, y + cy},
                       [&](int, int) { return inside; });
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
    AddPart(id, {CoordinateSprite(width, height, tag)}, {0});
}

int PoolTest::UseCount(const std::string& id) {
    CAvtrPart* part = CAvtrPartPool::Inst()->Get(id);
    return part != nullptr ? part->m_nUseCount : -1000;
}

bool PoolTest::InPool(const std::string& id) {
    return CAvtrPartPool::Inst()->Get(id) != nullptr;
}

}  // namespace layered_test
