// The table of GDI objects. Handles name a slot of their kind's store and the slot's
// generation, so a stale or made-up handle is simply not found. One mutex guards the
// table; drawing copies what it needs (DcView) and works outside the lock.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/gdi/gdi_handle_slots.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/gdi/win32_gdi.h"

namespace kvgdi {

enum class DcKind { Memory, Window, Screen };

struct Bitmap {
    std::shared_ptr<Surface> surface;
    uintptr_t selectedInto = 0;  // the DC holding it, 0 when free
    bool stock = false;          // the 1 x 1 monochrome bitmap of new DCs: shared, never freed
};

struct Brush {
    COLORREF color = 0;
    int selections = 0;  // DCs that have it selected
    bool stock = false;
};

struct Dc {
    DcKind kind = DcKind::Memory;
    std::shared_ptr<Surface> canvas;  // window and screen DCs draw here
    uintptr_t bitmap = 0;             // memory DCs draw into this bitmap
    uintptr_t brush = 0;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int mapMode = MM_TEXT;
    int depth = 32;  // bits per pixel of the device the DC is compatible with
};

// What drawing needs from a DC.
struct DcView {
    std::shared_ptr<Surface> surface;
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    COLORREF brushColor = 0;
};

struct GdiTable {
    std::mutex mutex;
    // Low bits of a handle name its kind, so no handle is found in two stores.
    HandleSlots<Dc> dcs{0x5};
    HandleSlots<Bitmap> bitmaps{0x6};
    HandleSlots<Brush> brushes{0x7};
    uintptr_t stockBitmap = 0;
    uintptr_t stockBrush = 0;

    // The rest require `mutex` held.
    HDC AddDc(Dc dc);
    uintptr_t AddBitmap(std::shared_ptr<Surface> surface);
    uintptr_t AddBrush(COLORREF color);
    Dc* FindDc(HDC hdc);
    Bitmap* FindBitmap(uintptr_t handle);
    Brush* FindBrush(uintptr_t handle);
    std::shared_ptr<Surface> SurfaceOf(const Dc& dc);
    void RemoveDc(uintptr_t handle);
};

// The one table, with its stock objects in place.
GdiTable& Table();

inline uintptr_t HandleValue(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

// A copy of what drawing needs from the DC; empty for an unknown DC.
std::optional<DcView> ViewDc(HDC hdc);

// A DC drawing on a window or the screen canvas (GetDC) and its release (ReleaseDC).
HDC CreateCanvasDc(DcKind kind, std::shared_ptr<Surface> canvas);
bool ReleaseCanvasDc(HDC hdc);

}  // namespace kvgdi
