// Surfaces of the compositor: the span-list base and the DIB-section surface.
#include <cstring>

#include "imaging/lsp.h"

namespace lsp {

int g_nLegacyGdi = -1;

namespace {

// 1 outside the NT family or when the version cannot be read, else 0.
int DetectLegacyGdi() {
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
        return extended.dwPlatformId == VER_PLATFORM_WIN32_NT ? 0 : 1;
    }
    OSVERSIONINFOA basic{};
    basic.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (GetVersionExA(&basic)) {
        return basic.dwPlatformId == VER_PLATFORM_WIN32_NT ? 0 : 1;
    }
    return 1;
}

// Spans are mostly a few dozen bytes: a handful of fixed-size moves, the last one
// overlapping its neighbour, costs less than a call per span.
inline void CopySpan(unsigned char* to, const unsigned char* from, size_t size) {
    if (size >= 16) {
        const size_t tail = size - 16;
        for (size_t at = 0; at < tail; at += 16) {
            std::memcpy(to + at, from + at, 16);
        }
        std::memcpy(to + tail, from + tail, 16);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size >= 2) {
        std::memcpy(to, from, 2);
        std::memcpy(to + size - 2, from + size - 2, 2);
    } else if (size == 1) {
        *to = *from;
    }
}

}  // namespace

CLsp::CLsp()
    : m_ppRowSpans(nullptr), m_pSpanPool(nullptr), m_nPitch(0), m_nRows(0), m_pBackLine(nullptr) {}

CLsp::~CLsp() {
    Release();
}

void CLsp::Release() {
    delete[] m_ppRowSpans;
    m_ppRowSpans = nullptr;
    if (m_pSpanPool != nullptr) {
        for (SPANBLOCK* block = m_pSpanPool->first; block != nullptr;) {
            SPANBLOCK* next = block->next;
            delete block;
            block = next;
        }
        delete m_pSpanPool;
        m_pSpanPool = nullptr;
    }
    delete[] m_pBackLine;
    m_pBackLine = nullptr;
}

void CLsp::Create(int pitch, int rows) {
    Release();
    const bool fits = pitch >= 0 && pitch <= kMaxPitch && rows >= 0 && rows <= kMaxPitch;
    m_nPitch = fits ? pitch : 0;
    m_nRows = fits ? rows : 0;
    m_ppRowSpans = new SPAN*[static_cast<size_t>(m_nRows)];
    m_pSpanPool = new SPANPOOL{0, new SPANBLOCK{}, nullptr};
    m_pSpanPool->current = m_pSpanPool->first;
    CreateBackLine();
    ClearSpans(this);
}

void CLsp::CreateBackLine() {
    m_pBackLine = new unsigned char[static_cast<size_t>(m_nPitch)];
    std::memset(m_pBackLine, 0xFF, static_cast<size_t>(m_nPitch));
}

CLspDib::CLspDib() : m_bmi{}, m_pBits(nullptr), m_wBackColor(0), m_hBitmap(nullptr) {
    if (g_nLegacyGdi == -1) {
        g_nLegacyGdi = DetectLegacyGdi();
    }
}

CLspDib::~CLspDib() {
    if (m_hBitmap != nullptr) {
        DeleteObject(m_hBitmap);
    }
}

void CLspDib::CreateBackLine() {
    m_pBackLine = new unsigned char[static_cast<size_t>(m_nPitch)];
    for (int column = 0; column + 1 < m_nPitch; column += 2) {
        std::memcpy(m_pBackLine + column, &m_wBackColor, 2);
    }
}

void CLspDib::CreateDib(int width, int height, unsigned short backColor, int bytesPerPixel) {
    if (m_hBitmap != nullptr) {
        DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
        m_pBits = nullptr;
    }
    m_wBackColor = backColor;
    const long long pitch = (static_cast<long long>(width) * bytesPerPixel + 3) / 4 * 4;
    const bool fits =
        width > 0 && height > 0 && bytesPerPixel > 0 && pitch <= kMaxPitch && height <= kMaxPitch;
    Create(fits ? static_cast<int>(pitch) : 0, fits ? height : 0);
    m_bmi = BITMAPINFO{};
    m_bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    m_bmi.bmiHeader.biWidth = width;
    m_bmi.bmiHeader.biHeight = -height;
    m_bmi.bmiHeader.biPlanes = 1;
    m_bmi.bmiHeader.biBitCount = static_cast<WORD>(bytesPerPixel * 8);
    m_bmi.bmiHeader.biCompression = BI_RGB;
    if (!fits) {
        return;
    }
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    m_hBitmap = CreateDIBSection(screen, &m_bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (m_hBitmap != nullptr) {
        m_pBits = static_cast<unsigned char*>(bits);
        GdiFlush();
    }
}

void CLspDib::Update() {
    if (m_pBits == nullptr) {
        return;
    }
    for (int row = 0; row < m_nRows; ++row) {
        unsigned char* out = m_pBits + static_cast<size_t>(row) * static_cast<size_t>(m_nPitch);
        for (const SPAN* span = m_ppRowSpans[row]; span != nullptr; span = span->next) {
            CopySpan(out + span->begin, span->data, static_cast<size_t>(span->end - span->begin));
        }
    }
}

}  // namespace lsp
