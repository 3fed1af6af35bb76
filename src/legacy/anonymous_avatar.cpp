#include "legacy/anonymous_avatar.h"

#include <new>

#include "base/avatar_log.h"
#include "imaging/pixel.h"
#include "legacy/masked_paint.h"

CKvAImage* g_pAnonymousImage64 = nullptr;
CKvAImage* g_pAnonymousImage102 = nullptr;
BITMAPINFO g_AnonymousBmi = {};
int g_bAnonymousReady = 0;

namespace {

constexpr int kPictureWidth = 45;

// The file's picture in the top-left corner over transparent blue, cut to 45 x height;
// an empty image when the file is missing, null when there is no memory.
CKvAImage* MakeAnonymousImage(int height) {
    CKvAImage* image = new (std::nothrow) CKvAImage;
    CKvAImage file;
    if (!file.Create(".\\images\\defaultMAvtr.qim")) {
        AvatarLog("KVAVTR:: ERROR:: file, [.\\images\\default{M,W}Avtr.qim] not found!!\n");
        return image;
    }
    file.SetTransparentColor(kvpixel::kKeyColor);
    if (image != nullptr && image->Create(kPictureWidth, height)) {
        image->FillRect(kvpixel::kKeyColor, 255);
        image->Draw(0, 0, file, 255);
    }
    return image;
}

struct AnonymousSize {
    CKvAImage* picture;
    int width;
    int height;
};

AnonymousSize ChooseSize(int size) {
    switch (size) {
        case 0:
            return {g_pAnonymousImage64, 22, 32};
        case 1:
            return {g_pAnonymousImage102, 22, 51};
        case 2:
            return {g_pAnonymousImage64, 45, 64};
        case 3:
            return {g_pAnonymousImage102, 45, 102};
        default:
            return {nullptr, 0, 0};
    }
}

void PaintAnonymous(HDC hdc, int x, int y, int size, bool selected) {
    initAnonymousBitmap();
    const AnonymousSize chosen = ChooseSize(size);
    if (chosen.picture == nullptr) {
        return;
    }
    CKvAImage& picture = *chosen.picture;
    g_AnonymousBmi.bmiHeader.biWidth = picture.GetWidth();
    g_AnonymousBmi.bmiHeader.biHeight = -picture.GetHeight();
    ScratchCanvas canvas = CompatibleCanvas(hdc, chosen.width, chosen.height);
    HBRUSH key = CreateSolidBrush(kvpixel::kKeyColor);
    const RECT whole = {0, 0, chosen.width, chosen.height};
    FillRect(canvas.dc(), &whole, key);
    DeleteObject(key);
    // A missing file left an empty picture: the area stays transparent.
    if (picture.GetWidth() > 0) {
        StretchDIBits(canvas.dc(), 0, 0, chosen.width, chosen.height, 0, 0, picture.GetWidth(),
                      picture.GetHeight(), picture.GetBits(0), &g_AnonymousBmi, DIB_RGB_COLORS,
                      SRCCOPY);
    }
    MaskedPaint(hdc, x, y, chosen.width, chosen.height, canvas.dc(), selected);
}

}  // namespace

int initAnonymousBitmap() {
    if (g_bAnonymousReady) {
        return 1;
    }
    delete g_pAnonymousImage64;
    g_pAnonymousImage64 = MakeAnonymousImage(64);
    delete g_pAnonymousImage102;
    g_pAnonymousImage102 = MakeAnonymousImage(102);
    g_AnonymousBmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    g_AnonymousBmi.bmiHeader.biPlanes = 1;
    g_AnonymousBmi.bmiHeader.biBitCount = 16;
    g_AnonymousBmi.bmiHeader.biCompression = BI_RGB;
    g_bAnonymousReady = 1;
    return 1;
}

int DrawAnonymousAvatar(HDC hdc, int x, int y, int size) {
    PaintAnonymous(hdc, x, y, size, false);
    return 1;
}

int DrawSelectedAnonymousAvatar(HDC hdc, int x, int y, unsigned long, int size) {
    PaintAnonymous(hdc, x, y, size, true);
    return 1;
}
