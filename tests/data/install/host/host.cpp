#include <kvavtr.h>

#include <cstdio>

int main() {
    InitAvatarDll();  // once, before the first avatar

    // A legacy avatar code, read as the identifier of a layered avatar.
    CAvtrIdConv conv;
    conv.SetOrgAvtrId("NNN0121001001N010000000000");
    conv.Conv();
    CAvtrId id;
    id.Set(conv.GetAvtrId(), false);

    // Parts download in the background; each Draw shows those that have arrived.
    CAvtr2004 avatar;
    avatar.Create(id, 0, 1, 1, 0x00FFFFFF);  // full size, full height, figure box, white
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 46, 102);
    HGDIOBJ old = SelectObject(dc, bitmap);
    avatar.Draw(dc, 0, 0, 'M', true, 0);  // pure blue stays transparent
    std::printf("drew %s with %zu parts\n", conv.GetAvtrId().c_str(), id.IdVec().size());

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    avatar.Destroy();
    DestroyAvatarDll();  // once, after the last avatar
    return 0;
}
