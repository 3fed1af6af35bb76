#include "legacy/kv_avtr.h"

#include <cstring>

#include "imaging/pixel.h"
#include "legacy/legacy_tables.h"

namespace {

constexpr int kCompositionWidth = 46;
constexpr int kFullWidth = 45;
constexpr int kFullHeight = 64;
constexpr const char* kDefaultCode = "NNN0121001001N010000000000";

int ScreenDepth() {
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return depth;
}

// Makes dst a pixel-for-pixel copy of src.
void CopyImage(CKvAImage& dst, const CKvAImage& src) {
    dst.Destroy();
    if (src.GetWidth() == 0 || !dst.Create(src.GetWidth(), src.GetHeight())) {
        return;
    }
    dst.SetTransparentColor(src.GetTransparentColor());
    dst.SetTileNum(src.GetTileNum());
    const size_t rowBytes = static_cast<size_t>(src.GetWidth()) * sizeof(uint16_t);
    for (int row = 0; row < src.GetHeight(); ++row) {
        std::memcpy(dst.GetBits(row), src.GetBits(row), rowBytes);
    }
}

}  // namespace

CKvAvtr::CKvAvtr()
    : m_bmi{},
      m_nCompositionWidth(kCompositionWidth),
      m_bHalf(0),
      m_bTall(0),
      m_nFullWidth(kFullWidth),
      m_nFullHeight(kFullHeight),
      m_nDrawWidth(kFullWidth),
      m_nDrawHeight(kFullHeight),
      m_szCode{},
      m_nScreenDepth(ScreenDepth()) {
    m_bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    m_bmi.bmiHeader.biPlanes = 1;
    m_bmi.bmiHeader.biBitCount = 16;
    m_bmi.bmiHeader.biCompression = BI_RGB;
    std::memcpy(m_szCode, kDefaultCode, kCodeLength);
}

CKvAvtr::CKvAvtr(const CKvAvtr& other) : CKvAvtr() {
    *this = other;
}

CKvAvtr& CKvAvtr::operator=(const CKvAvtr& other) {
    if (this == &other) {
        return *this;
    }
    CopyImage(m_Image, other.m_Image);
    m_bmi = other.m_bmi;
    m_nCompositionWidth = other.m_nCompositionWidth;
    m_bHalf = other.m_bHalf;
    m_bTall = other.m_bTall;
    m_nFullWidth = other.m_nFullWidth;
    m_nFullHeight = other.m_nFullHeight;
    m_nDrawWidth = other.m_nDrawWidth;
    m_nDrawHeight = other.m_nDrawHeight;
    std::memcpy(m_szCode, other.m_szCode, sizeof m_szCode);
    m_nScreenDepth = other.m_nScreenDepth;
    return *this;
}

CKvAvtr::~CKvAvtr() = default;

int CKvAvtr::Create(const char* code, int half, int, int, int tall) {
    if (!g_bMeInitTried && !g_bExternalAvatarThreadOn) {
        MeInitAvatar();
    }
    if (!g_bMeInitDone || code == nullptr) {
        return 0;
    }
    m_bTall = tall;
    m_bHalf = half;
    std::memset(m_szCode, 0, sizeof m_szCode);
    std::strncpy(m_szCode, code, kCodeLength);
    return CreateAvatarSurface(m_szCode);
}

int CKvAvtr::CheckScreenMode() {
    const int depth = ScreenDepth();
    if (depth == m_nScreenDepth) {
        return 0;
    }
    const int previous = m_nScreenDepth;
    m_nScreenDepth = depth;
    return previous <= 8 ? 1 : 0;
}

unsigned char* CKvAvtr::GetAvatarBits() {
    return m_Image.GetWidth() > 0 ? m_Image.GetBits(0) : nullptr;
}

int CKvAvtr::HasAvatarBitmap() {
    return m_bmi.bmiHeader.biWidth != 0 && m_bmi.bmiHeader.biHeight != 0 ? 1 : 0;
}

int CKvAvtr::FinishImage(CKvAImage& work) {
    const bool made = m_bHalf
                          ? m_Image.Create(m_nDrawWidth, m_nDrawHeight, kvpixel::kKeyColor)
                          : m_Image.Create(m_nCompositionWidth, m_nFullHeight, kvpixel::kKeyColor);
    if (!made) {
        // No header may describe a store that is gone.
        m_bmi.bmiHeader.biWidth = 0;
        m_bmi.bmiHeader.biHeight = 0;
        return 0;
    }
    m_Image.FillRect(kvpixel::kKeyColor, 255);
    if (m_bHalf) {
        MakeHalfImage(0, 0, m_Image, 0, 0, work);
    } else {
        m_Image.Draw(0, 0, work, 255);
    }
    m_bmi.bmiHeader.biWidth = m_Image.GetWidth();
    m_bmi.bmiHeader.biHeight = -m_Image.GetHeight();
    return 1;
}
