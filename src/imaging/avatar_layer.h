// Sheets of the legacy avatar: bitmap images of equal-width tiles side by side, and
// layers whose frames run through a main sheet and then numbered sub-sheets.
#pragma once

#include "imaging/kv_aimage.h"

// One sheet: m_Image holds m_tileNum equal-width tiles side by side.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() = default;

    CKvAImage m_Image;
};

// A main sheet plus sub-sheets loaded from "<folder><title>NNNN<ext>" beside it.
// Frames are numbered through the main sheet's tiles, then each sub-sheet's in turn.
class CAvatarLayer {
public:
    CAvatarLayer();
    CAvatarLayer(const CAvatarLayer&) = delete;
    CAvatarLayer& operator=(const CAvatarLayer&) = delete;
    virtual ~CAvatarLayer();

    // 1 when the frame exists (drawn, or a sheet without tiles), 0 beyond all sheets.
    int DrawFrame(int frame, CKvAImage& dest);
    // Loads sub-sheets 1 to count beside m_szPath, keyed on pure blue. 0 when one
    // fails to load (the layer then has no sub-sheets at all) or when no path can
    // be made for one (that sheet stays empty, the others load).
    int LoadSubSheets(int count, const int* tileNums);

    CGdiObject m_Sheet;
    char m_szPath[260];
    CGdiObject* m_pSubSheets;
    int m_nSubSheets;
    int* m_pSubTileNums;

private:
    void DropSubSheets();
};

// Tile `tile` of the sheet onto dest at (0, 0), keyed when dest's flag is set.
// Draws nothing for a tile the sheet does not have. Returns 1.
int DrawSheetTile(CGdiObject& sheet, int tile, CKvAImage& dest);

// out (260 bytes) = folder + title + number as 4 digits + extension of path, without
// the drive. 0 for a number outside 0 to 999 or a path that does not fit.
int MakeSubSheetPath(const char* path, int number, char* out);
