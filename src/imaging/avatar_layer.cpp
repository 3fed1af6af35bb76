#include "imaging/avatar_layer.h"

#include "imaging/pixel.h"

int DrawSheetTile(CGdiObject& sheet, int tile, CKvAImage& dest) {
    CKvAImage& image = sheet.m_Image;
    const int tiles = image.GetTileNum();
    if (tiles <= 0 || tile >= tiles || tile < 0) {
        return 1;
    }
    const int width = tiles == 1 ? image.GetWidth() : image.GetWidth() / tiles;
    dest.DrawUnSafe(0, 0, image, width * tile, 0, width, image.GetHeight(), 255);
    return 1;
}

CAvatarLayer::CAvatarLayer()
    : m_szPath{}, m_pSubSheets(nullptr), m_nSubSheets(0), m_pSubTileNums(nullptr) {}

CAvatarLayer::~CAvatarLayer() {
    DropSubSheets();
}

void CAvatarLayer::DropSubSheets() {
    delete[] m_pSubSheets;
    delete[] m_pSubTileNums;
    m_pSubSheets = nullptr;
    m_pSubTileNums = nullptr;
    m_nSubSheets = 0;
}

int CAvatarLayer::DrawFrame(int frame, CKvAImage& dest) {
    const int mainTiles = m_Sheet.m_Image.GetTileNum();
    if (frame < mainTiles) {
        return DrawSheetTile(m_Sheet, frame, dest);
    }
    frame -= mainTiles;
    int sheet = 0;
    while (sheet < m_nSubSheets && frame >= m_pSubTileNums[sheet]) {
        frame -= m_pSubTileNums[sheet];
        ++sheet;
    }
    if (sheet == m_nSubSheets) {
        return 0;
    }
    return DrawSheetTile(m_pSubSheets[sheet], frame, dest);
}

int CAvatarLayer::LoadSubSheets(int count, const int* tileNums) {
    DropSubSheets();
    if (count <= 0) {
        return 1;
    }
    m_nSubSheets = count;
    m_pSubTileNums = new int[static_cast<size_t>(count)];
    for (int i = 0; i < count; ++i) {
        m_pSubTileNums[i] = tileNums[i];
    }
    m_pSubSheets = new CGdiObject[static_cast<size_t>(count)];
    int allLoaded = 1;
    for (int i = 0; i < count; ++i) {
        char path[260];
        if (!MakeSubSheetPath(m_szPath, i + 1, path)) {
            // No file can be named for it: the sheet stays empty and is not loaded.
            allLoaded = 0;
            continue;
        }
        CKvAImage& image = m_pSubSheets[i].m_Image;
        if (!image.Create(path, kvpixel::kKeyColor)) {
            DropSubSheets();
            return 0;
        }
        image.SetTileNum(tileNums[i]);
    }
    return allLoaded;
}
