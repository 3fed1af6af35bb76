#include "platform/gdi/gdi_objects.h"

#include "platform/gdi/gdi_screen.h"

#include <utility>

namespace kvgdi {

HDC GdiTable::AddDc(Dc dc) {
    Brush* brush = FindBrush(dc.brush);
    const uintptr_t handle = dcs.Add(std::move(dc));
    if (handle != 0 && brush != nullptr) {
        ++brush->selections;
    }
    return reinterpret_cast<HDC>(handle);
}

uintptr_t GdiTable::AddBitmap(std::shared_ptr<Surface> surface) {
    return bitmaps.Add(Bitmap{std::move(surface)});
}

uintptr_t GdiTable::AddBrush(COLORREF color) {
    return brushes.Add(Brush{color & 0x00FFFFFFu});
}

Dc* GdiTable::FindDc(HDC hdc) {
    return dcs.Find(HandleValue(hdc));
}

Bitmap* GdiTable::FindBitmap(uintptr_t handle) {
    return bitmaps.Find(handle);
}

Brush* GdiTable::FindBrush(uintptr_t handle) {
    return brushes.Find(handle);
}

std::shared_ptr<Surface> GdiTable::SurfaceOf(const Dc& dc) {
    if (dc.kind != DcKind::Memory) {
        return dc.canvas;
    }
    const Bitmap* bitmap = FindBitmap(dc.bitmap);
    return bitmap ? bitmap->surface : nullptr;
}

void GdiTable::RemoveDc(uintptr_t handle) {
    const Dc* dc = dcs.Find(handle);
    if (dc == nullptr) {
        return;
    }
    if (Bitmap* bitmap = FindBitmap(dc->bitmap); bitmap && !bitmap->stock) {
        bitmap->selectedInto = 0;
    }
    if (Brush* brush = FindBrush(dc->brush)) {
        --brush->selections;
    }
    dcs.Remove(handle);
}

GdiTable& Table() {
    static GdiTable* table = [] {
        auto* created = new GdiTable;  // lives to the end of the process, past static destructors
        created->stockBitmap = created->AddBitmap(CreateSurface(1, 1, PixelFormat::Mono1));
        created->FindBitmap(created->stockBitmap)->stock = true;
        created->stockBrush = created->AddBrush(0x00FFFFFF);
        created->FindBrush(created->stockBrush)->stock = true;
        return created;
    }();
    return *table;
}

std::optional<DcView> ViewDc(HDC hdc) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    Dc* dc = table.FindDc(hdc);
    if (dc == nullptr) {
        return std::nullopt;
    }
    DcView view;
    view.surface = table.SurfaceOf(*dc);
    if (!view.surface) {
        return std::nullopt;
    }
    view.textColor = dc->textColor;
    view.bkColor = dc->bkColor;
    const Brush* brush = table.FindBrush(dc->brush);
    view.brushColor = brush ? brush->color : 0x00FFFFFF;
    return view;
}

HDC CreateCanvasDc(DcKind kind, std::shared_ptr<Surface> canvas) {
    if (!canvas) {
        return nullptr;
    }
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    Dc dc;
    dc.kind = kind;
    // A palette screen is drawn in 32 bits but reports its own depth.
    dc.depth = kind == DcKind::Screen ? ScreenDepth() : BitsPerPixel(canvas->format);
    dc.canvas = std::move(canvas);
    dc.brush = table.stockBrush;
    return table.AddDc(std::move(dc));
}

bool ReleaseCanvasDc(HDC hdc) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    const Dc* dc = table.FindDc(hdc);
    if (dc == nullptr || dc->kind == DcKind::Memory) {
        return false;
    }
    table.RemoveDc(HandleValue(hdc));
    return true;
}

}  // namespace kvgdi
