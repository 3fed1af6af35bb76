#include "legacy/masked_paint.h"

#include "imaging/pixel.h"

namespace {

// Destination AND NOT source: blackens where the source is white.
constexpr DWORD kMaskOutRop = 0x00220326;
constexpr COLORREF kSelectionTint = 0x00005050;

}  // namespace

ScratchCanvas CompatibleCanvas(HDC like, int w, int h) {
    return ScratchCanvas(like, CreateCompatibleBitmap(like, w, h));
}

void MaskedPaint(HDC target, int x, int y, int w, int h, HDC picture, bool selected) {
    // White where the picture is transparent, black elsewhere.
    ScratchCanvas mask(target, CreateBitmap(w, h, 1, 1, nullptr));
    SetBkColor(picture, kvpixel::kKeyColor);
    BitBlt(mask.dc(), 0, 0, w, h, picture, 0, 0, SRCCOPY);

    ScratchCanvas sprite = CompatibleCanvas(selected ? picture : target, w, h);
    BitBlt(sprite.dc(), 0, 0, w, h, picture, 0, 0, SRCCOPY);
    if (selected) {
        // The tint, white where transparent, masks the sprite in one operation.
        ScratchCanvas selection = CompatibleCanvas(target, w, h);
        HBRUSH tint = CreateSolidBrush(kSelectionTint);
        const RECT whole = {0, 0, w, h};
        FillRect(selection.dc(), &whole, tint);
        DeleteObject(tint);
        BitBlt(selection.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCPAINT);
        BitBlt(sprite.dc(), 0, 0, w, h, selection.dc(), 0, 0, kMaskOutRop);
    } else {
        BitBlt(sprite.dc(), 0, 0, w, h, mask.dc(), 0, 0, kMaskOutRop);
    }

    ScratchCanvas background = CompatibleCanvas(target, w, h);
    BitBlt(background.dc(), 0, 0, w, h, target, x, y, SRCCOPY);
    BitBlt(background.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCAND);
    BitBlt(background.dc(), 0, 0, w, h, sprite.dc(), 0, 0, SRCPAINT);
    BitBlt(target, x, y, w, h, background.dc(), 0, 0, SRCCOPY);
}
