#include <gtest/gtest.h>

#include <string>
#include <vector>

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

class DrawRectTest : public PoolTest, public ::testing::WithParamInterface<RectCase> {};

// Draw copies the region GetDrawRect gives one to one, from a part that covers
// the whole surface.
TEST_P(DrawRectTest, DrawCopiesTheOutputRegionOneToOne) {
    const RectCase& c = GetParam();
    const bool small = c.com && c.bSmall;
    const std::string part = !c.com ? "lcm001" : small ? "ACFS_XYZ123" : "AWFS_XYZ123";
    AddCoordinatePart(part, small ? 50 : 100, small ? 60 : 120);
    CAvtrId id;
    id.Set(c.com ? "XYZ123" : "lcm001", c.com);
    TestAvatar avatar;
    ASSERT_EQ(1, avatar.Create(id, c.bSmall, c.bFullHeight, c.bBox, kWhite));
    // Com avatars take the size prefix and a surface of that size; the figure size never changes.
    EXPECT_EQ(part, avatar.AvatarId().IdVec().front());
    EXPECT_EQ(small ? 50 : 100, avatar.SurfaceWidth());
    EXPECT_EQ(small ? 60 : 120, avatar.SurfaceHeight());
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
    if (c.drawingRect) {
        RECT rc{10, 10, 60, 90};
        avatar.SetDrawingRect(rc);
    }
    RECT dest{};
    RECT src{};
    avatar.GetDrawRect(dest, src);
    EXPECT_EQ((std::vector<LONG>{c.src.left, c.src.top, c.src.right, c.src.bottom}),
              (std::vector<LONG>{src.left, src.top, src.right, src.bottom}));
    EXPECT_EQ((std::vector<LONG>{0, 0, c.dest.right, c.dest.bottom}),
              (std::vector<LONG>{dest.left, dest.top, dest.right, dest.bottom}));
    Canvas canvas(140, 150, kGreen);
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
