#include "layered/default_avatars.h"

#include <new>

#include "avatar_id/avtr_id.h"
#include "layered/avtr2004.h"

CAvtr2004* s_pDefaultAvatar[kDefaultAvatarCount] = {};

namespace {

constexpr const char* kMaleId = "LCM001_HCM001_FNM001A_PNM001";
constexpr const char* kFemaleId = "LCF001_HCF001_FNF001A_PNF001";
constexpr unsigned long kWhite = 0x00FFFFFF;
constexpr int kFemaleBase = 4;

int DefaultAvatarIndex(bool small, bool fullHeight, bool female) {
    return (small ? 1 : 0) + (fullHeight ? 2 : 0) + (female ? kFemaleBase : 0);
}

// Entries base to base + 3 in the order (small, full height) = (0,0) (1,0) (0,1) (1,1).
void CreateFigure(const char* idString, int base) {
    CAvtrId id;
    id.Set(idString, true);
    for (int variant = 0; variant < 4; ++variant) {
        if (CAvtr2004* avatar = s_pDefaultAvatar[base + variant]) {
            avatar->CreateBlock(id, variant & 1, (variant >> 1) & 1, 1, kWhite);
        }
    }
}

}  // namespace

void InitDefaultAvatars() {
    // A second start-up must not leak the entries of the first.
    DestroyDefaultAvatar();
    for (CAvtr2004*& entry : s_pDefaultAvatar) {
        entry = new (std::nothrow) CAvtr2004();
    }
    CreateFigure(kMaleId, 0);
    CreateFigure(kFemaleId, kFemaleBase);
}

void DestroyDefaultAvatar() {
    for (CAvtr2004*& entry : s_pDefaultAvatar) {
        delete entry;
        entry = nullptr;
    }
}

void DrawDefaultAvatar(HDC hdc, int x, int y, int bSmall, int bFullHeight, char cSex, bool bTrans,
                       unsigned long last) {
    CAvtr2004* avatar =
        s_pDefaultAvatar[DefaultAvatarIndex(bSmall != 0, bFullHeight != 0, cSex == 'F')];
    if (avatar != nullptr) {
        avatar->DrawDefaultAvtr(hdc, x, y, bTrans, last);
    }
}
