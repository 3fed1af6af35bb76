#include <gtest/gtest.h>

#include "layered/default_avatars.h"
#include "layered_fixture.h"

namespace layered_test {
namespace {

struct EntryCase {
    int bSmall;
    int bFullHeight;
    char cSex;
    bool female;
    int width;
    int height;
};

class DefaultAvatarTest : public PoolTest, public ::testing::WithParamInterface<EntryCase> {};

// Without images every entry is a white block, even when drawn transparent (only
// pure blue is transparent); with them, the picture of the matching entry.
TEST_P(DefaultAvatarTest, DrawsWhiteWithoutImagesThenTheMatchingEntry) {
    const EntryCase& c = GetParam();
    InitDefaultAvatars();
    for (const bool trans : {false, true}) {
        Canvas canvas(60, 120, kGreen);
        DrawDefaultAvatar(canvas.dc(), 2, 3, c.bSmall, c.bFullHeight, c.cSex, trans, 0);
        EXPECT_TRUE(canvas.ShowsBlock(2, 3, c.width, c.height, kWhite)) << "trans " << trans;
    }
    DestroyDefaultAvatar();
    AddDefaultImages();
    InitDefaultAvatars();
    Canvas canvas(60, 120, kGreen);
    DrawDefaultAvatar(canvas.dc(), 2, 3, c.bSmall, c.bFullHeight, c.cSex, false, 0);
    EXPECT_TRUE(canvas.ShowsCoordinates(2, 3, c.width, c.height, c.bSmall ? 14 : 27,
                                        c.bSmall ? 0 : 5, c.female ? kSecondTag : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DefaultAvatarTest,
    ::testing::Values(EntryCase{0, 0, 'M', false, 46, 64}, EntryCase{1, 0, 'M', false, 22, 32},
                      EntryCase{0, 1, 'A', false, 46, 102}, EntryCase{1, 1, 0, false, 22, 52},
                      EntryCase{0, 0, 'F', true, 46, 64}, EntryCase{1, 0, 'F', true, 22, 32},
                      EntryCase{0, 1, 'F', true, 46, 102}, EntryCase{2, 7, 'F', true, 22, 52},
                      EntryCase{1, 1, 'f', false, 22, 52}));

TEST_F(DefaultAvatarTest, NothingIsDrawnOutsideTheirLifetime) {
    AddDefaultImages();
    Canvas canvas(60, 120, kGreen);
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    InitDefaultAvatars();
    DestroyDefaultAvatar();
    EXPECT_EQ(0, UseCount("AWFS_LCF001_HCF001_FNF001A_PNF001"));
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
}

}  // namespace
}  // namespace layered_test
