// CKvAvatar: the object a host keeps per player. The process-wide switch
// m_bUseNewAvatar decides at each Create whether the player gets an animated or
// a legacy avatar; every other member forwards to whichever exists. Drawing
// members guard against re-entry and return fixed results.
#pragma once

#include <memory>

#include "platform/win32.h"

class CKvAniAvatar;
class CKvAvtr;

class CKvAvatar {
public:
    // Non-zero: animated avatars; zero: legacy ones. Read at each Create.
    static int m_bUseNewAvatar;

    CKvAvatar();
    // Copies show the same avatar as their source; it is freed once, when the last
    // facade that shows it lets go (Create, Destroy or destruction).
    CKvAvatar(const CKvAvatar& other);
    CKvAvatar& operator=(const CKvAvatar& other);
    // Lets go of the avatar in every state, also while an animated one still loads.
    ~CKvAvatar();

    void Destroy();
    // Animated: the identifier and all six values go to CKvAniAvatar::Create, which
    // posts message 1060 with this facade's address once loaded. Legacy: the code,
    // a2 as the half flag and a5 as the tall flag go to CKvAvtr::Create.
    int Create(const char* id, int a2, int a3, int a4, int a5, int a6, int a7);
    int CreateEx(const char* id, int a2, int a3, int a4, int a5, int a6, int a7);
    int IsMe(CKvAvatar* other);
    void SetAniAvatar(int on);
    void SetWindowHandle(HWND window);
    unsigned long GetWidth();
    unsigned long GetHeight();
    int IsReady();
    int IsAniAvatar();
    // 2 animated, 1 legacy, 0 none.
    int GetAvatarType();
    // Empties the animated avatars' cache folder; nothing for other avatars.
    void CheckAvatarFolder();
    int SetChance(int, int) { return 1; }

    // Results are fixed, whatever the avatar did; a call made while another drawing
    // member of this facade runs draws nothing and returns 1.
    int Draw(HDC hdc, int x, int y, int n);
    int DirectDraw(HDC hdc, int x, int y, int);
    int DrawSelected(HDC hdc, int x, int y, unsigned long colour, int n);
    int Draw(unsigned char** rows, int x, int y, int w, int h, int n);
    int DirectDraw(unsigned char** rows, int x, int y, int w, int h, int n);
    int DrawSelected(unsigned char** rows, int x, int y, int w, int h, unsigned long colour, int n);

protected:
    struct Avatars;

    CKvAvtr* m_pAvtr;
    CKvAniAvatar* m_pAniAvatar;
    int m_bAniAvatar;
    HWND m_hWnd;
    int m_bInDraw;
    // Owns the two avatars above, shared with the copies of this facade.
    std::shared_ptr<Avatars> m_pAvatars;

private:
    int CreateAvatar(bool blocking, const char* id, int a2, int a3, int a4, int a5, int a6, int a7);
    void LetGo();
    template <typename Forward>
    int Guarded(int result, Forward forward);
};
