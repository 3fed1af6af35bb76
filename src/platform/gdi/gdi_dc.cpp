// Device contexts and the objects selected into them.
#include <mutex>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_screen.h"
#include "platform/gdi/win32_gdi.h"

using kvgdi::Bitmap;
using kvgdi::Brush;
using kvgdi::Dc;
using kvgdi::GdiTable;
using kvgdi::HandleValue;
using kvgdi::Table;

namespace {

constexpr int kLastMapMode = 8;  // MM_ANISOTROPIC

// Runs fn on the DC under the table lock; `failure` for an unknown DC.
template <typename Result, typename Fn>
Result WithDc(HDC hdc, Result failure, Fn&& fn) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    Dc* dc = table.FindDc(hdc);
    return dc ? fn(*dc) : failure;
}

HGDIOBJ SelectBitmap(GdiTable& table, Dc& dc, HDC hdc, uintptr_t handle, Bitmap& bitmap) {
    if (dc.kind != kvgdi::DcKind::Memory) {
        return nullptr;
    }
    if (bitmap.selectedInto != 0 && bitmap.selectedInto != HandleValue(hdc)) {
        return nullptr;  // a bitmap is in one DC at a time
    }
    const uintptr_t previous = dc.bitmap;
    if (Bitmap* old = table.FindBitmap(previous); old && !old->stock) {
        old->selectedInto = 0;
    }
    dc.bitmap = handle;
    if (!bitmap.stock) {
        bitmap.selectedInto = HandleValue(hdc);
    }
    return reinterpret_cast<HGDIOBJ>(previous);
}

HGDIOBJ SelectBrush(GdiTable& table, Dc& dc, uintptr_t handle, Brush& brush) {
    const uintptr_t previous = dc.brush;
    if (Brush* old = table.FindBrush(previous)) {
        --old->selections;
    }
    ++brush.selections;
    dc.brush = handle;
    return reinterpret_cast<HGDIOBJ>(previous);
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    Dc dc;
    dc.depth = kvgdi::ScreenDepth();
    if (hdc != nullptr) {
        const Dc* model = table.FindDc(hdc);
        if (model == nullptr) {
            return nullptr;
        }
        dc.depth = model->depth;
    }
    dc.bitmap = table.stockBitmap;
    dc.brush = table.stockBrush;
    return table.AddDc(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.FindDc(hdc) == nullptr) {
        return FALSE;
    }
    table.RemoveDc(HandleValue(hdc));  // the selected bitmap stays, now free
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    Dc* dc = table.FindDc(hdc);
    if (dc == nullptr) {
        return nullptr;
    }
    const uintptr_t handle = HandleValue(h);
    if (Bitmap* bitmap = table.FindBitmap(handle)) {
        return SelectBitmap(table, *dc, hdc, handle, *bitmap);
    }
    if (Brush* brush = table.FindBrush(handle)) {
        return SelectBrush(table, *dc, handle, *brush);
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ ho) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    const uintptr_t handle = HandleValue(ho);
    if (const Bitmap* bitmap = table.FindBitmap(handle)) {
        if (bitmap->stock) {
            return TRUE;
        }
        if (bitmap->selectedInto != 0) {
            return FALSE;  // still drawn into: deselect first
        }
        table.bitmaps.Remove(handle);
        return TRUE;
    }
    if (const Brush* brush = table.FindBrush(handle)) {
        if (brush->stock) {
            return TRUE;
        }
        if (brush->selections > 0) {
            return FALSE;
        }
        table.brushes.Remove(handle);
        return TRUE;
    }
    return FALSE;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return WithDc(hdc, COLORREF{CLR_INVALID}, [&](Dc& dc) {
        const COLORREF previous = dc.bkColor;
        dc.bkColor = color & 0x00FFFFFFu;
        return previous;
    });
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return WithDc(hdc, COLORREF{CLR_INVALID}, [&](Dc& dc) {
        const COLORREF previous = dc.textColor;
        dc.textColor = color & 0x00FFFFFFu;
        return previous;
    });
}

int GetMapMode(HDC hdc) {
    return WithDc(hdc, 0, [](Dc& dc) { return dc.mapMode; });
}

int SetMapMode(HDC hdc, int iMode) {
    if (iMode < MM_TEXT || iMode > kLastMapMode) {
        return 0;
    }
    return WithDc(hdc, 0, [&](Dc& dc) {
        const int previous = dc.mapMode;
        dc.mapMode = iMode;
        return previous;
    });
}

int GetDeviceCaps(HDC hdc, int index) {
    return WithDc(hdc, 0, [&](Dc& dc) { return index == BITSPIXEL ? dc.depth : 0; });
}

BOOL GdiFlush() {
    return TRUE;
}
