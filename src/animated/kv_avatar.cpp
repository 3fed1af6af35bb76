#include "animated/kv_avatar.h"

#include <new>

#include "animated/kv_ani_avatar.h"
#include "legacy/kv_avtr.h"

int CKvAvatar::m_bUseNewAvatar = 1;

struct CKvAvatar::Avatars {
    std::unique_ptr<CKvAvtr> legacy;
    // Its destructor cuts a running loader off, so it may go in any state.
    std::unique_ptr<CKvAniAvatar> animated;
};

CKvAvatar::CKvAvatar()
    : m_pAvtr(nullptr), m_pAniAvatar(nullptr), m_bAniAvatar(0), m_hWnd(nullptr), m_bInDraw(0) {}

CKvAvatar::CKvAvatar(const CKvAvatar& other) : CKvAvatar() {
    *this = other;
}

// The in-draw flag stays this facade's own: a copy made during a drawing call must
// not keep the target from drawing for ever.
CKvAvatar& CKvAvatar::operator=(const CKvAvatar& other) {
    if (this != &other) {
        m_pAvatars = other.m_pAvatars;
        m_pAvtr = other.m_pAvtr;
        m_pAniAvatar = other.m_pAniAvatar;
        m_bAniAvatar = other.m_bAniAvatar;
        m_hWnd = other.m_hWnd;
    }
    return *this;
}

CKvAvatar::~CKvAvatar() = default;

void CKvAvatar::LetGo() {
    m_pAvatars.reset();
    m_pAvtr = nullptr;
    m_pAniAvatar = nullptr;
}

void CKvAvatar::Destroy() {
    m_bAniAvatar = 0;
    m_hWnd = nullptr;
    LetGo();
}

int CKvAvatar::Create(const char* id, int a2, int a3, int a4, int a5, int a6, int a7) {
    return CreateAvatar(false, id, a2, a3, a4, a5, a6, a7);
}

int CKvAvatar::CreateEx(const char* id, int a2, int a3, int a4, int a5, int a6, int a7) {
    return CreateAvatar(true, id, a2, a3, a4, a5, a6, a7);
}

int CKvAvatar::CreateAvatar(bool blocking, const char* id, int a2, int a3, int a4, int a5, int a6,
                            int a7) {
    LetGo();
    std::shared_ptr<Avatars> avatars;
    try {
        avatars = std::make_shared<Avatars>();
        if (m_bUseNewAvatar) {
            avatars->animated = std::make_unique<CKvAniAvatar>();
        } else {
            avatars->legacy = std::make_unique<CKvAvtr>();
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    m_pAvatars = avatars;
    m_pAniAvatar = avatars->animated.get();
    m_pAvtr = avatars->legacy.get();
    if (m_pAvtr != nullptr) {
        return m_pAvtr->Create(id, a2, a3, a4, a5);
    }
    m_pAniAvatar->m_gifList.m_msgParam = reinterpret_cast<LPARAM>(this);
    m_pAniAvatar->SetHWND(m_hWnd);
    const int created = blocking ? m_pAniAvatar->CreateEx(id, a2, a3, a4, a5, a6, a7)
                                 : m_pAniAvatar->Create(id, a2, a3, a4, a5, a6, a7);
    return created ? 1 : 0;
}

int CKvAvatar::IsMe(CKvAvatar* other) {
    return other == this ? 1 : 0;
}

void CKvAvatar::SetAniAvatar(int on) {
    m_bAniAvatar = on;
}

void CKvAvatar::SetWindowHandle(HWND window) {
    m_hWnd = window;
}

unsigned long CKvAvatar::GetWidth() {
    if (m_pAniAvatar != nullptr) {
        return static_cast<unsigned long>(m_pAniAvatar->m_nWidth);
    }
    return m_pAvtr != nullptr ? static_cast<unsigned long>(m_pAvtr->GetFullWidth()) : 0;
}

unsigned long CKvAvatar::GetHeight() {
    if (m_pAniAvatar != nullptr) {
        return static_cast<unsigned long>(m_pAniAvatar->m_nHeight);
    }
    return m_pAvtr != nullptr ? static_cast<unsigned long>(m_pAvtr->GetFullHeight()) : 0;
}

int CKvAvatar::IsReady() {
    if (m_pAniAvatar != nullptr) {
        return m_pAniAvatar->IsReady();
    }
    return m_pAvtr != nullptr ? m_pAvtr->HasAvatarBitmap() : 0;
}

int CKvAvatar::IsAniAvatar() {
    return m_pAniAvatar != nullptr && m_pAniAvatar->IsReady() ? m_pAniAvatar->IsAniAvatar() : 0;
}

int CKvAvatar::GetAvatarType() {
    return m_pAniAvatar != nullptr ? 2 : m_pAvtr != nullptr ? 1 : 0;
}

void CKvAvatar::CheckAvatarFolder() {
    if (m_pAniAvatar != nullptr) {
        m_pAniAvatar->CheckFolder();
    }
}
