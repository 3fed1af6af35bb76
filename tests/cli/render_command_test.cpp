// kvavtr render, run as a separate program against a loopback image server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "loopback_http/http_server.h"
#include "support/gif_builder.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kGreen = 0x00FF00FF;

// A 100 x 120 part: one opaque rectangle of colour index 1, the rest transparent.
std::vector<uint8_t> RectanglePart(kvtest::Rgb colour, int left, int top, int right, int bottom) {
    kvtest::GifBytes indices(100 * 120, 0);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            indices[static_cast<size_t>(y) * 100 + x] = 1;
        }
    }
    kvtest::GifBuilder gif(100, 120);
    gif.GlobalTable({{0, 0, 255}, colour})
        .GraphicControl(0, 10, 0)
        .Image(0, 0, 100, 120, indices, 2);
    return gif.Trailer().Data();
}

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("kvavtr-render-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "home");
        // The program must not read the user's own settings.
        setenv("KVAVTR_REGISTRY", (m_dir / "no-registry.ini").c_str(), 1);
        m_server.SetFile("/avgif/lc/lcm001.gif", RectanglePart({255, 0, 0}, 30, 10, 40, 20));
        m_server.SetFile("/avgif/hc/hcm001.gif", RectanglePart({0, 255, 0}, 35, 15, 45, 25));
    }
    void TearDown() override {
        unsetenv("KVAVTR_REGISTRY");
        fs::remove_all(m_dir);
    }

    kvtest::ProgramOutcome Render(std::vector<std::string> args, bool wantStderr = false) {
        args.insert(args.begin(), {"render", "--home", (m_dir / "home").string(), "--server",
                                   m_server.HostPort()});
        return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
    }
    std::string Out(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    loopback::HttpServer m_server;
};

TEST_F(RenderCommandTest, DownloadsPartsAndDrawsThemBackToFront) {
    const auto outcome = Render({"--no-box", "--out", Out("a.png"), "lcm001_hcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.output.find("part lcm001: in the pool"), std::string::npos);
    EXPECT_NE(outcome.output.find("part hcm001: in the pool"), std::string::npos);
    EXPECT_NE(outcome.output.find("fetched lc/lcm001.gif"), std::string::npos);
    EXPECT_NE(outcome.output.find("first complete draw"), std::string::npos);
    const kvtest::PngPicture picture = kvtest::ReadPng(Out("a.png"));
    // The whole surface, upper half.
    ASSERT_EQ(picture.width, 100u);
    ASSERT_EQ(picture.height, 60u);
    EXPECT_EQ(picture.At(0, 0), kWhite);
    EXPECT_EQ(picture.At(32, 12), kRed);
    EXPECT_EQ(picture.At(37, 17), kGreen);  // the later layer covers the earlier one
    EXPECT_EQ(picture.At(44, 24), kGreen);
    EXPECT_EQ(picture.At(45, 25), kWhite);
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
    EXPECT_TRUE(fs::exists(m_dir / "home" / "Avatar" / "lc" / "lcm001.gif"));
}

TEST_F(RenderCommandTest, FigureBoxAndFramesNameTheirFiles) {
    const auto outcome =
        Render({"--block", "--frames", "3", "--interval", "1", "--out", Out("f.png"), "lcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    for (const char* name : {"f-000.png", "f-001.png", "f-002.png"}) {
        const kvtest::PngPicture picture = kvtest::ReadPng(Out(name));
        EXPECT_EQ(picture.width, 46u) << name;
        EXPECT_EQ(picture.height, 64u) << name;
        // Surface column 30, row 10 lands at (3, 5) of the figure box.
        EXPECT_EQ(picture.At(3, 5), kRed) << name;
    }
    EXPECT_FALSE(fs::exists(Out("f.png")));
}

TEST_F(RenderCommandTest, MissingPartLeavesOnlyTheBackground) {
    m_server.SetFault("/avgif/lc/lcm001.gif", loopback::HttpFault::kNotFound);
    const auto outcome =
        Render({"--no-box", "--wait", "300", "--bg", "0x00FF00", "--out", Out("m.png"), "lcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.output.find("part lcm001: missing"), std::string::npos);
    const kvtest::PngPicture picture = kvtest::ReadPng(Out("m.png"));
    ASSERT_EQ(picture.width, 100u);
    EXPECT_EQ(picture.At(32, 12), kGreen);
    EXPECT_FALSE(fs::exists(m_dir / "home" / "Avatar" / "lc" / "lcm001.gif"));
}

TEST_F(RenderCommandTest, TransparentDrawKeepsTheCanvasWhereTheSurfaceIsBlue) {
    const auto outcome = Render({"--block", "--no-box", "--bg", "0xFF0000", "--trans", "--canvas",
                                 "0x808080", "--out", Out("t.png"), "lcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    const kvtest::PngPicture picture = kvtest::ReadPng(Out("t.png"));
    ASSERT_EQ(picture.width, 100u);
    EXPECT_EQ(picture.At(0, 0), 0x808080FFu);
    EXPECT_EQ(picture.At(32, 12), kRed);
}

TEST_F(RenderCommandTest, RefusesBadArgumentsAndUnreadableHome) {
    const std::vector<std::vector<std::string>> usage = {
        {"lcm001"},                                          // no --out
        {"--out", Out("x.png")},                             // no ID
        {"--rect", "1,2", "--out", Out("x.png"), "lcm001"},  // short rectangle
        {"--sex", "X", "--out", Out("x.png"), "lcm001"},
        {"--bg", "0x1000000", "--out", Out("x.png"), "lcm001"},
        {"--bogus", "--out", Out("x.png"), "lcm001"},
    };
    for (const auto& args : usage) {
        EXPECT_EQ(Render(args, true).exitCode, 2) << args[0];
    }
    const auto outcome = kvtest::RunProgram(
        KVAVTR_CLI_PATH, {"render", "--home", Out("nowhere"), "--out", Out("x.png"), "lcm001"},
        true);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find("nowhere"), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("x.png")));
}

}  // namespace
