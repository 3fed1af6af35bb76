// The question-mark picture as a legacy avatar.
#include <cstring>

#include "imaging/avatar_layer.h"
#include "imaging/pixel.h"
#include "legacy/kv_avtr.h"

int CKvAvtr::CreateAnonymousAvatar(int male, int half, int, int, int tall) {
    m_nFullWidth = 45;
    m_nFullHeight = tall ? 102 : 64;
    m_nDrawWidth = half ? 22 : 45;
    m_nDrawHeight = half ? m_nFullHeight / 2 : m_nFullHeight;
    m_bHalf = half;
    m_bTall = tall;
    std::memset(m_szCode, 0, sizeof m_szCode);
    std::strcpy(m_szCode, male ? "QMarkM" : "QMarkW");
    return CreateAnonymousAvatarSurface();
}

int CKvAvtr::CreateAnonymousAvatarSurface() {
    CKvAImage work;
    if (!work.Create(m_nFullWidth, m_nFullHeight, kvpixel::kKeyColor)) {
        return 0;
    }
    work.FillRect(kvpixel::kKeyColor, 255);
    const char* file = std::strcmp(m_szCode, "QMarkM") == 0 ? ".\\images\\defaultMAvtr.qim"
                                                            : ".\\images\\defaultWAvtr.qim";
    CGdiObject sheet;
    if (!sheet.m_Image.Create(file, kvpixel::kKeyColor)) {
        return 0;
    }
    sheet.m_Image.SetTileNum(1);
    DrawSheetTile(sheet, 0, work);
    return FinishImage(work);
}
