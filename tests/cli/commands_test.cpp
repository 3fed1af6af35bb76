#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "loopback_http/http_server.h"
#include "support/bmp_builder.h"
#include "support/gif_builder.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

// A 100 x 120 part: one opaque 10 x 10 square of the colour, the rest transparent.
std::vector<uint8_t> RectanglePart(kvtest::Rgb colour, int left, int top) {
    kvtest::GifBytes indices(100 * 120, 0);
    for (int i = 0; i < 100; ++i) {
        indices[static_cast<size_t>(top + i / 10) * 100 + left + i % 10] = 1;
    }
    kvtest::GifBuilder gif(100, 120);
    gif.GlobalTable({{0, 0, 255}, colour}).GraphicControl(0, 10, 0);
    return gif.Image(0, 0, 100, 120, indices, 2).Trailer().Data();
}

kvtest::ProgramOutcome RunKvavtr(const std::vector<std::string>& args, bool wantStderr = false) {
    return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
}

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KVAVTR_REGISTRY", Out("no-registry.ini").c_str(), 1);
        m_server.SetFile("/avgif/lc/lcm001.gif", RectanglePart({255, 0, 0}, 30, 10));
        m_server.SetFile("/avgif/hc/hcm001.gif", RectanglePart({0, 255, 0}, 35, 15));
    }
    void TearDown() override {
        unsetenv("KVAVTR_REGISTRY");
        fs::remove_all(m_dir);
    }
    kvtest::ProgramOutcome Render(std::vector<std::string> args, bool wantStderr = false) {
        args.insert(args.begin(), {"render", "--home", m_dir, "--server", m_server.HostPort()});
        return RunKvavtr(args, wantStderr);
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
    // The upper half of the surface; the later layer covers the earlier one.
    ASSERT_EQ(picture.width, 100u);
    ASSERT_EQ(picture.height, 60u);
    EXPECT_EQ(picture.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(picture.At(32, 12), 0xFF0000FFu);
    EXPECT_EQ(picture.At(37, 17), 0x00FF00FFu);
}

TEST_F(RenderCommandTest, FigureBoxFramesAndTransparency) {
    const auto outcome =
        Render({"--block", "--frames", "3", "--interval", "1", "--bg", "0xFF0000", "--trans",
                "--canvas", "0x808080", "--out", Out("f.png"), "lcm001"});
    ASSERT_EQ(outcome.exitCode, 0);
    const kvtest::PngPicture picture = kvtest::ReadPng(Out("f-002.png"));
    EXPECT_EQ(picture.width, 46u);
    EXPECT_EQ(picture.height, 64u);
    EXPECT_EQ(picture.At(0, 0), 0x808080FFu);
    EXPECT_EQ(picture.At(3, 5), 0xFF0000FFu);  // surface column 30, row 10
    EXPECT_TRUE(fs::exists(Out("f-000.png")) && fs::exists(Out("f-001.png")));
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
    const auto outcome =
        RunKvavtr({"render", "--home", Out("nowhere"), "--out", Out("x.png"), "lcm001"}, true);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find("nowhere"), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("x.png")));
}

TEST(IdCommands, PrintOneLineOrTheUsage) {
    const std::string idUsage = "usage: kvavtr id [--com] ID\n";
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
        {{"id", "--com", "a\"b\\c\x01\xc3\xa9"},
         0,
         R"({"parts": ["A\"B\\C\u0001\u00c3\u00a9"], "com": true, "default": false, )"
         R"("expression": null, "string": "a\"b\\c\u0001\u00c3\u00a9"})"
         "\n"},
        {{"convert", "S0000020000000000000000012"}, 0, "ssf012a_\n"},
        {{"id"}, 2, idUsage},
        {{"id", "--upper", "abc"}, 2, idUsage},
        {{"convert", "N", "N"}, 2, "usage: kvavtr convert CODE\n"}};
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
    ASSERT_TRUE(kvtest::WriteBytes(folder + "/16.bmp", kvtest::BmpBuilder(2, 2, 16).Bytes()));
    const std::pair<const char*, const char*> refused[] = {{"/16.bmp", "bit count 16"},
                                                           {"/no.bmp", "cannot open"}};
    for (const auto& [name, reason] : refused) {
        const kvtest::ProgramOutcome outcome = RunKvavtr({"bmp", folder + name, out}, true);
        EXPECT_EQ(outcome.exitCode, 1) << reason;
        EXPECT_NE(outcome.output.find(reason), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find('\n'), outcome.output.size() - 1) << outcome.output;
    }
    EXPECT_EQ(RunKvavtr({"bmp", "a", "b", "c"}).exitCode, 2);
    fs::remove_all(folder);
}

TEST(GifCommand, WritesFramesAndJsonOrOneLineWithTheReason) {
    kvtest::GifBuilder gif(3, 2);
    gif.GlobalTable({{255, 0, 0}, {0, 255, 0}}).Loop(4).GraphicControl(1, 12, 1);
    gif.Image(0, 0, 3, 2, {0, 1, 0, 0, 0, 0}, 2).GraphicControl(1, 30).Image(1, 1, 1, 1, {1}, 2);
    const std::string folder = kvtest::MakeTempFolder();
    ASSERT_TRUE(gif.Trailer().WriteFile(folder + "/anim.gif"));
    const auto outcome = RunKvavtr({"gif", folder + "/anim.gif", folder + "/out/nested"}, true);
    ASSERT_EQ(0, outcome.exitCode) << outcome.output;
    std::stringstream json;
    json << std::ifstream(folder + "/out/nested/frames.json").rdbuf();
    EXPECT_EQ(R"({"screen": [3, 2], "loop": 4, "frames": [{"width": 4, "height": 2, "delay": 12}, )"
              R"({"width": 4, "height": 2, "delay": 30}]})"
              "\n",
              json.str());
    const kvtest::PngPicture first = kvtest::ReadPng(folder + "/out/nested/frame-000.png");
    EXPECT_EQ(4u, first.width);
    EXPECT_EQ(2u, first.height);
    EXPECT_EQ(0xFF0000FFu, first.At(0, 0));
    EXPECT_EQ(0x0000FF00u, first.At(1, 0));  // the transparent index
    EXPECT_EQ(0x00FF00FFu, kvtest::ReadPng(folder + "/out/nested/frame-001.png").At(1, 1));
    EXPECT_FALSE(fs::exists(folder + "/out/nested/frame-002.png"));

    ASSERT_TRUE(kvtest::GifBuilder(1, 1, "GIF89b").Trailer().WriteFile(folder + "/not.gif"));
    ASSERT_TRUE(kvtest::GifBuilder(1, 1).Trailer().WriteFile(folder + "/empty.gif"));
    const std::pair<std::string, std::string> refused[] = {
        {folder + "/missing.gif", "cannot open " + folder + "/missing.gif"},
        {folder + "/not.gif", folder + "/not.gif is not a GIF file"},
        {folder + "/empty.gif", folder + "/empty.gif has no decodable frame"},
    };
    for (const auto& [file, reason] : refused) {
        const auto refusal = RunKvavtr({"gif", file, folder + "/out"}, true);
        EXPECT_EQ(1, refusal.exitCode) << file;
        EXPECT_EQ("kvavtr gif: " + reason + "\n", refusal.output);
    }
    fs::remove_all(folder);
}

}  // namespace
