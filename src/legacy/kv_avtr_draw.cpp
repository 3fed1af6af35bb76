// Painting a composed legacy picture into a device context.
#include "legacy/kv_avtr.h"
#include "legacy/masked_paint.h"

int CKvAvtr::Draw(HDC hdc, int x, int y, int) {
    return PaintTo(hdc, x, y, false);
}

int CKvAvtr::DrawSelected(HDC hdc, int x, int y, unsigned long, int) {
    return PaintTo(hdc, x, y, true);
}

// The picture goes 1:1 into a draw-size bitmap: a wider picture loses its right
// columns (46 composed, 45 painted).
int CKvAvtr::PaintTo(HDC hdc, int x, int y, bool selected) {
    if (!HasAvatarBitmap()) {
        return 0;
    }
    ScratchCanvas picture = CompatibleCanvas(hdc, m_nDrawWidth, m_nDrawHeight);
    StretchDIBits(picture.dc(), 0, 0, m_Image.GetWidth(), m_Image.GetHeight(), 0, 0,
                  m_Image.GetWidth(), m_Image.GetHeight(), m_Image.GetBits(0), &m_bmi,
                  DIB_RGB_COLORS, SRCCOPY);
    MaskedPaint(hdc, x, y, m_nDrawWidth, m_nDrawHeight, picture.dc(), selected);
    return 1;
}
