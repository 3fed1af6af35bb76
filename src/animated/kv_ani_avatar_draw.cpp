// Drawing of the animated avatar: every call remembers its position; the first
// Draw after a load of an animated GIF starts the player's animation thread.
#include "animated/kv_ani_avatar.h"

void CKvAniAvatar::DrawnAt(int x, int y) {
    m_nLastX = x;
    m_nLastY = y;
}

bool CKvAniAvatar::FirstDrawStep(int x, int y) {
    const bool starts = m_bFirstDraw != 0 && m_gifList.IsAnimatedGIF() != 0;
    if (starts) {
        SetAutoDraw(1, x, y);
    }
    m_bFirstDraw = 0;
    return starts;
}

int CKvAniAvatar::Draw(HDC hdc, int x, int y, int) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 0;
    }
    FirstDrawStep(x, y);
    m_gifList.Draw(hdc, x, y);
    return 1;
}

int CKvAniAvatar::DirectDraw(HDC hdc, int x, int y) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 0;
    }
    if (m_gifList.IsAnimatedGIF() != 0) {
        m_gifList.Flip(hdc, x, y);
    } else {
        m_gifList.Draw(hdc, x, y);
    }
    return 1;
}

// An animated avatar looks the same selected or not.
int CKvAniAvatar::DrawSelected(HDC hdc, int x, int y, unsigned long, int) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 0;
    }
    m_gifList.Draw(hdc, x, y);
    return 1;
}

int CKvAniAvatar::Draw(unsigned char** rows, int x, int y, int w, int h, int) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 1;
    }
    if (FirstDrawStep(x, y)) {
        m_gifList.DrawAnimation(rows, x, y, w, h);
    }
    m_gifList.Draw(rows, x, y, w, h);
    return 1;
}

int CKvAniAvatar::DirectDraw(unsigned char** rows, int x, int y, int w, int h, int) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 1;
    }
    if (m_gifList.IsAnimatedGIF() != 0) {
        m_gifList.Flip(rows, x, y, w, h);
    } else {
        m_gifList.Draw(rows, x, y, w, h);
    }
    return 1;
}

int CKvAniAvatar::DrawSelected(unsigned char** rows, int x, int y, int w, int h, unsigned long,
                               int) {
    DrawnAt(x, y);
    if (m_bReady == 0) {
        return 0;
    }
    m_gifList.Draw(rows, x, y, w, h);
    return 1;
}

int CKvAniAvatar::SetAutoDraw(int on, int x, int y) {
    if (m_hWnd.load() == nullptr) {
        return 0;
    }
    return SetAutoDraw(on, nullptr, x == -1 ? m_nLastX : x, y == -1 ? m_nLastY : y);
}

// The device context is not used: the animation posts to the avatar's window.
int CKvAniAvatar::SetAutoDraw(int on, HDC, int x, int y) {
    if (m_bReady == 0 || m_gifList.IsAnimatedGIF() == 0) {
        m_bAutoDraw = 0;
        return 0;
    }
    if (m_bAutoDraw != 0) {
        m_gifList.Stop();
    }
    m_bAutoDraw = on;
    if (on == 0) {
        return 1;
    }
    HWNDORHDC target;
    target.hwnd = m_hWnd;
    return m_gifList.Start(target, x, y);
}
