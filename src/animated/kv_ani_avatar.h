// CKvAniAvatar: one player's animated avatar. A whole GIF per player and display
// variant, looked up in the cache folder, fetched when missing, played by the
// embedded cKvAnigifList, and announced to the window by message 1060:
// wParam 1 with the notification value once loaded, wParam 2 with 0 when the
// file failed to load (it is then deleted). A failed download posts nothing.
#pragma once

#include <atomic>
#include <memory>

#include "gif/kv_anigif_list.h"
#include "platform/win32.h"

struct AniAvatarLoad;
class CKvAvatar;

// Message number of the notifications and of the player's frame messages.
constexpr UINT kAniAvatarMessage = WM_USER + 36;
constexpr WPARAM kAniAvatarFrame = 0;
constexpr WPARAM kAniAvatarLoaded = 1;
constexpr WPARAM kAniAvatarLoadFailed = 2;

class CKvAniAvatar {
public:
    // The cache folder: filled by the first constructor that finds one, then fixed.
    static char s_KVAvatarPath[261];

    CKvAniAvatar();
    explicit CKvAniAvatar(HWND window);
    // Copies the fields and the frames; a copy takes no part in a running load
    // and does not animate until drawn.
    CKvAniAvatar(const CKvAniAvatar& other);
    CKvAniAvatar& operator=(const CKvAniAvatar& other);
    ~CKvAniAvatar();

    void SetHWND(HWND window);
    // a2: "AC" kind, a5: full size "F", a6: variant "A", a7: "AW" kind (wins over a2);
    // a3 and a4 take no part. 0 for a refused identifier or path.
    int Create(const char* id, int a2, int a3, int a4, int a5, int a6, int a7);
    int CreateEx(const char* id, int a2, int a3, int a4, int a5, int a6, int a7);
    int IsReady();
    int IsAniAvatar();
    void Destroy();
    int SetChance(int, int);

    int Draw(HDC hdc, int x, int y, int);
    int DirectDraw(HDC hdc, int x, int y);
    int DrawSelected(HDC hdc, int x, int y, unsigned long, int);
    int Draw(unsigned char** rows, int x, int y, int w, int h, int);
    int DirectDraw(unsigned char** rows, int x, int y, int w, int h, int);
    int DrawSelected(unsigned char** rows, int x, int y, int w, int h, unsigned long, int);
    int SetAutoDraw(int on, int x, int y);
    int SetAutoDraw(int on, HDC hdc, int x, int y);

protected:
    int getAvatarFileName(char* dst, char* id, int format, int kind, int size, int variant);
    int makeAvatarURL(char* dst, char* fileName, char* server);
    int checkSavedAvatarFile();
    int downloadNewAvatar();
    int loadAvatar();
    void CheckFolder();
    void AddFileName(int);
    void ReNameAvatarFile();
    void GetOldestAvatarFile(char*, char*, int);
    void DeleteAvatarFile(unsigned long, char*);
    void DeleteAvatarFileBMP(unsigned long, char*);

    int m_nWidth = 0;
    int m_nHeight = 0;
    char m_szId[27] = {};
    char m_szFileName[520] = {};
    std::atomic<HWND> m_hWnd{nullptr};
    // Set last by a load, after the player and the sizes; readers look at it first.
    std::atomic<int> m_bReady{0};
    // Its m_msgParam is the notification value.
    cKvAnigifList m_gifList;
    int m_bFirstDraw = 1;
    int m_bAutoDraw = 0;
    int m_nLastX = 0;
    int m_nLastY = 0;

private:
    friend class CKvAvatar;
    friend struct AniAvatarLoad;

    void CopyFields(const CKvAniAvatar& other);
    // Steps 1 to 3 of Create and CreateEx; false when the request is refused.
    bool Prepare(const char* id, int a2, int a5, int a6, int a7);
    // The full cache path of the file name; false when it would pass 260 characters.
    bool CachePath(char (&path)[520]) const;
    // Starts the loader thread on what Prepare set up.
    bool StartLoader();
    // Hands a loaded player (or the failure) over and notifies the window.
    int FinishLoad(bool loaded, cKvAnigifList& player, LPARAM notification, const char* path);
    void Post(WPARAM wParam, LPARAM lParam);
    // Cuts the running loader off: it will not touch this object again.
    void DetachLoader();
    void DrawnAt(int x, int y);
    // Starts the animation on the first draw of an animated GIF; true if it did.
    bool FirstDrawStep(int x, int y);

    std::shared_ptr<AniAvatarLoad> m_load;
};
