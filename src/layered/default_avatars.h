// The eight stand-ins drawn while a com avatar's image has not arrived: a male
// and a female figure in four display variants, built once at start-up from
// images that ship with the host.
#pragma once

#include "platform/win32.h"

class CAvtr2004;

// Index = (small ? 1 : 0) + (full height ? 2 : 0) + (female ? 4 : 0).
constexpr int kDefaultAvatarCount = 8;
extern CAvtr2004* s_pDefaultAvatar[kDefaultAvatarCount];

void InitDefaultAvatars();
void DestroyDefaultAvatar();
// Any cSex other than 'F' draws the male figure; nothing before InitDefaultAvatars.
void DrawDefaultAvatar(HDC hdc, int x, int y, int bSmall, int bFullHeight, char cSex, bool bTrans,
                       unsigned long last);
