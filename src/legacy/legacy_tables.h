// The legacy part sheets, loaded once per process by MeInitAvatar from the
// "Avatar" folder below the portal home and then only read.
#pragma once

#include "imaging/avatar_layer.h"

constexpr int kLegacyRows = 14;
constexpr int kLegacyColumns = 8;
// The female set sits this many columns right of the male set.
constexpr int kFemaleColumnShift = 4;
constexpr int kHairColorTables = 4;
// Colours a hair-colour table holds; a larger count in the settings loads this many.
constexpr int kHairColors = 5;

// Rows of g_AvtrLayers.
enum LegacyRow {
    kRowRearHair = 0,
    kRowFrontHair = 1,
    kRowRearHairHat = 2,
    kRowFrontHairHat = 3,
    kRowBody = 4,
    kRowFace = 5,
    kRowFacePaint = 6,
    kRowFaceMark = 7,
    kRowHighCloth = 8,
    kRowLowCloth = 9,
    kRowClothSetA = 10,
    kRowClothSetB = 11,
    kRowAccessory = 12,
    kRowRearAccessory = 13,
};

// Tables of g_HairColorLayers, in this order.
enum HairColorTable { kMaleRearHair, kFemaleRearHair, kMaleFrontHair, kFemaleFrontHair };

extern CAvatarLayer g_AvtrLayers[kLegacyRows][kLegacyColumns];
extern CAvatarLayer g_HairColorLayers[kHairColorTables][kHairColors];
extern CAvatarLayer g_SpecialLayer;
extern CAvatarLayer g_DefaultLayer;
extern int g_bMeInitTried;
extern int g_bMeInitDone;
// Set by a host that calls MeInitAvatar itself; legacy Create then leaves it alone.
extern int g_bExternalAvatarThreadOn;

// Loads every sheet; 1 on success, 0 on failure and on every call after the first.
extern "C" int MeInitAvatar(void);
