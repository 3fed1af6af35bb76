// The player's drawing into device contexts: the frame is cut out by a mask of
// its key pixels and laid over what the target already shows, W x H at 1:1.
#include "base/avatar_log.h"
#include "gif/kv_anigif_list.h"
#include "imaging/kv_aimage.h"
#include "imaging/masked_paint.h"

void cKvAnigifList::DrawMasked(CKvAImage& frame, HDC dc, int x, int y, bool selected) {
    const int w = m_width;
    const int h = m_height;
    lsp::ScratchCanvas image = lsp::CompatibleCanvas(dc, w, h);
    StretchDIBits(image.dc(), 0, 0, w, h, 0, 0, w, h, frame.GetBits(0), &m_bmi, DIB_RGB_COLORS,
                  SRCCOPY);
    lsp::MaskedPaint(dc, x, y, w, h, image.dc(), selected);
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
