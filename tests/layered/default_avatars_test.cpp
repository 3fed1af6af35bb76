#include <gtest/gtest.h>

#include <string>

#include "layered/default_avatars.h"
#include "layered_fixture.h"

namespace layered_test {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
const std::string kMale = "LCM001_HCM001_FNM001A_PNM001";
const std::string kFemale = "LCF001_HCF001_FNF001A_PNF001";

struct EntryCase {
    int bSmall;
    int bFullHeight;
    char cSex;
    bool female;
    int width;
    int height;
};

class DefaultAvatarTest : public PoolTest, public ::testing::WithParamInterface<EntryCase> {
protected:
    // Male pictures untagged, female ones tagged; one part per size.
    void AddDefaultImages() {
        for (const char* prefix : {"AWFS_", "ACFS_"}) {
            const int side = prefix[1] == 'C' ? 50 : 100;
            AddCoordinatePart(prefix + kMale, side, side * 6 / 5);
            AddCoordinatePart(prefix + kFemale, side, side * 6 / 5, kSecondTag);
        }
    }
};

TEST_P(DefaultAvatarTest, DrawsTheMatchingEntry) {
    const EntryCase& c = GetParam();
    AddDefaultImages();
    InitDefaultAvatars();
    Canvas canvas(60, 120, kGreen);
    DrawDefaultAvatar(canvas.dc(), 2, 3, c.bSmall, c.bFullHeight, c.cSex, false, 0);
    EXPECT_TRUE(canvas.ShowsCoordinates(2, 3, c.width, c.height, c.bSmall ? 14 : 27,
                                        c.bSmall ? 0 : 5, c.female ? kSecondTag : 0));
}

TEST_P(DefaultAvatarTest, MissingImagesDrawWhiteEvenWhenTransparent) {
    const EntryCase& c = GetParam();
    InitDefaultAvatars();
    for (const bool trans : {false, true}) {
        Canvas canvas(60, 120, kGreen);
        DrawDefaultAvatar(canvas.dc(), 2, 3, c.bSmall, c.bFullHeight, c.cSex, trans, 0);
        EXPECT_TRUE(canvas.ShowsBlock(2, 3, c.width, c.height, kWhite));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DefaultAvatarTest,
    ::testing::Values(EntryCase{0, 0, 'M', false, 46, 64}, EntryCase{1, 0, 'M', false, 22, 32},
                      EntryCase{0, 1, 'A', false, 46, 102}, EntryCase{1, 1, 0, false, 22, 52},
                      EntryCase{0, 0, 'F', true, 46, 64}, EntryCase{1, 0, 'F', true, 22, 32},
                      EntryCase{0, 1, 'F', true, 46, 102}, EntryCase{2, 7, 'F', true, 22, 52},
                      EntryCase{1, 1, 'f', false, 22, 52}));

TEST_F(DefaultAvatarTest, EntriesHoldOneUseOfTheirPartWhileTheyLive) {
    AddDefaultImages();
    InitDefaultAvatars();
    EXPECT_EQ(2, UseCount("AWFS_" + kMale));
    EXPECT_EQ(2, UseCount("ACFS_" + kFemale));
    InitDefaultAvatars();
    EXPECT_EQ(2, UseCount("ACFS_" + kMale));
    DestroyDefaultAvatar();
    EXPECT_EQ(0, UseCount("AWFS_" + kMale));
    EXPECT_EQ(0, UseCount("ACFS_" + kFemale));
}

TEST_F(DefaultAvatarTest, NothingIsDrawnOutsideTheirLifetime) {
    Canvas canvas(60, 120, kGreen);
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    InitDefaultAvatars();
    DestroyDefaultAvatar();
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
    for (CAvtr2004* entry : s_pDefaultAvatar) {
        EXPECT_EQ(nullptr, entry);
    }
}

}  // namespace
}  // namespace layered_test
