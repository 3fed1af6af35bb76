#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/bmp_builder.h"
#include "support/legacy_art.h"
#include "support/png_read.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kKey = 0x0000FF00;

// 0xRRGGBBAA of a tile as a DC shows it, optionally with the selection tint.
uint32_t Tile(const char* sheet, int tile, bool selected = false) {
    const uint32_t bgr =
        kvtest::LegacyPixelColor(kvtest::LegacyTilePixel(sheet, tile)) & ~(selected ? 0x5050u : 0);
    return (bgr & 0xFF) << 24 | (bgr & 0xFF00) << 8 | (bgr >> 8 & 0xFF00) | 0xFF;
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

    const fs::path m_dir = kvtest::MakeTempFolder();
    const fs::path m_oldCwd = fs::current_path();
    const std::string m_out = (m_dir / "out.png").string();
};

TEST_F(LegacyCommandsTest, PicturesOfEveryKind) {
    const std::string n = "NNN0121001001N010000000000";
    const struct {
        std::vector<std::string> args;
        unsigned width, height;
        std::vector<std::tuple<unsigned, unsigned, uint32_t>> pixels;
    } cases[] = {
        {{"legacy", n}, 45, 64, {{13, 10, Tile("MB", 2)}, {44, 10, Tile("MA1", 0)}}},
        {{"legacy", n, "--selected", "--canvas", "0xFF00"},
         45,
         64,
         {{13, 10, Tile("MB", 2, true)}, {9, 62, 0x00FF00FF}}},
        {{"legacy", n, "--half", "--tall"}, 45, 64, {{6, 5, Tile("MB", 2)}, {30, 5, kWhite}}},
        {{"legacy", "--image", n}, 46, 64, {{45, 10, Tile("MA1", 0)}, {9, 62, kKey}}},
        {{"anonymous"}, 45, 64, {{20, 20, Tile("defaultMAvtr", 0)}, {1, 20, kWhite}}},
        {{"anonymous", "--female", "--half", "--tall", "--selected"},
         22,
         51,
         {{10, 20, Tile("defaultWAvtr", 0, true)}, {0, 20, kWhite}}},
    };
    for (auto c : cases) {
        if (c.args[0] == "legacy") {
            c.args.insert(c.args.end(), {"--home", m_dir.string()});
        }
        c.args.insert(c.args.end(), {"--out", m_out});
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(KVAVTR_CLI_PATH, c.args, true);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
        const kvtest::PngPicture picture = kvtest::ReadPng(m_out);
        ASSERT_EQ(picture.width, c.width) << c.args[1];
        ASSERT_EQ(picture.height, c.height) << c.args[1];
        for (const auto& [x, y, rgba] : c.pixels) {
            EXPECT_EQ(picture.At(x, y), rgba) << c.args[0] << " " << c.args[1] << " at " << x;
        }
    }
}

TEST_F(LegacyCommandsTest, MissingArtAndRefusedCodesFailWithOneLine) {
    const std::string home = m_dir.string();
    const std::vector<std::vector<std::string>> failing = {
        {"legacy", "NNN0123001001N010000000000", "--home", home, "--out", m_out},  // set 3
        {"legacy", "NNN0121001001N010000000000", "--home", home, "--out", m_out},
        {"anonymous", "--size", "2", "--out", m_out},
        {"anonymous", "--out", m_out},
    };
    for (const auto& args : failing) {
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(KVAVTR_CLI_PATH, args, true);
        EXPECT_EQ(outcome.exitCode, 1) << args[0];
        EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1)
            << outcome.output;
        EXPECT_FALSE(fs::exists(m_out));
        fs::remove(m_dir / "Avatar" / "default.avt");
        fs::remove(m_dir / "images" / "defaultMAvtr.qim");
    }
    EXPECT_EQ(
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"legacy", "--image", "N", "--selected"}).exitCode, 2);
}

}  // namespace
