// The sample portal: a sheet for every part the legacy tables name, each as wide
// as its settings' tile count says, and animated avatars in every name variant.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

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
    static fs::path Dir() { return fs::temp_directory_path() / "kvavtr-portal-art-test"; }
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

}  // namespace
