// Surfaces of the compositor: the span-list base and the DIB-section surface.
#include <algorithm>
#include <cstring>
#include <new>

#include "imaging/lsp.h"
#include "imaging/lsp_span_copy.h"
#include "platform/row_bytes.h"

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

void FreeSpanPool(SPANPOOL* pool) {
    if (pool == nullptr) {
        return;
    }
    for (SPANBLOCK* block = pool->first; block != nullptr;) {
        SPANBLOCK* next = block->next;
        delete block;
        block = next;
    }
    delete pool;
}

// A pool of `blocks` linked blocks; null when memory runs out.
SPANPOOL* NewSpanPool(int blocks) {
    auto* pool = new (std::nothrow) SPANPOOL{0, nullptr, nullptr};
    if (pool == nullptr) {
        return nullptr;
    }
    SPANBLOCK** link = &pool->first;
    for (int n = 0; n < blocks; ++n) {
        *link = new (std::nothrow) SPANBLOCK{};
        if (*link == nullptr) {
            FreeSpanPool(pool);
            return nullptr;
        }
        link = &(*link)->next;
    }
    pool->current = pool->first;
    return pool;
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
    FreeSpanPool(m_pSpanPool);
    m_pSpanPool = nullptr;
    delete[] m_pBackLine;
    m_pBackLine = nullptr;
}

void CLsp::Create(int pitch, int rows) {
    Release();
    const bool fits = pitch >= 0 && pitch <= kMaxPitch && rows >= 0 && rows <= kMaxPitch;
    m_nPitch = fits ? pitch : 0;
    m_nRows = fits ? rows : 0;
    m_ppRowSpans = new (std::nothrow) SPAN*[static_cast<size_t>(m_nRows)];
    // ClearSpans takes a node per row; its blocks come now, so that it never allocates.
    m_pSpanPool = NewSpanPool(std::max(1, (m_nRows + kSpansPerBlock - 1) / kSpansPerBlock));
    if (m_ppRowSpans != nullptr && m_pSpanPool != nullptr) {
        CreateBackLine();
    }
    if (m_pBackLine == nullptr) {
        // Out of memory: an empty surface, on which every operation does nothing.
        Release();
        m_nPitch = 0;
        m_nRows = 0;
        return;
    }
    ClearSpans(this);
}

void CLsp::CreateBackLine() {
    m_pBackLine = new (std::nothrow) unsigned char[static_cast<size_t>(m_nPitch)];
    if (m_pBackLine == nullptr) {
        return;
    }
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
    m_pBackLine = new (std::nothrow) unsigned char[static_cast<size_t>(m_nPitch)];
    if (m_pBackLine == nullptr) {
        return;
    }
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
    const int64_t pitch = kvrow::RowBytes(width, int64_t{8} * bytesPerPixel);
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
    // A surface that could not get its span lists gets no pixel store either.
    if (!fits || m_ppRowSpans == nullptr) {
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
    CopyRowSpans(m_pBits, m_ppRowSpans, m_nRows, static_cast<size_t>(m_nPitch));
}

}  // namespace lsp
