#include <gtest/gtest.h>

#include <filesystem>

#include "loopback_http/http_server.h"
#include "support/avatar_gif.h"
#include "support/bmp_builder.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kGrey = 0x808080FF;
// The squares' colours as the canvas expands 5-5-5 pixels, opaque.
constexpr uint32_t kSquares[] = {0xFF0000FF, 0x00FF00FF, 0xFFFF00FF};

class AnimatedCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KVAVTR_REGISTRY", (m_dir / "no-registry.ini").c_str(), 1);
        m_server.SetFile("/IMG_AVTR/AGHS_anim.GIF", kvtest::AvatarGif(3));
        m_server.SetFile("/IMG_AVTR/AWFA_still.GIF", kvtest::AvatarGif(1));
        m_server.SetFile("/IMG_AVTR/AGHS_html.GIF", kvtest::AvatarGif(3));
        m_server.SetFault("/IMG_AVTR/AGHS_html.GIF", loopback::HttpFault::kHtmlErrorPage);
    }
    void TearDown() override {
        unsetenv("KVAVTR_REGISTRY");
        fs::remove_all(m_dir);
    }

    kvtest::ProgramOutcome Run(std::vector<std::string> args, bool wantStderr = false) {
        args.insert(args.begin(), {"animated", "--home", m_dir.string(), "--server",
                                   m_server.HostPort(), "--canvas", "0x808080"});
        return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
    }
    std::string Out(const std::string& name) const { return (m_dir / name).string(); }

    // The square of the given frame over the canvas, the rest transparent.
    static void ExpectFrame(const kvtest::PngPicture& picture, int frame) {
        ASSERT_EQ(picture.width, 10u);
        ASSERT_EQ(picture.height, 6u);
        for (unsigned i = 0; i < 60; ++i) {
            const unsigned x = i % 10;
            const bool square =
                i / 10 >= 2 && i / 10 <= 4 && x >= 3u * frame && x <= 3u * frame + 2;
            EXPECT_EQ(picture.At(x, i / 10), square ? kSquares[frame] : kGrey) << i;
        }
    }

    const fs::path m_dir = kvtest::MakeTempFolder();
    loopback::HttpServer m_server;
};

TEST_F(AnimatedCommandTest, PlaysTheFramesInTurn) {
    const auto outcome = Run({"--frames", "4", "--out", Out("a.png"), "anim"});
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output.find("message 1060 wParam 1 lParam facade\n"),
              outcome.output.find("message"));
    EXPECT_NE(outcome.output.find("message 1060 wParam 0 lParam facade\n"), std::string::npos);
    const int frames[] = {0, 1, 2, 0};
    for (int file = 0; file < 4; ++file) {
        SCOPED_TRACE(file);
        ExpectFrame(kvtest::ReadPng(Out("a-00" + std::to_string(file) + ".png")), frames[file]);
    }
    EXPECT_TRUE(fs::exists(m_dir / "Avatar" / "AGHS_anim.GIF"));
    // A still GIF gives the same picture each time.
    ASSERT_EQ(Run({"--aw", "--full", "--action", "--frames", "2", "--out", Out("s.png"), "still"})
                  .exitCode,
              0);
    ExpectFrame(kvtest::ReadPng(Out("s-000.png")), 0);
    ExpectFrame(kvtest::ReadPng(Out("s-001.png")), 0);
}

TEST_F(AnimatedCommandTest, FailuresExitWithOneLine) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string line;
    } cases[] = {
        {{"--out", Out("h.png"), "html"}, 1, "the avatar file failed to load"},
        {{"--wait", "300", "--out", Out("m.png"), "missing"}, 1, "no avatar after 300 ms"},
        {{"--out", Out("r.png"), "../x"}, 1, "identifier refused: ../x"},
        {{"--frames", "0", "--out", Out("b.png"), "anim"}, 2, "bad or missing value for --frames"},
        {{"anim"}, 2, "missing --out OUT.png"},
    };
    for (const auto& c : cases) {
        const auto outcome = Run(c.args, true);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.line;
        EXPECT_EQ(outcome.output, "kvavtr animated: " + c.line + "\n");
    }
    EXPECT_TRUE(fs::is_empty(m_dir / "Avatar"));
}

}  // namespace
