// What MeInitAvatar put into the tables from the test art and its settings.
#include <gtest/gtest.h>

#include <string>

#include "legacy/legacy_tables.h"
#include "legacy_fixture.h"

namespace {

std::string FileOf(const CAvatarLayer& layer) {
    const std::string path = layer.m_szPath;
    return path.substr(path.find_last_of('\\') + 1);
}

TEST(MeInitAvatar, FillsEveryTableFromTheSettings) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    EXPECT_EQ(g_bMeInitTried, 1);
    EXPECT_EQ(FileOf(g_AvtrLayers[kRowAccessory][3]), "MA4.avt");
    EXPECT_EQ(FileOf(g_AvtrLayers[kRowFaceMark][6]), "FFMB.avt");
    EXPECT_EQ(g_AvtrLayers[kRowAccessory][0].m_nSubSheets, 2);
    EXPECT_EQ(g_AvtrLayers[kRowAccessory][0].m_pSubTileNums[0], 3);
    EXPECT_EQ(g_AvtrLayers[kRowAccessory][0].m_pSubTileNums[1], 1);
    // No settings section: the sheet loads with no tiles.
    EXPECT_GT(g_AvtrLayers[kRowRearHairHat][5].m_Sheet.m_Image.GetWidth(), 0);
    EXPECT_EQ(g_AvtrLayers[kRowRearHairHat][5].m_Sheet.m_Image.GetTileNum(), 0);
    // The cells that name hair-colour tables stay empty.
    EXPECT_EQ(g_AvtrLayers[kRowRearHairHat][0].m_Sheet.m_Image.GetWidth(), 0);
    EXPECT_EQ(g_SpecialLayer.m_Sheet.m_Image.GetTileNum(), 1);
    EXPECT_EQ(g_DefaultLayer.m_Sheet.m_Image.GetTileNum(), 2);
    EXPECT_STREQ(g_DefaultLayer.m_szPath, ".\\Avatar\\default.avt");
}

TEST(MeInitAvatar, HairColourCountsStayInsideTheirTables) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    // Seven male colours asked for, five loaded; two female ones.
    EXPECT_EQ(FileOf(g_HairColorLayers[kMaleRearHair][4]), "MRHC5.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleRearHair][0]), "FRHC1.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleRearHair][1]), "FRHC2.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleRearHair][2]), "");
    EXPECT_EQ(FileOf(g_HairColorLayers[kMaleFrontHair][4]), "MFHC5.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleFrontHair][0]), "FFHC1.avt");
}

}  // namespace
