// The sample portal: a sheet for every part the legacy tables name, each as wide
// as its settings' tile count says, and animated avatars in every name variant.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "imaging/kv_aimage.h"
#include "sample_art/canvas.h"
#include "sample_art/portal.h"

namespace fs = std::filesystem;

namespace {

class PortalArtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<std::string> written;
        std::string error;
        fs::remove_all(Dir());
        ASSERT_TRUE(sampleart::WritePortal(Dir() / "server", Dir() / "portal", written, error))
            << error;
    }
    static void TearDownTestSuite() { fs::remove_all(Dir()); }
    // ctest runs each case in a process of its own, in parallel.
    static fs::path Dir() {
        return fs::temp_directory_path() / ("kvavtr-portal-art-test-" + std::to_string(getpid()));
    }
};

// "N" and "S1", "S2", ... of every section of the settings file.
std::map<std::string, int> Settings(const fs::path& ini) {
    std::map<std::string, int> values;
    std::ifstream file(ini);
    std::string line, section;
    while (std::getline(file, line)) {
        if (line.size() > 2 && line.front() == '[') {
            section = line.substr(1, line.size() - 2);
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            values[section + "/" + line.substr(0, eq)] = std::stoi(line.substr(eq + 1));
        }
    }
    return values;
}

std::pair<int, int> BitmapSize(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char head[26] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    return {head[18] | head[19] << 8, head[22] | head[23] << 8};
}

TEST_F(PortalArtTest, EverySheetHoldsItsTiles) {
    const fs::path avatar = Dir() / "portal" / "Avatar";
    const auto settings = Settings(avatar / "Avatar3.ini");
    std::vector<std::string> names = {"RHC1", "RHC5", "FHC1", "FHC5"};
    for (const char* part :
         {"RH",  "FH",  "RHSA", "FHSA", "RHAT", "FHAT", "B",  "F",  "FPW", "FPY", "FPB", "FMW",
          "FMY", "FMB", "HC",   "LC",   "CSA",  "CSB",  "A1", "A2", "A3",  "A4",  "RA3"}) {
        names.push_back(part);
    }
    for (const std::string& name : names) {
        for (const char* set : {"M", "F"}) {
            const std::string sheet = set + name;
            const std::string section = sheet.substr(0, sheet.find_first_of("15", 3));
            const auto [width, height] = BitmapSize(avatar / (sheet + ".avt"));
            EXPECT_EQ(width, settings.at(section + "/N") * 46) << sheet;
            EXPECT_EQ(height, 64) << sheet;
        }
    }
    EXPECT_EQ(settings.at("MHCN/N"), 5);
    EXPECT_EQ(BitmapSize(avatar / "MHC0002.avt").first, settings.at("MHC/S2") * 46);
    EXPECT_EQ(BitmapSize(avatar / "default.avt"), std::make_pair(92, 64));
    EXPECT_EQ(BitmapSize(Dir() / "portal" / "images" / "defaultWAvtr.qim"),
              std::make_pair(45, 102));
}

TEST_F(PortalArtTest, AnimatedAvatarsMoveExceptTheStillVariant) {
    for (const char* player : sampleart::kAnimatedPlayers) {
        for (const std::string kind : {"AW", "AG", "AC"}) {
            for (const std::string rest : {"FA", "FS", "HA", "HS"}) {
                const fs::path path =
                    Dir() / "server" / "IMG_AVTR" / (kind + rest + "_" + player + ".GIF");
                int error = 0;
                GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
                ASSERT_NE(gif, nullptr) << path;
                ASSERT_EQ(DGifSlurp(gif), GIF_OK) << path;
                EXPECT_EQ(gif->SWidth, kind == "AC" ? 23 : 46) << path;
                EXPECT_EQ(gif->SHeight, (rest[0] == 'F' ? 102 : 64) / (kind == "AC" ? 2 : 1));
                EXPECT_EQ(gif->ImageCount > 1, rest[1] == 'A') << path;
                DGifCloseFile(gif, &error);
            }
        }
    }
}

TEST_F(PortalArtTest, PartsAnimateWithTheirOwnDelays) {
    const struct {
        const char* part;
        int frames;
        int delay;  // of the first frame, hundredths of a second
    } cases[] = {{"hc/hcm001.gif", 2, 60},  {"fn/fnf001a.gif", 2, 170}, {"a4/a4u001.gif", 4, 40},
                 {"sa/sau001c.gif", 3, 20}, {"a3/a3u001b.gif", 2, 15},  {"pn/pnm001b.gif", 1, 0}};
    for (const auto& c : cases) {
        int error = 0;
        const fs::path path = Dir() / "server" / "avgif" / c.part;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        ASSERT_NE(gif, nullptr) << c.part;
        ASSERT_EQ(DGifSlurp(gif), GIF_OK) << c.part;
        EXPECT_EQ(gif->ImageCount, c.frames) << c.part;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, 0, &control);
        EXPECT_EQ(control.DelayTime, c.delay) << c.part;
        EXPECT_EQ(control.TransparentColor, 0) << c.part;
        EXPECT_EQ(gif->SColorMap->Colors[0].Blue, 255) << c.part;
        DGifCloseFile(gif, &error);
    }
}

// Our bitmap writer against the library's reader: rows bottom-up, padded rows,
// index 0 read as the transparent key.
TEST_F(PortalArtTest, BitmapsReadBackThroughTheLibrary) {
    CKvAImage image;
    ASSERT_TRUE(image.Create((Dir() / "portal" / "images" / "defaultMAvtr.qim").c_str()));
    ASSERT_EQ(image.GetWidth(), 45);
    const auto pixel = [&](int x, int y) {
        return reinterpret_cast<const uint16_t*>(image.GetBits(y))[x];
    };
    const auto packed = [](sampleart::Rgb c) {
        return static_cast<uint16_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3);
    };
    EXPECT_EQ(pixel(0, 0), 0x001F);                                              // the key
    EXPECT_EQ(pixel(22, 9), packed(sampleart::kPalette[sampleart::kQuestion]));  // the mark
    EXPECT_EQ(pixel(22, 60), packed(sampleart::kPalette[sampleart::kSilhouette]));
}

}  // namespace
