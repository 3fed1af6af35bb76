// CKvAImage: a rectangle of 16-bit 5-5-5 pixels (blue in the low bits), rows top
// first, each padded to a multiple of 4 bytes, in one store with a table of row
// starts, so the store is at once a top-down 16-bit DIB. Table and store are one
// block from the block pool (block_pool.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

class CKvAImage {
public:
    CKvAImage();
    // A copy would name the same store as its source; nothing copies images.
    CKvAImage(const CKvAImage&) = delete;
    CKvAImage& operator=(const CKvAImage&) = delete;

    // Virtual slots, in this order.
    virtual ~CKvAImage();
    virtual bool Create(const char* path, unsigned long transparentColor);
    virtual bool Create(const char* path);
    virtual bool Create(int width, int height, unsigned long transparentColor);
    virtual bool Create(int width, int height);
    virtual void Destroy();

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    unsigned char* GetBits(int row) const { return m_vHeads[row]; }
    // The same row as 16-bit pixels.
    uint16_t* Row(int row) const { return reinterpret_cast<uint16_t*>(m_vHeads[row]); }
    void SetTileNum(int tileNum) { m_tileNum = tileNum; }
    int GetTileNum() const { return m_tileNum; }
    bool HasTransparentColor() const { return m_hasTransparent; }
    void SetTransparentColor(unsigned long color);
    unsigned long GetTransparentColor() const { return m_transparentColor; }

    void Draw(int x, int y, CKvAImage& src, int alpha);
    void DrawTile(int x, int y, CKvAImage& src, int tile, int alpha);
    void DrawUnSafe(int x, int y, CKvAImage& src, int srcX, int srcY, int width, int height,
                    int alpha);
    void FillRect(const RECT& rect, unsigned long color, int alpha);
    void FillRect(unsigned long color, int alpha);

protected:
    unsigned char** GetVHeads() { return m_vHeads; }
    bool __CreateFromBitmap(const unsigned char* data, unsigned long size);
    bool __CreateFromBitmapWithColorTable(const unsigned char* data, unsigned long size);
    bool __CreateFromBitmapWithoutColorTable(const unsigned char* data, unsigned long size);

    unsigned char** m_vHeads;
    int m_width;
    int m_height;
    bool m_hasTransparent;
    unsigned long m_transparentColor;
    int m_tileNum;
    unsigned char* m_bits;

private:
    // Bytes of the row table and the pixel store at the current size.
    size_t BlockBytes() const;
};

// Whether Create(width, height) stays within the surface size limit, so a caller
// can refuse a size before it does any work for it.
bool AImageFits(int width, int height);
