// CAvtr2004: the layered avatar. It names its parts by a CAvtrId, finds them in
// the part pool on every use, composes the current frame of each, back to front,
// on a 16-bit span-list surface and copies a fixed region of that surface 1:1
// into the caller's device context, opaque or with pure blue transparent.
#pragma once

#include "avatar_id/avtr_id.h"
#include "layered/avtr_tick_handler.h"
#include "platform/win32.h"

class CKvAImage;
class CAvtrPart;
namespace lsp {
class CLspDib;
struct SPRITE;
}  // namespace lsp

class CAvtr2004 {
public:
    CAvtr2004();
    // The avatar owns its surface and background sprite; a copy would share them.
    CAvtr2004(const CAvtr2004&) = delete;
    CAvtr2004& operator=(const CAvtr2004&) = delete;
    ~CAvtr2004();

    // 1 on success, 0 if `id` names no part. Missing parts load in the background.
    int Create(CAvtrId& id, int bSmall, int bFullHeight, int bBox, unsigned long crBack);
    // A layered id string.
    int Create(char* szId, int bSmall, int bFullHeight, int bBox, unsigned long crBack);
    // As Create, but every part is loaded before it returns.
    int CreateBlock(CAvtrId& id, int bSmall, int bFullHeight, int bBox, unsigned long crBack);

    // Drawn behind every part from the next Draw on; survives Create.
    bool SetBkgndImage(const char* path);
    void Destroy();

    // Always 1; the last argument is not used.
    int Draw(HDC hdc, int x, int y, int nSex, bool bTrans, unsigned long);
    // No selection mark: the same pixels as Draw.
    void DrawSelected(HDC hdc, int x, int y, unsigned long crSelect, int nSex, bool bTrans,
                      unsigned long);
    // Draw without the stand-in for a missing com image.
    int DrawDefaultAvtr(HDC hdc, int x, int y, bool bTrans, unsigned long);

    int ChangeAvatarExpress(char c);
    void SetDrawingRect(RECT& rc);
    unsigned long Width() { return m_nWidth; }
    unsigned long Height() { return m_nHeight; }
    int IsReady() { return 1; }
    CAvtrId& AvatarId() { return m_AvtrId; }

protected:
    bool HasDrawingRect();
    int ReCreate();
    void MakeComAvtrId(CAvtrId& id, int& bSmall, int& bFullHeight, int& bBox);
    // Both rectangles hold (left, top, width, height).
    void GetDrawRect(RECT& rcDest, RECT& rcSrc);
    void DrawOneImage(RECT& rcDest, RECT& rcSrc, CAvtrPart* part, int index);
    // Kept for the exported interface: parts are composed on the surface only.
    void DrawOneImage(HDC, RECT&, RECT&, CAvtrPart*, int) {}
    void DrawOneImage(CKvAImage&, RECT&, RECT&, CAvtrPart*, int) {}
    // Copies with pure blue transparent by masks and raster operations.
    void TransBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                  int cxSrc, int cySrc);
    // TransBlt from pixels described by m_bmi.
    void TransDIBits(HDC hdcDest, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc,
                     int cySrc, const void* bits);
    // Valid only while created.
    BITMAPINFO& GetLspBitmapInfo();
    unsigned char* GetLspDIBData();
    lsp::CLspDib& GetLsp();

    CAvtrId m_AvtrId;
    int m_nLspWidth;
    int m_nLspHeight;
    unsigned long m_nWidth;
    unsigned long m_nHeight;
    int m_bSmall;
    int m_bFullHeight;
    int m_bBox;
    BITMAPINFO m_bmi;
    CAvtrTickHandler m_TickHandler;
    RECT m_rcDrawing;
    char m_cSex;
    lsp::CLspDib* m_pLsp;
    lsp::SPRITE* m_pBkgnd;

private:
    int Build(CAvtrId& id, int bSmall, int bFullHeight, int bBox, unsigned long crBack, bool async);
    // Gives back the part uses and the surface of an earlier Create.
    void ReleaseSurfaceAndParts();
    void SetSurfaceSize(int width, int height);
    // Each loaded part's clock starts from the delay of its first frame; a new
    // avatar also takes one use of each.
    void StartClocks(bool takeUses);
    void FreeBackground();
};
