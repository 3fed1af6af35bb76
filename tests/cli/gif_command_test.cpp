// kvavtr gif FILE OUTDIR, run as a separate program.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gif/gif_test_util.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace giftest {
namespace {

struct Outcome {
    int exitCode;
    std::string errors;
};

Outcome RunGif(const std::string& file, const std::string& folder) {
    const kvtest::ProgramOutcome run =
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"gif", file, folder}, true);
    return {run.exitCode, run.output};
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

using PngInfo = kvtest::PngPicture;
using kvtest::ReadPng;

TEST(GifCommand, WritesFramesAndJson) {
    GifBuilder gif(3, 2);
    gif.GlobalTable({kRed, kGreen}).Loop(4).GraphicControl(1, 12, 1);
    gif.Image(0, 0, 3, 2, {0, 1, 0, 0, 0, 0}, 2).GraphicControl(1, 30).Image(1, 1, 1, 1, {1}, 2);
    const std::string file = TempPath("anim.gif");
    ASSERT_TRUE(gif.Trailer().WriteFile(file));
    const std::string folder = TempPath("out") + "/nested";
    std::filesystem::remove_all(folder);

    const Outcome outcome = RunGif(file, folder);
    ASSERT_EQ(0, outcome.exitCode) << outcome.errors;
    EXPECT_EQ(
        "{\"screen\": [3, 2], \"loop\": 4, \"frames\": [{\"width\": 4, \"height\": 2, \"delay\": "
        "12}, "
        "{\"width\": 4, \"height\": 2, \"delay\": 30}]}\n",
        ReadText(folder + "/frames.json"));
    const PngInfo first = ReadPng(folder + "/frame-000.png");
    EXPECT_EQ(4u, first.width);
    EXPECT_EQ(2u, first.height);
    ASSERT_EQ(32u, first.rgba.size());
    EXPECT_EQ((std::vector<uint8_t>{255, 0, 0, 255, 0, 0, 255, 0}),
              std::vector<uint8_t>(first.rgba.begin(), first.rgba.begin() + 8));
    const PngInfo second = ReadPng(folder + "/frame-001.png");
    EXPECT_EQ((std::vector<uint8_t>{0, 255, 0, 255}),
              std::vector<uint8_t>(second.rgba.begin() + 20, second.rgba.begin() + 24));
    EXPECT_FALSE(std::filesystem::exists(folder + "/frame-002.png"));
}

TEST(GifCommand, RefusedFilesGiveAOneLineReason) {
    const std::string folder = TempPath("out");
    const std::string notGif = TempPath("not.gif");
    const std::string noFrame = TempPath("empty.gif");
    ASSERT_TRUE(GifBuilder(1, 1, "GIF89b").Trailer().WriteFile(notGif));
    ASSERT_TRUE(GifBuilder(1, 1).Trailer().WriteFile(noFrame));
    const struct {
        std::string file;
        std::string reason;
    } cases[] = {
        {TempPath("missing.gif"), "kvavtr gif: cannot open " + TempPath("missing.gif") + "\n"},
        {notGif, "kvavtr gif: " + notGif + " is not a GIF file\n"},
        {noFrame, "kvavtr gif: " + noFrame + " has no decodable frame\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunGif(c.file, folder);
        EXPECT_EQ(1, outcome.exitCode) << c.file;
        EXPECT_EQ(c.reason, outcome.errors);
    }
}

}  // namespace
}  // namespace giftest
