// Composition of the layered avatar and its copy into the caller's device context.
#include "imaging/lsp.h"
#include "imaging/lsp_sprite.h"
#include "layered/avtr2004.h"
#include "layered/default_avatars.h"
#include "layered/part_lookup.h"
#include "parts/avtr_part.h"

namespace {

constexpr unsigned kBoxWidth = 46;
constexpr unsigned kSmallBoxWidth = 22;

void SetRect(RECT& rc, LONG left, LONG top, LONG width, LONG height) {
    rc.left = left;
    rc.top = top;
    rc.right = width;
    rc.bottom = height;
}

}  // namespace

int CAvtr2004::Draw(HDC hdc, int x, int y, int nSex, bool bTrans, unsigned long last) {
    if (m_AvtrId.IsComAvtr()) {
        // After Destroy a com avatar has no image id left to look for.
        if (m_AvtrId.IdVec().empty()) {
            return 1;
        }
        if (layered::FindPart(m_AvtrId.IdVec().front()) == nullptr) {
            if (m_cSex == 'A') {
                m_cSex = static_cast<char>(nSex & 0xFF);
            }
            DrawDefaultAvatar(hdc, x, y, m_bSmall, m_bFullHeight, m_cSex, bTrans, last);
            return 1;
        }
    }
    return DrawDefaultAvtr(hdc, x, y, bTrans, last);
}

void CAvtr2004::DrawSelected(HDC hdc, int x, int y, unsigned long, int nSex, bool bTrans,
                             unsigned long last) {
    Draw(hdc, x, y, nSex, bTrans, last);
}

int CAvtr2004::DrawDefaultAvtr(HDC hdc, int x, int y, bool bTrans, unsigned long) {
    RECT rcDest;
    RECT rcSrc;
    GetDrawRect(rcDest, rcSrc);
    // A surface whose DIB section could not be made has nothing to show.
    if (m_pLsp == nullptr || GetLspDIBData() == nullptr) {
        return 1;
    }
    lsp::CLspDib* surface = m_pLsp;
    const layered::PartsHeld held;
    lsp::ClearSpans(surface);
    if (m_pBkgnd != nullptr) {
        lsp::PutSprite(surface, 0, 0, m_pBkgnd);
    }
    CAvtrId::IdList& ids = m_AvtrId.IdVec();
    for (size_t i = 0; i < ids.size(); ++i) {
        if (CAvtrPart* part = layered::FindPart(ids[i])) {
            DrawOneImage(rcDest, rcSrc, part, static_cast<int>(i));
        }
    }
    if (bTrans) {
        lsp::TransBltLsp(hdc, x, y, rcSrc.left, rcSrc.top, rcDest.right, rcDest.bottom, surface);
    } else {
        lsp::BltLsp(hdc, x, y, rcSrc.left, rcSrc.top, rcDest.right, rcDest.bottom, surface);
    }
    return 1;
}

void CAvtr2004::DrawOneImage(RECT& rcDest, RECT&, CAvtrPart* part, int index) {
    if (part == nullptr) {
        return;
    }
    if (!m_AvtrId.IsComAvtr() && !m_bSmall) {
        m_TickHandler.FrameMove(index, part);
    }
    const unsigned long frame = m_TickHandler.getNowFrameNo(index);
    if (frame < part->m_vecFrames.size()) {
        lsp::PutSprite(m_pLsp, rcDest.left, rcDest.top, part->m_vecFrames[frame]);
    }
}

void CAvtr2004::GetDrawRect(RECT& rcDest, RECT& rcSrc) {
    const unsigned surfaceWidth = static_cast<unsigned>(m_nLspWidth);
    if (m_bBox) {
        if (m_AvtrId.IsComAvtr() && m_bSmall) {
            const LONG height = m_bFullHeight ? 52 : 32;
            SetRect(rcSrc, (surfaceWidth - kSmallBoxWidth) / 2, 0, kSmallBoxWidth, height);
            SetRect(rcDest, 0, 0, kSmallBoxWidth, height);
        } else {
            SetRect(rcSrc, (surfaceWidth - kBoxWidth) / 2, 5, kBoxWidth, m_bFullHeight ? 102 : 64);
            const LONG destHeight = m_bFullHeight ? (m_bSmall ? 52 : 102) : (m_bSmall ? 32 : 64);
            SetRect(rcDest, 0, 0, m_bSmall ? kSmallBoxWidth : kBoxWidth, destHeight);
        }
    } else if (!HasDrawingRect()) {
        const LONG width = m_bSmall ? 50 : 100;
        const LONG height = m_bFullHeight ? 120 : 60;
        SetRect(rcSrc, 0, 0, width, height);
        SetRect(rcDest, 0, 0, width, m_bSmall ? height >> 1 : height);
    } else {
        const LONG width = m_rcDrawing.right - m_rcDrawing.left;
        const LONG height = m_rcDrawing.bottom - m_rcDrawing.top;
        SetRect(rcSrc, m_rcDrawing.left, m_rcDrawing.top, width, height);
        SetRect(rcDest, 0, 0, m_bSmall ? width >> 1 : width, m_bSmall ? height >> 1 : height);
    }
}
