// The sub-commands but gif, run as a separate program; render against a loopback
// image server.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "loopback_http/http_server.h"
#include "support/bmp_builder.h"
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
        // The program must not read the user's own settings.
        setenv("KVAVTR_REGISTRY", Out("no-registry.ini").c_str(), 1);
        m_server.SetFile("/avgif/lc/lcm001.gif", RectanglePart({255, 0, 0}, 30, 10, 40, 20));
        m_server.SetFile("/avgif/hc/hcm001.gif", RectanglePart({0, 255, 0}, 35, 15, 45, 25));
    }
    void TearDown() override {
        unsetenv("KVAVTR_REGISTRY");
        fs::remove_all(m_dir);
    }
    kvtest::ProgramOutcome Render(std::vector<std::string> args, bool wantStderr = false) {
        args.insert(args.begin(), {"render", "--home", m_dir, "--server", m_server.HostPort()});
        return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
    }
    std::string Out(const std::string& name) const { return m_dir + "/" + name; }

    const std::string m_dir = kvtest::MakeTempFolder();
    loopback::HttpServer m_server;
};

TEST_F(RenderCommandTest, DownloadsPartsAndDrawsThemBackToFront) {
    const auto outcome = Render({"--no-box", "--out", Out("a.png"), "lcm001_hcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.output.find("part hcm001: in the pool"), std::string::npos);
    EXPECT_NE(outcome.output.find("fetched lc/lcm001.gif"), std::string::npos);
    const kvtest::PngPicture picture = kvtest::ReadPng(Out("a.png"));
    // The whole surface, upper half; the later layer covers the earlier one.
    ASSERT_EQ(picture.width, 100u);
    ASSERT_EQ(picture.height, 60u);
    EXPECT_EQ(picture.At(0, 0), kWhite);
    EXPECT_EQ(picture.At(32, 12), kRed);
    EXPECT_EQ(picture.At(37, 17), kGreen);
    EXPECT_EQ(picture.At(44, 24), kGreen);
    EXPECT_EQ(picture.At(45, 25), kWhite);
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
    EXPECT_TRUE(fs::exists(Out("Avatar/lc/lcm001.gif")));
}

// A transparent draw keeps the canvas where the surface is pure blue.
TEST_F(RenderCommandTest, FigureBoxFramesAndTransparency) {
    const auto outcome =
        Render({"--block", "--frames", "3", "--interval", "1", "--bg", "0xFF0000", "--trans",
                "--canvas", "0x808080", "--out", Out("f.png"), "lcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    for (const char* name : {"f-000.png", "f-001.png", "f-002.png"}) {
        const kvtest::PngPicture picture = kvtest::ReadPng(Out(name));
        EXPECT_EQ(picture.width, 46u) << name;
        EXPECT_EQ(picture.height, 64u) << name;
        EXPECT_EQ(picture.At(0, 0), 0x808080FFu) << name;
        EXPECT_EQ(picture.At(3, 5), kRed) << name;  // surface column 30, row 10
    }
    EXPECT_FALSE(fs::exists(Out("f.png")));
}

TEST_F(RenderCommandTest, RefusesBadArgumentsAndUnreadableHome) {
    const std::vector<std::vector<std::string>> usage = {
        {"lcm001"},                                          // no --out
        {"--out", Out("x.png")},                             // no ID
        {"--rect", "1,2", "--out", Out("x.png"), "lcm001"},  // short rectangle
        {"--bg", "0x1000000", "--out", Out("x.png"), "lcm001"}};
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

kvtest::ProgramOutcome RunKvavtr(const std::vector<std::string>& args, bool wantStderr = false) {
    return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
}

TEST(IdCommands, PrintOneLineOrTheUsage) {
    const std::string idUsage = "usage: kvavtr id [--com] ID\n";
    const std::string convertUsage = "usage: kvavtr convert CODE\n";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string output;
    } cases[] = {
        {{"id", "LCM001_HCM001_FNM001A_PNM001"},
         0,
         R"({"parts": ["pnm001b", "lcm001", "hcm001", "fnm001a", "pnm001a"], "com": false, )"
         R"("default": false, "expression": "a", "string": "lcm001_hcm001_fnm001a_pnm001"})"
         "\n"},
        {{"id", "--com", "LCF001_HCF001_FNF001A_PNF001"},
         0,
         R"({"parts": ["LCF001_HCF001_FNF001A_PNF001"], "com": true, "default": true, )"
         R"("expression": null, "string": "lcf001_hcf001_fnf001a_pnf001"})"
         "\n"},
        {{"id", "--com", "a\"b\\c\x01\xc3\xa9"},
         0,
         R"({"parts": ["A\"B\\C\u0001\u00c3\u00a9"], "com": true, "default": false, )"
         R"("expression": null, "string": "a\"b\\c\u0001\u00c3\u00a9"})"
         "\n"},
        {{"convert", "S0000020000000000000000012"}, 0, "ssf012a_\n"},
        {{"id"}, 2, idUsage},
        {{"id", "--upper", "abc"}, 2, idUsage},
        {{"id", "abc", "def"}, 2, idUsage},
        {{"convert", "N", "N"}, 2, convertUsage}};
    for (const auto& c : cases) {
        const kvtest::ProgramOutcome outcome = RunKvavtr(c.args, c.exitCode != 0);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.args.back();
        EXPECT_EQ(outcome.output, c.output);
    }
}

TEST(BmpCommand, WritesThePictureOrOneLineWithTheReason) {
    const std::string folder = kvtest::MakeTempFolder();
    const std::string out = folder + "/out.png";
    kvtest::BmpBuilder bmp(3, 2, 24);
    bmp.Pixel(0, 0, 0xFF0000).Pixel(2, 1, 0x00FF00);
    ASSERT_TRUE(kvtest::WriteBytes(folder + "/in.bmp", bmp.Bytes()));
    EXPECT_EQ(RunKvavtr({"bmp", folder + "/in.bmp", out}).exitCode, 0);
    const kvtest::PngPicture picture = kvtest::ReadPng(out);
    EXPECT_EQ(picture.width, 3u);
    EXPECT_EQ(picture.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(picture.At(2, 1), 0x00FF00FFu);
    std::vector<uint8_t> truncated = kvtest::BmpBuilder(4, 4, 24).Bytes();
    truncated.resize(truncated.size() - 1);
    const std::pair<std::vector<uint8_t>, const char*> refused[] = {
        {std::vector<uint8_t>(54, 'B'), "too short"},
        {kvtest::BmpBuilder(2, 2, 16).Bytes(), "bit count 16"},
        {truncated, "truncated"},
        {{}, "cannot open"}};
    for (const auto& [bytes, reason] : refused) {
        std::remove((folder + "/bad.bmp").c_str());
        if (!bytes.empty()) {
            ASSERT_TRUE(kvtest::WriteBytes(folder + "/bad.bmp", bytes));
        }
        const kvtest::ProgramOutcome outcome = RunKvavtr({"bmp", folder + "/bad.bmp", out}, true);
        EXPECT_EQ(outcome.exitCode, 1) << reason;
        EXPECT_NE(outcome.output.find(reason), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find('\n'), outcome.output.size() - 1) << outcome.output;
    }
    EXPECT_EQ(RunKvavtr({"bmp"}).exitCode, 2);
    EXPECT_EQ(RunKvavtr({"bmp", "a", "b", "c"}).exitCode, 2);
}

}  // namespace
