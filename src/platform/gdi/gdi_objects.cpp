#include "platform/gdi/gdi_objects.h"

#include "platform/gdi/gdi_screen.h"

#include <utility>

namespace kvgdi {

namespace {

// Low bits of a handle name its kind, so the three maps never share a key.
constexpr uintptr_t kDcTag = 0x5;
constexpr uintptr_t kBitmapTag = 0x6;
constexpr uintptr_t kBrushTag = 0x7;
constexpr int kTagBits = 4;

}  // namespace

uintptr_t GdiTable::NewHandle(uintptr_t tag) {
    return (m_next++ << kTagBits) | tag;
}

HDC GdiTable::AddDc(Dc dc) {
    const uintptr_t handle = NewHandle(kDcTag);
    if (Brush* brush = FindBrush(dc.brush)) {
        ++brush->selections;
    }
    dcs.emplace(handle, std::move(dc));
    return reinterpret_cast<HDC>(handle);
}

uintptr_t GdiTable::AddBitmap(std::shared_ptr<Surface> surface) {
    const uintptr_t handle = NewHandle(kBitmapTag);
    bitmaps.emplace(handle, Bitmap{std::move(surface)});
    return handle;
}

uintptr_t GdiTable::AddBrush(COLORREF color) {
    const uintptr_t handle = NewHandle(kBrushTag);
    brushes.emplace(handle, Brush{color & 0x00FFFFFFu});
    return handle;
}

Dc* GdiTable::FindDc(HDC hdc) {
    auto it = dcs.find(HandleValue(hdc));
    return it == dcs.end() ? nullptr : &it->second;
}

Bitmap* GdiTable::FindBitmap(uintptr_t handle) {
    auto it = bitmaps.find(handle);
    return it == bitmaps.end() ? nullptr : &it->second;
}

Brush* GdiTable::FindBrush(uintptr_t handle) {
    auto it = brushes.find(handle);
    return it == brushes.end() ? nullptr : &it->second;
}

std::shared_ptr<Surface> GdiTable::SurfaceOf(const Dc& dc) {
    if (dc.kind != DcKind::Memory) {
        return dc.canvas;
    }
    const Bitmap* bitmap = FindBitmap(dc.bitmap);
    return bitmap ? bitmap->surface : nullptr;
}

void GdiTable::RemoveDc(uintptr_t handle) {
    auto it = dcs.find(handle);
    if (it == dcs.end()) {
        return;
    }
    if (Bitmap* bitmap = FindBitmap(it->second.bitmap); bitmap && !bitmap->stock) {
        bitmap->selectedInto = 0;
    }
    if (Brush* brush = FindBrush(it->second.brush)) {
        --brush->selections;
    }
    dcs.erase(it);
}

GdiTable& Table() {
    static GdiTable* table = [] {
        auto* created = new GdiTable;  // lives to the end of the process, past static destructors
        created->stockBitmap = created->AddBitmap(CreateSurface(1, 1, PixelFormat::Mono1));
        created->bitmaps[created->stockBitmap].stock = true;
        created->stockBrush = created->AddBrush(0x00FFFFFF);
        created->brushes[created->stockBrush].stock = true;
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
