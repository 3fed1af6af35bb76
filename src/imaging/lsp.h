// The span-list compositor of the layered avatar.
//
// A surface keeps, for each row, a linked list of spans in column order; a span says
// "columns begin to end show the bytes at data". Columns are byte offsets (two per
// 16-bit pixel). A row's spans start at 0, each begins where the previous ended, the
// last ends at the pitch; spans of length 0 may occur and show nothing. Putting a
// sprite splices spans that point into the sprite's own runs, so no pixel moves until
// Update copies each final span once into the pixel store.
#pragma once

#include "imaging/lsp_sprite.h"
#include "platform/win32.h"

namespace lsp {

struct SPAN {
    short begin;
    short end;
    unsigned char locked;  // always 0
    const unsigned char* data;
    SPAN* next;
};

// Nodes are handed out from blocks of this many; blocks stay until the surface goes.
constexpr int kSpansPerBlock = 128;

struct SPANBLOCK {
    SPANBLOCK* next;
    SPAN nodes[kSpansPerBlock];
};

struct SPANPOOL {
    int count;  // nodes handed out from the current block
    SPANBLOCK* first;
    SPANBLOCK* current;
};

// A row holds at most this many byte columns, since columns are 16-bit.
constexpr int kMaxPitch = 32767;

class CLsp {
public:
    CLsp();
    CLsp(const CLsp&) = delete;
    CLsp& operator=(const CLsp&) = delete;

    // Virtual slots, in this order.
    virtual ~CLsp();
    // A pitch outside 0 to kMaxPitch or rows outside 0 to kMaxPitch give an empty
    // surface, as does running out of memory; nothing is thrown.
    virtual void Create(int pitch, int rows);
    virtual void Update() = 0;
    virtual void CreateBackLine();

    SPAN** m_ppRowSpans;
    SPANPOOL* m_pSpanPool;
    int m_nPitch;
    int m_nRows;
    unsigned char* m_pBackLine;

private:
    void Release();
};

// A 16-bit surface over a top-down DIB section.
class CLspDib : public CLsp {
public:
    CLspDib();

    // Virtual slots after the base's, in this order.
    ~CLspDib() override;
    void Update() override;
    void CreateBackLine() override;
    // Failure is not reported: the surface is then without a pixel store, and
    // Update and the copies to a device context do nothing.
    virtual void CreateDib(int width, int height, unsigned short backColor, int bytesPerPixel);

    BITMAPINFO m_bmi;
    unsigned char* m_pBits;
    unsigned short m_wBackColor;
    HBITMAP m_hBitmap;
};

// -1 until the first CLspDib is built; then 1 on a system outside the NT family (or
// one whose version cannot be read), 0 on NT. Chooses how TransBltLsp keys blue.
extern int g_nLegacyGdi;

// Every row shows the background row again; the span pool starts over.
void ClearSpans(CLsp* surface);

// Row `row` shows the bytes at `data` in byte columns begin to end. A span that is
// empty or does not lie within the row changes nothing.
void PutSpan(CLsp* surface, int row, int begin, int end, const unsigned char* data);

// The sprite's top left pixel goes to pixel x of row y; only what lies on the surface
// is used, and its transparent pixels show what was there. Should the span pool need
// a block that cannot be allocated, the rest of the sprite is left off.
void PutSprite(CLsp* surface, int x, int y, const SPRITE* sprite);

// The surface region (xSrc, ySrc, cx, cy) to (x, y) of hdc at one to one.
void BltLsp(HDC hdc, int x, int y, int xSrc, int ySrc, int cx, int cy, CLspDib* surface);

// As BltLsp, but pure blue pixels of the surface leave the destination unchanged.
void TransBltLsp(HDC hdc, int x, int y, int xSrc, int ySrc, int cx, int cy, CLspDib* surface);

// The keyed copy built from monochrome masks, for systems without TransparentBlt.
void TransBltByMask(HDC hdc, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc);

}  // namespace lsp
