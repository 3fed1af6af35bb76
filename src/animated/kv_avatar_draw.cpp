// The facade's drawing members: guarded against re-entry, fixed results.
#include "animated/kv_ani_avatar.h"
#include "animated/kv_avatar.h"
#include "legacy/kv_avtr.h"

template <typename Forward>
int CKvAvatar::Guarded(int result, Forward forward) {
    if (m_bInDraw) {
        return 1;
    }
    m_bInDraw = 1;
    forward();
    m_bInDraw = 0;
    return result;
}

int CKvAvatar::Draw(HDC hdc, int x, int y, int n) {
    return Guarded(0, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->Draw(hdc, x, y, n);
        } else if (m_pAvtr != nullptr) {
            m_pAvtr->Draw(hdc, x, y, n);
        }
    });
}

int CKvAvatar::DirectDraw(HDC hdc, int x, int y, int) {
    return Guarded(1, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->DirectDraw(hdc, x, y);
        } else if (m_pAvtr != nullptr) {
            m_pAvtr->Draw(hdc, x, y, 0);
        }
    });
}

// The colour reaches neither avatar: neither draws with it.
int CKvAvatar::DrawSelected(HDC hdc, int x, int y, unsigned long, int n) {
    return Guarded(0, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->DrawSelected(hdc, x, y, static_cast<unsigned long>(n), 0);
        } else if (m_pAvtr != nullptr) {
            m_pAvtr->DrawSelected(hdc, x, y, static_cast<unsigned long>(n), 0);
        }
    });
}

// Legacy avatars have no surface drawing.
int CKvAvatar::Draw(unsigned char** rows, int x, int y, int w, int h, int n) {
    return Guarded(0, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->Draw(rows, x, y, w, h, n);
        }
    });
}

int CKvAvatar::DirectDraw(unsigned char** rows, int x, int y, int w, int h, int n) {
    return Guarded(1, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->DirectDraw(rows, x, y, w, h, n);
        }
    });
}

int CKvAvatar::DrawSelected(unsigned char** rows, int x, int y, int w, int h, unsigned long colour,
                            int n) {
    return Guarded(0, [&] {
        if (m_pAniAvatar != nullptr) {
            m_pAniAvatar->DrawSelected(rows, x, y, w, h, colour, n);
        }
    });
}
