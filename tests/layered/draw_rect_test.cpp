#include <gtest/gtest.h>

#include "layered_fixture.h"

namespace layered_test {
namespace {

struct RectCase {
    const char* name;
    bool com;
    int bSmall;
    int bFullHeight;
    int bBox;
    bool drawingRect;
    RECT src;   // (left, top, width, height)
    RECT dest;  // (0, 0, width, height)
};

void PrintTo(const RectCase& c, std::ostream* os) {
    *os << c.name;
}

class DrawRectTest : public PoolTest, public ::testing::WithParamInterface<RectCase> {
protected:
    // A part that covers the whole surface, each pixel telling its position.
    void CreateAvatar(TestAvatar& avatar, const RectCase& c) {
        CAvtrId id;
        if (c.com) {
            id.Set("XYZ123", true);
            const int side = c.bSmall ? 50 : 100;
            AddCoordinatePart(c.bSmall ? "ACFS_XYZ123" : "AWFS_XYZ123", side, side * 6 / 5);
        } else {
            id.Set("lcm001", false);
            AddCoordinatePart("lcm001");
        }
        ASSERT_EQ(1, avatar.Create(id, c.bSmall, c.bFullHeight, c.bBox, 0x00FFFFFF));
        if (c.drawingRect) {
            RECT rc{10, 10, 60, 90};
            avatar.SetDrawingRect(rc);
        }
    }
};

TEST_P(DrawRectTest, ComputesTheOutputRegion) {
    const RectCase& c = GetParam();
    TestAvatar avatar;
    CreateAvatar(avatar, c);
    RECT dest{};
    RECT src{};
    avatar.GetDrawRect(dest, src);
    EXPECT_EQ(c.src.left, src.left);
    EXPECT_EQ(c.src.top, src.top);
    EXPECT_EQ(c.src.right, src.right);
    EXPECT_EQ(c.src.bottom, src.bottom);
    EXPECT_EQ(0, dest.left);
    EXPECT_EQ(0, dest.top);
    EXPECT_EQ(c.dest.right, dest.right);
    EXPECT_EQ(c.dest.bottom, dest.bottom);
}

TEST_P(DrawRectTest, DrawCopiesThatRegionOneToOne) {
    const RectCase& c = GetParam();
    TestAvatar avatar;
    CreateAvatar(avatar, c);
    Canvas canvas(140, 150, RGB(0, 255, 0));
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 10, 20, 'M', false, 0));
    EXPECT_TRUE(
        canvas.ShowsCoordinates(10, 20, c.dest.right, c.dest.bottom, c.src.left, c.src.top));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawRectTest,
    ::testing::Values(
        RectCase{"BoxFullHeight", false, 0, 1, 1, false, {27, 5, 46, 102}, {0, 0, 46, 102}},
        RectCase{"Box", false, 0, 0, 1, false, {27, 5, 46, 64}, {0, 0, 46, 64}},
        RectCase{"BoxSmallFullHeight", false, 1, 1, 1, false, {27, 5, 46, 102}, {0, 0, 22, 52}},
        RectCase{"BoxSmall", false, 1, 0, 1, false, {27, 5, 46, 64}, {0, 0, 22, 32}},
        RectCase{"ComBoxSmallFullHeight", true, 1, 1, 1, false, {14, 0, 22, 52}, {0, 0, 22, 52}},
        RectCase{"ComBoxSmall", true, 1, 0, 1, false, {14, 0, 22, 32}, {0, 0, 22, 32}},
        RectCase{"ComBoxFullHeight", true, 0, 1, 1, false, {27, 5, 46, 102}, {0, 0, 46, 102}},
        RectCase{"WholeFullHeight", false, 0, 1, 0, false, {0, 0, 100, 120}, {0, 0, 100, 120}},
        RectCase{"Whole", false, 0, 0, 0, false, {0, 0, 100, 60}, {0, 0, 100, 60}},
        RectCase{"WholeSmallFullHeight", false, 1, 1, 0, false, {0, 0, 50, 120}, {0, 0, 50, 60}},
        RectCase{"DrawingRect", false, 0, 0, 0, true, {10, 10, 50, 80}, {0, 0, 50, 80}},
        RectCase{"DrawingRectSmall", false, 1, 1, 0, true, {10, 10, 50, 80}, {0, 0, 25, 40}},
        RectCase{
            "DrawingRectIgnoredInBox", false, 0, 1, 1, true, {27, 5, 46, 102}, {0, 0, 46, 102}}),
    [](const ::testing::TestParamInfo<RectCase>& info) { return info.param.name; });

}  // namespace
}  // namespace layered_test
