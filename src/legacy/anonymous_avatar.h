// Anonymous players' question-mark pictures, painted without an avatar object at
// four fixed sizes. The pictures come from ".\images\defaultMAvtr.qim" below the
// current folder; InitAvatarDll and DestroyAvatarDll own them.
#pragma once

#include "imaging/kv_aimage.h"
#include "platform/win32.h"

// 45 x 64 and 45 x 102, made on first use; empty (0 x 0) when the file is missing.
extern CKvAImage* g_pAnonymousImage64;
extern CKvAImage* g_pAnonymousImage102;
extern BITMAPINFO g_AnonymousBmi;
// Set once the pictures were made; after shut-down they are not made again.
extern int g_bAnonymousReady;

// Makes the two pictures once. Always 1.
int initAnonymousBitmap();

// `size` 0: 22 x 32, 1: 22 x 51, 2: 45 x 64, 3: 45 x 102; other sizes paint
// nothing. Pure blue is transparent. Always 1.
int DrawAnonymousAvatar(HDC hdc, int x, int y, int size);

// As DrawAnonymousAvatar, with the selection tint of CKvAvtr::DrawSelected; the
// colour is not used. Always 1.
int DrawSelectedAnonymousAvatar(HDC hdc, int x, int y, unsigned long colour, int size);
