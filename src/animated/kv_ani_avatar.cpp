#include "animated/kv_ani_avatar.h"

#include <cstdio>
#include <cstring>

#include "animated/ani_avatar_load.h"
#include "animated/avatar_cache_steps.h"
#include "animated/avatar_file_name.h"
#include "animated/avatar_identifier.h"
#include "base/avatar_log.h"
#include "base/veltrun_directory.h"
#include "parts/avtr_dn_job.h"

char CKvAniAvatar::s_KVAvatarPath[261] = "";

namespace {

constexpr size_t kFolderBuffer = sizeof CKvAniAvatar::s_KVAvatarPath;
constexpr int kAvatarKindWhole = 4;     // "AW"
constexpr int kAvatarKindGeneral = 8;   // "AG"
constexpr int kAvatarKindChanged = 16;  // "AC"
constexpr int kAvatarSizeFull = 32;     // "F"
constexpr int kAvatarSizeHalf = 64;     // "H"
constexpr int kAvatarVariantA = 128;    // "A"
constexpr int kAvatarVariantS = 256;    // "S"

// "<base>\Avatar" into the cache folder; false when the base is unknown or too long.
bool FillCacheFolder(bool temporaryFallback) {
    char base[kFolderBuffer] = "";
    if (GetVeltrunDirectory(base) == 0 &&
        (!temporaryFallback || GetTempPathA(kFolderBuffer, base) == 0)) {
        return false;
    }
    char folder[kFolderBuffer];
    if (std::snprintf(folder, sizeof folder, "%s\\%s", base, "Avatar") >=
        static_cast<int>(sizeof folder)) {
        return false;
    }
    std::memcpy(CKvAniAvatar::s_KVAvatarPath, folder, sizeof folder);
    return true;
}

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

CKvAniAvatar::CKvAniAvatar() {
    if (s_KVAvatarPath[0] == '\0' && FillCacheFolder(true)) {
        MakeFolderPath(s_KVAvatarPath);
    }
}

CKvAniAvatar::CKvAniAvatar(HWND window) : m_hWnd(window) {
    if (s_KVAvatarPath[0] == '\0') {
        FillCacheFolder(false);
    }
}

CKvAniAvatar::CKvAniAvatar(const CKvAniAvatar& other) : m_gifList(other.m_gifList) {
    CopyFields(other);
}

CKvAniAvatar& CKvAniAvatar::operator=(const CKvAniAvatar& other) {
    if (this != &other) {
        Destroy();
        m_gifList = other.m_gifList;
        CopyFields(other);
    }
    return *this;
}

CKvAniAvatar::~CKvAniAvatar() {
    Destroy();
}

void CKvAniAvatar::CopyFields(const CKvAniAvatar& other) {
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    std::memcpy(m_szId, other.m_szId, sizeof m_szId);
    std::memcpy(m_szFileName, other.m_szFileName, sizeof m_szFileName);
    m_hWnd = other.m_hWnd.load();
    // The copy's frames are complete only if the original's were.
    m_bReady = other.m_bReady.load();
    m_bFirstDraw = other.m_bFirstDraw;
    m_bAutoDraw = 0;  // the copied player runs no thread
    m_nLastX = other.m_nLastX;
    m_nLastY = other.m_nLastY;
}

void CKvAniAvatar::SetHWND(HWND window) {
    m_hWnd = window;
}

bool CKvAniAvatar::Prepare(const char* id, int a2, int a5, int a6, int a7) {
    if (!IsSafeAvatarIdentifier(id) || s_KVAvatarPath[0] == '\0') {
        return false;
    }
    const int kind = a7 != 0 ? kAvatarKindWhole : a2 != 0 ? kAvatarKindChanged : kAvatarKindGeneral;
    char fileName[sizeof m_szFileName];
    char path[sizeof m_szFileName];
    if (BuildAvatarFileName(fileName, sizeof fileName, id, kAvatarNameGif, kind,
                            a5 != 0 ? kAvatarSizeFull : kAvatarSizeHalf,
                            a6 != 0 ? kAvatarVariantA : kAvatarVariantS) == 0 ||
        std::snprintf(path, sizeof path, "%s\\%s", s_KVAvatarPath, fileName) > MAX_PATH) {
        return false;
    }
    DetachLoader();
    if (m_bReady != 0) {
        Destroy();
    }
    std::snprintf(m_szId, sizeof m_szId, "%s", id);
    std::memcpy(m_szFileName, fileName, sizeof m_szFileName);
    return true;
}

bool CKvAniAvatar::CachePath(char (&path)[520]) const {
    return std::snprintf(path, sizeof path, "%s\\%s", s_KVAvatarPath, m_szFileName) <= MAX_PATH;
}

bool CKvAniAvatar::StartLoader() {
    char path[sizeof m_szFileName];
    if (!CachePath(path)) {
        return false;
    }
    m_load = std::make_shared<AniAvatarLoad>(this, s_KVAvatarPath, m_szFileName, path,
                                             m_gifList.m_msgParam);
    if (!AniAvatarLoad::Start(m_load)) {
        DetachLoader();
        return false;
    }
    return true;
}

int CKvAniAvatar::Create(const char* id, int a2, int /*a3*/, int /*a4*/, int a5, int a6, int a7) {
    return Prepare(id, a2, a5, a6, a7) && StartLoader() ? 1 : 0;
}

int CKvAniAvatar::CreateEx(const char* id, int a2, int /*a3*/, int /*a4*/, int a5, int a6, int a7) {
    if (!Prepare(id, a2, a5, a6, a7)) {
        return 0;
    }
    if (checkSavedAvatarFile() == 0 && downloadNewAvatar() == 0) {
        return 0;
    }
    return loadAvatar();
}

int CKvAniAvatar::IsReady() {
    return m_bReady;
}

int CKvAniAvatar::IsAniAvatar() {
    return m_bReady != 0 ? m_gifList.IsAnimatedGIF() : 0;
}

void CKvAniAvatar::DetachLoader() {
    if (m_load) {
        std::lock_guard lock(m_load->mutex);
        m_load->owner = nullptr;
    }
    m_load.reset();
}

void CKvAniAvatar::Destroy() {
    DetachLoader();
    if (m_bReady != 0) {
        m_gifList.Destroy();
    }
    m_bReady = 0;
    m_bAutoDraw = 0;
    m_hWnd = nullptr;
    m_nLastX = 0;
    m_nLastY = 0;
    m_bFirstDraw = 1;
}

int CKvAniAvatar::SetChance(int, int) {
    return 1;
}

int CKvAniAvatar::getAvatarFileName(char* dst, char* id, int format, int kind, int size,
                                    int variant) {
    return BuildAvatarFileName(dst, sizeof m_szFileName, id, format, kind, size, variant);
}

int CKvAniAvatar::makeAvatarURL(char* dst, char* fileName, char* server) {
    std::snprintf(dst, 512, "http://%s/IMG_AVTR/%s", server, fileName);
    return 1;
}

int CKvAniAvatar::checkSavedAvatarFile() {
    char path[sizeof m_szFileName];
    return CachePath(path) ? CheckSavedAvatarFile(path) : 0;
}

int CKvAniAvatar::downloadNewAvatar() {
    return DownloadNewAvatar(s_KVAvatarPath, m_szFileName);
}

int CKvAniAvatar::loadAvatar() {
    m_bReady = 0;
    char path[sizeof m_szFileName];
    if (!CachePath(path)) {
        return 0;
    }
    cKvAnigifList player;
    const bool loaded = LoadAvatarPlayer(player, path);
    return FinishLoad(loaded, player, m_gifList.m_msgParam, path);
}

int CKvAniAvatar::FinishLoad(bool loaded, cKvAnigifList& player, LPARAM notification,
                             const char* path) {
    if (!loaded) {
        DeleteFileA(path);
        AvatarLogPrint("KVAVTR:: CKvAniAvatar.loadAvatar :: delete loading failed file [ %s ]\n",
                       path);
        Post(kAniAvatarLoadFailed, 0);
        return 0;
    }
    m_gifList.TakeFrames(player);
    m_nWidth = m_gifList.m_width;
    m_nHeight = m_gifList.m_height;
    m_bReady = 1;
    Post(kAniAvatarLoaded, notification);
    return 1;
}

void CKvAniAvatar::Post(WPARAM wParam, LPARAM lParam) {
    const HWND window = m_hWnd;
    if (window != nullptr && IsWindow(window)) {
        PostMessageA(window, kAniAvatarMessage, wParam, lParam);
    }
}

void CKvAniAvatar::CheckFolder() {
    if (s_KVAvatarPath[0] == '\0') {
        return;
    }
    char pattern[kFolderBuffer];
    if (std::snprintf(pattern, sizeof pattern, "%s\\*.*", s_KVAvatarPath) >=
        static_cast<int>(sizeof pattern)) {
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    // Only the animated avatars' files go: the folder also holds the legacy sheets.
    // The next entry is fetched before one is deleted.
    for (bool more = true; more;) {
        const WIN32_FIND_DATAA current = entry;
        more = FindNextFileA(find, &entry) != FALSE;
        char path[kFolderBuffer];
        if (!IsDotEntry(current.cFileName) &&
            (current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            IsAnimatedCacheFile(current.cFileName) &&
            std::snprintf(path, sizeof path, "%s\\%s", s_KVAvatarPath, current.cFileName) <
                static_cast<int>(sizeof path)) {
            DeleteFileA(path);
        }
    }
    FindClose(find);
}

void CKvAniAvatar::AddFileName(int) {}
void CKvAniAvatar::ReNameAvatarFile() {}
void CKvAniAvatar::GetOldestAvatarFile(char*, char*, int) {}
void CKvAniAvatar::DeleteAvatarFile(unsigned long, char*) {}
void CKvAniAvatar::DeleteAvatarFileBMP(unsigned long, char*) {}
