// CKvAvtr: the legacy avatar. A 26-character code picks tiles of the legacy
// sheets, composed once into a 16-bit picture that is painted with pure blue
// transparent, plainly or with the selection tint, at full or half size.
// Anonymous players get a question-mark picture through the same class.
#pragma once

#include "imaging/kv_aimage.h"
#include "platform/win32.h"

class CKvAvtr {
public:
    static constexpr int kCodeLength = 26;

    CKvAvtr();
    // Copies own their picture: the pixels are duplicated, never shared.
    CKvAvtr(const CKvAvtr& other);
    CKvAvtr& operator=(const CKvAvtr& other);
    virtual ~CKvAvtr();

    // Composes the code's picture (codes longer than 26 characters are cut).
    // 0 when the legacy sheets are not loaded, for a code whose set or face
    // column lies outside the sheet tables, and when no picture can be made.
    int Create(const char* code, int half, int, int, int tall);
    // The question-mark picture of the male or female file below ".\images".
    int CreateAnonymousAvatar(int male, int half, int, int, int tall);

    int Draw(HDC hdc, int x, int y, int);
    int DrawSelected(HDC hdc, int x, int y, unsigned long, int);
    // 1 when the screen depth changed from 8 bits or less to another depth.
    int CheckScreenMode();
    int SetChance(int, int) { return 1; }
    unsigned char* GetAvatarBits();
    int HasAvatarBitmap();

    int GetFullWidth() const { return m_nFullWidth; }
    int GetFullHeight() const { return m_nFullHeight; }
    int GetDrawWidth() const { return m_nDrawWidth; }
    int GetDrawHeight() const { return m_nDrawHeight; }
    const char* GetCode() const { return m_szCode; }
    CKvAImage& GetImage() { return m_Image; }

private:
    int CreateAvatarSurface(const char* code);
    int CreateAnonymousAvatarSurface();
    // Stores the finished picture from the work image, whole or shrunk by half.
    int FinishImage(CKvAImage& work);
    static void MakeHalfImage(int, int, CKvAImage& dst, int, int, CKvAImage& src);
    int PaintTo(HDC hdc, int x, int y, bool selected);

    CKvAImage m_Image;
    BITMAPINFO m_bmi;  // the header and one spare colour word
    int m_nCompositionWidth;
    int m_bHalf;
    int m_bTall;
    int m_nFullWidth;
    int m_nFullHeight;
    int m_nDrawWidth;
    int m_nDrawHeight;
    char m_szCode[kCodeLength + 1];
    int m_nScreenDepth;
};
