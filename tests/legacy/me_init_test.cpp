// What MeInitAvatar put into the tables from the test art and its settings.
#include <gtest/gtest.h>

#include "legacy/legacy_tables.h"
#include "legacy_fixture.h"

namespace {

std::string FileOf(const CAvatarLayer& layer) {
    const std::string path = layer.m_szPath;
    return path.substr(path.find_last_of('\\') + 1);
}

TEST(MeInitAvatar, FillsTheTablesOnceAndNoFurther) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    EXPECT_EQ(MeInitAvatar(), 0);  // a second call changes nothing
    EXPECT_EQ(g_bMeInitDone, 1);
    EXPECT_EQ(FileOf(g_AvtrLayers[kRowFaceMark][6]), "FFMB.avt");
    EXPECT_EQ(g_AvtrLayers[kRowAccessory][0].m_nSubSheets, 2);
    // No settings section: the sheet loads without tiles. Hair-table cells stay empty.
    EXPECT_GT(g_AvtrLayers[kRowRearHairHat][5].m_Sheet.m_Image.GetWidth(), 0);
    EXPECT_EQ(g_AvtrLayers[kRowRearHairHat][5].m_Sheet.m_Image.GetTileNum(), 0);
    EXPECT_EQ(g_AvtrLayers[kRowRearHairHat][0].m_Sheet.m_Image.GetWidth(), 0);
    EXPECT_STREQ(g_DefaultLayer.m_szPath, ".\\Avatar\\default.avt");
    EXPECT_EQ(g_DefaultLayer.m_Sheet.m_Image.GetTileNum(), 2);
    // Seven male colours asked for, five loaded, none spilling into the female tables.
    EXPECT_EQ(FileOf(g_HairColorLayers[kMaleRearHair][4]), "MRHC5.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleRearHair][1]), "FRHC2.avt");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleRearHair][2]), "");
    EXPECT_EQ(FileOf(g_HairColorLayers[kFemaleFrontHair][0]), "FFHC1.avt");
}

}  // namespace
