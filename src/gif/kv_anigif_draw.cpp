// The player's drawing into device contexts: the frame is cut out by a mask of
// its key pixels and laid over what the target already shows, W x H at 1:1.
#include "base/avatar_log.h"
#include "gif/kv_anigif_list.h"
#include "imaging/kv_aimage.h"
#include "imaging/memory_dc.h"
#include "imaging/pixel.h"

namespace {

constexpr COLORREF kSelectionTint = 0x00005050;
constexpr DWORD kAndNotSource = 0x00220326;

}  // namespace

void cKvAnigifList::DrawMasked(CKvAImage& frame, HDC dc, int x, int y, bool selected) {
    const int w = m_width;
    const int h = m_height;
    lsp::ScratchCanvas image(dc, CreateCompatibleBitmap(dc, w, h));
    StretchDIBits(image.dc(), 0, 0, w, h, 0, 0, w, h, frame.GetBits(0), &m_bmi, DIB_RGB_COLORS,
                  SRCCOPY);
    lsp::ScratchCanvas mask(dc, CreateBitmap(w, h, 1, 1, nullptr));
    SetBkColor(image.dc(), kvpixel::kKeyColor);
    BitBlt(mask.dc(), 0, 0, w, h, image.dc(), 0, 0, SRCCOPY);

    lsp::ScratchCanvas cutOut(dc, CreateCompatibleBitmap(dc, w, h));
    BitBlt(cutOut.dc(), 0, 0, w, h, image.dc(), 0, 0, SRCCOPY);
    if (selected) {
        lsp::ScratchCanvas tint(dc, CreateCompatibleBitmap(dc, w, h));
        const RECT whole = {0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(kSelectionTint);
        FillRect(tint.dc(), &whole, brush);
        DeleteObject(brush);
        BitBlt(tint.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCPAINT);
        BitBlt(cutOut.dc(), 0, 0, w, h, tint.dc(), 0, 0, kAndNotSource);
    } else {
        BitBlt(cutOut.dc(), 0, 0, w, h, mask.dc(), 0, 0, kAndNotSource);
    }

    lsp::ScratchCanvas background(dc, CreateCompatibleBitmap(dc, w, h));
    BitBlt(background.dc(), 0, 0, w, h, dc, x, y, SRCCOPY);
    BitBlt(background.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCAND);
    BitBlt(background.dc(), 0, 0, w, h, cutOut.dc(), 0, 0, SRCPAINT);
    BitBlt(dc, x, y, w, h, background.dc(), 0, 0, SRCCOPY);
}

int cKvAnigifList::Draw(HDC dc, int x, int y) {
    if (m_frames.empty()) {
        AvatarLog("KVAVTR:: [avtr] No Image to draw\n !!\n");
        return 0;
    }
    CKvAImage* frame = CurrentFrame();
    if (frame == nullptr) {
        return 0;
    }
    DrawMasked(*frame, dc, x, y, false);
    return 1;
}

int cKvAnigifList::Draw(int frame, HDC dc, int x, int y) {
    if (frame < 0 || frame >= getFrameCount() || m_frames[static_cast<size_t>(frame)] == nullptr) {
        return 0;
    }
    DrawMasked(*m_frames[static_cast<size_t>(frame)], dc, x, y, false);
    return 1;
}

int cKvAnigifList::DrawSelected(HDC dc, int x, int y) {
    CKvAImage* frame = m_frames.empty() ? nullptr : CurrentFrame();
    if (frame == nullptr) {
        return 0;
    }
    DrawMasked(*frame, dc, x, y, true);
    return 1;
}
