// kvavtr legacy and kvavtr anonymous, run as separate programs in an art folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bmp_builder.h"
#include "support/legacy_art.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kKey = 0x0000FF00;

// 0xRRGGBBAA of a tile's colour as a DC shows it, optionally with the selection tint.
uint32_t Rgba(const char* sheet, int tile, bool selected = false) {
    uint32_t colour = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel(sheet, tile));
    if (selected) {
        colour &= ~0x5050u;
    }
    return (colour & 0xFF) << 24 | ((colour >> 8) & 0xFF) << 16 | ((colour >> 16) & 0xFF) << 8 |
           0xFF;
}

class LegacyCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kvtest::LegacyArt(m_dir.string()).Write());
        setenv("KVAVTR_REGISTRY", (m_dir / "no-registry.ini").c_str(), 1);
        fs::current_path(m_dir);  // the fixed sheets and pictures are found from here
    }
    void TearDown() override {
        fs::current_path(m_oldCwd);
        unsetenv("KVAVTR_REGISTRY");
        fs::remove_all(m_dir);
    }

    // Runs the command and reads its picture; width 0 when it failed.
    kvtest::PngPicture Picture(std::vector<std::string> args) {
        if (args[0] == "legacy") {
            args.insert(args.end(), {"--home", m_dir.string()});
        }
        args.insert(args.end(), {"--out", (m_dir / "out.png").string()});
        fs::remove(m_dir / "out.png");
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(KVAVTR_CLI_PATH, args, true);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
        return kvtest::ReadPng((m_dir / "out.png").string());
    }

    const fs::path m_dir = kvtest::MakeTempFolder();
    const fs::path m_oldCwd = fs::current_path();
};

struct PixelCheck {
    unsigned x, y;
    uint32_t rgba;
};

TEST_F(LegacyCommandsTest, PicturesOfEveryKind) {
    const char* code = "NNN0121001001N010000000000";
    const struct {
        std::vector<std::string> args;
        unsigned width, height;
        std::vector<PixelCheck> pixels;
    } cases[] = {
        {{"legacy", code},
         45,
         64,
         {{13, 10, Rgba("MB", 2)}, {44, 10, Rgba("MA1", 0)}, {9, 62, kWhite}}},
        {{"legacy", code, "--selected", "--canvas", "0x00FF00"},
         45,
         64,
         {{13, 10, Rgba("MB", 2, true)}, {9, 62, 0x00FF00FF}}},
        {{"legacy", code, "--half", "--tall"}, 45, 64, {{6, 5, Rgba("MB", 2)}, {30, 5, kWhite}}},
        {{"legacy", "--image", code}, 46, 64, {{45, 10, Rgba("MA1", 0)}, {9, 62, kKey}}},
        {{"legacy", "--image", code, "--half"}, 45, 64, {{6, 5, Rgba("MB", 2)}, {30, 5, kKey}}},
        {{"anonymous"}, 45, 64, {{20, 20, Rgba("defaultMAvtr", 0)}, {1, 20, kWhite}}},
        {{"anonymous", "--female", "--half", "--tall", "--selected"},
         22,
         51,
         {{10, 20, Rgba("defaultWAvtr", 0, true)}, {0, 20, kWhite}}},
        {{"anonymous", "--size", "0"},
         22,
         32,
         {{10, 20, Rgba("defaultMAvtr", 0)}, {0, 20, kWhite}}},
        {{"anonymous", "--size", "1", "--canvas", "0x00FF00"}, 22, 51, {{10, 50, 0x00FF00FF}}},
        {{"anonymous", "--size", "3", "--selected"},
         45,
         102,
         {{20, 20, Rgba("defaultMAvtr", 0, true)}, {20, 100, kWhite}}},
    };
    for (const auto& c : cases) {
        const kvtest::PngPicture picture = Picture(c.args);
        const std::string name = c.args[0] + " " + c.args.back();
        ASSERT_EQ(picture.width, c.width) << name;
        ASSERT_EQ(picture.height, c.height) << name;
        for (const PixelCheck& check : c.pixels) {
            EXPECT_EQ(picture.At(check.x, check.y), check.rgba) << name << " at " << check.x;
        }
    }
}

TEST_F(LegacyCommandsTest, MissingArtOrRefusedCodesFailWithOneLine) {
    const std::string out = (m_dir / "out.png").string();
    fs::remove(m_dir / "Avatar" / "default.avt");
    fs::remove(m_dir / "images" / "defaultMAvtr.qim");
    const std::vector<std::vector<std::string>> failing = {
        {"legacy", "NNN0121001001N010000000000", "--home", m_dir.string(), "--out", out},
        {"anonymous", "--size", "2", "--out", out},
        {"anonymous", "--out", out},
    };
    for (const auto& args : failing) {
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(KVAVTR_CLI_PATH, args, true);
        EXPECT_EQ(outcome.exitCode, 1) << args[0];
        EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1)
            << outcome.output;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"legacy", "--image", "N", "--selected", "--out", out})
            .exitCode,
        2);
}

TEST_F(LegacyCommandsTest, CodesOutsideTheTablesAreRefused) {
    const kvtest::ProgramOutcome outcome = kvtest::RunProgram(
        KVAVTR_CLI_PATH,
        {"legacy", "NNN0123001001N010000000000", "--home", m_dir.string(), "--out", "x.png"}, true);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find("refused"), std::string::npos) << outcome.output;
}

}  // namespace
