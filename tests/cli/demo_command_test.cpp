#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "sample_art/canvas.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

struct Figure {
    std::string section, id;
    unsigned x, y, w, h;
};

std::vector<Figure> Figures(const std::string& html) {
    static const std::regex figure(
        R"x(<figure data-section="([^"]*)" data-id="([^"]*)" data-x="(\d+)" data-y="(\d+)" )x"
        R"x(data-w="(\d+)" data-h="(\d+)")x");
    std::vector<Figure> figures;
    for (std::sregex_iterator m(html.begin(), html.end(), figure), end; m != end; ++m) {
        const auto number = [&](int i) { return static_cast<unsigned>(std::stoul((*m)[i])); };
        figures.push_back({(*m)[1], (*m)[2], number(3), number(4), number(5), number(6)});
    }
    return figures;
}

// Whether the figure's area holds a pixel of the colour, as 5-bit channels keep it.
bool Holds(const kvtest::PngPicture& png, const Figure& f, sampleart::Rgb colour) {
    for (unsigned i = 0; i < f.w * f.h; ++i) {
        const uint32_t p = png.At(f.x + i % f.w, f.y + i / f.w);
        if ((p >> 27) == colour.r >> 3u && ((p >> 19) & 31) == colour.g >> 3u &&
            ((p >> 11) & 31) == colour.b >> 3u) {
            return true;
        }
    }
    return false;
}

bool Says(const std::string& output, const std::string& line) {
    return output.find(line + "\n") != std::string::npos;
}

TEST(DemoCommand, DrawsEveryAvatarWhereTheIndexSays) {
    const fs::path dir = fs::temp_directory_path() / "kvavtr-demo-test";
    fs::remove_all(dir);
    const auto run =
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"demo", "--out", dir.string(), "--seconds", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.output;

    std::ifstream html(dir / "index.html");
    const std::vector<Figure> figures = Figures(
        std::string(std::istreambuf_iterator<char>(html), std::istreambuf_iterator<char>()));
    ASSERT_GT(figures.size(), 25u);
    const std::string drawn = "avatars drawn: " + std::to_string(figures.size()) + " of " +
                              std::to_string(figures.size());
    EXPECT_TRUE(Says(run.output, drawn)) << run.output;

    int error = 0;
    GifFileType* gif = DGifOpenFileName((dir / "demo.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    const kvtest::PngPicture png = kvtest::ReadPng((dir / "demo.png").string());
    EXPECT_EQ(png.width, static_cast<unsigned>(gif->SWidth));
    EXPECT_EQ(png.height, static_cast<unsigned>(gif->SHeight));
    EXPECT_TRUE(Says(run.output, "frames: " + std::to_string(gif->ImageCount)));
    EXPECT_GT(gif->ImageCount, 1);
    const auto animated = std::count_if(figures.begin(), figures.end(), [](const Figure& f) {
        return f.section == "animated" && f.id.rfind("kv", 0) == 0;
    });
    EXPECT_NE(run.output.find("messages: " + std::to_string(animated) + " loaded"),
              std::string::npos);
    DGifCloseFile(gif, &error);

    using namespace sampleart;
    const std::pair<std::string, Colour> expected[] = {
        {"lcm001_hcm001_fnm001a_pnm001", kShirtMale}, {"SAMPLE_GIRL", kShirtFemale},
        {"lcm002_hcm001_fnm001a_pbm001", kGreen},     {"XNN0111001001N010000000000", kGold},
        {"N1N0131001004B010101000100", kBalloon},     {"QMarkM", kQuestion},
        {"DrawAnonymousAvatar", kSilhouette},         {"kvwave", kShirtMale},
        {"NEN0312001002N010000000100", kHairBlue},
    };
    for (const auto& [id, colour] : expected) {
        const auto f = std::find_if(figures.begin(), figures.end(),
                                    [&](const Figure& figure) { return figure.id == id; });
        ASSERT_NE(f, figures.end()) << id;
        EXPECT_TRUE(Holds(png, *f, kPalette[colour])) << id;
    }
    for (const Figure& f : figures) {
        ASSERT_LE(f.x + f.w, png.width);
        ASSERT_LE(f.y + f.h, png.height);
        EXPECT_FALSE(Holds(png, f, kPalette[kKey])) << f.section << " " << f.id << ": pure blue";
        // Grey figures are stand-ins and fall-backs: only anonymous players may be grey.
        EXPECT_TRUE(f.section == "anonymous" || !Holds(png, f, kPalette[kSilhouette])) << f.id;
    }

    // A second run in the same folder starts afresh and leaves other files alone.
    std::ofstream(dir / "keep.txt") << "mine";
    const auto again =
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"demo", "--out", dir.string(), "--seconds", "1"});
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_TRUE(Says(again.output, drawn));
    EXPECT_TRUE(fs::exists(dir / "keep.txt"));
    fs::remove_all(dir);
}

TEST(DemoCommand, RefusesBadOptionsAndUnusableFolders) {
    const fs::path file = fs::temp_directory_path() / "kvavtr-demo-not-a-folder";
    std::ofstream(file) << "x";
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"--seconds", "0"}, 2}, {{"--seconds", "2x"}, 2}, {{"--seconds", "1e9"}, 2},
        {{"--out"}, 2},          {{"--colour", "red"}, 2}, {{"--out", (file / "sub").string()}, 1},
    };
    for (auto [args, exitCode] : cases) {
        args.insert(args.begin(), "demo");
        const auto run = kvtest::RunProgram(KVAVTR_CLI_PATH, args, true);
        EXPECT_EQ(run.exitCode, exitCode) << args.back();
        EXPECT_FALSE(run.output.empty()) << args.back();
    }
    fs::remove(file);
}

}  // namespace
