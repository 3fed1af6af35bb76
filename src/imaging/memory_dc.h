// Memory DCs that the copies into a caller's device context work through.
#pragma once

#include "platform/win32.h"

namespace lsp {

// A memory DC compatible with `like` showing `bitmap` for the lifetime of the object.
class SelectedBitmap {
public:
    SelectedBitmap(HDC like, HGDIOBJ bitmap)
        : m_dc(CreateCompatibleDC(like)), m_old(SelectObject(m_dc, bitmap)) {}
    ~SelectedBitmap() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;

    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A bitmap of its own selected into a memory DC in `like`'s mapping mode; both
// released together.
class ScratchCanvas {
public:
    ScratchCanvas(HDC like, HBITMAP bitmap) : m_bitmap{bitmap}, m_selected(like, bitmap) {
        SetMapMode(m_selected.dc(), GetMapMode(like));
    }
    ~ScratchCanvas() = default;
    ScratchCanvas(const ScratchCanvas&) = delete;
    ScratchCanvas& operator=(const ScratchCanvas&) = delete;

    HDC dc() const { return m_selected.dc(); }

private:
    struct BitmapOwner {
        HBITMAP bitmap;
        ~BitmapOwner() { DeleteObject(bitmap); }
    };
    // Declared first so that it is destroyed after the DC has let go of the bitmap.
    BitmapOwner m_bitmap;
    SelectedBitmap m_selected;
};

}  // namespace lsp
